// NumberToText of any double: the digits are those of the value rounded to 17
// and then to 13 significant digits, the layout is the display format, and the
// text reads back through TextToReal as a value within that rounding.
//
// Input: the first 8 bytes are the double's bits (a shorter input is read as
// a text instead); the next 4 are the places of a RoundToPlaces call.
#include <bit>
#include <cfloat>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>

#include "check.h"
#include "values/numbers.h"

namespace {

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}
bool AllDigits(std::string_view s) {
  for (char c : s) {
    if (!IsDigit(c)) return false;
  }
  return true;
}
void TrimTrailingZeros(std::string& digits) {
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
}

// Significant digits (no trailing zeros) and decimal exponent E of a value
// d.ddd x 10^E.
struct Decimal {
  std::string digits;
  int exponent = 0;
};

// |value| rounded to 17 significant digits by the C library, then to 13 with
// a 14th digit of 5 or more rounding up.
Decimal Expected(double magnitude) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.16e", magnitude);  // "d.dddddddddddddddde±xx"
  const std::string_view s = buf;
  const size_t e = s.find('e');
  std::string digits = std::string(1, s[0]) + std::string(s.substr(2, e - 2));
  int exponent = std::stoi(std::string(s.substr(e + 1)));
  const bool up = digits[13] >= '5';
  digits.resize(13);
  if (up) {
    int k = 12;
    while (k >= 0 && digits[k] == '9') digits[k--] = '0';
    if (k >= 0) {
      ++digits[k];
    } else {
      digits = "1";
      ++exponent;
    }
  }
  TrimTrailingZeros(digits);
  return {digits, exponent};
}

// The digits and exponent of a shown magnitude, checking its layout on the way.
Decimal Shown(std::string_view s) {
  Decimal d;
  const size_t e = s.find('e');
  std::string_view mantissa = s.substr(0, e);
  const size_t point = mantissa.find('.');
  const std::string_view whole = mantissa.substr(0, point);
  const std::string_view fraction =
      point == std::string_view::npos ? std::string_view() : mantissa.substr(point + 1);
  FUZZ_CHECK(!whole.empty() && AllDigits(whole) && AllDigits(fraction));
  if (point != std::string_view::npos) {
    FUZZ_CHECK(!fraction.empty() && fraction.back() != '0');  // no trailing zeros, no bare point
  }
  if (e != std::string_view::npos) {
    // d[.ddd]e±xxx: the first digit alone before the point, three or more
    // exponent digits without a needless leading zero.
    FUZZ_CHECK(whole.size() == 1 && whole[0] != '0');
    const std::string_view exp = s.substr(e + 1);
    FUZZ_CHECK(exp.size() >= 4 && (exp[0] == '+' || exp[0] == '-') && AllDigits(exp.substr(1)));
    FUZZ_CHECK(exp.size() == 4 || exp[1] != '0');
    d.exponent = std::stoi(std::string(exp.substr(1)));
    if (exp[0] == '-') d.exponent = -d.exponent;
    FUZZ_CHECK(d.exponent < -4 || d.exponent > 12);
    d.digits = std::string(whole) + std::string(fraction);
  } else if (whole != "0") {
    FUZZ_CHECK(whole[0] != '0');
    d.exponent = static_cast<int>(whole.size()) - 1;
    d.digits = std::string(whole) + std::string(fraction);
    FUZZ_CHECK(d.exponent <= 12);
  } else {
    const size_t zeros = fraction.find_first_not_of('0');
    FUZZ_CHECK(zeros != std::string_view::npos);
    d.exponent = -static_cast<int>(zeros) - 1;
    d.digits = std::string(fraction.substr(zeros));
    FUZZ_CHECK(d.exponent >= -4);
  }
  TrimTrailingZeros(d.digits);
  FUZZ_CHECK(d.digits.size() <= 13 && d.digits[0] != '0');
  return d;
}

void CheckReal(double value) {
  const std::string text = values::NumberToText(value);
  if (std::isnan(value)) {
    if (std::bit_cast<uint64_t>(value) == 0xFFF8000000000000ULL) {
      FUZZ_CHECK(text == "-1.#IND");
    } else {
      FUZZ_CHECK(text == (std::signbit(value) ? "-1.#QNAN" : "1.#QNAN"));
    }
    return;
  }
  if (std::isinf(value)) {
    FUZZ_CHECK(text == (value > 0 ? "1.#INF" : "-1.#INF"));
    return;
  }
  if (value == 0.0) {
    FUZZ_CHECK(text == "0");
    FUZZ_CHECK(values::TextToReal(text) == 0.0);
    return;
  }

  const bool negative = std::signbit(value);
  FUZZ_CHECK(!text.empty() && (text[0] == '-') == negative);
  const Decimal shown = Shown(std::string_view(text).substr(negative ? 1 : 0));
  const Decimal expected = Expected(std::fabs(value));
  FUZZ_CHECK(shown.digits == expected.digits && shown.exponent == expected.exponent);

  // Read back. With |value| = m x 10^E (1 <= m < 10, E from the 17-digit
  // rounding, so 10^E <= |value| x (1 + 5e-17)), the shown decimal D lies
  // within half a unit of its 13th digit plus half a unit of the 17th:
  //   |D - value| <= 0.5 x 10^(E-12) x (1 + 1e-4) <= 5.0006e-13 x |value|,
  // and the double nearest D within 2^-53 x |D| <= 1.111e-16 x |value| of D
  // (plus half the smallest subnormal below the normal range). So
  //   |back - value| <= 5.0018e-13 x |value| + DBL_TRUE_MIN.
  const double back = values::TextToReal(text);
  FUZZ_CHECK(std::signbit(back) == negative && std::isfinite(back));
  const double error = std::fabs(back - value);  // exact: the two are close
  FUZZ_CHECK(error <= 5.0018e-13 * std::fabs(value) + DBL_TRUE_MIN);
  // A shown value read back shows the same.
  FUZZ_CHECK(values::NumberToText(back) == text);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  double value = 0.0;
  if (size >= sizeof value) {
    std::memcpy(&value, data, sizeof value);
  } else {
    value = values::TextToReal(std::string_view(reinterpret_cast<const char*>(data), size));
  }
  CheckReal(value);

  int32_t places = 2;
  if (size >= sizeof value + sizeof places)
    std::memcpy(&places, data + sizeof value, sizeof places);
  const double rounded = values::RoundToPlaces(value, places);
  FUZZ_CHECK(std::isnan(rounded) == std::isnan(value));
  (void)values::RealToInt(value);
  (void)values::RealToInt(rounded);

  int32_t integer = 0;
  std::memcpy(&integer, data, size < sizeof integer ? size : sizeof integer);
  FUZZ_CHECK(values::TextToInt(values::NumberToText(integer)) == integer);
  return 0;
}
