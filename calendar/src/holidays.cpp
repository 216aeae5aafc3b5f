#include "calendar/holidays.h"

#include <cstdint>
#include <string_view>

#include "calendar/lunar_calendar.h"
#include "holiday_label.h"
#include "values/numbers.h"

namespace calendar {
namespace {

// Holiday names, GBK, each with the space that ends it.
constexpr std::string_view kNewYearsDay = "\xd4\xaa\xb5\xa9 ";                // "元旦 "
constexpr std::string_view kNewYearsEve = "\xb3\xfd\xcf\xa6 ";                // "除夕 "
constexpr std::string_view kSpringFestival = "\xb4\xba\xbd\xda ";             // "春节 "
constexpr std::string_view kSecondDay = "\xd5\xfd\xd4\xc2\xb3\xf5\xb6\xfe ";  // "正月初二 "
constexpr std::string_view kQingming = "\xc7\xe5\xc3\xf7 ";                   // "清明 "
constexpr std::string_view kLabourDay = "\xc0\xcd\xb6\xaf\xbd\xda ";          // "劳动节 "
constexpr std::string_view kDragonBoat = "\xb6\xcb\xce\xe7\xbd\xda ";         // "端午节 "
constexpr std::string_view kMidAutumn = "\xd6\xd0\xc7\xef\xbd\xda ";          // "中秋节 "
constexpr std::string_view kNationalDay = "\xb9\xfa\xc7\xec ";                // "国庆 "

// "本月法定节假日有："
constexpr std::string_view kLabelPrefix =
    "\xb1\xbe\xd4\xc2\xb7\xa8\xb6\xa8\xbd\xda\xbc\xd9\xc8\xd5\xd3\xd0\xa3\xba";

constexpr int32_t kQingmingTerm = 5;

}  // namespace

values::Text ListMonthHolidays(values::DateTime date) {
  const int32_t year = values::YearOf(date);
  const int32_t month = values::MonthOf(date);
  const int32_t days = values::DaysInMonth(year, month);

  values::Text names;
  names.reserve(64);
  int32_t count = 0;
  auto add = [&](std::string_view name) {
    names.insert(0, name);
    ++count;
  };

  // The lunar date and the solar term carry over from day to day: on a day
  // outside the calendar's range they keep what the day before left, which at
  // the start of a month is nothing that matches.
  int32_t lunarYear = 0;
  int32_t lunarMonth = 0;
  int32_t lunarDay = 0;
  bool leap = false;
  int32_t term = 0;
  for (int32_t day = 1; day <= days; ++day) {
    LunarCalendar::LunarDateOf(values::MakeDate(year, month, day), lunarYear, lunarMonth, lunarDay,
                               leap);
    const int32_t lunarMonthLength = LunarCalendar::DaysInLunarMonth(lunarYear, lunarMonth, leap);
    LunarCalendar::SolarTermOfLunarDate(lunarYear, lunarMonth, lunarDay, leap, term);

    if (month == 1 && day == 1) add(kNewYearsDay);
    if (lunarMonth == 12 && lunarDay == lunarMonthLength) add(kNewYearsEve);
    if (lunarMonth == 1 && lunarDay == 1) add(kSpringFestival);
    if (lunarMonth == 1 && lunarDay == 2) add(kSecondDay);
    if (term == kQingmingTerm) add(kQingming);
    if (month == 5 && day == 1) add(kLabourDay);
    if (lunarMonth == 5 && lunarDay == 5) add(kDragonBoat);
    if (lunarMonth == 8 && lunarDay == 15) add(kMidAutumn);
    if (month == 10 && day == 1) add(kNationalDay);
    if (month == 10 && (day == 2 || day == 3)) ++count;
  }
  names += values::NumberToText(count);
  return names;
}

values::Text HolidayLabelFromList(std::string_view holidays) {
  if (values::CompareText(holidays, "0") == 0) return {};
  return values::JoinText(kLabelPrefix,
                          values::TextLeft(holidays, values::TextLength(holidays) - 1));
}

values::Text HolidayLabelText(values::DateTime date) {
  return HolidayLabelFromList(ListMonthHolidays(date));
}

}  // namespace calendar
