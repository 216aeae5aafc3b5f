#include "calendar/month_limits.h"

#include <gtest/gtest.h>

#include <string>

#include "values/dates.h"
#include "values/gbk.h"

namespace calendar {
namespace {

class MonthLimitsTest : public ::testing::Test {
 protected:
  // The clock stands in November 2025, a month other than those computed.
  void SetUp() override {
    values::SetClock([] { return values::MakeDateTime(2025, 11, 20, 10, 0, 0); });
  }
  void TearDown() override { values::SetClock({}); }
};

std::string U(const values::Text& gbk) {
  return values::GbkToUtf8(gbk);
}

TEST_F(MonthLimitsTest, CeilingsBelongToTheMonthShown) {
  struct Case {
    int32_t year, month;
    const char *g1, *g2, *g3, *total, *label;
  } cases[] = {
      {2025, 10, "本月G1最多时数：46", "本月G2最多时数：40", "本月G3最多时数：40",
       "本月最多加班时数：126", "本月法定节假日有：中秋节 国庆 "},
      {2024, 3, "本月G1最多时数：42", "本月G2最多时数：50", "本月G3最多时数：0",
       "本月最多加班时数：92", ""},
      {2024, 2, "本月G1最多时数：42", "本月G2最多时数：40", "本月G3最多时数：30",
       "本月最多加班时数：112", "本月法定节假日有：正月初二 春节 除夕 "},
      {2025, 11, "本月G1最多时数：40", "本月G2最多时数：50", "本月G3最多时数：0",
       "本月最多加班时数：90", ""},
  };
  for (const Case& c : cases) {
    for (int32_t day : {1, 15}) {
      const MonthLimitTexts t =
          ComputeMonthLimits(values::MakeDate(c.year, c.month, day), "0", "0", "0", "");
      EXPECT_EQ(U(t.g1Ceiling), c.g1) << c.year << "-" << c.month;
      EXPECT_EQ(U(t.g2Ceiling), c.g2) << c.year << "-" << c.month;
      EXPECT_EQ(U(t.g3Ceiling), c.g3) << c.year << "-" << c.month;
      EXPECT_EQ(U(t.totalCeiling), c.total) << c.year << "-" << c.month;
      EXPECT_EQ(U(t.holidayLabel), c.label) << c.year << "-" << c.month;
    }
  }
}

TEST_F(MonthLimitsTest, HoursSoFar) {
  struct Case {
    const char *g1, *g2, *g3, *counted, *text;
  } cases[] = {
      {"0", "0", "0", "", "月，已加班0个小时。"},
      {"12", "20", "0", "3", "3月，已加班32个小时。"},
      {"2.5", "3", "", "3", "3月，已加班5.5个小时。"},
      {"abc", "", "1.25", "12", "12月，已加班1.25个小时。"},
  };
  for (const Case& c : cases) {
    const MonthLimitTexts t =
        ComputeMonthLimits(values::MakeDate(2024, 3, 1), c.g1, c.g2, c.g3, c.counted);
    EXPECT_EQ(U(t.hoursSoFar), c.text);
  }
}

TEST(CountWeekdayInMonthTest, Counts) {
  struct Case {
    int32_t year, month, weekday, count;
  } cases[] = {
      {2024, 2, 6, 4},  {2024, 2, 7, 4},  {2024, 2, 4, 5},  // 29 days from a Thursday
      {2024, 3, 6, 5},  {2024, 3, 7, 5},  {2024, 3, 1, 4},
      {2025, 11, 6, 5}, {2025, 11, 7, 5}, {2026, 2, 1, 4},  // 28 days
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CountWeekdayInMonth(c.year, c.month, c.weekday), c.count)
        << c.year << "-" << c.month << " weekday " << c.weekday;
  }
}

}  // namespace
}  // namespace calendar
