// What the values layer asks of the operating system.
#include "values/system.h"

#include <filesystem>
#include <system_error>

#include "values/gbk.h"

namespace values {

Text DirectoryOfPath(std::string_view path, char separator) {
  size_t last = std::string_view::npos;
  size_t i = 0;
  while (i < path.size()) {
    const auto byte = static_cast<unsigned char>(path[i]);
    if (byte >= 0x80) {
      i += 2;  // lead and trail byte: one character, never a separator
    } else {
      if (path[i] == separator) last = i;
      ++i;
    }
  }
  if (last == std::string_view::npos) return Text();
  return Text(path.substr(0, last));
}

Text ProgramDirectory() {
  static const Text directory = [] {
    std::error_code ec;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) return Text();
    return DirectoryOfPath(Utf8ToGbk(exe.string()), '/');
  }();
  return directory;
}

bool FileExists(std::string_view path) {
  if (path.empty()) return false;
  const auto utf8 = GbkToUtf8Strict(path);
  if (!utf8) return false;
  std::error_code ec;
  return std::filesystem::exists(std::filesystem::path(*utf8), ec);
}

}  // namespace values
