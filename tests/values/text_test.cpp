// Byte-wise text operations.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "test_util.h"
#include "values/text.h"

namespace {

using values::CompareText;
using values::FoldFullWidth;
using values::JoinText;
using values::SplitText;
using values::Text;
using values::TextLeft;
using values::TextLength;
using values::TextRight;
using values_test::G;
using values_test::Hex;

TEST(TextLength, CountsBytes) {
  EXPECT_EQ(TextLength(G("本月法定节假日有：")), 18);
  EXPECT_EQ(TextLength(G("元旦 1")), 6);
  EXPECT_EQ(TextLength(""), 0);
  EXPECT_EQ(TextLength("abc"), 3);
}

struct CutCase {
  const char* text;  // UTF-8 source, converted to GBK
  int32_t count;
  const char* left;
  const char* right;
};

const CutCase kCutCases[] = {
    {"元旦 1", 4, "元旦", "旦 1"},
    {"元旦 1", 1, "", "1"},  // left: the lone lead byte, checked separately
    {"元旦 1", 6, "元旦 1", "元旦 1"},
    {"abc", 10, "abc", "abc"},
    {"abc", 3, "abc", "abc"},
    {"abc", 2, "ab", "bc"},
    {"abc", 0, "", ""},
    {"abc", -1, "", ""},
    {"abc", INT32_MIN, "", ""},
    {"abc", INT32_MAX, "abc", "abc"},
    {"", 3, "", ""},
};

TEST(TextLeftRight, Table) {
  for (const auto& c : kCutCases) {
    SCOPED_TRACE(std::string(c.text) + " / " + std::to_string(c.count));
    if (!(c.count == 1 && std::string(c.text) == "元旦 1")) {
      EXPECT_EQ(TextLeft(G(c.text), c.count), G(c.left));
    }
    EXPECT_EQ(TextRight(G(c.text), c.count), G(c.right));
  }
}

TEST(TextLeftRight, CutMayFallInsideACharacter) {
  // TextLeft("元旦", 1) is the lone lead byte of "元" (D4 AA).
  EXPECT_EQ(Hex(TextLeft(G("元旦"), 1)), "D4");
  EXPECT_EQ(Hex(TextRight(G("元旦"), 1)), "A9");
  EXPECT_EQ(Hex(TextLeft(G("元旦 1"), 1)), "D4");
  // The examples.
  EXPECT_EQ(TextLeft(G("元旦 1"), 5), G("元旦 "));
  EXPECT_EQ(TextRight(G("元旦 1"), 1), "1");
  EXPECT_EQ(Hex(TextRight(G("元旦 1"), 5)), "AA B5 A9 20 31");
}

TEST(JoinText, ConcatenatesInOrder) {
  EXPECT_EQ(JoinText(G("时薪："), Text("11.61")), G("时薪：11.61"));
  EXPECT_EQ(JoinText(Text("a")), "a");
  EXPECT_EQ(JoinText(Text("a"), Text(""), std::string_view("b"), "c"), "abc");
  EXPECT_EQ(JoinText(Text(""), Text("")), "");
}

struct CompareCase {
  std::string a;
  std::string b;
  int sign;  // -1, 0, 1
};

int Sign(int v) {
  return (v > 0) - (v < 0);
}

TEST(CompareText, Table) {
  const CompareCase cases[] = {
      {"", "", 0},
      {"abc", "abc", 0},
      {"abc", "abd", -1},
      {"abd", "abc", 1},
      {"ab", "abc", -1},
      {"abc", "ab", 1},
      {"", "a", -1},
      {"A", "a", -1},        // case-sensitive
      {"\x80", "\x7F", 1},   // unsigned bytes
      {"\xD4\xC2", "a", 1},  // 月 above ASCII
      {G("月"), G("月"), 0},
      {G("2013/5/1"), G("2013/5/1"), 0},
      {std::string("a\0b", 3), std::string("a\0c", 3), -1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(Hex(c.a) + " vs " + Hex(c.b));
    EXPECT_EQ(Sign(CompareText(c.a, c.b)), c.sign);
  }
}

struct SplitCase {
  const char* text;       // UTF-8 source, converted to GBK
  const char* delimiter;  // likewise
  std::optional<int32_t> maximum;
  std::vector<std::string> pieces;  // UTF-8
};

const SplitCase kSplitCases[] = {
    // The table.
    {"5月12日", "月", 1, {"5"}},
    {"12月3日", "月", 1, {"12"}},
    {"12月3日", "月", std::nullopt, {"12", "3日"}},
    {"abc", "月", 1, {"abc"}},
    {"", "月", 1, {}},
    {"月3日", "月", 1, {""}},
    {"a,b,", ",", std::nullopt, {"a", "b"}},
    {",a", ",", std::nullopt, {"", "a"}},
    {"a,,b", ",", std::nullopt, {"a", "", "b"}},
    // Edge cases.
    {"12月", "月", 1, {"12"}},
    {"2013/5/1", "月", 1, {"2013/5/1"}},  // a day key without 月
    {"a,b,c", ",", 2, {"a", "b"}},        // the rest is dropped
    {"a,b,c", ",", 3, {"a", "b", "c"}},
    {"a,b,c", ",", 0, {}},
    {"a,b,c", ",", -1, {}},
    {"a,b", "", std::nullopt, {"a,b"}},
    {"a,b", "", 0, {}},
    {"", ",", std::nullopt, {}},
    {",", ",", std::nullopt, {""}},
    {",,", ",", std::nullopt, {"", ""}},
    {"abc", "abcd", std::nullopt, {"abc"}},
    {"abab", "ab", std::nullopt, {"", ""}},
    {"x--y--", "--", std::nullopt, {"x", "y"}},
    {"月月", "月", std::nullopt, {"", ""}},
    {"a,b", ",", std::nullopt, {"a", "b"}},
};

std::vector<std::string> ToUtf8(const std::vector<Text>& pieces) {
  std::vector<std::string> out;
  for (const auto& p : pieces) out.push_back(values_test::U(p));
  return out;
}

TEST(SplitText, Table) {
  for (const auto& c : kSplitCases) {
    SCOPED_TRACE(std::string("'") + c.text + "' by '" + c.delimiter + "' max " +
                 (c.maximum ? std::to_string(*c.maximum) : std::string("unlimited")));
    EXPECT_EQ(ToUtf8(SplitText(G(c.text), G(c.delimiter), c.maximum)), c.pieces);
  }
}

TEST(FirstPiece, IsTheFirstPieceOfASplitIntoOne) {
  for (const auto& c : kSplitCases) {
    SCOPED_TRACE(c.text);
    const Text text = G(c.text);
    const Text delimiter = G(c.delimiter);
    const std::vector<Text> pieces = SplitText(text, delimiter, 1);
    const std::optional<std::string_view> first = values::FirstPiece(text, delimiter);
    ASSERT_EQ(first.has_value(), !pieces.empty());
    if (first) {
      EXPECT_EQ(*first, pieces.front());
    }
  }
}

TEST(SplitText, DefaultsToCommaAndUnlimited) {
  EXPECT_EQ(SplitText("a,b,c"), (std::vector<Text>{"a", "b", "c"}));
  EXPECT_EQ(SplitText("a,b,c", ","), (std::vector<Text>{"a", "b", "c"}));
}

TEST(SplitText, ScansByCharacters) {
  // "月" is D4 C2 and "载" is D4 D8; the text "\xC2\xD4" appears across the
  // boundary of "月" and "载" but is not at a character start.
  const Text t = G("月载");
  EXPECT_EQ(SplitText(t, "\xC2\xD4"), (std::vector<Text>{t}));
  // The trail byte 0x5C of 淺 (9C 5C) is not a "\\" delimiter.
  const Text with_5c = G("淺a\\b");
  ASSERT_EQ(Hex(with_5c), "9C 5C 61 5C 62");
  EXPECT_EQ(SplitText(with_5c, "\\"), (std::vector<Text>{G("淺a"), "b"}));
  // A lone lead byte at the end ends the scan; the rest is kept as the last piece.
  EXPECT_EQ(SplitText("a,b\xD4", ","), (std::vector<Text>{"a", "b\xD4"}));
}

struct FoldCase {
  std::string text;    // GBK
  std::string folded;  // GBK
};

TEST(FoldFullWidth, Table) {
  const FoldCase cases[] = {
      {"", ""},
      {"abc 123", "abc 123"},
      {G("０１２３４５６７８９"), "0123456789"},
      {G("２０２０．５"), "2020.5"},
      {G("－＋ｅＥ，／："), "-+eE,/:"},
      {G("！"), "!"},              // A3 A1
      {G("￣"), "~"},              // A3 FE, the full-width macron
      {G("\u3000"), " "},          // A1 A1, ideographic space
      {G("～"), "~"},              // A1 AB
      {G("☆★"), "**"},             // A1 EE, A1 EF
      {G("一二三"), G("一二三")},  // Chinese numerals are not digits
      {G("月"), G("月")},
      {G("２０１３年５月"), G("2013年5月")},
      {"1\xD4", "1"},  // a trailing lone lead byte is dropped
      {"\xA3", ""},
      {"\xA3\xA0", "\xA3\xA0"},  // A3 A0 is outside the row A1..FE
      {"\xA3\xFF", "\xA3\xFF"},
      {"\xA3\x41", "\xA3\x41"},
      {"\xA1\xA2", "\xA1\xA2"},  // 、 stays
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(Hex(c.text));
    EXPECT_EQ(Hex(FoldFullWidth(c.text)), Hex(c.folded));
  }
}

TEST(FoldFullWidth, WholeRowOfFullWidthAscii) {
  for (int trail = 0xA1; trail <= 0xFE; ++trail) {
    const std::string t = {'\xA3', static_cast<char>(trail)};
    SCOPED_TRACE(trail);
    EXPECT_EQ(FoldFullWidth(t), std::string(1, static_cast<char>(trail - 0x80)));
  }
}

}  // namespace
