// Prints the Chinese calendar of every day from 1901-02-19 to 2048-12-31, one
// line a day after a header: the Gregorian date, the lunar year, month and
// day, 1 for a leap month, the length of that lunar month, and the number of
// the solar term that begins that day (0 if none), tab-separated.
#include <cstdint>
#include <cstdio>

#include "calendar/lunar_calendar.h"
#include "values/dates.h"

int main() {
  using calendar::LunarCalendar;
  std::printf("date\tyear\tmonth\tday\tleap\tdays\tterm\n");
  const values::DateTime first = values::MakeDate(1901, 2, 19);
  const values::DateTime last = values::MakeDate(2048, 12, 31);
  for (values::DateTime date = first; date <= last; date += 1) {
    int32_t year = 0, month = 0, day = 0, term = 0;
    bool leap = false;
    if (!LunarCalendar::LunarDateOf(date, year, month, day, leap)) return 1;
    LunarCalendar::SolarTermOfLunarDate(year, month, day, leap, term);
    std::printf("%04d-%02d-%02d\t%d\t%d\t%d\t%d\t%d\t%d\n", values::YearOf(date),
                values::MonthOf(date), values::DayOf(date), year, month, day, leap ? 1 : 0,
                LunarCalendar::DaysInLunarMonth(year, month, leap), term);
  }
  return std::fflush(stdout) == 0 ? 0 : 1;
}
