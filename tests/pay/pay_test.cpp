#include "pay/pay.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "values/gbk.h"

namespace {

using pay::PayInputs;
using pay::PayLabelTexts;

// The window's initial box texts.
PayInputs InitialBoxes() {
  PayInputs in;
  in.wage = "1820";
  in.postAllowance = "200";
  in.positionAllowance = "0";
  in.regionalAllowance = "0";
  in.g1Hours = in.g2Hours = in.g3Hours = "0";
  in.personalLeaveHours = in.sickLeaveHours = "0";
  in.nightShiftAllowance = "0";
  in.specialPostAllowance = "200";
  in.skillAllowance = "300";
  in.housingFund = "175";
  in.meals = "300";
  in.lodging = "0";
  return in;
}

std::string Utf8(const std::string& gbk) {
  return values::GbkToUtf8(gbk);
}

struct PayCase {
  const char* name;
  void (*change)(PayInputs&);
  // Expected texts by label; labels not listed are not checked.
  std::map<std::size_t, const char*> expected;
};

const PayCase kCases[] = {
    {"initial boxes",
     [](PayInputs&) {},
     {{pay::kG1Pay, "G1工资：0"},
      {pay::kG2Pay, "G2工资：0"},
      {pay::kG3Pay, "G3工资：0"},
      {pay::kOvertimePay, "加班费总和：0"},
      {pay::kLeaveDeduction, "事假病假减项：0"},
      {pay::kHourlyRate, "时薪：11.61"},
      {pay::kDayPay8, "8小时日薪：92.88"},
      {pay::kDayPay10, "10小时日薪：127.71"},
      {pay::kGrossPay, "应发工资：2520"},
      {pay::kNetPay, "实发工资：2045"},
      {pay::kG1Rate, "G1时薪17.42"},
      {pay::kG2Rate, "G2时薪23.22"},
      {pay::kG3Rate, "G3时薪34.83"}}},
    {"a month of overtime and leave",
     [](PayInputs& in) {
       in.g1Hours = "36";
       in.g2Hours = "16";
       in.g3Hours = "8";
       in.personalLeaveHours = "4";
       in.sickLeaveHours = "8";
     },
     {{pay::kG1Pay, "G1工资：626.94"},
      {pay::kG2Pay, "G2工资：371.52"},
      {pay::kG3Pay, "G3工资：278.64"},
      {pay::kOvertimePay, "加班费总和：1277.1"},
      {pay::kLeaveDeduction, "事假病假减项：52.04"},
      {pay::kHourlyRate, "时薪：11.61"},
      {pay::kDayPay8, "8小时日薪：92.88"},
      {pay::kDayPay10, "10小时日薪：127.71"},
      {pay::kGrossPay, "应发工资：3745.06"},
      {pay::kNetPay, "实发工资：3270.06"},
      {pay::kG1Rate, "G1时薪17.42"},
      {pay::kG2Rate, "G2时薪23.22"},
      {pay::kG3Rate, "G3时薪34.83"}}},
    {"one G1 hour shows the unrounded pay beside the rounded rate",
     [](PayInputs& in) { in.g1Hours = "1"; },
     {{pay::kG1Pay, "G1工资：17.415"},
      {pay::kOvertimePay, "加班费总和：17.415"},
      {pay::kGrossPay, "应发工资：2537.415"},
      {pay::kNetPay, "实发工资：2062.415"},
      {pay::kG1Rate, "G1时薪17.42"}}},
    {"every box emptied",
     [](PayInputs& in) { in = PayInputs{}; },
     {{pay::kG1Pay, "G1工资：0"},
      {pay::kOvertimePay, "加班费总和：0"},
      {pay::kLeaveDeduction, "事假病假减项：0"},
      {pay::kHourlyRate, "时薪：0"},
      {pay::kDayPay10, "10小时日薪：0"},
      {pay::kGrossPay, "应发工资：0"},
      {pay::kNetPay, "实发工资：0"},
      {pay::kG1Rate, "G1时薪0"},
      {pay::kG3Rate, "G3时薪0"}}},
    {"sick leave costs 0.7 an hour whatever the wage",
     [](PayInputs& in) {
       in.wage = "99999";
       in.sickLeaveHours = "8";
     },
     {{pay::kLeaveDeduction, "事假病假减项：5.6"}}},
    {"personal leave costs the full rate",
     [](PayInputs& in) { in.personalLeaveHours = "8"; },
     {{pay::kLeaveDeduction, "事假病假减项：92.88"}}},
    {"G3 pay builds on the rounded rate",
     [](PayInputs& in) {
       in.wage = "2020";
       in.postAllowance = "0";
       in.g3Hours = "10";
     },
     {{pay::kHourlyRate, "时薪：11.61"}, {pay::kG3Pay, "G3工资：348.3"}}},
    {"withholdings beyond the gross pay give a negative net pay",
     [](PayInputs& in) { in.meals = "3000"; },
     {{pay::kNetPay, "实发工资：-655"}}},
    {"a comma ends the number",
     [](PayInputs& in) { in.lodging = "1,000"; },
     {{pay::kNetPay, "实发工资：2044"}}},
    {"full-width digits and fractional hours",
     [](PayInputs& in) { in.g2Hours = values::Utf8ToGbk("２．５"); },
     {{pay::kG2Pay, "G2工资：58.05"}}},
    {"a wage beyond the range of a real",
     [](PayInputs& in) { in.wage = "1e999"; },
     {{pay::kHourlyRate, "时薪：1.#INF"}, {pay::kG1Pay, "G1工资：-1.#IND"}}},
};

TEST(ComputePayLabels, FillsEveryLabelAsTheWorkedExamplesShow) {
  for (const PayCase& c : kCases) {
    SCOPED_TRACE(c.name);
    PayInputs in = InitialBoxes();
    c.change(in);
    const PayLabelTexts texts = pay::ComputePayLabels(in);
    for (const auto& [label, text] : c.expected) {
      EXPECT_EQ(Utf8(texts[label]), text) << "label " << label;
    }
  }
}

}  // namespace
