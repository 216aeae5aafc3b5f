// Helpers shared by the values tests.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "values/gbk.h"
#include "values/text.h"

namespace values_test {

// A readable UTF-8 source literal as the GBK text the system holds.
inline values::Text G(std::string_view utf8) {
  return values::Utf8ToGbk(utf8);
}

// A GBK text as UTF-8, for readable failure messages.
inline std::string U(std::string_view gbk) {
  return values::GbkToUtf8(gbk);
}

// Hex dump of bytes, for failure messages.
inline std::string Hex(std::string_view bytes) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string out;
  for (char c : bytes) {
    const auto b = static_cast<unsigned char>(c);
    if (!out.empty()) out += ' ';
    out += kDigits[b >> 4];
    out += kDigits[b & 15];
  }
  return out;
}

}  // namespace values_test
