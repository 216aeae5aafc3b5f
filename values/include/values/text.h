// Texts of the system: GBK (code page 936) bytes held in std::string.
// Every length, count and position counts bytes.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace values {

using Text = std::string;

int32_t TextLength(std::string_view t);
// The first min(count, length) bytes; empty for count <= 0.
Text TextLeft(std::string_view t, int32_t count);
// The last min(count, length) bytes; empty for count <= 0.
Text TextRight(std::string_view t, int32_t count);

// Concatenation of all arguments, in order.
template <typename... Parts>
Text JoinText(const Parts&... parts) {
  Text out;
  out.reserve((std::string_view(parts).size() + ... + 0));
  (out.append(std::string_view(parts)), ...);
  return out;
}

// Byte-wise unsigned comparison: negative, 0 or positive.
int CompareText(std::string_view a, std::string_view b);

// Pieces of t between the delimiters, scanning GBK characters; at most
// `maximum` pieces (std::nullopt: unlimited; negative counts as 0).
std::vector<Text> SplitText(std::string_view t, std::string_view delimiter = ",",
                            std::optional<int32_t> maximum = std::nullopt);

// The first piece of SplitText(t, delimiter, 1), without copying it:
// std::nullopt where that has no piece (an empty t).
std::optional<std::string_view> FirstPiece(std::string_view t, std::string_view delimiter = ",");

// Folds GBK full-width ASCII forms, the ideographic space, '～', '☆' and '★'
// to their one-byte counterparts; drops a trailing lone lead byte.
Text FoldFullWidth(std::string_view t);

}  // namespace values
