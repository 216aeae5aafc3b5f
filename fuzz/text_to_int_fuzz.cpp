// TextToInt of any bytes equals the digits at the start of the folded text,
// read with 64-bit arithmetic and wrapped to 32 bits.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "check.h"
#include "values/numbers.h"
#include "values/text.h"

namespace {

int32_t Expected(std::string_view s) {
  size_t i = 0;
  while (i < s.size() && (s[i] == ' ' || (s[i] >= 0x09 && s[i] <= 0x0D))) ++i;
  bool negative = false;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
  uint64_t value = 0;  // kept below 2^32 after every digit
  while (i < s.size() && s[i] >= '0' && s[i] <= '9') {
    value = (value * 10 + static_cast<uint64_t>(s[i] - '0')) % (uint64_t{1} << 32);
    ++i;
  }
  if (negative) value = ((uint64_t{1} << 32) - value) % (uint64_t{1} << 32);
  const int64_t wrapped = value >= (uint64_t{1} << 31)
                              ? static_cast<int64_t>(value) - (int64_t{1} << 32)
                              : static_cast<int64_t>(value);
  return static_cast<int32_t>(wrapped);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const int32_t value = values::TextToInt(text);
  FUZZ_CHECK(value == Expected(values::FoldFullWidth(text)));
  // An integer shown as a text reads back as itself.
  FUZZ_CHECK(values::TextToInt(values::NumberToText(value)) == value);
  return 0;
}
