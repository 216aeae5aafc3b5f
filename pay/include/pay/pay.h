// The month's pay, from the texts of the fifteen numeric boxes to the texts
// of the thirteen result labels.
#pragma once

#include <array>
#include <cstddef>

#include "values/text.h"

namespace pay {

using values::Text;

// Box texts, read as numbers with TextToReal (an empty box is 0).
struct PayInputs {
  Text wage;                  // W, normal working time
  Text postAllowance;         // A1, assessed post
  Text positionAllowance;     // A2
  Text regionalAllowance;     // A3
  Text g1Hours;               // H1, ordinary working days
  Text g2Hours;               // H2, rest days
  Text g3Hours;               // H3, statutory holidays
  Text personalLeaveHours;    // L1, personal leave or absence
  Text sickLeaveHours;        // L2
  Text nightShiftAllowance;   // N
  Text specialPostAllowance;  // S
  Text skillAllowance;        // K
  Text housingFund;           // F, withheld
  Text meals;                 // M, withheld
  Text lodging;               // D, withheld
};

// The result labels, in the order they are written.
enum PayLabel : std::size_t {
  kG1Pay,
  kG2Pay,
  kG3Pay,
  kOvertimePay,
  kLeaveDeduction,
  kHourlyRate,
  kDayPay8,
  kDayPay10,
  kGrossPay,
  kNetPay,
  kG1Rate,
  kG2Rate,
  kG3Rate,
  kPayLabelCount
};

using PayLabelTexts = std::array<Text, kPayLabelCount>;

// Every label's text: its prefix joined with the figure's display text.
PayLabelTexts ComputePayLabels(const PayInputs& in);

}  // namespace pay
