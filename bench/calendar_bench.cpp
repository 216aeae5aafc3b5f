// The holiday texts of all months 1901 to 2049 from the table-driven calendar,
// beside ICU's Chinese calendar doing the day-by-day lunar conversions the
// holiday rules need (the lunar date of every day, and the length of the
// twelfth month on its last days). Compare the two times per iteration.
#include <benchmark/benchmark.h>
#include <unicode/calendar.h>
#include <unicode/locid.h>
#include <unicode/timezone.h>

#include <cstdint>
#include <memory>

#include "calendar/holidays.h"
#include "values/dates.h"

namespace {

constexpr int32_t kFirstYear = 1901;
constexpr int32_t kLastYear = 2049;

void BM_ListMonthHolidays(benchmark::State& state) {
  for (auto _ : state) {
    for (int32_t year = kFirstYear; year <= kLastYear; ++year) {
      for (int32_t month = 1; month <= 12; ++month) {
        benchmark::DoNotOptimize(calendar::ListMonthHolidays(values::MakeDate(year, month, 1)));
      }
    }
  }
  state.SetItemsProcessed(state.iterations() * (kLastYear - kFirstYear + 1) * 12);
}
BENCHMARK(BM_ListMonthHolidays)->Unit(benchmark::kMillisecond);

void BM_IcuLunarConversions(benchmark::State& state) {
  UErrorCode status = U_ZERO_ERROR;
  std::unique_ptr<icu::Calendar> chinese(icu::Calendar::createInstance(
      icu::TimeZone::createTimeZone("GMT+08:00"), icu::Locale("zh_CN@calendar=chinese"), status));
  if (U_FAILURE(status)) {
    state.SkipWithError("no ICU Chinese calendar");
    return;
  }
  constexpr double kDaysTo1970 = 25569;
  for (auto _ : state) {
    for (int32_t year = kFirstYear; year <= kLastYear; ++year) {
      for (int32_t month = 1; month <= 12; ++month) {
        const values::DateTime first = values::MakeDate(year, month, 1);
        const int32_t days = values::DaysInMonth(year, month);
        int32_t matches = 0;
        for (int32_t day = 0; day < days; ++day) {
          chinese->setTime(((first + day - kDaysTo1970) * 24 + 4) * 3600000.0, status);
          const int32_t lunarMonth = chinese->get(UCAL_MONTH, status) + 1;
          const int32_t lunarDay = chinese->get(UCAL_DATE, status);
          benchmark::DoNotOptimize(chinese->get(UCAL_EXTENDED_YEAR, status));
          benchmark::DoNotOptimize(chinese->get(UCAL_IS_LEAP_MONTH, status));
          if (lunarMonth == 12 && lunarDay >= 29 &&
              lunarDay == chinese->getActualMaximum(UCAL_DATE, status)) {
            ++matches;
          }
          if ((lunarMonth == 1 && lunarDay <= 2) || (lunarMonth == 5 && lunarDay == 5) ||
              (lunarMonth == 8 && lunarDay == 15)) {
            ++matches;
          }
        }
        benchmark::DoNotOptimize(matches);
      }
    }
  }
  state.SetItemsProcessed(state.iterations() * (kLastYear - kFirstYear + 1) * 12);
}
BENCHMARK(BM_IcuLunarConversions)->Unit(benchmark::kMillisecond);

}  // namespace
