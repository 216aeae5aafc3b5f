// Numbers read from and shown as texts.
#include "values/numbers.h"

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <system_error>

namespace values {
namespace {

bool IsSpace(char c) {
  return c == ' ' || (c >= 0x09 && c <= 0x0D);
}
bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// Where a number may start: the folded text, the position behind leading
// white space and an optional sign, and that sign. A text without GBK bytes
// folds to itself and is read in place.
class NumberStart {
 public:
  explicit NumberStart(std::string_view t) : text(t) {
    if (std::any_of(t.begin(), t.end(),
                    [](char c) { return static_cast<unsigned char>(c) >= 0x80; })) {
      folded_ = FoldFullWidth(t);
      text = folded_;
    }
    while (pos < text.size() && IsSpace(text[pos])) ++pos;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
      negative = text[pos] == '-';
      ++pos;
    }
  }
  NumberStart(const NumberStart&) = delete;
  NumberStart& operator=(const NumberStart&) = delete;

  std::string_view text;
  size_t pos = 0;
  bool negative = false;

 private:
  Text folded_;
};

// The default not-a-number of an invalid operation on x86 (inf - inf, 0 / 0):
// sign bit set, quiet bit set, no payload.
constexpr uint64_t kIndefiniteNaNBits = 0xFFF8000000000000ULL;

// Exactly representable powers of ten.
constexpr std::array<double, 23> kPowersOfTen = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                                 1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                                 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

double PowerOfTen(int32_t n) {
  if (n >= 0 && n < static_cast<int32_t>(kPowersOfTen.size())) return kPowersOfTen[n];
  return std::pow(10.0, static_cast<double>(n));
}

}  // namespace

double TextToReal(std::string_view t) {
  const NumberStart start(t);
  const std::string_view s = start.text;
  const bool negative = start.negative;
  size_t i = start.pos;
  // Mantissa: the digits of both runs, s[intBegin, intEnd) and
  // s[fracBegin, fracEnd), read as one run of digits.
  const size_t intBegin = i;
  while (i < s.size() && IsDigit(s[i])) ++i;
  const size_t intEnd = i;
  size_t fracBegin = intEnd;
  size_t fracEnd = intEnd;
  if (i < s.size() && s[i] == '.') {
    size_t j = i + 1;
    while (j < s.size() && IsDigit(s[j])) ++j;
    if (intEnd > intBegin || j > i + 1) {
      fracBegin = i + 1;
      fracEnd = j;
      i = j;
    }
  }
  const size_t intCount = intEnd - intBegin;
  const size_t digitCount = intCount + (fracEnd - fracBegin);
  if (digitCount == 0) return 0.0;  // no number (also "+ 5", "." and "-.")
  auto digit = [&](size_t k) {
    return k < intCount ? s[intBegin + k] : s[fracBegin + k - intCount];
  };

  // Exponent: a marker, an optional sign and at least one digit; saturated, as
  // anything beyond a few hundred already decides between infinity and zero.
  constexpr int64_t kExponentLimit = 1'000'000'000;
  int64_t exponent = 0;
  if (i < s.size() && (s[i] == 'e' || s[i] == 'E' || s[i] == 'd' || s[i] == 'D')) {
    size_t j = i + 1;
    bool exp_negative = false;
    if (j < s.size() && (s[j] == '+' || s[j] == '-')) {
      exp_negative = s[j] == '-';
      ++j;
    }
    if (j < s.size() && IsDigit(s[j])) {
      while (j < s.size() && IsDigit(s[j])) {
        if (exponent < kExponentLimit) exponent = exponent * 10 + (s[j] - '0');
        ++j;
      }
      if (exp_negative) exponent = -exponent;
    }
  }

  // Normalise to 0.DDD x 10^order with D starting and ending in a non-zero digit.
  size_t first = 0;
  while (first < digitCount && digit(first) == '0') ++first;
  if (first == digitCount) return negative ? -0.0 : 0.0;
  size_t last = digitCount - 1;
  while (digit(last) == '0') --last;
  const int64_t order = static_cast<int64_t>(intCount) - static_cast<int64_t>(first) + exponent;
  const double huge = std::numeric_limits<double>::infinity();
  if (order > 400) return negative ? -huge : huge;
  if (order < -400) return negative ? -0.0 : 0.0;

  // "0." digits "e" order, on the stack unless the digits are many.
  const size_t significant = last - first + 1;
  constexpr size_t kOrderRoom = 24;  // 'e' and any 64-bit integer
  char local[128];
  std::string spill;
  char* normal = local;
  if (2 + significant + kOrderRoom > sizeof local) {
    spill.resize(2 + significant + kOrderRoom);
    normal = spill.data();
  }
  char* out = normal;
  *out++ = '0';
  *out++ = '.';
  for (size_t k = first; k <= last; ++k) *out++ = digit(k);
  *out++ = 'e';
  out = std::to_chars(out, normal + 2 + significant + kOrderRoom, order).ptr;
  double value = 0.0;
  const auto [ptr, ec] = std::from_chars(normal, out, value, std::chars_format::scientific);
  if (ec == std::errc::result_out_of_range) {
    value = order > 0 ? huge : 0.0;
  } else if (ec != std::errc()) {
    value = 0.0;  // cannot happen: the text is well formed
  }
  (void)ptr;
  return negative ? -value : value;
}

int32_t TextToInt(std::string_view t) {
  const NumberStart start(t);
  const std::string_view s = start.text;
  const bool negative = start.negative;
  size_t i = start.pos;
  uint32_t value = 0;
  while (i < s.size() && IsDigit(s[i])) {
    value = value * 10u + static_cast<uint32_t>(s[i] - '0');
    ++i;
  }
  if (negative) value = 0u - value;
  return static_cast<int32_t>(value);  // two's complement (C++20)
}

Text NumberToText(int32_t value) {
  return std::to_string(value);
}

Text NumberToText(double value) {
  if (value == 0.0) return "0";
  if (std::isinf(value)) return value > 0 ? "1.#INF" : "-1.#INF";
  if (std::isnan(value)) {
    const auto bits = std::bit_cast<uint64_t>(value);
    if (bits == kIndefiniteNaNBits) return "-1.#IND";
    return std::signbit(value) ? "-1.#QNAN" : "1.#QNAN";
  }

  const bool negative = std::signbit(value);
  // 17 significant digits of the exact value, correctly rounded: "d.dddddddddddddddde±x".
  char buf[64];
  const auto res =
      std::to_chars(buf, buf + sizeof buf, std::fabs(value), std::chars_format::scientific, 16);
  const std::string_view sci(buf, static_cast<size_t>(res.ptr - buf));
  const size_t e_pos = sci.find('e');
  std::string digits;  // 17 digits
  digits += sci[0];
  digits.append(sci.substr(2, e_pos - 2));
  int exponent = 0;
  {
    const std::string_view exp_text = sci.substr(e_pos + 1);
    const bool exp_negative = exp_text[0] == '-';
    for (char c : exp_text.substr(1)) exponent = exponent * 10 + (c - '0');
    if (exp_negative) exponent = -exponent;
  }

  // The second rounding, to 13 digits: a 14th digit of 5 or more rounds up.
  const bool round_up = digits[13] >= '5';
  digits.resize(13);
  if (round_up) {
    int k = 12;
    while (k >= 0 && digits[k] == '9') digits[k--] = '0';
    if (k >= 0) {
      ++digits[k];
    } else {
      digits = "1000000000000";
      ++exponent;
    }
  }

  auto trim = [](std::string& s) {
    const size_t point = s.find('.');
    if (point == std::string::npos) return;
    size_t end = s.find_last_not_of('0');
    if (end == point) --end;  // a bare point goes too
    s.resize(end + 1);
  };

  std::string out;
  if (exponent >= -4 && exponent <= 12) {
    if (exponent >= 0) {
      out.append(digits, 0, static_cast<size_t>(exponent) + 1);
      out += '.';
      out.append(digits, static_cast<size_t>(exponent) + 1, std::string::npos);
    } else {
      out = "0.";
      out.append(static_cast<size_t>(-exponent - 1), '0');
      out += digits;
    }
    trim(out);
  } else {
    out += digits[0];
    out += '.';
    out.append(digits, 1, std::string::npos);
    trim(out);
    out += 'e';
    out += exponent < 0 ? '-' : '+';
    std::string magnitude = std::to_string(exponent < 0 ? -exponent : exponent);
    if (magnitude.size() < 3) magnitude.insert(0, 3 - magnitude.size(), '0');
    out += magnitude;
  }
  if (negative) out.insert(0, 1, '-');
  return out;
}

double RoundToPlaces(double value, int32_t places) {
  if (value == 0.0 || std::isnan(value)) return value;
  const double a = std::fabs(value);
  // Every step is held as a double (no fused operations: -ffp-contract=off).
  auto round_half_up = [](double y) {
    const double t = y + 1e-12;
    double whole = 0.0;
    const double fraction = std::modf(t, &whole);
    return fraction >= 0.5 ? whole + 1.0 : whole;
  };
  double magnitude;
  if (places > 0) {
    const double p = PowerOfTen(places);
    if (std::isinf(p)) return value;  // far finer than any double
    const double y = a * p;
    magnitude = round_half_up(y) / p;
  } else if (places == 0) {
    magnitude = round_half_up(a);
  } else {
    // A step of 10^(-places) beyond the double range rounds everything to zero.
    const double p = places < -400 ? std::numeric_limits<double>::infinity() : PowerOfTen(-places);
    if (std::isinf(p)) return std::copysign(0.0, value);
    const double y = a / p;
    magnitude = round_half_up(y) * p;
  }
  return std::copysign(magnitude, value);
}

int32_t RealToInt(double value) {
  if (std::isnan(value)) return 0;
  if (value >= 2147483648.0) return std::numeric_limits<int32_t>::max();
  if (value <= -2147483649.0) return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(value);  // truncates toward zero
}

}  // namespace values
