#include "calendar/holidays.h"

#include <gtest/gtest.h>

#include <string>

#include "values/dates.h"
#include "values/gbk.h"
#include "values/text.h"

namespace calendar {
namespace {

std::string Holidays(int32_t year, int32_t month, int32_t day = 1) {
  return values::GbkToUtf8(ListMonthHolidays(values::MakeDate(year, month, day)));
}

TEST(HolidaysTest, Months) {
  struct Case {
    int32_t year, month;
    const char* text;
  } cases[] = {
      {2023, 1, "正月初二 春节 除夕 元旦 4"},
      {2025, 1, "正月初二 春节 除夕 元旦 4"},
      {2024, 2, "正月初二 春节 除夕 3"},
      {2026, 2, "正月初二 春节 除夕 3"},
      {2024, 3, "0"},
      {2024, 4, "清明 1"},
      {2025, 5, "端午节 劳动节 2"},
      {2024, 10, "国庆 3"},
      {2020, 10, "国庆 中秋节 4"},  // 1 October is also the Mid-Autumn Festival
      {2025, 10, "中秋节 国庆 4"},
      {2009, 6, "端午节 1"},  // the fifth day of the leap fifth month
      {2009, 5, "端午节 劳动节 2"},
      {1995, 10, "中秋节 国庆 4"},  // the fifteenth day of the leap eighth month
      {1995, 9, "中秋节 1"},
      {1901, 2, "正月初二 春节 2"},  // New Year's Eve lies before the range
      {1901, 1, "元旦 1"},
      {1900, 10, "国庆 3"},
      {2048, 12, "0"},
      {2049, 1, "元旦 1"},  // beyond the range only the Gregorian rules match
      {2049, 10, "国庆 3"},
      {2050, 5, "劳动节 1"},
      {1906, 4, "清明 1"},
      {100, 1, "元旦 1"},
      {9999, 10, "国庆 3"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Holidays(c.year, c.month), c.text) << c.year << "-" << c.month;
  }
}

TEST(HolidaysTest, AnyDateOfTheMonthGivesTheSameText) {
  const values::DateTime dates[] = {values::MakeDate(2023, 1, 31),
                                    values::MakeDateTime(2023, 1, 15, 23, 59, 59),
                                    values::MakeDateTime(2023, 1, 1, 0, 0, 1)};
  for (values::DateTime date : dates) {
    EXPECT_EQ(values::GbkToUtf8(ListMonthHolidays(date)), "正月初二 春节 除夕 元旦 4");
  }
}

TEST(HolidaysTest, CountIsOneDigitInEveryMonth) {
  for (int32_t year = 1900; year <= 2050; ++year) {
    for (int32_t month = 1; month <= 12; ++month) {
      const values::Text text = ListMonthHolidays(values::MakeDate(year, month, 1));
      ASSERT_FALSE(text.empty());
      const char last = text.back();
      ASSERT_TRUE(last >= '0' && last <= '4') << year << "-" << month;
      ASSERT_TRUE(text.size() == 1 || text[text.size() - 2] == ' ') << year << "-" << month;
    }
  }
}

TEST(HolidaysTest, Label) {
  EXPECT_EQ(values::GbkToUtf8(HolidayLabelText(values::MakeDate(2023, 1, 9))),
            "本月法定节假日有：正月初二 春节 除夕 元旦 ");
  EXPECT_EQ(values::GbkToUtf8(HolidayLabelText(values::MakeDate(2025, 10, 1))),
            "本月法定节假日有：中秋节 国庆 ");
  EXPECT_EQ(values::GbkToUtf8(HolidayLabelText(values::MakeDate(2024, 10, 1))),
            "本月法定节假日有：国庆 ");
  EXPECT_EQ(HolidayLabelText(values::MakeDate(2024, 3, 1)), "");
  EXPECT_EQ(HolidayLabelText(values::MakeDate(2048, 12, 31)), "");
}

}  // namespace
}  // namespace calendar
