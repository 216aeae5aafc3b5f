#include "pay/pay.h"

#include "values/gbk.h"
#include "values/numbers.h"

namespace pay {
namespace {

using values::JoinText;
using values::NumberToText;
using values::RoundToPlaces;
using values::TextToReal;

// Label prefixes in label order, as GBK texts. The three rate prefixes have no
// colon: the figure follows the last character directly.
const std::array<Text, kPayLabelCount>& Prefixes() {
  static const std::array<Text, kPayLabelCount> prefixes = [] {
    const char* utf8[kPayLabelCount] = {
        "G1工资：", "G2工资：",    "G3工资：",     "加班费总和：", "事假病假减项：",
        "时薪：",   "8小时日薪：", "10小时日薪：", "应发工资：",   "实发工资：",
        "G1时薪",   "G2时薪",      "G3时薪"};
    std::array<Text, kPayLabelCount> gbk;
    for (std::size_t i = 0; i < kPayLabelCount; ++i) gbk[i] = values::Utf8ToGbk(utf8[i]);
    return gbk;
  }();
  return prefixes;
}

}  // namespace

PayLabelTexts ComputePayLabels(const PayInputs& in) {
  // Each value is held as a double and every operation rounds once, in the
  // order the formulas are written.
  const double base =
      ((TextToReal(in.wage) + TextToReal(in.postAllowance)) + TextToReal(in.positionAllowance)) +
      TextToReal(in.regionalAllowance);
  const double rate = RoundToPlaces(base / 174, 2);

  const double g1Pay = (TextToReal(in.g1Hours) * rate) * 1.5;
  const double g2Pay = (TextToReal(in.g2Hours) * rate) * 2;
  const double g3Pay = (TextToReal(in.g3Hours) * rate) * 3;
  const double overtimePay = (g1Pay + g2Pay) + g3Pay;

  // Sick leave costs a flat 0.7 per hour, whatever the rate.
  const double leaveDeduction =
      TextToReal(in.personalLeaveHours) * rate + TextToReal(in.sickLeaveHours) * 0.7;

  const double dayPay8 = rate * 8;
  // Eight hours at the rate and two overtime hours at 1.5 times the rate.
  const double dayPay10 = rate * 8 + rate * 3;

  const double allowances[] = {TextToReal(in.nightShiftAllowance),
                               TextToReal(in.specialPostAllowance), TextToReal(in.skillAllowance)};
  const double gross = (((overtimePay + base) + allowances[0]) + allowances[1]) + allowances[2];
  const double grossPay = gross - leaveDeduction;
  const double netPay =
      grossPay - TextToReal(in.housingFund) - TextToReal(in.meals) - TextToReal(in.lodging);

  const double figures[kPayLabelCount] = {g1Pay,
                                          g2Pay,
                                          g3Pay,
                                          overtimePay,
                                          leaveDeduction,
                                          rate,
                                          dayPay8,
                                          dayPay10,
                                          grossPay,
                                          netPay,
                                          RoundToPlaces(rate * 1.5, 2),
                                          RoundToPlaces(rate * 2, 2),
                                          RoundToPlaces(rate * 3, 2)};
  PayLabelTexts texts;
  const auto& prefixes = Prefixes();
  for (std::size_t i = 0; i < kPayLabelCount; ++i) {
    texts[i] = JoinText(prefixes[i], NumberToText(figures[i]));
  }
  return texts;
}

}  // namespace pay
