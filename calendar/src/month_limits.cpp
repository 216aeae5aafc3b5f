#include "calendar/month_limits.h"

#include "calendar/holidays.h"
#include "holiday_label.h"
#include "values/numbers.h"

namespace calendar {
namespace {

// Label prefixes, GBK.
constexpr std::string_view kG1Prefix =
    "\xb1\xbe\xd4\xc2"
    "G1"
    "\xd7\xee\xb6\xe0\xca\xb1\xca\xfd\xa3\xba";  // "本月G1最多时数："
constexpr std::string_view kG2Prefix =
    "\xb1\xbe\xd4\xc2"
    "G2"
    "\xd7\xee\xb6\xe0\xca\xb1\xca\xfd\xa3\xba";  // "本月G2最多时数："
constexpr std::string_view kG3Prefix =
    "\xb1\xbe\xd4\xc2"
    "G3"
    "\xd7\xee\xb6\xe0\xca\xb1\xca\xfd\xa3\xba";  // "本月G3最多时数："
// "本月最多加班时数："
constexpr std::string_view kTotalPrefix =
    "\xb1\xbe\xd4\xc2\xd7\xee\xb6\xe0\xbc\xd3\xb0\xe0\xca\xb1\xca\xfd\xa3\xba";
constexpr std::string_view kHoursSoFar =
    "\xd4\xc2\xa3\xac\xd2\xd1\xbc\xd3\xb0\xe0";                             // "月，已加班"
constexpr std::string_view kHoursEnd = "\xb8\xf6\xd0\xa1\xca\xb1\xa1\xa3";  // "个小时。"

constexpr int32_t kSaturday = 6;
constexpr int32_t kSunday = 7;

}  // namespace

int32_t CountWeekdayInMonth(int32_t year, int32_t month, int32_t weekday) {
  // DayOfWeek counts 1 = Sunday ... 7 = Saturday.
  const int32_t target = weekday == 7 ? 1 : weekday + 1;
  int32_t count = 0;
  const int32_t days = values::DaysInMonth(year, month);
  for (int32_t day = 1; day <= days; ++day) {
    if (values::DayOfWeek(values::MakeDate(year, month, day)) == target) ++count;
  }
  return count;
}

MonthLimitTexts ComputeMonthLimits(values::DateTime date, std::string_view g1Hours,
                                   std::string_view g2Hours, std::string_view g3Hours,
                                   std::string_view countedMonthText) {
  const values::Text holidays = ListMonthHolidays(date);
  const double holidayCount = values::TextToInt(values::TextRight(holidays, 1));
  const int32_t year = values::YearOf(date);
  const int32_t month = values::MonthOf(date);
  const double days = values::DaysInMonth(year, month);
  // The weekends of the month shown, the same month as the days and holidays.
  const double sundays = CountWeekdayInMonth(year, month, kSunday);
  const double saturdays = CountWeekdayInMonth(year, month, kSaturday);

  const double g1Ceiling = (days - saturdays - sundays) * 2;
  const double g2Ceiling = saturdays * 10;
  const double g3Ceiling = holidayCount * 10;
  const double total = g1Ceiling + g2Ceiling + g3Ceiling;
  const double hours =
      values::TextToReal(g1Hours) + values::TextToReal(g2Hours) + values::TextToReal(g3Hours);

  MonthLimitTexts texts;
  texts.g1Ceiling = values::JoinText(kG1Prefix, values::NumberToText(g1Ceiling));
  texts.g2Ceiling = values::JoinText(kG2Prefix, values::NumberToText(g2Ceiling));
  texts.hoursSoFar =
      values::JoinText(countedMonthText, kHoursSoFar, values::NumberToText(hours), kHoursEnd);
  texts.g3Ceiling = values::JoinText(kG3Prefix, values::NumberToText(g3Ceiling));
  texts.totalCeiling = values::JoinText(kTotalPrefix, values::NumberToText(total));
  texts.holidayLabel = HolidayLabelFromList(holidays);
  return texts;
}

}  // namespace calendar
