#include "calendar/lunar_calendar.h"

#include <array>
#include <cstdint>

namespace calendar {
namespace {

#include "lunar_tables.inc"

constexpr int32_t kLunarYearCount = kLastLunarYear - kFirstLunarYear + 1;
static_assert(sizeof kLunarYears / sizeof kLunarYears[0] == kLunarYearCount);
static_assert(sizeof kSolarTermDays / sizeof kSolarTermDays[0] ==
              kLastTermYear - kFirstTermYear + 1);

// Days from 1899-12-30, the day count of values::DateTime.
constexpr int32_t DayNumber(int32_t y, int32_t m, int32_t d) {
  y -= m <= 2;
  const int32_t era = (y >= 0 ? y : y - 399) / 400;
  const int32_t yoe = y - era * 400;
  const int32_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const int32_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468 + 25569;
}

struct Civil {
  int32_t year, month, day;
};

constexpr Civil CivilOf(int32_t dayNumber) {
  const int32_t z = dayNumber - 25569 + 719468;
  const int32_t era = (z >= 0 ? z : z - 146096) / 146097;
  const int32_t doe = z - era * 146097;
  const int32_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int32_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const int32_t mp = (5 * doy + 2) / 153;
  const int32_t d = doy - (153 * mp + 2) / 5 + 1;
  const int32_t m = mp < 10 ? mp + 3 : mp - 9;
  return {yoe + era * 400 + (m <= 2), m, d};
}

constexpr int32_t kFirstDay = DayNumber(1901, 2, 19);
constexpr int32_t kLastDay = DayNumber(2048, 12, 31);

constexpr int32_t LeapMonthOf(uint32_t bits) {
  return static_cast<int32_t>(bits >> 13 & 0xF);
}
constexpr int32_t MonthLength(uint32_t bits, int32_t index) {
  return 29 + static_cast<int32_t>(bits >> index & 1);
}
constexpr int32_t MonthCount(uint32_t bits) {
  return LeapMonthOf(bits) ? 13 : 12;
}

// The day number of the first day of each lunar year, and one past the last
// day of the last year.
constexpr std::array<int32_t, kLunarYearCount + 1> kNewYearDays = [] {
  std::array<int32_t, kLunarYearCount + 1> days{};
  for (int32_t i = 0; i < kLunarYearCount; ++i) {
    days[i] = DayNumber(kFirstLunarYear + i, 1, 1) + static_cast<int32_t>(kLunarYears[i] >> 17);
  }
  const uint32_t last = kLunarYears[kLunarYearCount - 1];
  days[kLunarYearCount] = days[kLunarYearCount - 1];
  for (int32_t i = 0; i < MonthCount(last); ++i) days[kLunarYearCount] += MonthLength(last, i);
  return days;
}();

static_assert(kNewYearDays[0] == kFirstDay);

// The position of a month within its year (0 to 12), leap month included.
constexpr int32_t MonthIndex(uint32_t bits, int32_t month, bool leap) {
  const int32_t leapMonth = LeapMonthOf(bits);
  if (leap) return month;
  return month - 1 + (leapMonth != 0 && month > leapMonth ? 1 : 0);
}

// The solar-term number of the j-th term of a Gregorian year (0: Minor Cold).
constexpr int32_t TermNumber(int32_t j) {
  return (j + 22) % 24 + 1;
}

}  // namespace

bool LunarCalendar::LunarDateOf(values::DateTime date, int32_t& year, int32_t& month, int32_t& day,
                                bool& leap) {
  // The comparison also refuses a NaN.
  if (!(date >= kFirstDay - 1 && date < kLastDay + 2)) return false;
  // The day holding the date rounded to the second, as values::YearOf has it.
  const int32_t dayNumber = static_cast<int32_t>(date + 0.5 / 86400.0);
  if (dayNumber < kFirstDay || dayNumber > kLastDay) return false;

  int32_t i = (dayNumber - kFirstDay) * 4 / 1461;
  if (i >= kLunarYearCount) i = kLunarYearCount - 1;
  while (kNewYearDays[i] > dayNumber) --i;
  while (kNewYearDays[i + 1] <= dayNumber) ++i;

  const uint32_t bits = kLunarYears[i];
  const int32_t leapMonth = LeapMonthOf(bits);
  int32_t offset = dayNumber - kNewYearDays[i];
  int32_t index = 0;
  while (offset >= MonthLength(bits, index)) offset -= MonthLength(bits, index++);

  year = kFirstLunarYear + i;
  if (leapMonth != 0 && index > leapMonth) {
    month = index;
    leap = false;
  } else if (leapMonth != 0 && index == leapMonth) {
    month = index;
    leap = true;
  } else {
    month = index + 1;
    leap = false;
  }
  day = offset + 1;
  return true;
}

int32_t LunarCalendar::DaysInLunarMonth(int32_t year, int32_t month, bool leap) {
  if (year < kFirstLunarYear || year > kLastLunarYear || month < 1 || month > 12) return 0;
  const uint32_t bits = kLunarYears[year - kFirstLunarYear];
  if (leap && LeapMonthOf(bits) != month) return 0;
  return MonthLength(bits, MonthIndex(bits, month, leap));
}

void LunarCalendar::SolarTermOfLunarDate(int32_t year, int32_t month, int32_t day, bool leap,
                                         int32_t& term) {
  if (year < kFirstLunarYear || year > kLastLunarYear || month < 1 || month > 12) return;
  const uint32_t bits = kLunarYears[year - kFirstLunarYear];
  if (leap && LeapMonthOf(bits) != month) leap = false;
  const int32_t index = MonthIndex(bits, month, leap);
  if (day < 1 || day > MonthLength(bits, index)) return;

  int32_t dayNumber = kNewYearDays[year - kFirstLunarYear] + day - 1;
  for (int32_t i = 0; i < index; ++i) dayNumber += MonthLength(bits, i);
  if (dayNumber < kFirstDay || dayNumber > kLastDay) return;

  const Civil civil = CivilOf(dayNumber);
  const uint8_t* row = kSolarTermDays[civil.year - kFirstTermYear];
  const int32_t j = 2 * (civil.month - 1);
  if (civil.day == row[j]) {
    term = TermNumber(j);
  } else if (civil.day == row[j + 1]) {
    term = TermNumber(j + 1);
  } else {
    term = 0;
  }
}

}  // namespace calendar
