// Byte-wise GBK text operations.
#include "values/text.h"

#include <algorithm>
#include <limits>

namespace values {
namespace {

bool IsLeadByte(char c) {
  return static_cast<unsigned char>(c) >= 0x80;
}

size_t ClampCount(std::string_view t, int32_t count) {
  if (count <= 0) return 0;
  return std::min(static_cast<size_t>(count), t.size());
}

}  // namespace

int32_t TextLength(std::string_view t) {
  // Texts of the system are far below 2 GiB; saturate rather than wrap.
  return static_cast<int32_t>(
      std::min<size_t>(t.size(), static_cast<size_t>(std::numeric_limits<int32_t>::max())));
}

Text TextLeft(std::string_view t, int32_t count) {
  return Text(t.substr(0, ClampCount(t, count)));
}

Text TextRight(std::string_view t, int32_t count) {
  const size_t n = ClampCount(t, count);
  return Text(t.substr(t.size() - n));
}

int CompareText(std::string_view a, std::string_view b) {
  const size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i) {
    const auto x = static_cast<unsigned char>(a[i]);
    const auto y = static_cast<unsigned char>(b[i]);
    if (x != y) return x < y ? -1 : 1;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

namespace {

// The position of the first delimiter that starts at a character start at or
// behind `pos` (a byte of 0x80 or above and the byte after it are one
// character), or npos. The scan ends where fewer bytes remain than the
// delimiter has, and at a lead byte that is the last byte.
size_t FindDelimiter(std::string_view t, std::string_view delimiter, size_t pos) {
  while (pos < t.size() && t.size() - pos >= delimiter.size()) {
    if (t.compare(pos, delimiter.size(), delimiter) == 0) return pos;
    if (IsLeadByte(t[pos])) {
      if (pos + 1 >= t.size()) break;
      pos += 2;
    } else {
      pos += 1;
    }
  }
  return std::string_view::npos;
}

}  // namespace

std::vector<Text> SplitText(std::string_view t, std::string_view delimiter,
                            std::optional<int32_t> maximum) {
  std::vector<Text> pieces;
  const bool limited = maximum.has_value();
  const size_t max_pieces = limited ? static_cast<size_t>(std::max<int32_t>(*maximum, 0)) : 0;
  if (t.empty() || (limited && max_pieces == 0)) return pieces;
  if (delimiter.empty()) {
    pieces.emplace_back(t);
    return pieces;
  }

  size_t start = 0;  // behind the previous delimiter
  for (size_t at; (at = FindDelimiter(t, delimiter, start)) != std::string_view::npos;) {
    pieces.emplace_back(t.substr(start, at - start));
    start = at + delimiter.size();
    if (limited && pieces.size() >= max_pieces) return pieces;  // the rest is dropped
  }
  if (start < t.size() && (!limited || pieces.size() < max_pieces)) {
    pieces.emplace_back(t.substr(start));
  }
  return pieces;
}

std::optional<std::string_view> FirstPiece(std::string_view t, std::string_view delimiter) {
  if (t.empty()) return std::nullopt;
  if (delimiter.empty()) return t;
  const size_t at = FindDelimiter(t, delimiter, 0);
  return at == std::string_view::npos ? t : t.substr(0, at);
}

Text FoldFullWidth(std::string_view t) {
  Text out;
  out.reserve(t.size());
  size_t i = 0;
  while (i < t.size()) {
    const auto lead = static_cast<unsigned char>(t[i]);
    if (lead < 0x80) {
      out.push_back(t[i]);
      ++i;
      continue;
    }
    if (i + 1 >= t.size()) break;  // a lead byte that is the last byte is dropped
    const auto trail = static_cast<unsigned char>(t[i + 1]);
    if (lead == 0xA3 && trail >= 0xA1 && trail <= 0xFE) {
      out.push_back(static_cast<char>(trail - 0x80));
    } else if (lead == 0xA1 && trail == 0xA1) {
      out.push_back(' ');
    } else if (lead == 0xA1 && trail == 0xAB) {
      out.push_back('~');
    } else if (lead == 0xA1 && (trail == 0xEE || trail == 0xEF)) {
      out.push_back('*');
    } else {
      out.push_back(t[i]);
      out.push_back(t[i + 1]);
    }
    i += 2;
  }
  return out;
}

}  // namespace values
