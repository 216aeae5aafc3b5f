// ParseDateText of any bytes: the failure value, or a date in range whose
// own year/month/day text parses to the same day.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "check.h"
#include "values/dates.h"
#include "values/numbers.h"
#include "values/text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const values::DateTime d = values::ParseDateText(text);
  if (d == values::kMinDateTime) return 0;

  // A time of day moves a value away from zero: 0100-01-01 00:00:01 lies just
  // below the failure value, on the same day.
  FUZZ_CHECK(std::isfinite(d) && d > values::kMinDateTime - 1 && d < values::kMaxDateTime + 1);
  const int32_t year = values::YearOf(d);
  const int32_t month = values::MonthOf(d);
  const int32_t day = values::DayOf(d);
  FUZZ_CHECK(year >= 100 && year <= 9999);
  FUZZ_CHECK(month >= 1 && month <= 12);
  FUZZ_CHECK(day >= 1 && day <= values::DaysInMonth(year, month));
  const int32_t weekday = values::DayOfWeek(d);
  FUZZ_CHECK(weekday >= 1 && weekday <= 7);

  // The day alone, as the system writes it: year "/" month "/" day.
  const values::Text plain = values::JoinText(
      values::NumberToText(year), "/", values::NumberToText(month), "/", values::NumberToText(day));
  const values::DateTime date = values::ParseDateText(plain);
  FUZZ_CHECK(date == values::MakeDate(year, month, day) && date == std::trunc(d));
  FUZZ_CHECK(values::YearOf(date) == year && values::MonthOf(date) == month &&
             values::DayOf(date) == day);
  return 0;
}
