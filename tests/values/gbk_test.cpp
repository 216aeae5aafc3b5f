// The GBK <-> UTF-8 converter: known bytes of code page 936, replacement and
// strict failure.
#include <gtest/gtest.h>

#include <string>

#include "test_util.h"
#include "values/gbk.h"

namespace {

using values::GbkToUtf8;
using values::GbkToUtf8Strict;
using values::Utf8ToGbk;
using values::Utf8ToGbkStrict;
using values_test::Hex;

struct KnownBytes {
  const char* utf8;
  const char* gbk;
};

// Byte values of code page 936, independent of the converter.
const KnownBytes kKnownBytes[] = {
    {"月", "\xD4\xC2"},
    {"日", "\xC8\xD5"},
    {"年", "\xC4\xEA"},
    {"时", "\xCA\xB1"},
    {"分", "\xB7\xD6"},
    {"秒", "\xC3\xEB"},
    {"０", "\xA3\xB0"},
    {"９", "\xA3\xB9"},
    {"．", "\xA3\xAE"},
    {"：", "\xA3\xBA"},
    {"～", "\xA1\xAB"},
    {"☆", "\xA1\xEE"},
    {"★", "\xA1\xEF"},
    {"\u3000", "\xA1\xA1"},  // ideographic space
    {"￣", "\xA3\xFE"},
    {"€", "\x80"},  // CP936, not plain GBK
    {"元旦", "\xD4\xAA\xB5\xA9"},
    {"abc 123", "abc 123"},
    {"", ""},
};

TEST(Gbk, KnownByteValues) {
  for (const auto& c : kKnownBytes) {
    SCOPED_TRACE(c.utf8);
    EXPECT_EQ(Hex(Utf8ToGbk(c.utf8)), Hex(c.gbk));
    EXPECT_EQ(GbkToUtf8(c.gbk), c.utf8);
    ASSERT_TRUE(Utf8ToGbkStrict(c.utf8).has_value());
    EXPECT_EQ(Hex(*Utf8ToGbkStrict(c.utf8)), Hex(c.gbk));
    ASSERT_TRUE(GbkToUtf8Strict(c.gbk).has_value());
    EXPECT_EQ(*GbkToUtf8Strict(c.gbk), c.utf8);
  }
}

TEST(Gbk, EmbeddedZeroByteIsCarried) {
  const std::string utf8("a\0月", 5);
  const std::string gbk("a\0\xD4\xC2", 4);
  EXPECT_EQ(Utf8ToGbk(utf8), gbk);
  EXPECT_EQ(GbkToUtf8(gbk), utf8);
}

TEST(Gbk, LongTextsRoundTrip) {
  // Longer than any internal buffer.
  std::string utf8;
  for (int i = 0; i < 5000; ++i) utf8 += (i % 3 == 0) ? "加班" : "x";
  const std::string gbk = Utf8ToGbk(utf8);
  EXPECT_EQ(gbk.size(), 1667u * 4 + 3333u);  // 1667 two-byte pairs, 3333 ASCII
  EXPECT_EQ(GbkToUtf8(gbk), utf8);
  EXPECT_EQ(*Utf8ToGbkStrict(utf8), gbk);
  EXPECT_EQ(*GbkToUtf8Strict(gbk), utf8);
}

TEST(Gbk, CharacterMissingFromGbkBecomesQuestionMark) {
  // U+1F600 and Korean Hangul U+D55C are not in code page 936.
  EXPECT_EQ(Utf8ToGbk("a\U0001F600b"), "a?b");
  EXPECT_EQ(Utf8ToGbk("\uD55C\uD55C"), "??");
  EXPECT_EQ(Utf8ToGbkStrict("a\U0001F600b"), std::nullopt);
}

TEST(Gbk, MalformedUtf8BecomesQuestionMark) {
  EXPECT_EQ(Utf8ToGbk("a\xFF"
                      "b"),
            "a?b");
  EXPECT_EQ(Utf8ToGbk("a\xE6"), "a?");  // cut at the end
  EXPECT_EQ(Utf8ToGbkStrict("a\xFF"
                            "b"),
            std::nullopt);
  EXPECT_EQ(Utf8ToGbkStrict("a\xE6"), std::nullopt);
}

TEST(Gbk, MalformedGbkBecomesReplacementCharacter) {
  const std::string fffd = "\xEF\xBF\xBD";
  // 0xFF is never a GBK byte.
  EXPECT_EQ(GbkToUtf8("a\xFF"
                      "b"),
            "a" + fffd + "b");
  // A lone lead byte at the end.
  EXPECT_EQ(GbkToUtf8("a\xD4"), "a" + fffd);
  // A lead byte followed by a byte that cannot trail: the ASCII byte survives.
  EXPECT_EQ(GbkToUtf8("\xD4\x30"
                      "b"),
            fffd + "0b");
  EXPECT_EQ(GbkToUtf8Strict("a\xFF"
                            "b"),
            std::nullopt);
  EXPECT_EQ(GbkToUtf8Strict("a\xD4"), std::nullopt);
  EXPECT_EQ(GbkToUtf8Strict("\xD4\x30"), std::nullopt);
}

TEST(Gbk, EmptyTextsConvertInStrictForm) {
  ASSERT_TRUE(GbkToUtf8Strict("").has_value());
  EXPECT_EQ(*GbkToUtf8Strict(""), "");
  ASSERT_TRUE(Utf8ToGbkStrict("").has_value());
  EXPECT_EQ(*Utf8ToGbkStrict(""), "");
}

TEST(Gbk, TestHelperConverts) {
  EXPECT_EQ(Hex(values_test::G("本月法定节假日有：")).size(), 18u * 3 - 1);
  EXPECT_EQ(values_test::U("\xD4\xC2"), "月");
}

}  // namespace
