// Every day of the calendar's range against ICU's Chinese calendar.
//
// ICU reckons the new moons and the principal terms with a short lunar and
// solar theory, good to some minutes, on UTC+8 throughout; where an event lies
// close to a civil midnight it can take the wrong day, and the months around
// it differ. Every such run of days is listed below with the instant that
// decides it (UT; CST is UTC+8, LMT Beijing local mean time, the civil time of
// the calendar before 1929) and the side the published calendar takes. Any
// other difference, or a listed one that goes away, fails the test.
#include <gtest/gtest.h>
#include <unicode/calendar.h>
#include <unicode/locid.h>
#include <unicode/timezone.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "calendar/lunar_calendar.h"
#include "values/dates.h"

namespace calendar {
namespace {

struct DayRun {
  std::string first, last;
  friend bool operator==(const DayRun&, const DayRun&) = default;
};

std::ostream& operator<<(std::ostream& os, const DayRun& r) {
  return os << r.first << " to " << r.last;
}

struct KnownDisagreement {
  DayRun days;
  const char* reason;
};

const KnownDisagreement kKnown[] = {
    {{"1917-03-23", "1917-05-20"},
     "Grain Rain 1917-04-20 16:17:28 UT, 00:03 LMT on 04-21, the day a month begins: the "
     "month from 03-23 holds no principal term and is the leap second month, as published; "
     "ICU has the term on 04-20 and makes the month from 04-21 the leap third"},
    {{"1922-06-25", "1922-08-22"},
     "Major Heat 1922-07-23 16:19:42 UT, 00:05 LMT on 07-24, the day a month begins: the "
     "month from 06-25 is the leap fifth, as published; ICU has the leap sixth"},
    {{"1954-02-03", "1954-03-04"},
     "new moon 1954-02-03 15:55:22 UT, 23:55 CST: the lunar new year is 1954-02-03, as "
     "published; ICU has 02-04"},
    {{"1955-02-22", "1955-03-23"},
     "new moon 1955-02-22 15:54:14 UT, 23:54 CST: the second month begins 02-22, as "
     "published; ICU has 02-23"},
    {{"1987-07-26", "1987-09-22"},
     "End of Heat 1987-08-23 16:09:51 UT, 00:10 CST on 08-24, the day a month begins: the "
     "month from 07-26 is the leap sixth, as published; ICU has the leap seventh"},
    {{"1999-01-17", "1999-02-15"},
     "new moon 1999-01-17 15:46:03 UT, 23:46 CST: the twelfth month begins 01-17, as "
     "published; ICU has 01-18"},
    {{"2012-08-17", "2012-09-15"},
     "new moon 2012-08-17 15:54:24 UT, 23:54 CST: the seventh month begins 08-17, as "
     "published; ICU has 08-18"},
    {{"2018-11-07", "2018-12-06"},
     "new moon 2018-11-07 16:02:01 UT, 00:02 CST on 11-08: the tenth month begins 11-08, as "
     "published; ICU has 11-07"},
    {{"2027-02-06", "2027-03-07"},
     "new moon 2027-02-06 15:56:04 UT, 23:56 CST: the lunar new year is 2027-02-06, as "
     "announced; ICU has 02-07"},
    {{"2030-02-02", "2030-03-03"},
     "new moon 2030-02-02 16:07:29 UT, 00:07 CST on 02-03: the lunar new year is 2030-02-03, "
     "as announced; ICU has 02-02"},
};

std::string DateText(values::DateTime date) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d", values::YearOf(date),
                values::MonthOf(date), values::DayOf(date));
  return buffer;
}

TEST(IcuCrossCheckTest, EveryDayAgreesExceptTheKnownRuns) {
  UErrorCode status = U_ZERO_ERROR;
  std::unique_ptr<icu::Calendar> chinese(icu::Calendar::createInstance(
      icu::TimeZone::createTimeZone("GMT+08:00"), icu::Locale("zh_CN@calendar=chinese"), status));
  ASSERT_TRUE(U_SUCCESS(status)) << u_errorName(status);

  // values::DateTime counts days from 1899-12-30; ICU milliseconds from
  // 1970-01-01 UT. Noon in UTC+8 is 04:00 UT.
  constexpr double kDaysTo1970 = 25569;
  std::vector<DayRun> runs;
  bool inRun = false;
  const values::DateTime first = values::MakeDate(1901, 2, 19);
  const values::DateTime last = values::MakeDate(2048, 12, 31);
  for (values::DateTime date = first; date <= last; date += 1) {
    int32_t year = 0, month = 0, day = 0;
    bool leap = false;
    ASSERT_TRUE(LunarCalendar::LunarDateOf(date, year, month, day, leap));
    chinese->setTime(((date - kDaysTo1970) * 24 + 4) * 3600000.0, status);
    const int32_t icuYear = chinese->get(UCAL_EXTENDED_YEAR, status) - 2637;
    const int32_t icuMonth = chinese->get(UCAL_MONTH, status) + 1;
    const int32_t icuDay = chinese->get(UCAL_DATE, status);
    const bool icuLeap = chinese->get(UCAL_IS_LEAP_MONTH, status) != 0;
    ASSERT_TRUE(U_SUCCESS(status)) << u_errorName(status);
    const bool differ = year != icuYear || month != icuMonth || day != icuDay || leap != icuLeap;
    if (differ && !inRun) runs.push_back({DateText(date), ""});
    if (differ) runs.back().last = DateText(date);
    inRun = differ;
  }

  std::vector<DayRun> known;
  for (const KnownDisagreement& k : kKnown) known.push_back(k.days);
  EXPECT_EQ(runs, known);
}

}  // namespace
}  // namespace calendar
