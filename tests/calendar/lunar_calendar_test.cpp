#include "calendar/lunar_calendar.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "values/dates.h"

namespace calendar {
namespace {

struct LunarDate {
  int32_t year, month, day;
  bool leap;
  friend bool operator==(const LunarDate&, const LunarDate&) = default;
};

std::ostream& operator<<(std::ostream& os, const LunarDate& d) {
  return os << d.year << (d.leap ? "-leap" : "-") << d.month << "-" << d.day;
}

LunarDate LunarOf(values::DateTime date) {
  LunarDate d{-1, -1, -1, true};
  EXPECT_TRUE(LunarCalendar::LunarDateOf(date, d.year, d.month, d.day, d.leap));
  return d;
}

int32_t TermOf(values::DateTime date) {
  const LunarDate d = LunarOf(date);
  int32_t term = -1;
  LunarCalendar::SolarTermOfLunarDate(d.year, d.month, d.day, d.leap, term);
  return term;
}

TEST(LunarCalendarTest, KnownDates) {
  struct Case {
    int32_t y, m, d;
    LunarDate lunar;
  } cases[] = {
      {1901, 2, 19, {1901, 1, 1, false}},  // the first day of the range
      {1906, 4, 24, {1906, 4, 1, false}},  // as the calendar of the time had it
      {1906, 4, 23, {1906, 3, 30, false}},  {1995, 10, 9, {1995, 8, 15, true}},
      {2009, 6, 27, {2009, 5, 5, true}},    {2009, 5, 28, {2009, 5, 5, false}},
      {2023, 1, 21, {2022, 12, 30, false}}, {2023, 1, 22, {2023, 1, 1, false}},
      {2012, 8, 17, {2012, 7, 1, false}},   // new moon 23:54 China Standard Time
      {2018, 11, 8, {2018, 10, 1, false}},  // new moon 00:02
      {2033, 12, 22, {2033, 11, 1, true}},  {2048, 12, 31, {2048, 11, 27, false}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(LunarOf(values::MakeDate(c.y, c.m, c.d)), c.lunar) << c.y << "-" << c.m << "-" << c.d;
  }
  // Only the day counts, not the time of day.
  EXPECT_EQ(LunarOf(values::MakeDateTime(2023, 1, 21, 23, 59, 59)),
            (LunarDate{2022, 12, 30, false}));
}

TEST(LunarCalendarTest, OutsideTheRangeLeavesTheOutputs) {
  const values::DateTime refused[] = {values::MakeDate(1901, 2, 18),
                                      values::MakeDate(2049, 1, 1),
                                      values::MakeDate(1900, 6, 1),
                                      values::MakeDate(9999, 12, 31),
                                      values::kMinDateTime,
                                      -1.0,
                                      std::numeric_limits<double>::quiet_NaN(),
                                      std::numeric_limits<double>::infinity()};
  for (values::DateTime date : refused) {
    LunarDate d{7, 8, 9, true};
    EXPECT_FALSE(LunarCalendar::LunarDateOf(date, d.year, d.month, d.day, d.leap)) << date;
    EXPECT_EQ(d, (LunarDate{7, 8, 9, true})) << date;
  }
}

TEST(LunarCalendarTest, LeapMonthsAndMonthLengths) {
  struct Case {
    int32_t year, month;
    bool leap;
    bool exists;
  } cases[] = {
      {2020, 4, true, true},   {2020, 5, true, false}, {2023, 2, true, true},
      {2023, 3, true, false},  {2033, 11, true, true}, {2033, 7, true, false},
      {2024, 1, true, false},  {1995, 8, true, true},  {2009, 5, true, true},
      {2049, 12, false, true}, {1901, 1, false, true},
  };
  for (const Case& c : cases) {
    const int32_t days = LunarCalendar::DaysInLunarMonth(c.year, c.month, c.leap);
    if (c.exists) {
      EXPECT_TRUE(days == 29 || days == 30) << c.year << " " << c.month << " " << days;
    } else {
      EXPECT_EQ(days, 0) << c.year << " " << c.month;
    }
  }
  EXPECT_EQ(LunarCalendar::DaysInLunarMonth(2022, 12, false), 30);  // 除夕 2023-01-21
  EXPECT_EQ(LunarCalendar::DaysInLunarMonth(1906, 3, false), 30);   // up to 1906-04-23
  for (auto [year, month] : {std::pair{1900, 1}, {2050, 1}, {2024, 0}, {2024, 13}, {0, 0}}) {
    EXPECT_EQ(LunarCalendar::DaysInLunarMonth(year, month, false), 0) << year << " " << month;
  }
}

TEST(LunarCalendarTest, SolarTerms) {
  struct Case {
    int32_t y, m, d, term;
  } cases[] = {
      {2024, 4, 4, 5},  {2025, 4, 4, 5},    {2024, 12, 21, 22}, {2024, 2, 4, 1},
      {2024, 3, 20, 4}, {2024, 4, 5, 0},    {2024, 4, 3, 0},    {2021, 12, 21, 22},
      {1901, 2, 19, 2}, {2048, 12, 21, 22}, {2024, 1, 6, 23},   {2024, 1, 20, 24},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(TermOf(values::MakeDate(c.y, c.m, c.d)), c.term) << c.y << "-" << c.m << "-" << c.d;
  }
  // A leap flag on a month that has no leap month is ignored: 2024-04-04 is
  // the 26th day of the second month.
  int32_t term = -1;
  LunarCalendar::SolarTermOfLunarDate(2024, 2, 26, true, term);
  EXPECT_EQ(term, 5);
}

TEST(LunarCalendarTest, SolarTermWithoutSuchADayLeavesTheOutput) {
  struct Case {
    int32_t year, month, day;
    bool leap;
  } cases[] = {
      {1900, 12, 30, false},                       // before the range
      {1900, 1, 1, false},   {2049, 1, 1, false},  // lunar 2049 begins after 2048
      {2048, 12, 1, false},  {2024, 0, 1, false},  {2024, 13, 1, false},
      {2024, 1, 0, false},   {2024, 1, 31, false}, {2050, 1, 1, false},
  };
  for (const Case& c : cases) {
    int32_t term = 99;
    LunarCalendar::SolarTermOfLunarDate(c.year, c.month, c.day, c.leap, term);
    EXPECT_EQ(term, 99) << c.year << " " << c.month << " " << c.day;
  }
  // A day the month does not have: a 30th day of a 29-day month.
  for (int32_t month = 1; month <= 12; ++month) {
    if (LunarCalendar::DaysInLunarMonth(2024, month, false) == 29) {
      int32_t term = 99;
      LunarCalendar::SolarTermOfLunarDate(2024, month, 30, false, term);
      EXPECT_EQ(term, 99) << month;
    }
  }
}

// Walks every day of the range: the lunar dates follow each other without a
// gap, every month has the length DaysInLunarMonth gives, every term is found
// again through its lunar date, each Gregorian year has all 24 terms once, and
// a year has a leap month exactly when it has 13 months.
TEST(LunarCalendarTest, EveryDayIsConsistent) {
  const values::DateTime first = values::MakeDate(1901, 2, 19);
  const values::DateTime last = values::MakeDate(2048, 12, 31);
  LunarDate previous{1900, 12, 29, false};
  int32_t termsSeen[24] = {};
  int32_t termYear = 1901;
  int32_t expectedTerm = 2;  // Rain Water, 1901-02-19
  int32_t monthsInYear = 0;
  bool sawLeap = false;
  for (values::DateTime date = first; date <= last; date += 1) {
    const LunarDate d = LunarOf(date);
    if (d.day == 1) {
      if (date != first) {
        ASSERT_EQ(previous.day,
                  LunarCalendar::DaysInLunarMonth(previous.year, previous.month, previous.leap))
            << d;
      }
      if (d.month == 1 && !d.leap) {
        if (date != first) {
          ASSERT_EQ(monthsInYear, sawLeap ? 13 : 12) << d;
        }
        monthsInYear = 0;
        sawLeap = false;
      }
      ++monthsInYear;
      sawLeap = sawLeap || d.leap;
      if (d.leap) {
        ASSERT_EQ(d.month, previous.month) << d;
      } else if (date != first) {
        ASSERT_EQ(d.month, previous.month % 12 + 1) << d;
      }
    } else {
      ASSERT_EQ(d, (LunarDate{previous.year, previous.month, previous.day + 1, previous.leap}));
    }
    int32_t term = -1;
    LunarCalendar::SolarTermOfLunarDate(d.year, d.month, d.day, d.leap, term);
    ASSERT_TRUE(term >= 0 && term <= 24) << d;
    if (values::YearOf(date) != termYear) {
      for (int32_t i = 0; i < 24; ++i) {
        if (termYear != 1901 || (i != 0 && i < 22)) {
          ASSERT_EQ(termsSeen[i], 1) << termYear << " term " << i + 1;
        }
        termsSeen[i] = 0;
      }
      termYear = values::YearOf(date);
    }
    if (term != 0) {
      ASSERT_EQ(term, expectedTerm) << d;
      expectedTerm = expectedTerm % 24 + 1;
      ++termsSeen[term - 1];
    }
    previous = d;
  }
  EXPECT_EQ(previous, (LunarDate{2048, 11, 27, false}));
}

}  // namespace
}  // namespace calendar
