// Gregorian dates held as DateTime: days since 1899-12-30 00:00 local time,
// the fraction being the time of day.
#pragma once

#include <cstdint>
#include <functional>
#include <string_view>

namespace values {

using DateTime = double;

inline constexpr DateTime kMinDateTime = -657434.0;  // 0100-01-01, also a failed parse
inline constexpr DateTime kMaxDateTime = 2958465.0;  // 9999-12-31

// "2013/5/1", "2013-05-01 08:30", "2013年5月1日", full-width forms; kMinDateTime
// when the text is not a valid date.
DateTime ParseDateText(std::string_view t);
// Components clamped into range; never fails.
DateTime MakeDate(int32_t year, int32_t month, int32_t day);
// Adds a time of day to a date (whole seconds).
DateTime MakeDateTime(int32_t year, int32_t month, int32_t day, int32_t hour, int32_t minute,
                      int32_t second);

int32_t YearOf(DateTime d);
int32_t MonthOf(DateTime d);
int32_t DayOf(DateTime d);
// 1 = Sunday ... 7 = Saturday.
int32_t DayOfWeek(DateTime d);
// 28 to 31; 0 for a year outside 100..9999 or a month outside 1..12.
int32_t DaysInMonth(int32_t year, int32_t month);

// The local date and time of the clock, to the second.
DateTime CurrentDate();

// The clock behind CurrentDate. Tests replace it; an empty function restores
// the system clock.
using ClockFunction = std::function<DateTime()>;
void SetClock(ClockFunction clock);

}  // namespace values
