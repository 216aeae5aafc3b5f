// The store's operations: navigation, reading, appending, marking, purging,
// passwords, names and the current file.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "key_cache.h"
#include "records/overtime_store.h"
#include "store_test_support.h"
#include "values/fatal.h"

namespace records::testing {
namespace {

using Values = std::vector<std::optional<FieldValue>>;

const Text kDate = "\xc8\xd5\xc6\xda";                      // 日期
const Text kPersonal = "\xca\xc2\xbc\xd9\xbf\xf5\xb9\xa4";  // 事假旷工
const Text kSick = "\xb2\xa1\xbc\xd9";                      // 病假
const Text kNoCurrentFile =  // 未指定当前数据库或者指定数据库未打开
    "\xce\xb4\xd6\xb8\xb6\xa8\xb5\xb1\xc7\xb0\xca\xfd\xbe\xdd\xbf\xe2\xbb\xf2\xd5\xdf"
    "\xd6\xb8\xb6\xa8\xca\xfd\xbe\xdd\xbf\xe2\xce\xb4\xb4\xf2\xbf\xaa";
const Text kNoSuchField =
    "\xd6\xb8\xb6\xa8\xd7\xd6\xb6\xce\xb2\xbb\xb4\xe6\xd4\xda";  // 指定字段不存在

const std::vector<Row> kThree = {{DayKey(3, 1), {2, 0, 0, 0, 0}},
                                 {DayKey(3, 2), {0, 3, 0, 0, 0}},
                                 {DayKey(3, 5), {0, 0, 0, 4, 0}}};

class StoreTest : public TempDirTest {
 protected:
  OvertimeStore store_{kTestCost};
};

void ExpectFatal(const std::function<void()>& call, const Text& message) {
  try {
    call();
    ADD_FAILURE() << "no fatal error";
  } catch (const values::FatalError& e) {
    EXPECT_EQ(e.code(), 0);
    EXPECT_EQ(e.message(), message);
  }
}

TEST(OvertimeSchemaTest, SixFieldsInColumnOrder) {
  const FieldList s = OvertimeSchema();
  ASSERT_EQ(s.size(), 6u);
  EXPECT_EQ(s[0].name, kDate);
  EXPECT_EQ(s[0].kind, FieldKind::Text);
  EXPECT_EQ(s[0].size, 8);
  const std::vector<Text> hours = {"G1", "G2", "G3", kPersonal, kSick};
  for (size_t i = 1; i < 6; ++i) {
    EXPECT_EQ(s[i].name, hours[i - 1]);
    EXPECT_EQ(s[i].kind, FieldKind::Integer);
  }
}

TEST_F(StoreTest, NewFileIsEmptyAndUnchangedByMarkAndPurge) {
  ASSERT_TRUE(store_.CreateStore(kBareName, OvertimeSchema()));
  const std::vector<uint8_t> created = ReadBytes(FilePath());
  ASSERT_TRUE(store_.OpenStore(kBareName));
  EXPECT_EQ(store_.RecordCount(), 0);
  store_.GoToLast();
  EXPECT_EQ(store_.ReadField(1), TextValue(""));
  EXPECT_EQ(store_.ReadField("G3"), IntegerValue(0));
  EXPECT_FALSE(store_.SkipNext());
  EXPECT_FALSE(store_.MarkDeleted());
  EXPECT_TRUE(store_.PurgeDeleted());
  store_.CloseStore();
  EXPECT_EQ(ReadBytes(FilePath()), created);
}

TEST_F(StoreTest, NavigationReachesTheEndPositionAndStops) {
  MakeFile(kBareName, "", kThree);
  ASSERT_TRUE(store_.OpenStore(kBareName));
  EXPECT_EQ(ReadRow(store_), kThree[0]);  // an opening starts at the first record
  EXPECT_TRUE(store_.SkipNext());
  EXPECT_EQ(ReadRow(store_), kThree[1]);
  store_.GoToLast();
  EXPECT_EQ(ReadRow(store_), kThree[2]);
  EXPECT_TRUE(store_.SkipNext());  // to the end position
  EXPECT_EQ(ReadRow(store_), (Row{"", {0, 0, 0, 0, 0}}));
  EXPECT_EQ(store_.ReadField(kDate).kind, FieldKind::Text);
  EXPECT_FALSE(store_.SkipNext());
  EXPECT_FALSE(store_.MarkDeleted());
  store_.GoToFirst();
  EXPECT_EQ(ReadRow(store_), kThree[0]);
  EXPECT_EQ(store_.ReadField(kSick), IntegerValue(0));
  EXPECT_EQ(store_.ReadField(kPersonal), IntegerValue(0));
}

TEST_F(StoreTest, AppendFillsColumnsInOrder) {
  constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
  constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
  struct Case {
    const char* what;
    Values values;
    Row stored;
  };
  const std::vector<Case> cases = {
      {"second value omitted",
       {TextValue(DayKey(3, 7)), std::nullopt, IntegerValue(4)},
       {DayKey(3, 7), {0, 4, 0, 0, 0}}},
      {"nothing given", {}, {"", {0, 0, 0, 0, 0}}},
      {"text omitted",
       {std::nullopt, IntegerValue(1), IntegerValue(2), IntegerValue(3), IntegerValue(4),
        IntegerValue(5)},
       {"", {1, 2, 3, 4, 5}}},
      {"longest key fits",
       {TextValue(DayKey(12, 31)), IntegerValue(10)},
       {DayKey(12, 31), {10, 0, 0, 0, 0}}},
      {"long text cut to 8 bytes", {TextValue("123456789abc")}, {"12345678", {0, 0, 0, 0, 0}}},
      {"values beyond the sixth ignored",
       {TextValue("x"), IntegerValue(1), IntegerValue(1), IntegerValue(1), IntegerValue(1),
        IntegerValue(1), IntegerValue(9), TextValue("y")},
       {"x", {1, 1, 1, 1, 1}}},
      {"integer range",
       {TextValue(std::string("a\0b", 3)), IntegerValue(kMax), IntegerValue(kMin),
        IntegerValue(-1)},
       {std::string("a\0b", 3), {kMax, kMin, -1, 0, 0}}},
  };
  MakeFile(kBareName, "", {});
  ASSERT_TRUE(store_.OpenStore(kBareName));
  std::vector<Row> expected;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ASSERT_TRUE(store_.AppendRecord(c.values));
    expected.push_back(c.stored);
    EXPECT_EQ(store_.RecordCount(), static_cast<int32_t>(expected.size()));
    EXPECT_EQ(ReadRow(store_), c.stored);  // the new record is the current one
    EXPECT_FALSE(store_.SkipNext() && store_.SkipNext());
  }
  store_.CloseStore();
  ASSERT_TRUE(store_.OpenStore(kBareName));
  EXPECT_EQ(ReadRows(store_), expected);
}

TEST_F(StoreTest, AppendOfTheWrongKindIsRefusedWhole) {
  MakeFile(kBareName, "", kThree);
  ASSERT_TRUE(store_.OpenStore(kBareName));
  EXPECT_FALSE(store_.AppendRecord({IntegerValue(3)}));
  EXPECT_FALSE(store_.AppendRecord({TextValue(DayKey(1, 1)), TextValue("5")}));
  EXPECT_EQ(ReadRows(store_), kThree);
}

TEST_F(StoreTest, MarkAndPurgeRemoveMarkedRecordsKeepingOrder) {
  MakeFile(kBareName, "", kThree);
  ASSERT_TRUE(store_.OpenStore(kBareName));
  store_.GoToLast();
  ASSERT_TRUE(store_.MarkDeleted());
  EXPECT_EQ(store_.RecordCount(), 3);  // marked, still counted and visited
  EXPECT_EQ(ReadRows(store_), kThree);
  ASSERT_TRUE(store_.PurgeDeleted());
  EXPECT_EQ(store_.RecordCount(), 2);
  store_.GoToLast();
  EXPECT_EQ(ReadRow(store_), kThree[1]);

  store_.GoToFirst();
  ASSERT_TRUE(store_.MarkDeleted());
  ASSERT_TRUE(store_.PurgeDeleted());
  store_.CloseStore();
  ASSERT_TRUE(store_.OpenStore(kBareName));
  EXPECT_EQ(ReadRows(store_), std::vector<Row>{kThree[1]});
}

TEST_F(StoreTest, AMarkSurvivesClosingUntilPurged) {
  MakeFile(kBareName, "", kThree);
  ASSERT_TRUE(store_.OpenStore(kBareName));
  ASSERT_TRUE(store_.SkipNext());
  ASSERT_TRUE(store_.MarkDeleted());
  store_.CloseStore();
  ASSERT_TRUE(store_.OpenStore(kBareName));
  EXPECT_EQ(store_.RecordCount(), 3);
  ASSERT_TRUE(store_.PurgeDeleted());
  EXPECT_EQ(ReadRows(store_), (std::vector<Row>{kThree[0], kThree[2]}));
}

TEST_F(StoreTest, WithoutACurrentFileOperationsAreRefusedAndReadingIsFatal) {
  MakeFile(kBareName, "", kThree);
  for (int round = 0; round < 2; ++round) {
    SCOPED_TRACE(round == 0 ? "never opened" : "after close");
    EXPECT_EQ(store_.RecordCount(), 0);
    store_.GoToFirst();
    store_.GoToLast();
    EXPECT_FALSE(store_.SkipNext());
    EXPECT_FALSE(store_.AppendRecord({TextValue("x")}));
    EXPECT_FALSE(store_.MarkDeleted());
    EXPECT_FALSE(store_.PurgeDeleted());
    EXPECT_FALSE(store_.SetStorePassword("pw"));
    ExpectFatal([&] { store_.ReadField(1); }, kNoCurrentFile);
    ExpectFatal([&] { store_.ReadField(kDate); }, kNoCurrentFile);
    store_.CloseStore();
    ASSERT_TRUE(store_.OpenStore(kBareName));
    store_.CloseStore();
  }
  ASSERT_TRUE(store_.OpenStore(kBareName));
  EXPECT_EQ(ReadRows(store_), kThree);
}

TEST_F(StoreTest, FieldsOutsideTheSchemaAreFatal) {
  MakeFile(kBareName, "", kThree);
  ASSERT_TRUE(store_.OpenStore(kBareName));
  ExpectFatal([&] { store_.ReadField(0); }, kNoSuchField);
  ExpectFatal([&] { store_.ReadField(7); }, kNoSuchField);
  ExpectFatal([&] { store_.ReadField(-1); }, kNoSuchField);
  ExpectFatal([&] { store_.ReadField("G4"); }, kNoSuchField);
  ExpectFatal([&] { store_.ReadField(""); }, kNoSuchField);
}

TEST_F(StoreTest, PasswordsDecideWhichOpeningsSucceed) {
  struct Case {
    const char* what;
    std::vector<Text> passwords_set;  // in order, on the new file
    std::vector<std::pair<Text, bool>> attempts;
  };
  const std::vector<Case> cases = {
      {"protected",
       {"Secret"},
       {{"", false},
        {"wrong", false},
        {"secret", false},
        {"SECRET", false},
        {"Secret ", false},
        {"Secret", true},
        // Again after the file was open: the decoded table kept from that
        // opening serves only the password that opened it.
        {"secret", false},
        {"", false},
        {"Secret", true}}},
      {"GBK password",
       {"\xc3\xdc\xc2\xeb"},  // 密码
       {{"\xc3\xdc", false}, {"\xc3\xdc\xc2\xeb", true}}},
      {"never protected", {}, {{"x", false}, {"", true}, {"x", false}, {"", true}}},
      {"protection removed", {"abc", ""}, {{"abc", false}, {"", true}}},
      {"password changed", {"old", "new"}, {{"old", false}, {"new", true}}},
      {"same password set twice", {"same", "same"}, {{"", false}, {"same", true}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    {
      OvertimeStore setter(kTestCost);
      ASSERT_TRUE(setter.CreateStore(kBareName, OvertimeSchema()));
      ASSERT_TRUE(setter.OpenStore(kBareName));
      ASSERT_TRUE(setter.AppendRecord({TextValue(DayKey(5, 5)), std::nullopt, IntegerValue(2)}));
      for (const Text& p : c.passwords_set) ASSERT_TRUE(setter.SetStorePassword(p));
    }
    OvertimeStore opener(kTestCost);  // a later run: no key cached
    for (const auto& [password, opens] : c.attempts) {
      SCOPED_TRACE(password);
      EXPECT_EQ(opener.OpenStore(kBareName, password), opens);
      if (opens) {
        EXPECT_EQ(ReadRows(opener), (std::vector<Row>{{DayKey(5, 5), {0, 2, 0, 0, 0}}}));
      }
      opener.CloseStore();
    }
  }
}

TEST_F(StoreTest, OnlySettingAPasswordAndTheFirstOpeningDeriveAKey) {
  MakeFile(kBareName, "", {});
  const uint64_t before = KeyDerivationCount();
  {
    OvertimeStore first_start(kTestCost);
    ASSERT_TRUE(first_start.OpenStore(kBareName));
    ASSERT_TRUE(first_start.SetStorePassword("pw"));
    first_start.CloseStore();
    ASSERT_TRUE(first_start.OpenStore(kBareName, "pw"));  // the gate
    first_start.CloseStore();
  }
  EXPECT_EQ(KeyDerivationCount(), before + 1);

  OvertimeStore run(kTestCost);
  ASSERT_TRUE(run.OpenStore(kBareName, "pw"));  // the gate of a later start
  run.CloseStore();
  EXPECT_EQ(KeyDerivationCount(), before + 2);
  for (int day = 1; day <= 5; ++day) {  // the actions of that run
    ASSERT_TRUE(run.OpenStore(kBareName, "pw"));
    ASSERT_TRUE(run.AppendRecord({TextValue(DayKey(1, day)), IntegerValue(day)}));
    ASSERT_TRUE(run.SetStorePassword("pw"));
    run.GoToLast();
    ASSERT_TRUE(run.MarkDeleted());
    ASSERT_TRUE(run.PurgeDeleted());
    ASSERT_TRUE(run.AppendRecord({TextValue(DayKey(1, day)), IntegerValue(day)}));
    run.CloseStore();
  }
  EXPECT_EQ(KeyDerivationCount(), before + 2);
  ASSERT_TRUE(run.OpenStore(kBareName, "pw"));
  EXPECT_EQ(run.RecordCount(), 5);
}

TEST_F(StoreTest, NamesInAnySpellingDenoteTheOneFile) {
  ASSERT_TRUE(store_.CreateStore(kBareName, OvertimeSchema()));
  EXPECT_EQ(DirectoryEntries(), std::vector<std::string>{kDiskName});
  ASSERT_TRUE(store_.OpenStore(kBareName));
  ASSERT_TRUE(store_.AppendRecord({TextValue("k")}));
  store_.CloseStore();

  const std::string dir = dir_.string();
  const std::vector<std::pair<Text, bool>> names = {
      {kBareName, true},
      {kBareName + ".edb", true},
      {kBareName + ".EDB", true},
      {kBareName + ".eDb", true},
      {kBareName + ".", true},
      {"./" + kBareName, true},
      {dir + "/" + kBareName + ".Edb", true},
      {dir + "/../" + dir_.filename().string() + "/" + kBareName, true},
      {"", false},
      {kBareName + ".db", false},
      {kBareName + ".edb.edb", false},
      {kBareName + "2", false},
      {"missing/" + kBareName, false},
      {"\xbc", false},  // not GBK
  };
  for (const auto& [name, opens] : names) {
    SCOPED_TRACE(::testing::PrintToString(name));
    EXPECT_EQ(store_.OpenStore(name), opens);
    if (opens) {
      EXPECT_EQ(store_.RecordCount(), 1);
    }
    store_.CloseStore();
  }
  // Re-creating in capitals replaces the one file.
  ASSERT_TRUE(store_.CreateStore(kBareName + ".EDB", OvertimeSchema()));
  EXPECT_EQ(DirectoryEntries(), std::vector<std::string>{kDiskName});
  ASSERT_TRUE(store_.OpenStore(kBareName));
  EXPECT_EQ(store_.RecordCount(), 0);
}

TEST_F(StoreTest, AFileInCapitalsOnDiskIsFoundAndKeptInPlace) {
  MakeFile(kBareName, "", kThree);
  std::filesystem::rename(FilePath(), dir_ / "加班.EDB");
  ASSERT_TRUE(store_.OpenStore(kBareName));
  ASSERT_TRUE(store_.AppendRecord({TextValue("z")}));
  store_.CloseStore();
  EXPECT_EQ(DirectoryEntries(), std::vector<std::string>{"加班.EDB"});
  ASSERT_TRUE(store_.OpenStore(kBareName + ".edb"));
  EXPECT_EQ(store_.RecordCount(), 4);
}

TEST_F(StoreTest, OpeningTheCurrentFileAgainIsRefusedAndKeepsItCurrent) {
  MakeFile(kBareName, "", kThree);
  ASSERT_TRUE(store_.OpenStore(kBareName + ".edb"));
  ASSERT_TRUE(store_.SkipNext());
  EXPECT_FALSE(store_.OpenStore(kBareName));
  EXPECT_FALSE(store_.OpenStore(kBareName + ".EDB"));
  EXPECT_FALSE(store_.CreateStore(kBareName, OvertimeSchema()));
  EXPECT_EQ(ReadRow(store_), kThree[1]);  // same file, same position
  EXPECT_EQ(store_.RecordCount(), 3);
}

TEST_F(StoreTest, ARefusedOpeningChangesNothing) {
  MakeFile(kBareName, "pw", kThree);
  MakeFile("other", "", {});
  WriteBytes(dir_ / "foreign.edb", {'n', 'o', 't'});
  ASSERT_TRUE(store_.OpenStore(kBareName, "pw"));
  store_.GoToLast();
  for (const Text& name : {Text("missing"), Text("foreign"), Text("other")}) {
    EXPECT_FALSE(store_.OpenStore(name, "wrong"));
    EXPECT_EQ(ReadRow(store_), kThree[2]);
  }
  store_.CloseStore();
  EXPECT_FALSE(store_.OpenStore(kBareName, "wrong"));
  ExpectFatal([&] { store_.ReadField(1); }, kNoCurrentFile);
}

TEST_F(StoreTest, OpeningAnotherFileMakesItCurrent) {
  MakeFile(kBareName, "", kThree);
  MakeFile("other", "", {{"o", {1, 1, 1, 1, 1}}});
  ASSERT_TRUE(store_.OpenStore(kBareName));
  ASSERT_TRUE(store_.OpenStore("other"));
  EXPECT_EQ(store_.RecordCount(), 1);
  ASSERT_TRUE(store_.AppendRecord({TextValue("p")}));
  ASSERT_TRUE(store_.OpenStore(kBareName));  // the previous one is free again
  EXPECT_EQ(ReadRows(store_), kThree);
  // A file in the same directory can be created while one is open.
  ASSERT_TRUE(store_.CreateStore("third", OvertimeSchema()));
  ASSERT_TRUE(store_.OpenStore("third"));
  EXPECT_EQ(store_.RecordCount(), 0);
  store_.CloseStore();
  ASSERT_TRUE(store_.OpenStore("other"));
  EXPECT_EQ(store_.RecordCount(), 2);
}

TEST_F(StoreTest, CreateStoreReplacesAnExistingFile) {
  MakeFile(kBareName, "pw", kThree);
  ASSERT_TRUE(store_.CreateStore(kBareName, OvertimeSchema()));
  EXPECT_FALSE(store_.OpenStore(kBareName, "pw"));
  ASSERT_TRUE(store_.OpenStore(kBareName));
  EXPECT_EQ(store_.RecordCount(), 0);
}

TEST_F(StoreTest, InvalidFieldListsAreRefused) {
  const std::vector<std::pair<const char*, FieldList>> cases = {
      {"no fields", {}},
      {"empty name", {{"", FieldKind::Integer, 4}}},
      {"name twice", {{"a", FieldKind::Integer, 4}, {"a", FieldKind::Text, 8}}},
      {"text of size 0", {{"a", FieldKind::Text, 0}}},
      {"text of size 256", {{"a", FieldKind::Text, 256}}},
      {"name of 256 bytes", {{std::string(256, 'n'), FieldKind::Integer, 4}}},
  };
  for (const auto& [what, fields] : cases) {
    SCOPED_TRACE(what);
    EXPECT_FALSE(store_.CreateStore(kBareName, fields));
    EXPECT_TRUE(DirectoryEntries().empty());
  }
  ASSERT_TRUE(
      store_.CreateStore(kBareName, {{"t", FieldKind::Text, 255}, {"i", FieldKind::Integer, 0}}));
  ASSERT_TRUE(store_.OpenStore(kBareName));
  ASSERT_TRUE(store_.AppendRecord({TextValue(std::string(300, 'x')), IntegerValue(-7)}));
  store_.CloseStore();
  ASSERT_TRUE(store_.OpenStore(kBareName));
  EXPECT_EQ(store_.ReadField("t"), TextValue(std::string(255, 'x')));
  EXPECT_EQ(store_.ReadField(2), IntegerValue(-7));
}

}  // namespace
}  // namespace records::testing
