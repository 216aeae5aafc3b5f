// Where a record file lives and how it is read, locked and replaced.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace records {

// A record file name resolved against the working directory: the canonical
// directory and the last component after the extension rule (a component
// without "." gets ".edb", one ending in "." gets "edb", an extension equal
// to "edb" in any letter case is written in lower case). UTF-8, as the file
// system holds it.
struct ResolvedName {
  std::string directory;
  std::string entry;
};
std::optional<ResolvedName> ResolveName(std::string_view gbk_name);

// ASCII letters folded to lower case; other bytes unchanged. Letter case of
// file names is not significant for the store.
std::string FoldCase(std::string_view s);

// An exclusive lock on a directory, held while the object lives. Every
// reading and replacing of a record file happens under the lock of its
// directory, so a program that has the file open keeps it to itself until it
// closes it.
class DirectoryLock {
 public:
  // Waits until the lock is had; std::nullopt when the directory cannot be
  // opened.
  static std::optional<DirectoryLock> Acquire(const std::string& directory);
  DirectoryLock(DirectoryLock&& other) noexcept;
  DirectoryLock& operator=(DirectoryLock&& other) noexcept;
  ~DirectoryLock();

  int fd() const { return fd_; }
  const std::string& directory() const { return directory_; }

 private:
  DirectoryLock(int fd, std::string directory) : fd_(fd), directory_(std::move(directory)) {}
  int fd_ = -1;
  std::string directory_;
};

// The existing entry of the directory that equals `entry` ignoring letter
// case: the exact spelling if present, else the first in byte order.
std::optional<std::string> FindEntry(int dir_fd, std::string_view entry);

// The whole content of a regular file of at most `limit` bytes.
std::optional<std::vector<uint8_t>> ReadFile(int dir_fd, const std::string& entry, size_t limit);

// Replaces the file atomically and durably: a temporary file in the same
// directory is written and flushed, renamed over the entry and the directory
// flushed. A crash at any moment leaves the old or the new content.
bool ReplaceFile(int dir_fd, const std::string& entry, std::span<const uint8_t> content);

// Removes what a crash during ReplaceFile may have left behind.
void RemoveStaleTemporary(int dir_fd, const std::string& entry);

}  // namespace records
