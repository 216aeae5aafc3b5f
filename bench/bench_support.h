// Shared pieces of the benchmarks: record files of many entries written in
// one go, dialogs that answer by themselves, and a scratch directory.
#pragma once

#include <QString>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "app/dialogs.h"
#include "records/overtime_store.h"

namespace bench {

// Argon2id at its lowest cost: the gate of a benchmark then takes
// microseconds, and the figures are those of the program, not of the
// deliberate key derivation (about 0.6 s with the default cost).
inline constexpr records::KeyCost kCheapKeys{1, 8192};

// The password of every benchmark record file.
inline constexpr char kPassword[] = "bench-pw";

// The nearest-rank 99th percentile, a statistic of repeated benchmarks.
double Percentile99(const std::vector<double>& values);

// The file's name on disk.
inline const std::filesystem::path kRecordFileName = u8"加班.edb";

// The day that no benchmark record file holds: every year's other days are
// there, so recording 2月29日 of a leap year appends a new entry.
inline constexpr int32_t kFreeYear = 2024;
inline constexpr int32_t kFreeMonth = 2;
inline constexpr int32_t kFreeDay = 29;

// Writes the record file "加班.edb" into `directory`, protected by kPassword
// with kCheapKeys, holding `entries` entries: one per day from 2015-01-01 on,
// 2月29日 left out, so the keys ("1月1日" ...) repeat every 365 entries.
// Each entry has 1 to 10 hours of G1. The file is sealed whole, as the store
// seals it, instead of through `entries` appends that each rewrite it.
void WriteRecordFile(const std::filesystem::path& directory, int32_t entries);

// Answers every password prompt with kPassword and every confirmation with
// OK; messages are counted, not shown.
class BenchDialogs : public app::Dialogs {
 public:
  bool AskPassword(const QString& caption, QString& entry) override;
  void ShowMessage(app::MessageIcon icon, const QString& text) override;
  bool Confirm(const QString& text) override;
  void ShowFatalError(const QString& text) override;

  int messages = 0;
};

// A fresh directory under the system's temporary directory, removed with
// everything in it when dropped.
class ScratchDirectory {
 public:
  ScratchDirectory();
  ~ScratchDirectory();
  ScratchDirectory(const ScratchDirectory&) = delete;
  ScratchDirectory& operator=(const ScratchDirectory&) = delete;
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

}  // namespace bench
