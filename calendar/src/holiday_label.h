// The holiday label's text made from a holiday text already listed.
#pragma once

#include <string_view>

#include "values/text.h"

namespace calendar {

values::Text HolidayLabelFromList(std::string_view holidays);

}  // namespace calendar
