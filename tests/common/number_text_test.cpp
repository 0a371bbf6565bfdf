#include "common/number_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <ostream>
#include <random>

namespace tenmirel {
namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();

struct TextCase {
  double value;
  const char* text;
};

// Test names show the text with control characters escaped.
void printQuoted(const char* text, std::ostream* out) {
  *out << '"';
  for (const char* p = text; *p != '\0'; ++p) {
    const auto byte = static_cast<unsigned char>(*p);
    if (byte < 0x20) {
      *out << "\\x" << std::hex << static_cast<int>(byte) << std::dec;
    } else {
      *out << *p;
    }
  }
  *out << '"';
}

void PrintTo(const TextCase& c, std::ostream* out) { printQuoted(c.text, out); }

class NumberToText : public ::testing::TestWithParam<TextCase> {};

TEST_P(NumberToText, WritesFifteenSignificantDigits) { EXPECT_EQ(numberToText(GetParam().value), GetParam().text); }

INSTANTIATE_TEST_SUITE_P(
    Examples, NumberToText,
    ::testing::Values(TextCase{2451545.0, "2451545"}, TextCase{36524.5, "36524.5"},
                      TextCase{0.999986310746064, "0.999986310746064"}, TextCase{2451545.5, "2451545.5"},
                      TextCase{2451548.0, "2451548"}, TextCase{-3.0, "-3"}, TextCase{0.0, "0"}, TextCase{-0.0, "0"},
                      TextCase{0.1 + 0.2, "0.3"}, TextCase{1.0 / 3.0, "0.333333333333333"},
                      TextCase{2.0 / 3.0, "0.666666666666667"}, TextCase{-2.0 / 3.0, "-0.666666666666667"},
                      TextCase{2451605.28734, "2451605.28734"}, TextCase{2451604.91234 + 0.375, "2451605.28734"},
                      // the plain form ends at 15 digits before the point
                      TextCase{123456789012345.0, "123456789012345"}, TextCase{999999999999999.0, "999999999999999"},
                      TextCase{1e15, "1E+15"}, TextCase{1234567890123456.0, "1.23456789012346E+15"},
                      TextCase{999999999999999.5, "1E+15"}, TextCase{99999999999999.95, "100000000000000"},
                      TextCase{-1.5e20, "-1.5E+20"}, TextCase{1e300, "1E+300"},
                      TextCase{std::numeric_limits<double>::max(), "1.79769313486232E+308"},
                      // and at 1E-5 after it
                      TextCase{0.00001, "0.00001"}, TextCase{0.000012345, "0.000012345"},
                      TextCase{0.0000099999, "9.9999E-06"}, TextCase{1e-100, "1E-100"},
                      TextCase{std::numeric_limits<double>::denorm_min(), "4.94065645841247E-324"},
                      TextCase{0.1234567890123456, "0.123456789012346"}, TextCase{1.0000000000000002, "1"},
                      TextCase{123.456, "123.456"}, TextCase{-0.5, "-0.5"}));

TEST(NumberToText, NotANumberAndInfinityNeverReachTheScreen) {
  EXPECT_EQ(numberToText(kInfinity), "");
  EXPECT_EQ(numberToText(-kInfinity), "");
  EXPECT_EQ(numberToText(std::numeric_limits<double>::quiet_NaN()), "");
}

TEST(NumberToText, EveryTextReadsBackToTheSameText) {
  std::mt19937_64 random(42);
  std::uniform_real_distribution<double> mantissa(-10.0, 10.0);
  std::uniform_int_distribution<int> exponent(-320, 307);
  for (int i = 0; i < 100000; ++i) {
    const double value = mantissa(random) * std::pow(10.0, exponent(random));
    if (!std::isfinite(value)) continue;
    const std::string text = numberToText(value);
    const double back = parseLenient(text);
    ASSERT_EQ(numberToText(back), text) << value;
    // At most 15 significant digits survive, and no more is lost than that.
    if (value != 0 && std::isnormal(value)) {
      ASSERT_NEAR(back / value, 1.0, 1e-14) << text;
    }
  }
}

// A text the program wrote itself is read directly; the same text with a blank in
// front goes the general way of the lenient parse. Both must give the same bits.
TEST(ParseLenient, WrittenTextsReadTheSameWithOrWithoutBlanks) {
  std::mt19937_64 random(7);
  std::uniform_real_distribution<double> mantissa(-10.0, 10.0);
  std::uniform_int_distribution<int> exponent(-330, 310);
  for (int i = 0; i < 100000; ++i) {
    const double value = mantissa(random) * std::pow(10.0, exponent(random));
    for (const std::string& text : {numberToText(value), std::to_string(value)}) {
      if (text.empty()) continue;
      const double direct = parseLenient(text);
      const double general = parseLenient(" " + text);
      ASSERT_EQ(std::signbit(direct), std::signbit(general)) << text;
      ASSERT_TRUE(direct == general || (std::isnan(direct) && std::isnan(general))) << text;
    }
  }
  for (const char* text : {"-0", ".5", "-.5", "1e5", "1E+15", "1e-400", "1e400", "-1e400", "0.000", "7."}) {
    const double direct = parseLenient(text);
    const double general = parseLenient(std::string(" ") + text);
    EXPECT_EQ(std::signbit(direct), std::signbit(general)) << text;
    EXPECT_EQ(direct, general) << text;
  }
}

TEST(NumberToText, ValuesOfFifteenDigitsSurviveExactly) {
  std::mt19937_64 random(7);
  std::uniform_int_distribution<long long> digits(1, 999999999999999LL);
  std::uniform_int_distribution<int> point(0, 15);
  for (int i = 0; i < 20000; ++i) {
    const double value = static_cast<double>(digits(random)) / std::pow(10.0, point(random));
    ASSERT_EQ(parseLenient(numberToText(value)), value) << numberToText(value);
  }
}

struct ParseCase {
  const char* text;
  double value;
};

void PrintTo(const ParseCase& c, std::ostream* out) { printQuoted(c.text, out); }

class ParseLenient : public ::testing::TestWithParam<ParseCase> {};

TEST_P(ParseLenient, TakesTheLongestLeadingNumber) {
  const ParseCase& c = GetParam();
  EXPECT_EQ(parseLenient(c.text), c.value) << '"' << c.text << '"';
}

INSTANTIATE_TEST_SUITE_P(
    Examples, ParseLenient,
    ::testing::Values(ParseCase{"2451545.1234", 2451545.1234}, ParseCase{"1.5D3", 1500}, ParseCase{"1.5d3", 1500},
                      ParseCase{"1E3", 1000}, ParseCase{"1e-2", 0.01}, ParseCase{"1D-2", 0.01},
                      ParseCase{" - 2 . 5 ", -2.5}, ParseCase{"\t1\n2", 12}, ParseCase{"1 E 2", 100},
                      ParseCase{"+.5", 0.5}, ParseCase{"-.25", -0.25}, ParseCase{"5.", 5}, ParseCase{".", 0},
                      ParseCase{"E5", 0}, ParseCase{"1E", 1}, ParseCase{"1E+", 1}, ParseCase{"2D-", 2},
                      ParseCase{"", 0}, ParseCase{"   ", 0}, ParseCase{"abc", 0}, ParseCase{"12abc", 12},
                      ParseCase{"1.2.3", 1.2}, ParseCase{"--1", 0}, ParseCase{"+-1", 0}, ParseCase{"0x10", 0},
                      ParseCase{"1,5", 1}, ParseCase{"１２", 0}, ParseCase{"？？？", 0},
                      ParseCase{"\r5", 0},  // a carriage return is not a blank
                      ParseCase{"007", 7}, ParseCase{"0.000", 0}, ParseCase{"1E-999", 0}, ParseCase{"1E999", kInfinity},
                      ParseCase{"-1E999", -kInfinity}, ParseCase{"1E99999999999999999999", kInfinity},
                      ParseCase{"0.0000000000000000000000000000000000001E40", 1000},
                      ParseCase{"123456789012345678901234567890", 1.2345678901234568e29}, ParseCase{"4.61", 4.61},
                      ParseCase{"4.610", 4.61}, ParseCase{"  4.61", 4.61}));

struct StrictCase {
  const char* text;
  std::optional<double> value;
};

void PrintTo(const StrictCase& c, std::ostream* out) { printQuoted(c.text, out); }

class ParseStrict : public ::testing::TestWithParam<StrictCase> {};

TEST_P(ParseStrict, AcceptsOnlyAWholeNumberText) {
  const StrictCase& c = GetParam();
  EXPECT_EQ(parseStrict(c.text), c.value) << '"' << c.text << '"';
}

INSTANTIATE_TEST_SUITE_P(Examples, ParseStrict,
                         ::testing::Values(StrictCase{"2", 2.0}, StrictCase{" 2 ", 2.0}, StrictCase{"\t39\t", 39.0},
                                           StrictCase{"2451546.5", 2451546.5}, StrictCase{"-3", -3.0},
                                           StrictCase{"+5", 5.0}, StrictCase{"5.", 5.0}, StrictCase{".5", 0.5},
                                           StrictCase{"1E3", 1000.0}, StrictCase{"1.5E+16", 1.5e16},
                                           StrictCase{"", std::nullopt}, StrictCase{" ", std::nullopt},
                                           StrictCase{"2x", std::nullopt}, StrictCase{"x2", std::nullopt},
                                           StrictCase{"1 2", std::nullopt}, StrictCase{"- 5", std::nullopt},
                                           StrictCase{".", std::nullopt}, StrictCase{"1E", std::nullopt},
                                           StrictCase{"1E999", std::nullopt}, StrictCase{"1.2.3", std::nullopt},
                                           StrictCase{"２", std::nullopt}));

TEST(ToInt16, RoundsHalfToEven) {
  struct Case {
    double value;
    std::optional<std::int16_t> expected;
  };
  for (const Case& c :
       {Case{2.5, 2}, Case{3.5, 4}, Case{1.5, 2}, Case{0.5, 0}, Case{-0.5, 0}, Case{-2.5, -2}, Case{2.4999, 2},
        Case{2.5001, 3}, Case{100, 100}, Case{32767.4, 32767}, Case{32767.5, std::nullopt}, Case{-32768.5, -32768},
        Case{-32769, std::nullopt}, Case{1e10, std::nullopt}, Case{kInfinity, std::nullopt},
        Case{std::numeric_limits<double>::quiet_NaN(), std::nullopt}}) {
    EXPECT_EQ(toInt16(c.value), c.expected) << c.value;
  }
}

TEST(Floor, RoundsTowardMinusInfinity) {
  EXPECT_EQ(floorTowardMinusInfinity(-2.5), -3);
  EXPECT_EQ(floorTowardMinusInfinity(2.5), 2);
  EXPECT_EQ(floorTowardMinusInfinity(-1e-300), -1);
  EXPECT_EQ(floorTowardMinusInfinity(-3), -3);
  EXPECT_EQ(floorTowardMinusInfinity(1.0 / 3.0), 0);
}

}  // namespace
}  // namespace tenmirel
