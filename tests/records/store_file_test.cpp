// The record file on disk: what a protected file reveals, and refusal of
// damaged, truncated and foreign files.
#include <gtest/gtest.h>
#include <sodium.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "records/overtime_store.h"
#include "store_format.h"
#include "store_test_support.h"

namespace records::testing {
namespace {

using Bytes = std::vector<uint8_t>;

const std::vector<Row> kRows = {{DayKey(12, 31), {7, 0, 0, 0, 0}},
                                {DayKey(3, 7), {0, 0, 9, 0, 0}},
                                {DayKey(11, 3), {0, 0, 0, 0, 6}}};

bool Contains(const Bytes& haystack, const std::string& needle) {
  return std::string(haystack.begin(), haystack.end()).find(needle) != std::string::npos;
}
std::string Int32Bytes(int32_t v) {
  const uint32_t u = static_cast<uint32_t>(v);
  return {static_cast<char>(u), static_cast<char>(u >> 8), static_cast<char>(u >> 16),
          static_cast<char>(u >> 24)};
}

class StoreFileTest : public TempDirTest {};

TEST_F(StoreFileTest, AProtectedFileShowsNoKeyHourOrPasswordInTheClear) {
  const Text password = "Pw-7\xc3\xdc";
  for (const bool with_password : {false, true}) {
    SCOPED_TRACE(with_password ? "protected" : "unprotected");
    MakeFile(kBareName, with_password ? password : "", kRows);
    const Bytes file = ReadBytes(FilePath());
    // The unprotected file shows what the search looks for.
    for (const Row& r : kRows) {
      EXPECT_EQ(Contains(file, r.key), !with_password);
      for (int32_t h : r.hours) {
        if (h != 0) {
          EXPECT_EQ(Contains(file, Int32Bytes(h)), !with_password) << h;
        }
      }
    }
    EXPECT_FALSE(Contains(file, password));
    EXPECT_FALSE(Contains(file, "Pw-7"));
  }
}

TEST_F(StoreFileTest, ResavingKeepsTheSaltAndDrawsAFreshNonce) {
  MakeFile(kBareName, "pw", kRows);
  const Bytes before = ReadBytes(FilePath());
  OvertimeStore store(kTestCost);
  ASSERT_TRUE(store.OpenStore(kBareName, "pw"));
  ASSERT_TRUE(store.AppendRecord({TextValue(DayKey(1, 2)), IntegerValue(3)}));
  store.CloseStore();
  const Bytes after = ReadBytes(FilePath());
  ASSERT_GE(after.size(), format::kHeaderSize);
  auto part = [](const Bytes& b, size_t at, size_t n) {
    return Bytes(b.begin() + at, b.begin() + at + n);
  };
  EXPECT_EQ(part(after, 16, 32), part(before, 16, 32));  // cost and salt
  EXPECT_NE(part(after, 48, 24), part(before, 48, 24));  // nonce
}

// Every shorter prefix, a longer file, and every single flipped bit of a
// sound file are refused; the sound file itself still opens afterwards.
TEST_F(StoreFileTest, TruncatedExtendedAndBitFlippedFilesAreRefused) {
  for (const Text& password : {Text(""), Text("pw")}) {
    SCOPED_TRACE(password.empty() ? "unprotected" : "protected");
    MakeFile(kBareName, password, kRows);
    const Bytes sound = ReadBytes(FilePath());
    OvertimeStore store(kTestCost);
    ASSERT_TRUE(store.OpenStore(kBareName, password));  // the key is cached from here on
    store.CloseStore();

    for (size_t n = 0; n < sound.size(); ++n) {
      WriteBytes(FilePath(), Bytes(sound.begin(), sound.begin() + n));
      ASSERT_FALSE(store.OpenStore(kBareName, password)) << "length " << n;
    }
    for (const Bytes& tail : {Bytes{0}, Bytes(100, 0xAB)}) {
      Bytes longer = sound;
      longer.insert(longer.end(), tail.begin(), tail.end());
      WriteBytes(FilePath(), longer);
      ASSERT_FALSE(store.OpenStore(kBareName, password)) << "tail " << tail.size();
    }
    for (size_t bit = 0; bit < sound.size() * 8; ++bit) {
      Bytes flipped = sound;
      flipped[bit / 8] ^= static_cast<uint8_t>(1u << (bit % 8));
      WriteBytes(FilePath(), flipped);
      ASSERT_FALSE(store.OpenStore(kBareName, password)) << "bit " << bit;
    }
    WriteBytes(FilePath(), sound);
    ASSERT_TRUE(store.OpenStore(kBareName, password));
    EXPECT_EQ(ReadRows(store), kRows);
  }
}

TEST_F(StoreFileTest, ForeignFilesAreRefused) {
  MakeFile("sound", "", kRows);
  const Bytes sound = ReadBytes(dir_ / "sound.edb");
  std::mt19937 rng(7);
  Bytes noise(4096);
  for (uint8_t& b : noise) b = static_cast<uint8_t>(rng());
  Bytes other_version = sound;
  other_version[8] = 2;
  const std::vector<std::pair<const char*, Bytes>> cases = {
      {"empty", {}},
      {"text", {'h', 'e', 'l', 'l', 'o', '\n'}},
      {"noise", noise},
      {"magic only", Bytes(sound.begin(), sound.begin() + 8)},
      {"header only", Bytes(sound.begin(), sound.begin() + format::kHeaderSize)},
      {"other version", other_version},
      {"zeros", Bytes(sound.size(), 0)},
  };
  OvertimeStore store(kTestCost);
  for (const auto& [what, bytes] : cases) {
    SCOPED_TRACE(what);
    WriteBytes(FilePath(), bytes);
    EXPECT_FALSE(store.OpenStore(kBareName));
    EXPECT_FALSE(store.OpenStore(kBareName, "pw"));
  }
  std::filesystem::remove(FilePath());
  std::filesystem::create_directory(FilePath());
  EXPECT_FALSE(store.OpenStore(kBareName));
}

// A header that passes its own checksum but asks for an impossible payload
// or an absurd key cost is refused before anything is allocated or derived.
TEST_F(StoreFileTest, HeadersWithImpossibleSizesOrCostsAreRefused) {
  MakeFile(kBareName, "pw", kRows);
  const Bytes sound = ReadBytes(FilePath());
  auto with_field = [&](size_t offset, size_t size, uint64_t value) {
    Bytes b = sound;
    for (size_t i = 0; i < size; ++i) b[offset + i] = static_cast<uint8_t>(value >> (8 * i));
    crypto_generichash(b.data() + 72, 16, b.data(), 72, nullptr, 0);
    return b;
  };
  const std::vector<std::pair<const char*, Bytes>> cases = {
      {"payload longer than the file", with_field(12, 4, sound.size())},
      {"payload of 4 GiB", with_field(12, 4, 0xFFFFFFFF)},
      {"payload shorter than a tag", with_field(12, 4, 3)},
      {"no passes", with_field(16, 8, 0)},
      {"2^64-1 passes", with_field(16, 8, ~uint64_t{0})},
      {"1 TiB of memory", with_field(24, 8, uint64_t{1} << 40)},
      {"unknown flag", with_field(10, 2, 3)},
  };
  OvertimeStore store(kTestCost);
  for (const auto& [what, bytes] : cases) {
    SCOPED_TRACE(what);
    WriteBytes(FilePath(), bytes);
    EXPECT_FALSE(store.OpenStore(kBareName, "pw"));
  }
}

// The body parser sits behind the checksum and the authentication; it is
// still strict on its own, for any bytes.
TEST(StoreBodyTest, MalformedBodiesAreRefusedWithoutReadingPastTheBuffer) {
  format::Table table;
  table.fields = OvertimeSchema();
  for (const Row& r : kRows) {
    format::Record rec;
    rec.values.push_back(TextValue(r.key));
    for (int32_t h : r.hours) rec.values.push_back(IntegerValue(h));
    table.records.push_back(rec);
  }
  table.records[1].deleted = true;
  const Bytes body = format::EncodeBody(table);
  const std::optional<format::Table> decoded = format::DecodeBody(body);
  ASSERT_TRUE(decoded);
  EXPECT_EQ(decoded->records.size(), 3u);
  EXPECT_TRUE(decoded->records[1].deleted);
  EXPECT_EQ(decoded->records[0].values, table.records[0].values);

  for (size_t n = 0; n < body.size(); ++n) {
    // A copy of exactly n bytes, so that a sanitizer sees any read past it.
    const Bytes prefix(body.begin(), body.begin() + n);
    EXPECT_FALSE(format::DecodeBody(prefix)) << "length " << n;
  }
  Bytes longer = body;
  longer.push_back(0);
  EXPECT_FALSE(format::DecodeBody(longer));
  for (size_t bit = 0; bit < body.size() * 8; ++bit) {
    Bytes flipped = body;
    flipped[bit / 8] ^= static_cast<uint8_t>(1u << (bit % 8));
    const std::optional<format::Table> t = format::DecodeBody(flipped);
    if (t) {  // a flip inside a value may still be well-formed: it must round-trip
      EXPECT_EQ(format::EncodeBody(*t), flipped) << "bit " << bit;
    }
  }
  const std::vector<std::pair<const char*, Bytes>> cases = {
      {"no fields", {0, 0, 0, 0, 0}},
      {"unknown kind", {1, 2, 4, 1, 'a', 0, 0, 0, 0}},
      {"integer of size 8", {1, 1, 8, 1, 'a', 0, 0, 0, 0}},
      {"text of size 0", {1, 0, 0, 1, 'a', 0, 0, 0, 0}},
      {"empty name", {1, 1, 4, 0, 0, 0, 0, 0}},
      {"name twice", {2, 1, 4, 1, 'a', 1, 4, 1, 'a', 0, 0, 0, 0}},
      {"2^32-1 records", {1, 1, 4, 1, 'a', 0xFF, 0xFF, 0xFF, 0xFF, 0, 1, 2, 3, 4}},
      {"text longer than its field", {1, 0, 2, 1, 'a', 1, 0, 0, 0, 0, 3, 'x', 'y', 'z'}},
      {"unknown record flag", {1, 1, 4, 1, 'a', 1, 0, 0, 0, 2, 1, 2, 3, 4}},
  };
  for (const auto& [what, bytes] : cases) {
    EXPECT_FALSE(format::DecodeBody(bytes)) << what;
  }
}

}  // namespace
}  // namespace records::testing
