// The Chinese lunisolar calendar: the lunar date of a Gregorian day, the
// length of a lunar month and the solar term that begins on a day.
//
// Lunar years are numbered by the Gregorian year in which their month 1
// begins; months are 1 to 12, and a leap month bears the number of the regular
// month it follows. Solar terms are numbered 1 (Beginning of Spring, 315
// degrees) to 24 (Major Cold) in the order of the year: the Spring Equinox is
// 4, Pure Brightness (Qingming) 5, the Winter Solstice 22. A term begins on the
// day, in China Standard Time, that holds the instant the Sun reaches it.
//
// All three operations only look things up in fixed tables.
#pragma once

#include <cstdint>

#include "values/dates.h"

namespace calendar {

class LunarCalendar {
 public:
  // The lunar date of the day of `date` (its time of day is ignored), for the
  // days from 1901-02-19 (lunar 1901, month 1, day 1) to 2048-12-31. For any
  // other date it returns false and leaves the four outputs as they were.
  static bool LunarDateOf(values::DateTime date, int32_t& year, int32_t& month, int32_t& day,
                          bool& leap);

  // The length (29 or 30) of the regular month `month` of lunar year `year`
  // or, with `leap` set, of the leap month that follows it. 0 when the year is
  // outside 1901 to 2049, the month outside 1 to 12, or `leap` is set and the
  // year's leap month is not this month.
  static int32_t DaysInLunarMonth(int32_t year, int32_t month, bool leap);

  // Writes into `term` the number of the solar term that begins on the day
  // with this lunar date (0 when none does). A leap flag set on a month that
  // is not the year's leap month is ignored. When no day in the range of
  // LunarDateOf has this lunar date, `term` is left as it was.
  static void SolarTermOfLunarDate(int32_t year, int32_t month, int32_t day, bool leap,
                                   int32_t& term);
};

}  // namespace calendar
