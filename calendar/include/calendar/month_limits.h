// The overtime ceilings of a month.
#pragma once

#include <cstdint>
#include <string_view>

#include "values/dates.h"
#include "values/text.h"

namespace calendar {

// The number of days of the Gregorian month with that weekday, numbered
// 1 = Monday ... 7 = Sunday.
int32_t CountWeekdayInMonth(int32_t year, int32_t month, int32_t weekday);

// The texts of the six labels that show a month's limits (GBK), in the order
// in which they are written.
struct MonthLimitTexts {
  values::Text g1Ceiling;     // "本月G1最多时数：" and 2 hours per working day
  values::Text g2Ceiling;     // "本月G2最多时数：" and 10 hours per Saturday
  values::Text hoursSoFar;    // the counted month, "月，已加班", the hours, "个小时。"
  values::Text g3Ceiling;     // "本月G3最多时数：" and 10 hours per holiday day
  values::Text totalCeiling;  // "本月最多加班时数：" and the three together
  values::Text holidayLabel;  // HolidayLabelText(date)
};

// The limits of the month holding `date`. The hour texts are those of the G1,
// G2 and G3 hour boxes, read as numbers (no number counts as 0);
// `countedMonthText` is the month number of the totals read last, or empty.
MonthLimitTexts ComputeMonthLimits(values::DateTime date, std::string_view g1Hours,
                                   std::string_view g2Hours, std::string_view g3Hours,
                                   std::string_view countedMonthText);

}  // namespace calendar
