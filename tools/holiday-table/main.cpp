// Prints the holiday text of every month from 1900-01 to 2050-12, one line a
// month: "YYYY-MM", a tab, the text in UTF-8.
#include <cstdio>
#include <string>

#include "calendar/holidays.h"
#include "values/dates.h"
#include "values/gbk.h"

int main() {
  for (int year = 1900; year <= 2050; ++year) {
    for (int month = 1; month <= 12; ++month) {
      const std::string text =
          values::GbkToUtf8(calendar::ListMonthHolidays(values::MakeDate(year, month, 1)));
      std::printf("%04d-%02d\t%s\n", year, month, text.c_str());
    }
  }
  return std::fflush(stdout) == 0 ? 0 : 1;
}
