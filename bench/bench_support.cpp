#include "bench_support.h"

#include <sodium.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <stdexcept>
#include <string_view>

#include "key_cache.h"
#include "store_format.h"
#include "values/dates.h"
#include "values/numbers.h"

namespace bench {
namespace {

// GBK: 月 and 日.
constexpr std::string_view kMonthMark = "\xd4\xc2";
constexpr std::string_view kDayMark = "\xc8\xd5";

records::Text KeyOf(int32_t month, int32_t day) {
  return values::NumberToText(month) + std::string(kMonthMark) + values::NumberToText(day) +
         std::string(kDayMark);
}

}  // namespace

double Percentile99(const std::vector<double>& v) {
  if (v.empty()) return 0.0;
  std::vector<double> sorted = v;
  std::sort(sorted.begin(), sorted.end());
  const auto rank = static_cast<size_t>(std::ceil(0.99 * static_cast<double>(sorted.size())));
  return sorted[std::max<size_t>(rank, 1) - 1];
}

void WriteRecordFile(const std::filesystem::path& directory, int32_t entries) {
  if (sodium_init() < 0) throw std::runtime_error("libsodium unavailable");
  namespace format = records::format;
  format::Table table{records::OvertimeSchema(), {}};
  table.records.reserve(static_cast<size_t>(entries));
  values::DateTime date = values::MakeDate(2015, 1, 1);
  for (int32_t n = 0; n < entries; ++date) {
    const int32_t month = values::MonthOf(date);
    const int32_t day = values::DayOf(date);
    if (month == kFreeMonth && day == kFreeDay) continue;
    format::Record record;
    record.values = {records::TextValue(KeyOf(month, day)),
                     records::IntegerValue(n % 10 + 1),
                     records::IntegerValue(0),
                     records::IntegerValue(0),
                     records::IntegerValue(0),
                     records::IntegerValue(0)};
    table.records.push_back(std::move(record));
    ++n;
  }

  format::Protection protection;
  protection.is_protected = true;
  protection.cost = kCheapKeys;
  randombytes_buf(protection.salt.data(), protection.salt.size());
  const auto key = records::DeriveKey(kPassword, protection.salt, protection.cost);
  if (key == nullptr) throw std::runtime_error("key derivation failed");
  const std::optional<format::Bytes> bytes = format::SealFile(table, protection, key->key->data());
  if (!bytes) throw std::runtime_error("record file too large");

  std::ofstream out(directory / kRecordFileName, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes->data()),
            static_cast<std::streamsize>(bytes->size()));
  if (!out.flush()) throw std::runtime_error("cannot write the record file");
}

bool BenchDialogs::AskPassword(const QString&, QString& entry) {
  entry = QString::fromLatin1(kPassword);
  return true;
}

void BenchDialogs::ShowMessage(app::MessageIcon, const QString&) {
  ++messages;
}

bool BenchDialogs::Confirm(const QString&) {
  return true;
}

void BenchDialogs::ShowFatalError(const QString&) {
  ++messages;
}

ScratchDirectory::ScratchDirectory() {
  std::string pattern = (std::filesystem::temp_directory_path() / "quorvin-bench-XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("no scratch directory");
  path_ = pattern;
}

ScratchDirectory::~ScratchDirectory() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

}  // namespace bench
