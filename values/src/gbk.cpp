// GBK <-> UTF-8 through glibc iconv with the "CP936" table (GBK plus the euro
// sign at 0x80, as Windows code page 936 has it).
#include "values/gbk.h"

#include <iconv.h>

#include <cerrno>
#include <cstddef>

namespace values {
namespace {

constexpr const char* kGbkName = "CP936";
constexpr const char* kUtf8Name = "UTF-8";
constexpr std::string_view kReplacementUtf8 = "\xEF\xBF\xBD";  // U+FFFD
constexpr std::string_view kReplacementGbk = "?";

// One iconv descriptor for the length of one conversion; closed on every path.
class Converter {
 public:
  Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~Converter() {
    if (ok()) iconv_close(cd_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
  iconv_t get() const { return cd_; }

 private:
  iconv_t cd_;
};

// How many input bytes an unconvertible GBK sequence at `in` takes: a lead
// byte together with a trail byte of the double-byte range is one character,
// anything else one byte.
size_t BadGbkLength(std::string_view in) {
  const auto lead = static_cast<unsigned char>(in[0]);
  if (lead >= 0x81 && lead <= 0xFE && in.size() >= 2) {
    const auto trail = static_cast<unsigned char>(in[1]);
    if (trail >= 0x40 && trail <= 0xFE && trail != 0x7F) return 2;
  }
  return 1;
}

// How many input bytes an unconvertible UTF-8 sequence at `in` takes: a whole
// well-formed character (one that GBK lacks), otherwise one byte.
size_t BadUtf8Length(std::string_view in) {
  const auto b0 = static_cast<unsigned char>(in[0]);
  size_t len = 0;
  if (b0 >= 0xC2 && b0 <= 0xDF) {
    len = 2;
  } else if (b0 >= 0xE0 && b0 <= 0xEF) {
    len = 3;
  } else if (b0 >= 0xF0 && b0 <= 0xF4) {
    len = 4;
  } else {
    return 1;
  }
  if (in.size() < len) return 1;
  for (size_t i = 1; i < len; ++i) {
    const auto b = static_cast<unsigned char>(in[i]);
    if (b < 0x80 || b > 0xBF) return 1;
  }
  return len;
}

// Converts `in`; on a bad or unmappable sequence either gives up (strict) or
// appends `replacement` and skips `bad_length(rest)` bytes.
template <typename BadLength>
std::optional<std::string> Convert(const char* to, const char* from, std::string_view in,
                                   bool strict, std::string_view replacement,
                                   BadLength bad_length) {
  std::string out;
  if (in.empty()) return out;
  Converter conv(to, from);
  if (!conv.ok()) {
    if (strict) return std::nullopt;
    // Without a converter only ASCII can be carried over.
    for (char c : in) {
      if (static_cast<unsigned char>(c) < 0x80) {
        out.push_back(c);
      } else {
        out.append(replacement);
      }
    }
    return out;
  }

  out.reserve(in.size() * 3 / 2 + 4);
  char buffer[1024];
  size_t pos = 0;
  while (pos < in.size()) {
    char* src = const_cast<char*>(in.data() + pos);
    size_t src_left = in.size() - pos;
    char* dst = buffer;
    size_t dst_left = sizeof buffer;
    const size_t rc = iconv(conv.get(), &src, &src_left, &dst, &dst_left);
    const int err = errno;
    out.append(buffer, static_cast<size_t>(dst - buffer));
    pos = in.size() - src_left;
    if (rc != static_cast<size_t>(-1)) continue;
    if (err == E2BIG) continue;  // buffer full: go on with the rest
    // EILSEQ (bad or unmappable sequence) or EINVAL (sequence cut at the end).
    if (strict) return std::nullopt;
    out.append(replacement);
    if (err == EINVAL) break;
    pos += bad_length(in.substr(pos));
    iconv(conv.get(), nullptr, nullptr, nullptr, nullptr);  // reset the shift state
  }
  // Flush any shift state (none for these encodings, but harmless).
  char* dst = buffer;
  size_t dst_left = sizeof buffer;
  iconv(conv.get(), nullptr, nullptr, &dst, &dst_left);
  out.append(buffer, static_cast<size_t>(dst - buffer));
  return out;
}

}  // namespace

std::string GbkToUtf8(std::string_view gbk) {
  return *Convert(kUtf8Name, kGbkName, gbk, false, kReplacementUtf8, BadGbkLength);
}

Text Utf8ToGbk(std::string_view utf8) {
  return *Convert(kGbkName, kUtf8Name, utf8, false, kReplacementGbk, BadUtf8Length);
}

std::optional<std::string> GbkToUtf8Strict(std::string_view gbk) {
  return Convert(kUtf8Name, kGbkName, gbk, true, kReplacementUtf8, BadGbkLength);
}

std::optional<Text> Utf8ToGbkStrict(std::string_view utf8) {
  return Convert(kGbkName, kUtf8Name, utf8, true, kReplacementGbk, BadUtf8Length);
}

}  // namespace values
