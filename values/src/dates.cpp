// Gregorian date operations on DateTime values.
#include "values/dates.h"

#include <algorithm>
#include <cmath>
#include <ctime>
#include <string_view>
#include <utility>

#include "values/text.h"

namespace values {
namespace {

// GBK separators (source files are UTF-8, so these are byte escapes).
constexpr std::string_view kGbkYear = "\xC4\xEA";    // 年
constexpr std::string_view kGbkMonth = "\xD4\xC2";   // 月
constexpr std::string_view kGbkDay = "\xC8\xD5";     // 日
constexpr std::string_view kGbkHour = "\xCA\xB1";    // 时
constexpr std::string_view kGbkMinute = "\xB7\xD6";  // 分
constexpr std::string_view kGbkSecond = "\xC3\xEB";  // 秒

constexpr int64_t kSecondsPerDay = 86400;
// Days from 1899-12-30 to 1970-01-01.
constexpr int64_t kEpochOffset = 25569;

// Days since 1970-01-01 of a proleptic Gregorian date (H. Hinnant's algorithm).
int64_t DaysFromCivil(int64_t y, int64_t m, int64_t d) {
  y -= m <= 2 ? 1 : 0;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const int64_t yoe = y - era * 400;
  const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

struct Civil {
  int32_t year;
  int32_t month;
  int32_t day;
};

Civil CivilFromDays(int64_t z) {
  z += 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const int64_t doe = z - era * 146097;
  const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int64_t y = yoe + era * 400;
  const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const int64_t mp = (5 * doy + 2) / 153;
  const int64_t d = doy - (153 * mp + 2) / 5 + 1;
  const int64_t m = mp < 10 ? mp + 3 : mp - 9;
  return {static_cast<int32_t>(y + (m <= 2 ? 1 : 0)), static_cast<int32_t>(m),
          static_cast<int32_t>(d)};
}

// The serial day number of a valid date.
int64_t SerialDay(int32_t year, int32_t month, int32_t day) {
  return DaysFromCivil(year, month, day) + kEpochOffset;
}

// A day number and a time of day (seconds, 0..86399) as a DateTime: before
// 1899-12-30 the time counts away from zero, as the whole part selects the day
// toward zero.
DateTime Compose(int64_t serial_day, int64_t seconds) {
  const double day = static_cast<double>(serial_day);
  const double fraction = static_cast<double>(seconds) / static_cast<double>(kSecondsPerDay);
  return serial_day >= 0 ? day + fraction : day - fraction;
}

// The day of a DateTime: clamped, rounded to the nearest second, whole part
// toward zero.
int64_t DayNumber(DateTime d) {
  if (std::isnan(d)) d = kMinDateTime;
  d = std::clamp(d, kMinDateTime, kMaxDateTime);
  const double half_second = 0.5 / static_cast<double>(kSecondsPerDay);
  d = d > 0 ? d + half_second : d - half_second;
  return static_cast<int64_t>(std::trunc(d));
}

Civil CivilOf(DateTime d) {
  return CivilFromDays(DayNumber(d) - kEpochOffset);
}

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// Reads at most `max_digits` digits at `pos`; an absent run is 0.
int32_t ReadNumber(std::string_view s, size_t& pos, int max_digits) {
  int32_t value = 0;
  for (int n = 0; n < max_digits && pos < s.size() && IsDigit(s[pos]); ++n, ++pos) {
    value = value * 10 + (s[pos] - '0');
  }
  return value;
}

// Skips at most one separator: one of the ASCII bytes `ascii` or the GBK
// character `gbk`.
void SkipSeparator(std::string_view s, size_t& pos, std::string_view ascii, std::string_view gbk) {
  if (pos >= s.size()) return;
  if (ascii.find(s[pos]) != std::string_view::npos) {
    ++pos;
  } else if (s.substr(pos, gbk.size()) == gbk) {
    pos += gbk.size();
  }
}

std::function<DateTime()>& Clock() {
  static std::function<DateTime()> clock;
  return clock;
}

DateTime SystemClock() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  if (localtime_r(&now, &local) == nullptr) return kMinDateTime;
  return MakeDateTime(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                      local.tm_min, local.tm_sec);
}

}  // namespace

DateTime ParseDateText(std::string_view t) {
  const Text folded = FoldFullWidth(t);
  const std::string_view s = folded;
  if (s.empty()) return kMinDateTime;

  size_t pos = 0;
  const int32_t year = ReadNumber(s, pos, 4);
  SkipSeparator(s, pos, "/-.:", kGbkYear);
  const int32_t month = ReadNumber(s, pos, 2);
  SkipSeparator(s, pos, "/-.:", kGbkMonth);
  const int32_t day = ReadNumber(s, pos, 2);
  SkipSeparator(s, pos, "/-.: ", kGbkDay);
  const int32_t hour = ReadNumber(s, pos, 2);
  SkipSeparator(s, pos, "/-.:", kGbkHour);
  const int32_t minute = ReadNumber(s, pos, 2);
  SkipSeparator(s, pos, "/-.:", kGbkMinute);
  const int32_t second = ReadNumber(s, pos, 2);
  if (pos < s.size() && s.substr(pos, kGbkSecond.size()) != kGbkSecond) return kMinDateTime;

  if (year < 100 || year > 9999 || month < 1 || month > 12) return kMinDateTime;
  if (day < 1 || day > DaysInMonth(year, month)) return kMinDateTime;
  if (hour > 23 || minute > 59 || second > 59) return kMinDateTime;
  return Compose(SerialDay(year, month, day), hour * 3600 + minute * 60 + second);
}

DateTime MakeDate(int32_t year, int32_t month, int32_t day) {
  year = std::clamp(year, 100, 9999);
  month = std::clamp(month, 1, 12);
  day = std::clamp(day, 1, 31);
  day = std::min(day, DaysInMonth(year, month));
  return static_cast<DateTime>(SerialDay(year, month, day));
}

DateTime MakeDateTime(int32_t year, int32_t month, int32_t day, int32_t hour, int32_t minute,
                      int32_t second) {
  const auto serial = static_cast<int64_t>(MakeDate(year, month, day));
  hour = std::clamp(hour, 0, 23);
  minute = std::clamp(minute, 0, 59);
  second = std::clamp(second, 0, 59);
  return Compose(serial, hour * 3600 + minute * 60 + second);
}

int32_t YearOf(DateTime d) {
  return CivilOf(d).year;
}
int32_t MonthOf(DateTime d) {
  return CivilOf(d).month;
}
int32_t DayOf(DateTime d) {
  return CivilOf(d).day;
}

int32_t DayOfWeek(DateTime d) {
  const int64_t n = DayNumber(d);
  const int64_t r = ((n + 6) % 7 + 7) % 7;  // floor modulo, also before 1899-12-30
  return static_cast<int32_t>(r + 1);
}

int32_t DaysInMonth(int32_t year, int32_t month) {
  if (year < 100 || year > 9999 || month < 1 || month > 12) return 0;
  static constexpr int32_t kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  return month == 2 && leap ? 29 : kDays[month - 1];
}

DateTime CurrentDate() {
  const auto& clock = Clock();
  return clock ? clock() : SystemClock();
}

void SetClock(ClockFunction clock) {
  Clock() = std::move(clock);
}

}  // namespace values
