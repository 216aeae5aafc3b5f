// Writes seed inputs of the record_file fuzz target into the directory given:
// files made by the store itself (unprotected, protected, empty), the bare
// body of one, and a protected file with its body in the clear, which the
// target seals before reading.
//
// Usage: make_record_seeds DIRECTORY
#include <sodium.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "records/overtime_store.h"
#include "store_format.h"

namespace {

namespace fs = std::filesystem;
using records::format::Bytes;

Bytes ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), {});
}

void WriteAll(const fs::path& path, const Bytes& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + path.string());
}

// The day key "<month>月<day>日" in GBK.
records::Text DayKey(int month, int day) {
  return std::to_string(month) + "\xd4\xc2" + std::to_string(day) + "\xc8\xd5";
}

bool Append(records::OvertimeStore& store, int month, int day, std::vector<int32_t> hours) {
  std::vector<std::optional<records::FieldValue>> values = {records::TextValue(DayKey(month, day))};
  for (int32_t h : hours) values.emplace_back(records::IntegerValue(h));
  return store.AppendRecord(values);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s DIRECTORY\n", argv[0]);
    return 2;
  }
  const fs::path out = fs::absolute(argv[1]);
  fs::create_directories(out);
  char work_template[] = "/tmp/record-seeds.XXXXXX";
  if (mkdtemp(work_template) == nullptr || chdir(work_template) != 0) return 1;
  const fs::path work = work_template;

  {
    records::OvertimeStore store(records::KeyCost{1, 8192});  // the cheapest allowed cost
    if (!store.CreateStore("empty", records::OvertimeSchema())) return 1;
    if (!store.CreateStore("seed", records::OvertimeSchema()) || !store.OpenStore("seed")) return 1;
    if (!Append(store, 12, 31, {7, 0, 0, 0, 0}) || !Append(store, 3, 7, {0, 0, 9, 0, 0}) ||
        !store.MarkDeleted() || !Append(store, 11, 3, {0, 0, 0, -4, 6})) {
      return 1;
    }
    WriteAll(out / "store-unprotected", ReadAll(work / "seed.edb"));
    if (!store.SetStorePassword("Pw-7")) return 1;
    WriteAll(out / "store-protected", ReadAll(work / "seed.edb"));
    store.CloseStore();
  }
  WriteAll(out / "store-empty", ReadAll(work / "empty.edb"));

  namespace format = records::format;
  const Bytes plain = ReadAll(out / "store-unprotected");
  const Bytes sealed = ReadAll(out / "store-protected");
  const Bytes body(plain.begin() + format::kHeaderSize, plain.end() - format::kChecksumSize);
  WriteAll(out / "body", body);
  Bytes clear(sealed.begin(), sealed.begin() + format::kHeaderSize);
  clear.insert(clear.end(), body.begin(), body.end());
  clear.resize(clear.size() + format::kTagSize, 0);
  WriteAll(out / "protected-clear-body", clear);

  fs::remove_all(work);
  return 0;
}
