#include "file_access.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <utility>

#include "values/gbk.h"

namespace records {
namespace {

std::string TemporaryName(const std::string& entry) {
  return "." + FoldCase(entry) + ".tmp";
}

bool WriteAll(int fd, std::span<const uint8_t> content) {
  size_t done = 0;
  while (done < content.size()) {
    const ssize_t n = ::write(fd, content.data() + done, content.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    done += static_cast<size_t>(n);
  }
  return true;
}

bool Sync(int fd) {
  while (::fsync(fd) != 0) {
    if (errno != EINTR) return false;
  }
  return true;
}

}  // namespace

std::string FoldCase(std::string_view s) {
  std::string out(s);
  for (char& c : out) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return out;
}

std::optional<ResolvedName> ResolveName(std::string_view gbk_name) {
  if (gbk_name.empty()) return std::nullopt;
  std::optional<std::string> name = values::GbkToUtf8Strict(gbk_name);
  if (!name || name->empty() || name->find('\0') != std::string::npos) return std::nullopt;

  // In UTF-8 every byte of a non-ASCII character is >= 0x80, so '/' and '.'
  // are found byte by byte.
  const size_t slash = name->rfind('/');
  std::string directory;
  std::string entry;
  if (slash == std::string::npos) {
    directory = ".";
    entry = *name;
  } else {
    directory = slash == 0 ? "/" : name->substr(0, slash);
    entry = name->substr(slash + 1);
  }
  if (entry.empty() || entry == "." || entry == "..") return std::nullopt;

  const size_t dot = entry.rfind('.');
  if (dot == std::string::npos) {
    entry += ".edb";
  } else if (dot + 1 == entry.size()) {
    entry += "edb";
  } else if (FoldCase(entry.substr(dot + 1)) == "edb") {
    entry.replace(dot + 1, std::string::npos, "edb");
  }

  char resolved[PATH_MAX];
  if (::realpath(directory.c_str(), resolved) == nullptr) return std::nullopt;
  return ResolvedName{resolved, std::move(entry)};
}

std::optional<DirectoryLock> DirectoryLock::Acquire(const std::string& directory) {
  const int fd = ::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return std::nullopt;
  while (::flock(fd, LOCK_EX) != 0) {
    if (errno != EINTR) {
      ::close(fd);
      return std::nullopt;
    }
  }
  return DirectoryLock(fd, directory);
}

DirectoryLock::DirectoryLock(DirectoryLock&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)), directory_(std::move(other.directory_)) {}

DirectoryLock& DirectoryLock::operator=(DirectoryLock&& other) noexcept {
  if (this != &other) {
    if (fd_ >= 0) ::close(fd_);
    fd_ = std::exchange(other.fd_, -1);
    directory_ = std::move(other.directory_);
  }
  return *this;
}

DirectoryLock::~DirectoryLock() {
  if (fd_ >= 0) ::close(fd_);  // closing the last descriptor releases the lock
}

std::optional<std::string> FindEntry(int dir_fd, std::string_view entry) {
  const int fd = ::openat(dir_fd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return std::nullopt;
  DIR* dir = ::fdopendir(fd);
  if (dir == nullptr) {
    ::close(fd);
    return std::nullopt;
  }
  const std::string folded = FoldCase(entry);
  std::optional<std::string> found;
  while (const dirent* d = ::readdir(dir)) {
    const std::string_view candidate(d->d_name);
    if (candidate == entry) {
      found = std::string(candidate);
      break;
    }
    if (FoldCase(candidate) == folded && (!found || candidate < *found)) {
      found = std::string(candidate);
    }
  }
  ::closedir(dir);
  return found;
}

std::optional<std::vector<uint8_t>> ReadFile(int dir_fd, const std::string& entry, size_t limit) {
  const int fd = ::openat(dir_fd, entry.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY);
  if (fd < 0) return std::nullopt;
  struct stat st;
  std::optional<std::vector<uint8_t>> result;
  if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size >= 0 &&
      static_cast<uint64_t>(st.st_size) <= limit) {
    // One byte more than fstat gave, to notice a file that grew meanwhile.
    std::vector<uint8_t> content(static_cast<size_t>(st.st_size) + 1);
    size_t done = 0;
    bool ok = true;
    while (done < content.size()) {
      const ssize_t n = ::read(fd, content.data() + done, content.size() - done);
      if (n < 0) {
        if (errno == EINTR) continue;
        ok = false;
        break;
      }
      if (n == 0) break;
      done += static_cast<size_t>(n);
    }
    if (ok && done == static_cast<size_t>(st.st_size)) {
      content.resize(done);
      result = std::move(content);
    }
  }
  ::close(fd);
  return result;
}

bool ReplaceFile(int dir_fd, const std::string& entry, std::span<const uint8_t> content) {
  const std::string temporary = TemporaryName(entry);
  const int fd = ::openat(dir_fd, temporary.c_str(),
                          O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0600);
  if (fd < 0) return false;
  bool ok = WriteAll(fd, content) && Sync(fd);
  ok = (::close(fd) == 0) && ok;
  ok = ok && ::renameat(dir_fd, temporary.c_str(), dir_fd, entry.c_str()) == 0;
  if (!ok) {
    ::unlinkat(dir_fd, temporary.c_str(), 0);
    return false;
  }
  // The rename is on disk only once the directory is.
  return Sync(dir_fd);
}

void RemoveStaleTemporary(int dir_fd, const std::string& entry) {
  ::unlinkat(dir_fd, TemporaryName(entry).c_str(), 0);
}

}  // namespace records
