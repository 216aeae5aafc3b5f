// What the values layer asks of the operating system.
#pragma once

#include <string_view>

#include "values/text.h"

namespace values {

// The separator between a directory and a file name on this platform.
#ifdef _WIN32
inline constexpr char kPathSeparator = '\\';
#else
inline constexpr char kPathSeparator = '/';
#endif

// The path up to, not including, its last separator; GBK-aware, so the trail
// byte of a double-byte character is never taken for a separator.
Text DirectoryOfPath(std::string_view path, char separator = kPathSeparator);

// The directory of the running program's executable, as a GBK text,
// without a trailing separator.
Text ProgramDirectory();

// True when the path (a GBK text) names an existing file or directory.
bool FileExists(std::string_view path);

}  // namespace values
