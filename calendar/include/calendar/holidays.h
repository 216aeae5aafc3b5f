// The statutory holidays of a Gregorian month.
#pragma once

#include "values/dates.h"
#include "values/text.h"

namespace calendar {

// The holiday text of the month holding `date` (GBK): the names of the
// holidays found, each followed by a space, the one found last first, then
// the number of holiday days counted, one digit. "0" for a month without any.
// Only the year and month of `date` matter.
values::Text ListMonthHolidays(values::DateTime date);

// The text of the holiday label for the month holding `date` (GBK):
// "本月法定节假日有：" and the names, or the empty text for a month without any.
values::Text HolidayLabelText(values::DateTime date);

}  // namespace calendar
