// TextToReal of any bytes equals the C library's correctly rounded reading of
// the number that the grammar takes from the start of the folded text.
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "check.h"
#include "values/numbers.h"
#include "values/text.h"

namespace {

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// The longest number at the start of s, in strtod's own syntax ("d" and "D"
// become "e"); empty when there is none.
std::string LeadingNumber(std::string_view s) {
  size_t i = 0;
  while (i < s.size() && (s[i] == ' ' || (s[i] >= 0x09 && s[i] <= 0x0D))) ++i;
  std::string number;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) number += s[i++];
  size_t digits = 0;
  while (i < s.size() && IsDigit(s[i])) {
    number += s[i++];
    ++digits;
  }
  if (i < s.size() && s[i] == '.') {
    size_t j = i + 1;
    std::string fraction;
    while (j < s.size() && IsDigit(s[j])) fraction += s[j++];
    if (digits + fraction.size() > 0) {
      number += '.';
      number += fraction;
      digits += fraction.size();
      i = j;
    }
  }
  if (digits == 0) return {};
  if (i < s.size() && (s[i] == 'e' || s[i] == 'E' || s[i] == 'd' || s[i] == 'D')) {
    size_t j = i + 1;
    std::string exponent = "e";
    if (j < s.size() && (s[j] == '+' || s[j] == '-')) exponent += s[j++];
    if (j < s.size() && IsDigit(s[j])) {
      while (j < s.size() && IsDigit(s[j])) exponent += s[j++];
      number += exponent;
    }
  }
  return number;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const double value = values::TextToReal(text);

  const std::string number = LeadingNumber(values::FoldFullWidth(text));
  const double expected = number.empty() ? 0.0 : std::strtod(number.c_str(), nullptr);
  // Bit for bit: the sign of a zero counts too.
  FUZZ_CHECK(std::bit_cast<uint64_t>(value) == std::bit_cast<uint64_t>(expected));
  return 0;
}
