// Numbers read from texts and shown as texts.
#include <gtest/gtest.h>

#include <bit>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <random>
#include <string>

#include "test_util.h"
#include "values/numbers.h"

namespace {

using values::NumberToText;
using values::RealToInt;
using values::RoundToPlaces;
using values::TextToInt;
using values::TextToReal;
using values_test::G;

constexpr double kInf = std::numeric_limits<double>::infinity();

// Exact equality that also tells +0 from -0.
::testing::AssertionResult SameDouble(double actual, double expected) {
  if (std::bit_cast<uint64_t>(actual) == std::bit_cast<uint64_t>(expected)) {
    return ::testing::AssertionSuccess();
  }
  char buf[128];
  std::snprintf(buf, sizeof buf, "%.17g, expected %.17g", actual, expected);
  return ::testing::AssertionFailure() << buf;
}

// ---------------------------------------------------------------- TextToReal

struct RealCase {
  const char* text;  // UTF-8 source, converted to GBK
  double expected;
};

const RealCase kTextToRealCases[] = {
    // The table.
    {"", 0},
    {"2020", 2020},
    {" 2020", 2020},
    {"２０２０．５", 2020.5},
    {"12abc", 12},
    {"abc", 0},
    {"1,000", 1},
    {".5", 0.5},
    {"-.5", -0.5},
    {"5.", 5},
    {"1e3", 1000},
    {"1E+3", 1000},
    {"1d3", 1000},
    {"1e", 1},
    {"+ 5", 0},
    {"1e999", kInf},
    // Edge cases.
    {"   ", 0},
    {"\u3000\u3000", 0},  // ideographic spaces only
    {"１２．５", 12.5},
    {"2d2", 200},
    {"2D2", 200},
    {"1e+", 1},
    {"1e-", 1},
    {"1ex", 1},
    {"1d", 1},
    {"1E-2", 0.01},
    {"1D-2", 0.01},
    {"-1e999", -kInf},
    {"1e-999", 0},
    {"-1e-999", -0.0},
    {"1e99999999999999999999", kInf},
    {"0e99999999999999999999", 0},
    {".", 0},
    {"-.", 0},
    {"+", 0},
    {"-", 0},
    {"+.5", 0.5},
    {"- 5", 0},
    {"--5", 0},
    {"e3", 0},
    {"d3", 0},
    {".e3", 0},
    {".5e1", 5},
    {"5.e1", 50},
    {"1.5.5", 1.5},
    {" \t\n\v\f\r12", 12},
    {"\u300012", 12},
    {"0x10", 0},
    {"inf", 0},
    {"nan", 0},
    {"１ｅ３", 1000},
    {"－３", -3},
    {"＋３", 3},
    {"一", 0},
    {"3一", 3},
    {"007", 7},
    {"-0", -0.0},
    {"0.1", 0.1},
    {"11.61", 11.61},
    {"348.3", 348.3},
    {"2470", 2470},
    {"1.7976931348623157e308", DBL_MAX},
    {"1.7976931348623159e308", kInf},  // beyond the halfway point to 2^1024
    {"4.9406564584124654e-324", 4.9406564584124654e-324},
    {"2e-324", 0},  // below half the smallest subnormal
    {"3e-324", 4.9406564584124654e-324},
    {"2.2250738585072011e-308", 2.2250738585072011e-308},
    {"0.000000000000000000000000000000000000001e39", 1},
    // A halfway case that needs exact arithmetic: 2^53 + 1.
    {"9007199254740993", 9007199254740992.0},
    {"9007199254740993.0000000000000001", 9007199254740994.0},
};

TEST(TextToReal, Table) {
  for (const auto& c : kTextToRealCases) {
    SCOPED_TRACE(std::string("'") + c.text + "'");
    EXPECT_TRUE(SameDouble(TextToReal(G(c.text)), c.expected));
  }
}

TEST(TextToReal, LongMantissa) {
  // 400 digits then an exponent that brings it back to about 1.
  std::string t = "1";
  t.append(399, '0');
  EXPECT_TRUE(SameDouble(TextToReal(t + "e-399"), 1.0));
  EXPECT_TRUE(SameDouble(TextToReal("0." + std::string(400, '0') + "1e401"), 1.0));
  EXPECT_TRUE(SameDouble(TextToReal(t), kInf));
  EXPECT_TRUE(SameDouble(TextToReal("1" + std::string(41, '0') + "e-42"), 0.1));
}

TEST(TextToReal, ShowsInfinityForOverflow) {
  EXPECT_EQ(NumberToText(TextToReal("1e999")), "1.#INF");
  EXPECT_EQ(NumberToText(TextToReal("-1e999")), "-1.#INF");
}

TEST(TextToReal, AgreesWithStrtodOnRandomNumbers) {
  std::mt19937_64 rng(12345);
  for (int i = 0; i < 20000; ++i) {
    const double x = std::bit_cast<double>(rng());
    if (!std::isfinite(x)) continue;
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*e", static_cast<int>(rng() % 20), x);
    SCOPED_TRACE(buf);
    EXPECT_TRUE(SameDouble(TextToReal(buf), std::strtod(buf, nullptr)));
  }
}

// ----------------------------------------------------------------- TextToInt

struct IntCase {
  const char* text;  // UTF-8 source, converted to GBK
  int32_t expected;
};

const IntCase kTextToIntCases[] = {
    // The table.
    {"2", 2},
    {"2.5", 2},
    {"10.9", 10},
    {"0.5", 0},
    {"-2.9", -2},
    {"1e3", 1},
    {"abc", 0},
    {"", 0},
    {"１０", 10},
    {" +7", 7},
    {"--5", 0},
    {"- 5", 0},
    {"2147483648", INT32_MIN},
    {"4294967297", 1},
    // Edge cases.
    {"0.9", 0},
    {"1e1", 1},
    {"   ", 0},
    {"\u3000\u3000", 0},
    {"\u3000８", 8},
    {"－５", -5},
    {"２.５", 2},
    {"2147483647", INT32_MAX},
    {"-2147483648", INT32_MIN},
    {"-2147483649", INT32_MAX},
    {"4294967296", 0},
    {"4294967295", -1},
    {"+", 0},
    {"-", 0},
    {"+-5", 0},
    {"12abc", 12},
    {"\t\n12", 12},
    {"007", 7},
    {".5", 0},
    {"一", 0},
};

TEST(TextToInt, Table) {
  for (const auto& c : kTextToIntCases) {
    SCOPED_TRACE(std::string("'") + c.text + "'");
    EXPECT_EQ(TextToInt(G(c.text)), c.expected);
  }
}

TEST(TextToInt, WrapsModulo2To32) {
  // 99999999999999999999 mod 2^32 = 1661992959 (computed independently).
  EXPECT_EQ(TextToInt("99999999999999999999"), 1661992959);
  EXPECT_EQ(TextToInt("-99999999999999999999"), -1661992959);
}

// ------------------------------------------------------------- NumberToText

TEST(NumberToTextInt, Table) {
  const struct {
    int32_t value;
    const char* text;
  } cases[] = {
      {5, "5"},
      {-12, "-12"},
      {2013, "2013"},
      {0, "0"},
      {1, "1"},
      {-1, "-1"},
      {INT32_MAX, "2147483647"},
      {INT32_MIN, "-2147483648"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.value);
    EXPECT_EQ(NumberToText(c.value), c.text);
  }
}

struct ShowCase {
  double value;
  const char* text;
};

// Doubles built at run time, so that the compiler's folding plays no part.
double Div(double a, double b) {
  return a / b;
}

TEST(NumberToTextReal, TableOfPart) {
  const ShowCase cases[] = {
      {11.61, "11.61"},
      {Div(2020, 174), "11.6091954023"},
      {348.29999999999995, "348.3"},
      {0.1 + 0.2, "0.3"},
      {17.415, "17.415"},
      {235.1025, "235.1025"},
      {Div(2, 3), "0.6666666666667"},
      {Div(-2, 3), "-0.6666666666667"},
      {44, "44"},
      {123456789.12345679, "123456789.1235"},
      {1234567890123.4, "1234567890123"},
      {9999999999999.5, "1e+013"},
      {12345678901234, "1.234567890123e+013"},
      {15000000000000, "1.5e+013"},
      {0.0001, "0.0001"},
      {0.00012345, "0.00012345"},
      {0.00001, "1e-005"},
      {-0.0, "0"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(NumberToText(c.value), c.text);
  }
}

TEST(NumberToTextReal, EdgeCases) {
  const ShowCase cases[] = {
      {0.0, "0"},
      {9999999999999, "9999999999999"},
      {9999999999999.5, "1e+013"},
      {-9999999999999.5, "-1e+013"},
      {1e13, "1e+013"},
      {1e12, "1000000000000"},
      {0.00009, "9e-005"},
      {-0.00009, "-9e-005"},
      {0.0001, "0.0001"},
      {0.000099999999999999, "0.0001"},  // rounds up into positional range
      {0.00009999999999949, "9.999999999949e-005"},
      {2470, "2470"},
      {-2470, "-2470"},
      {0.5, "0.5"},
      {-0.004, "-0.004"},
      {1e100, "1e+100"},
      {1e-100, "1e-100"},
      {1.5e300, "1.5e+300"},
      {DBL_MAX, "1.797693134862e+308"},
      {4.9406564584124654e-324, "4.940656458412e-324"},
      {2.2250738585072014e-308, "2.225073858507e-308"},
      {123456789012.5, "123456789012.5"},
      {0.1, "0.1"},
      {100, "100"},
      {1234.5, "1234.5"},
      {Div(1, 3), "0.3333333333333"},
      {Div(20, 3), "6.666666666667"},
      {Div(200000, 3), "66666.66666667"},
      {0.99999999999995, "1"},  // a carry raises the exponent
      {9.99999999999951, "10"},
      {99999.9999999999, "100000"},
      {1.2345e-5, "1.2345e-005"},
      // The two-step rounding: digits 14 to 17 are 4999, the 18th is 5 or more.
      // 1.2345678901235 is held as 1.23456789012349998912...
      {1.2345678901235, "1.234567890124"},
      // 235.10250000065 is held as 235.10250000064999653...
      {235.10250000065, "235.1025000007"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(NumberToText(c.value), c.text);
  }
}

TEST(NumberToTextReal, InfinityAndNotANumber) {
  const double inf = TextToReal("1e999");
  EXPECT_EQ(NumberToText(inf), "1.#INF");
  EXPECT_EQ(NumberToText(-inf), "-1.#INF");
  // The not-a-number of an invalid operation on x86: sign bit set.
  volatile double v_inf = inf;
  const double indefinite = v_inf - v_inf;
  ASSERT_TRUE(std::isnan(indefinite));
#if defined(__x86_64__) || defined(__i386__)
  EXPECT_EQ(NumberToText(indefinite), "-1.#IND");
  volatile double zero = 0.0;
  EXPECT_EQ(NumberToText(zero / zero), "-1.#IND");
#endif
  EXPECT_EQ(NumberToText(std::bit_cast<double>(uint64_t{0xFFF8000000000000})), "-1.#IND");
  EXPECT_EQ(NumberToText(std::bit_cast<double>(uint64_t{0x7FF8000000000000})), "1.#QNAN");
  EXPECT_EQ(NumberToText(std::numeric_limits<double>::quiet_NaN()), "1.#QNAN");
  EXPECT_EQ(NumberToText(std::bit_cast<double>(uint64_t{0x7FF8000000000001})), "1.#QNAN");
  EXPECT_EQ(NumberToText(std::bit_cast<double>(uint64_t{0xFFF8000000000001})), "-1.#QNAN");
}

// Both 13-digit texts as doubles compare exactly: two different 13-digit
// decimals are never the same double.
double ParseC(const std::string& s) {
  return std::strtod(s.c_str(), nullptr);
}

// The leading digits of the exact decimal expansion: 41 correctly rounded
// digits, whose first 18 are exact unless digits 19 to 41 are all 9 (then
// glibc prints the expansion in full).
std::string ExactDigits(double x) {
  auto digits_of = [x](int precision) {
    static char buf[1200];
    std::snprintf(buf, sizeof buf, "%.*e", precision, std::fabs(x));
    std::string digits;
    for (const char* p = buf; *p && *p != 'e'; ++p) {
      if (*p >= '0' && *p <= '9') digits += *p;
    }
    return digits;
  };
  std::string digits = digits_of(40);
  if (digits.find_first_not_of('9', 18) == std::string::npos) digits = digits_of(800);
  return digits;
}

// Where the two-step rounding.1 may differ from a single
// correctly rounded (ties-to-even) rounding to 13 digits: digits 14-17 are
// 4999 and the 18th is 5 or more, or the 14th digit is an exact half.
bool IsDocumentedDifference(const std::string& exact) {
  if (exact.compare(13, 4, "4999") == 0 && exact[17] >= '5') return true;
  return exact[13] == '5' && exact.find_first_not_of('0', 14) == std::string::npos;
}

void CheckAgainstOneStepRounding(double x, int& differences) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.12e", x);
  const std::string shown = NumberToText(x);
  const std::string exact = ExactDigits(x);
  SCOPED_TRACE(std::string(buf) + " shown " + shown + " exact " + exact.substr(0, 20));
  if (ParseC(shown) == ParseC(buf)) {
    // Equal unless the two-step rule must round up where the one step does not.
    if (exact.compare(13, 4, "4999") == 0 && exact[17] >= '5') {
      ADD_FAILURE() << "two-step case not rounded up";
    }
    return;
  }
  ++differences;
  EXPECT_TRUE(IsDocumentedDifference(exact));
  // The two-step result is the one-step result plus one unit in the 13th digit.
  EXPECT_GT(std::fabs(ParseC(shown)), std::fabs(ParseC(buf)));
}

TEST(NumberToTextReal, AgreesWithOneStepRoundingOutsideTheDocumentedCases) {
  std::mt19937_64 rng(20130501);
  int differences = 0;
  for (int i = 0; i < 100000; ++i) {
    const double x = std::bit_cast<double>(rng());
    if (!std::isfinite(x) || x == 0.0) continue;
    CheckAgainstOneStepRounding(x, differences);
  }
  // Values of pay-like size: cents and hours with a few decimals, and quotients.
  std::uniform_int_distribution<int64_t> cents(1, 100000000);
  std::uniform_int_distribution<int> divisor(1, 400);
  for (int i = 0; i < 100000; ++i) {
    const double a = static_cast<double>(cents(rng)) / 100.0;
    CheckAgainstOneStepRounding(a, differences);
    CheckAgainstOneStepRounding(a / divisor(rng), differences);
    CheckAgainstOneStepRounding(a * 1.5, differences);
  }
  // Random doubles hit the documented pattern now and then; the count only
  // shows that the check is not vacuous over this many samples.
  EXPECT_GT(differences, 0);
}

TEST(NumberToTextReal, ConstructedTwoStepCase) {
  // Walk 13-digit prefixes P until the double nearest to P.4999 75 (times a
  // power of ten) has 4999 in digits 14-17 and 5 or more in the 18th.
  int found = 0;
  for (int64_t p = 1234567890120; p < 1234567890200 && found < 10; ++p) {
    char text[64];
    std::snprintf(text, sizeof text, "%lld.499975e-12", static_cast<long long>(p));
    const double x = std::strtod(text, nullptr);
    const std::string exact = ExactDigits(x);
    if (exact.compare(0, 13, std::to_string(p)) != 0) continue;
    if (exact.compare(13, 4, "4999") != 0 || exact[17] < '5') continue;
    ++found;
    SCOPED_TRACE(exact.substr(0, 20));
    char one_step[64];
    std::snprintf(one_step, sizeof one_step, "%.12e", x);
    // One exact rounding keeps P; the two-step rounding gives P + 1.
    const std::string p_text = std::to_string(p);
    const std::string p1_text = std::to_string(p + 1);
    EXPECT_EQ(std::string(one_step), p_text.substr(0, 1) + "." + p_text.substr(1) + "e+00");
    std::string expected = p1_text.substr(0, 1) + "." + p1_text.substr(1);
    while (expected.back() == '0') expected.pop_back();
    EXPECT_EQ(NumberToText(x), expected);
  }
  EXPECT_GT(found, 0);
}

TEST(NumberToTextReal, ReadsBackThroughTextToReal) {
  // 13 significant digits read back within half a unit of the 13th digit.
  std::mt19937_64 rng(7);
  std::uniform_real_distribution<double> dist(-1e6, 1e6);
  for (int i = 0; i < 10000; ++i) {
    const double x = dist(rng);
    const double back = TextToReal(NumberToText(x));
    EXPECT_LE(std::fabs(back - x), std::fabs(x) * 5.1e-13) << NumberToText(x);
  }
}

// --------------------------------------------------------------- RoundToPlaces

struct RoundCase {
  double value;
  int32_t places;
  double expected;
  const char* shown;
};

TEST(RoundToPlaces, TableOfPart) {
  // 11.61 x 1.5 is held as 17.41499999999999914..., the double nearest 17.415.
  ASSERT_EQ(Div(11.61, 1) * 1.5, 17.415);
  ASSERT_LT(17.415, 17.415L);
  const RoundCase cases[] = {
      {Div(2020, 174), 2, 11.61, "11.61"},
      {Div(1820, 174), 2, 10.46, "10.46"},
      {11.61 * 1.5, 2, 17.42, "17.42"},
      {1.005, 2, 1.01, "1.01"},
      {2.675, 2, 2.68, "2.68"},
      {-2.345, 2, -2.35, "-2.35"},
      {-0.004, 2, -0.0, "0"},
      {2.5, 0, 3, "3"},
      {-2.5, 0, -3, "-3"},
      {0.4999999999995, 0, 1, "1"},
      {1250, -2, 1300, "1300"},
      {1234.5, -2, 1200, "1200"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.shown) + " places " + std::to_string(c.places));
    const double r = RoundToPlaces(c.value, c.places);
    EXPECT_TRUE(SameDouble(r, c.expected));
    EXPECT_EQ(NumberToText(r), c.shown);
  }
}

TEST(RoundToPlaces, EdgeCases) {
  const RoundCase cases[] = {
      {17.415, 2, 17.42, "17.42"},
      {0.0, 2, 0.0, "0"},
      {-0.0, 2, -0.0, "0"},
      {0.0, 0, 0.0, "0"},
      {2.4, 0, 2, "2"},
      {-2.4, 0, -2, "-2"},
      {3.5, 0, 4, "4"},
      {0.4999999999985, 0, 0, "0"},  // the nudge is not enough
      {11.609195402298851, 2, 11.61, "11.61"},
      {0.125, 2, 0.13, "0.13"},
      {0.115, 2, 0.12, "0.12"},
      {1.0049, 2, 1.0, "1"},
      {5, 2, 5, "5"},
      {1234.5678, 3, 1234.568, "1234.568"},
      {1234.5678, 1, 1234.6, "1234.6"},
      {49, -2, 0, "0"},
      {50, -2, 100, "100"},
      {-50, -2, -100, "-100"},
      {123456, -3, 123000, "123000"},
      {2.5, 0, 3, "3"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.shown) + " places " + std::to_string(c.places));
    const double r = RoundToPlaces(c.value, c.places);
    EXPECT_TRUE(SameDouble(r, c.expected));
    EXPECT_EQ(NumberToText(r), c.shown);
  }
}

TEST(RoundToPlaces, DefaultsToZeroPlaces) {
  EXPECT_TRUE(SameDouble(RoundToPlaces(2.5), 3.0));
  EXPECT_TRUE(SameDouble(RoundToPlaces(-2.5), -3.0));
}

TEST(RoundToPlaces, SpecialValues) {
  EXPECT_TRUE(std::isnan(RoundToPlaces(std::numeric_limits<double>::quiet_NaN(), 2)));
  EXPECT_TRUE(SameDouble(RoundToPlaces(kInf, 2), kInf));
  EXPECT_TRUE(SameDouble(RoundToPlaces(-kInf, 0), -kInf));
  EXPECT_TRUE(SameDouble(RoundToPlaces(1.5, 400), 1.5));
  EXPECT_TRUE(SameDouble(RoundToPlaces(1.5, -400), 0.0));
  EXPECT_TRUE(SameDouble(RoundToPlaces(-1.5, INT32_MIN), -0.0));
  EXPECT_TRUE(SameDouble(RoundToPlaces(1e300, 2), 1e300));
}

// ------------------------------------------------------------------- RealToInt

TEST(RealToInt, Table) {
  const struct {
    double value;
    int32_t expected;
  } cases[] = {
      {2.9, 2},
      {-2.9, -2},
      {0.0, 0},
      {-0.0, 0},
      {0.9999, 0},
      {-0.9999, 0},
      {18.0 - 1.0, 17},
      {2147483647.0, INT32_MAX},
      {2147483647.9, INT32_MAX},
      {2147483648.0, INT32_MAX},
      {1e300, INT32_MAX},
      {kInf, INT32_MAX},
      {-2147483648.0, INT32_MIN},
      {-2147483648.9, INT32_MIN},
      {-1e300, INT32_MIN},
      {-kInf, INT32_MIN},
      {std::numeric_limits<double>::quiet_NaN(), 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.value);
    EXPECT_EQ(RealToInt(c.value), c.expected);
  }
}

}  // namespace
