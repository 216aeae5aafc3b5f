// The one converter between the system's GBK texts and UTF-8, used where a
// text crosses into the toolkit or the file system.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "values/text.h"

namespace values {

// GBK to UTF-8; a byte sequence that is not GBK becomes U+FFFD.
std::string GbkToUtf8(std::string_view gbk);
// UTF-8 to GBK; a character that GBK lacks becomes '?'.
Text Utf8ToGbk(std::string_view utf8);

// Strict forms: std::nullopt when any part does not convert.
std::optional<std::string> GbkToUtf8Strict(std::string_view gbk);
std::optional<Text> Utf8ToGbkStrict(std::string_view utf8);

}  // namespace values
