// SplitText of any bytes equals a plain reading of its rule, and its pieces
// joined with the delimiter give back the start of the text; FirstPiece
// agrees with a split into one piece.
//
// Input: a byte choosing the maximum (255: unlimited, else the byte as a
// signed count), a byte whose low two bits give the delimiter's length, the
// delimiter, and the text.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "check.h"
#include "values/text.h"

namespace {

std::vector<std::string> Expected(std::string_view t, std::string_view delimiter,
                                  std::optional<int32_t> maximum) {
  std::vector<std::string> pieces;
  const int32_t limit = maximum ? (*maximum < 0 ? 0 : *maximum) : INT32_MAX;
  if (t.empty() || limit == 0) return pieces;
  if (delimiter.empty()) return {std::string(t)};
  size_t start = 0;
  size_t pos = 0;
  while (pos < t.size() && t.size() - pos >= delimiter.size()) {
    if (t.substr(pos, delimiter.size()) == delimiter) {
      pieces.emplace_back(t.substr(start, pos - start));
      pos += delimiter.size();
      start = pos;
      if (static_cast<int32_t>(pieces.size()) == limit) return pieces;
    } else if (static_cast<unsigned char>(t[pos]) >= 0x80) {
      if (pos + 1 == t.size()) break;
      pos += 2;
    } else {
      pos += 1;
    }
  }
  if (start < t.size()) pieces.emplace_back(t.substr(start));
  return pieces;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  std::optional<int32_t> maximum;
  if (data[0] != 255) maximum = static_cast<int8_t>(data[0]);
  const size_t delimiter_size = data[1] & 3u;
  if (size < 2 + delimiter_size) return 0;
  const std::string_view delimiter(reinterpret_cast<const char*>(data + 2), delimiter_size);
  const std::string_view text(reinterpret_cast<const char*>(data + 2 + delimiter_size),
                              size - 2 - delimiter_size);

  const std::vector<values::Text> pieces = values::SplitText(text, delimiter, maximum);
  FUZZ_CHECK(pieces == Expected(text, delimiter, maximum));
  if (maximum) FUZZ_CHECK(static_cast<int64_t>(pieces.size()) <= (*maximum < 0 ? 0 : *maximum));

  std::string joined;
  for (size_t i = 0; i < pieces.size(); ++i) {
    if (i > 0) joined += delimiter;
    joined += pieces[i];
  }
  FUZZ_CHECK(text.substr(0, joined.size()) == joined);

  // FirstPiece is the first piece of a split into one.
  const std::vector<values::Text> one = values::SplitText(text, delimiter, 1);
  const std::optional<std::string_view> first = values::FirstPiece(text, delimiter);
  FUZZ_CHECK(first.has_value() == !one.empty());
  if (first) FUZZ_CHECK(*first == one.front());
  return 0;
}
