// Calendar date operations.
#include <gtest/gtest.h>

#include <cmath>
#include <ctime>
#include <limits>
#include <string>

#include "test_util.h"
#include "values/dates.h"
#include "values/numbers.h"

namespace {

using values::CurrentDate;
using values::DateTime;
using values::DayOf;
using values::DayOfWeek;
using values::DaysInMonth;
using values::kMaxDateTime;
using values::kMinDateTime;
using values::MakeDate;
using values::MakeDateTime;
using values::MonthOf;
using values::ParseDateText;
using values::SetClock;
using values::YearOf;
using values_test::G;

constexpr double kSecond = 1.0 / 86400.0;

// The DateTime of a time of day on a day on or after 1899-12-30.
DateTime At(double day, int h, int m, int s) {
  return day + static_cast<double>(h * 3600 + m * 60 + s) / 86400.0;
}

// ------------------------------------------------------------- ParseDateText

struct ParseCase {
  const char* text;  // UTF-8 source, converted to GBK
  DateTime expected;
};

const ParseCase kParseCases[] = {
    // The examples.
    {"2013/5/1", 41395},
    {"2013-05-01 08:30", At(41395, 8, 30, 0)},
    {"2013年5月1日", 41395},
    {"２０１３/５/１", 41395},
    {"2013/2/29", kMinDateTime},
    {"13/5/1", kMinDateTime},
    {"2013/5", kMinDateTime},
    {"2013/5/1 25:00", kMinDateTime},
    // Edge cases.
    {"2013/05/01", 41395},
    {"2013/2/30", kMinDateTime},
    {"2012/2/29", 40968},
    {"2000/2/29", 36526 + 59},
    {"1900/2/29", kMinDateTime},
    {"", kMinDateTime},
    {"\u3000", kMinDateTime},
    {"abc", kMinDateTime},
    {"1899/12/30", 0},
    {"1899/12/29", -1},
    {"1899/12/29 06:00", -1.25},  // before the epoch the time counts away from zero
    {"100/1/1", kMinDateTime},
    {"0100/01/01", kMinDateTime},
    {"01000101000111", kMinDateTime - 71.0 / 86400.0},  // a valid time on the first day lies below
    {"9999/12/31", kMaxDateTime},
    {"99/12/31", kMinDateTime},
    {"10000/1/1", kMinDateTime},  // year 1000, then month 0
    {"20130501", 41395},          // digit limits separate the numbers
    {"2013.5.1", 41395},
    {"2013:5:1", 41395},
    {"2013-5-1", 41395},
    {"2013年05月01日", 41395},
    {"２０１３年５月１日", 41395},
    {"2013年5月1日8时30分15秒", At(41395, 8, 30, 15)},
    {"2013年5月1日 8时30分15秒", kMinDateTime},  // 日 and a space are two separators
    {"2013/5/1 8:30:15", At(41395, 8, 30, 15)},
    {"2013/5/1 8:30:15秒", At(41395, 8, 30, 15)},
    {"2013/5/1 8:30:15秒 whatever", At(41395, 8, 30, 15)},
    {"2013/5/1 8:30:15x", kMinDateTime},
    {"2013/5/1 8:30:15 ", kMinDateTime},
    {"2013/5/1 8:30:150", kMinDateTime},  // the second has two digits at most
    {"2013/5/1x", kMinDateTime},
    {"2013/5/1 ", 41395},
    {"2013/5/1  ", kMinDateTime},
    {" 2013/5/1", kMinDateTime},
    {"2013/5/1/12", At(41395, 12, 0, 0)},
    {"2013/5/1 12", At(41395, 12, 0, 0)},
    {"2013/5/1 23:59:59", At(41395, 23, 59, 59)},
    {"2013/5/1 24:00", kMinDateTime},
    {"2013/5/1 12:60", kMinDateTime},
    {"2013/5/1 12:00:60", kMinDateTime},
    {"2013/5/1　8:30", At(41395, 8, 30, 0)},  // ideographic space
    {"２０１３－０５－０１　０８：３０", At(41395, 8, 30, 0)},
    {"2013//5/1", kMinDateTime},
    {"2013/13/1", kMinDateTime},
    {"2013/0/1", kMinDateTime},
    {"2013/4/31", kMinDateTime},
    {"2013/5/0", kMinDateTime},
    {"2013/5/32", kMinDateTime},
    {"2013/5/1日", 41395},
    {"2013/5/1/日", kMinDateTime},  // two separators behind the day
    {"2013年5/1", 41395},
    {"2013月5月1日", kMinDateTime},  // 月 does not follow a year
    {"二〇一三年五月一日", kMinDateTime},
};

TEST(ParseDateText, Table) {
  for (const auto& c : kParseCases) {
    SCOPED_TRACE(std::string("'") + c.text + "'");
    EXPECT_EQ(ParseDateText(G(c.text)), c.expected);
  }
}

TEST(ParseDateText, ReadsTheTextsThatTheSystemBuilds) {
  // The holiday walk builds year "/" month "/" day from NumberToText of integers.
  for (int32_t year : {100, 1899, 1900, 2000, 2012, 2013, 2024, 9999}) {
    for (int32_t month = 1; month <= 12; ++month) {
      for (int32_t day = 1; day <= DaysInMonth(year, month); ++day) {
        const std::string text =
            values::JoinText(values::NumberToText(year), "/", values::NumberToText(month), "/",
                             values::NumberToText(day));
        SCOPED_TRACE(text);
        ASSERT_EQ(ParseDateText(text), MakeDate(year, month, day));
      }
    }
  }
}

// ------------------------------------------------------------------ MakeDate

struct MakeCase {
  int32_t year, month, day;
  int32_t ey, em, ed;  // the expected date
};

const MakeCase kMakeCases[] = {
    // The examples.
    {2013, 2, 30, 2013, 2, 28},
    {2012, 2, 30, 2012, 2, 29},
    {2013, 13, 5, 2013, 12, 5},
    {2013, 0, 0, 2013, 1, 1},
    {50, 1, 1, 100, 1, 1},
    // Edge cases.
    {2013, 5, 1, 2013, 5, 1},
    {2013, 4, 31, 2013, 4, 30},
    {2013, 5, 99, 2013, 5, 31},
    {2013, -5, -5, 2013, 1, 1},
    {10000, 1, 1, 9999, 1, 1},
    {INT32_MAX, INT32_MAX, INT32_MAX, 9999, 12, 31},
    {INT32_MIN, INT32_MIN, INT32_MIN, 100, 1, 1},
    {1900, 2, 29, 1900, 2, 28},
    {2000, 2, 29, 2000, 2, 29},
};

TEST(MakeDate, Table) {
  for (const auto& c : kMakeCases) {
    SCOPED_TRACE(std::to_string(c.year) + "-" + std::to_string(c.month) + "-" +
                 std::to_string(c.day));
    const DateTime d = MakeDate(c.year, c.month, c.day);
    EXPECT_EQ(d, std::floor(d));  // time 00:00:00
    EXPECT_EQ(YearOf(d), c.ey);
    EXPECT_EQ(MonthOf(d), c.em);
    EXPECT_EQ(DayOf(d), c.ed);
  }
}

TEST(MakeDate, KnownDayNumbers) {
  EXPECT_EQ(MakeDate(1899, 12, 30), 0);
  EXPECT_EQ(MakeDate(2013, 5, 1), 41395);
  EXPECT_EQ(MakeDate(100, 1, 1), kMinDateTime);
  EXPECT_EQ(MakeDate(9999, 12, 31), kMaxDateTime);
  EXPECT_EQ(MakeDate(2000, 1, 1), 36526);
  EXPECT_EQ(MakeDate(1899, 12, 29), -1);
}

TEST(MakeDateTime, AddsATimeOfDay) {
  EXPECT_EQ(MakeDateTime(2013, 5, 1, 8, 30, 0), ParseDateText("2013-05-01 08:30"));
  EXPECT_EQ(MakeDateTime(2013, 5, 1, 0, 0, 0), 41395);
  EXPECT_EQ(MakeDateTime(2013, 5, 1, 12, 0, 0), 41395.5);
  EXPECT_EQ(MakeDateTime(2013, 5, 1, 23, 59, 59), At(41395, 23, 59, 59));
  EXPECT_EQ(MakeDateTime(1899, 12, 29, 6, 0, 0), -1.25);
  // Components are clamped like those of MakeDate.
  EXPECT_EQ(MakeDateTime(2013, 2, 30, 25, 61, 61), At(41333, 23, 59, 59));
  EXPECT_EQ(MakeDateTime(2013, 5, 1, -1, -1, -1), 41395);
}

// ------------------------------------------------- YearOf, MonthOf, DayOf

struct PartsCase {
  DateTime value;
  int32_t year, month, day, weekday;
};

TEST(DateParts, Table) {
  const PartsCase cases[] = {
      {0, 1899, 12, 30, 7},
      {1, 1899, 12, 31, 1},
      {2, 1900, 1, 1, 2},
      {60, 1900, 2, 28, 4},
      {61, 1900, 3, 1, 5},
      {-1, 1899, 12, 29, 6},
      {-1.25, 1899, 12, 29, 6},  // 06:00 of that day
      {-0.5, 1899, 12, 30, 7},   // whole part toward zero
      {0.5, 1899, 12, 30, 7},
      {36526, 2000, 1, 1, 7},
      {41395, 2013, 5, 1, 4},
      {41395.5, 2013, 5, 1, 4},
      {At(41395, 23, 59, 59), 2013, 5, 1, 4},      // 23:59:59: still that day
      {41395 + 86399.4 * kSecond, 2013, 5, 1, 4},  // rounds to 23:59:59
      {41395 + 86399.6 * kSecond, 2013, 5, 2, 5},  // rounds to the next midnight
      {41395 - 0.4 * kSecond, 2013, 5, 1, 4},      // rounds up to midnight
      {41398, 2013, 5, 4, 7},
      {41399, 2013, 5, 5, 1},
      {40968, 2012, 2, 29, 4},
      {kMinDateTime, 100, 1, 1, 6},
      {kMaxDateTime, 9999, 12, 31, 6},
      {At(kMaxDateTime, 23, 59, 59), 9999, 12, 31, 6},
      // Out of range: the nearer end.
      {kMinDateTime - 1, 100, 1, 1, 6},
      {-1e300, 100, 1, 1, 6},
      {-std::numeric_limits<double>::infinity(), 100, 1, 1, 6},
      {kMaxDateTime + 1, 9999, 12, 31, 6},
      {1e300, 9999, 12, 31, 6},
      {std::numeric_limits<double>::infinity(), 9999, 12, 31, 6},
      // Not a number (no nearer end): taken as the failure value.
      {std::numeric_limits<double>::quiet_NaN(), 100, 1, 1, 6},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(values::NumberToText(c.value));
    EXPECT_EQ(YearOf(c.value), c.year);
    EXPECT_EQ(MonthOf(c.value), c.month);
    EXPECT_EQ(DayOf(c.value), c.day);
    EXPECT_EQ(DayOfWeek(c.value), c.weekday);
  }
}

TEST(DateParts, DayOfWeekExamples) {
  EXPECT_EQ(DayOfWeek(0), 7);
  EXPECT_EQ(DayOfWeek(ParseDateText("2013/5/1")), 4);
  EXPECT_EQ(DayOfWeek(ParseDateText("2013/5/4")), 7);
  EXPECT_EQ(DayOfWeek(ParseDateText("2013/5/5")), 1);
  EXPECT_EQ(DayOfWeek(ParseDateText("2013/5/4 23:59:59")), 7);
  EXPECT_EQ(DayOfWeek(ParseDateText("2013/5/5 23:59:59")), 1);
}

TEST(DateParts, EveryDayOfTheRange) {
  // Walk the whole valid range day by day with an independent month counter.
  int32_t y = 100, m = 1, d = 1;
  int32_t weekday = 6;  // 0100-01-01 was a Friday
  for (int64_t n = static_cast<int64_t>(kMinDateTime); n <= static_cast<int64_t>(kMaxDateTime);
       ++n) {
    const auto v = static_cast<DateTime>(n);
    const double noonish = n >= 0 ? v + 0.75 : v - 0.75;
    if (YearOf(v) != y || MonthOf(v) != m || DayOf(v) != d || DayOfWeek(v) != weekday ||
        MakeDate(y, m, d) != v || DayOf(noonish) != d || DayOfWeek(noonish) != weekday) {
      FAIL() << "day " << n << " expected " << y << "-" << m << "-" << d << " weekday " << weekday
             << ", got " << YearOf(v) << "-" << MonthOf(v) << "-" << DayOf(v) << " weekday "
             << DayOfWeek(v);
    }
    weekday = weekday % 7 + 1;
    if (++d > DaysInMonth(y, m)) {
      d = 1;
      if (++m > 12) {
        m = 1;
        ++y;
      }
    }
  }
  EXPECT_EQ(y, 10000);
}

// ------------------------------------------------------------- DaysInMonth

TEST(DaysInMonth, Table) {
  const struct {
    int32_t year, month, days;
  } cases[] = {
      {2013, 1, 31},  {2013, 2, 28},     {2013, 3, 31},        {2013, 4, 30}, {2013, 5, 31},
      {2013, 6, 30},  {2013, 7, 31},     {2013, 8, 31},        {2013, 9, 30}, {2013, 10, 31},
      {2013, 11, 30}, {2013, 12, 31},    {2012, 2, 29},        {2000, 2, 29}, {1900, 2, 28},
      {2100, 2, 28},  {2400, 2, 29},     {100, 2, 28},         {104, 2, 29},  {9999, 12, 31},
      {2013, 13, 0},  {2013, 0, 0},      {2013, -1, 0},        {99, 1, 0},    {10000, 1, 0},
      {100, 1, 31},   {INT32_MIN, 1, 0}, {2013, INT32_MAX, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.year) + "-" + std::to_string(c.month));
    EXPECT_EQ(DaysInMonth(c.year, c.month), c.days);
  }
}

// ------------------------------------------------------------- CurrentDate

class ClockTest : public ::testing::Test {
 protected:
  void TearDown() override { SetClock({}); }
};

TEST_F(ClockTest, ReplacedClockIsUsed) {
  const DateTime fixed = At(41395, 8, 30, 0);
  SetClock([fixed] { return fixed; });
  EXPECT_EQ(CurrentDate(), fixed);
  EXPECT_EQ(MonthOf(CurrentDate()), 5);
  SetClock([] { return MakeDate(2024, 2, 10); });
  EXPECT_EQ(CurrentDate(), MakeDate(2024, 2, 10));
}

TEST_F(ClockTest, EmptyFunctionRestoresTheSystemClock) {
  SetClock([] { return 0.0; });
  EXPECT_EQ(CurrentDate(), 0.0);
  SetClock({});
  EXPECT_GT(CurrentDate(), MakeDate(2020, 1, 1));
}

TEST_F(ClockTest, SystemClockGivesLocalTimeInWholeSeconds) {
  const std::time_t before = std::time(nullptr);
  const DateTime now = CurrentDate();
  const std::time_t after = std::time(nullptr);
  // Whole seconds.
  const double seconds = (now - std::floor(now)) * 86400.0;
  EXPECT_NEAR(seconds, std::round(seconds), 1e-4);
  // Within the two readings of the C library's local time.
  auto as_date_time = [](std::time_t t) {
    std::tm tm{};
    localtime_r(&t, &tm);
    return MakeDateTime(tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min,
                        tm.tm_sec);
  };
  EXPECT_GE(now, as_date_time(before) - kSecond / 2);
  EXPECT_LE(now, as_date_time(after) + kSecond / 2);
}

}  // namespace
