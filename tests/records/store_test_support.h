// Shared pieces of the record store tests: a temporary working directory per
// test, a cheap key cost, GBK texts and a whole-file reader.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <ostream>
#include <string>
#include <vector>

#include "records/overtime_store.h"

namespace records::testing {

// Argon2id at its minimum, so that tests derive keys in microseconds. The
// cost is stored in each file, so openings use it too.
inline constexpr KeyCost kTestCost{1, 8192};

// GBK: 加班, the record file's bare name.
inline const Text kBareName = "\xbc\xd3\xb0\xe0";
// The file as it lies on disk, in UTF-8.
inline const std::string kDiskName = "加班.edb";

// The day key "<month>月<day>日" in GBK.
inline Text DayKey(int month, int day) {
  return std::to_string(month) + "\xd4\xc2" + std::to_string(day) + "\xc8\xd5";
}

// One record of the overtime schema.
struct Row {
  Text key;
  std::vector<int32_t> hours;  // G1, G2, G3, 事假旷工, 病假
  bool operator==(const Row&) const = default;
};
inline void PrintTo(const Row& r, std::ostream* os) {
  *os << "{" << ::testing::PrintToString(r.key) << ",";
  for (int32_t h : r.hours) *os << " " << h;
  *os << "}";
}

// The record at the current position.
inline Row ReadRow(const OvertimeStore& store) {
  Row r{store.ReadField(1).text, {}};
  for (int c = 2; c <= 6; ++c) r.hours.push_back(store.ReadField(c).integer);
  return r;
}

// Every record of the open file, first to last, read by navigation.
inline std::vector<Row> ReadRows(OvertimeStore& store) {
  std::vector<Row> rows;
  store.GoToFirst();
  for (int32_t i = 0; i < store.RecordCount(); ++i) {
    rows.push_back(ReadRow(store));
    store.SkipNext();
  }
  return rows;
}

inline std::vector<uint8_t> ReadBytes(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void WriteBytes(const std::filesystem::path& p, const std::vector<uint8_t>& bytes) {
  std::ofstream out(p, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
}

// Runs each test in a fresh temporary directory that is also the working
// directory, as the program runs in its own directory.
class TempDirTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char tmpl[] = "/tmp/records-test-XXXXXX";
    ASSERT_NE(::mkdtemp(tmpl), nullptr);
    dir_ = tmpl;
    old_cwd_ = std::filesystem::current_path();
    std::filesystem::current_path(dir_);
  }
  void TearDown() override {
    std::filesystem::current_path(old_cwd_);
    std::filesystem::remove_all(dir_);
  }
  std::vector<std::string> DirectoryEntries() const {
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(dir_)) {
      names.push_back(e.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
  }
  std::filesystem::path FilePath() const { return dir_ / kDiskName; }

  std::filesystem::path dir_;
  std::filesystem::path old_cwd_;
};

// Creates the record file with the overtime schema, the given records and
// password, as the program's first start does.
inline void MakeFile(const Text& name, const Text& password, const std::vector<Row>& rows) {
  OvertimeStore store(kTestCost);
  ASSERT_TRUE(store.CreateStore(name, OvertimeSchema()));
  ASSERT_TRUE(store.OpenStore(name));
  for (const Row& r : rows) {
    std::vector<std::optional<FieldValue>> values{TextValue(r.key)};
    for (int32_t h : r.hours) values.push_back(IntegerValue(h));
    ASSERT_TRUE(store.AppendRecord(values));
  }
  if (!password.empty()) {
    ASSERT_TRUE(store.SetStorePassword(password));
  }
  store.CloseStore();
}

// Forks a child that runs `body` and ends with its result as exit status.
// The child first closes every inherited descriptor beyond the standard ones
// but `keep_fd`: a shared directory lock would otherwise outlive the parent's
// close.
inline pid_t StartChild(const std::function<int()>& body, int keep_fd = -1) {
  const pid_t pid = ::fork();
  if (pid == 0) {
    if (keep_fd > 3) ::close_range(3, static_cast<unsigned>(keep_fd) - 1, 0);
    ::close_range(static_cast<unsigned>(std::max(keep_fd, 2)) + 1, UINT_MAX, 0);
    int rc = 99;
    try {
      rc = body();
    } catch (...) {
      rc = 98;
    }
    ::_exit(rc);
  }
  return pid;
}

}  // namespace records::testing
