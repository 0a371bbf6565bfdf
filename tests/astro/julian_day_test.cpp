#include "astro/julian_day.h"

#include <gtest/gtest.h>

#include <ostream>
#include <random>

#include "common/number_text.h"
#include "support/sj_reference.h"

namespace tenmirel {
namespace {

using testing::literalScanSj;

struct JsCase {
  double nen, tuki, hi, ji, hun;
  const char* expected;  // as the window would show it
};

void PrintTo(const JsCase& c, std::ostream* out) {
  *out << "js(" << c.nen << "," << c.tuki << "," << c.hi << "," << c.ji << "," << c.hun << ")";
}

class JsExamples : public ::testing::TestWithParam<JsCase> {};

TEST_P(JsExamples, GivesTheJulianDay) {
  const JsCase& c = GetParam();
  EXPECT_EQ(numberToText(js(c.nen, c.tuki, c.hi, c.ji, c.hun)), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Calendar, JsExamples,
    ::testing::Values(
        JsCase{1999, 3, 21, 0, 0, "2451258.5"},                                          // local 09:00 less nine hours
        JsCase{2000, 1, 1, 0, 0, "2451544.5"}, JsCase{2000, 3, 1, 12, 0, "2451605"},     // leap day counted from March
        JsCase{2001, 3, 1, 0, 0, "2451969.5"}, JsCase{1900, 2, 28, 0, 0, "2415078.5"},   // 1900 is a common year
        JsCase{1900, 3, 1, 0, 0, "2415079.5"}, JsCase{1582, 10, 15, 0, 0, "2299160.5"},  // no Julian-calendar switch
        JsCase{1582, 10, 4, 0, 0, "2299149.5"}, JsCase{1, 1, 1, 0, 0, "1721425.5"}, JsCase{0, 1, 1, 0, 0, "1721059.5"},
        JsCase{1999, 3, 21, -4, 0, "2451258.33333333"},  // negative hour: previous UT day
        JsCase{2000, 3, 1, 18, 53, "2451605.28680556"}, JsCase{2000, 3, 1, 18, 54, "2451605.2875"},
        JsCase{2000, 2, 32, 0, 0, "2451606.5"},  // day 32 runs into March
        JsCase{2001, 13, 1, 0, 0, "2451910.5"},  // month 13: no offset
        JsCase{2000, 13, 1, 0, 0, "2451545.5"},  // leap day still added past February
        JsCase{2001, 0, 1, 0, 0, "2451910.5"}));

TEST(Js, LeapYearRestsOnTheYearAloneOnEveryCall) {
  const double after2000 = js(2001, 3, 1, 0, 0);
  js(2000, 3, 1, 0, 0);
  EXPECT_EQ(js(2001, 3, 1, 0, 0), after2000);
  EXPECT_EQ(js(2000, 3, 1, 0, 0) - js(2000, 2, 28, 0, 0), 2);  // 29 February exists
  EXPECT_EQ(js(2100, 3, 1, 0, 0) - js(2100, 2, 28, 0, 0), 1);  // 2100 is common
}

struct SjCase {
  double juli;
  const char* year;
  int month, day, hour, minute;
};

void PrintTo(const SjCase& c, std::ostream* out) { *out << "sj(" << numberToText(c.juli) << ")"; }

class SjExamples : public ::testing::TestWithParam<SjCase> {};

TEST_P(SjExamples, GivesTheLocalMinute) {
  const SjCase& c = GetParam();
  double juli = c.juli;
  const LocalMinute found = sj(juli);
  EXPECT_EQ(found.yearFound ? std::to_string(found.year) : std::string(), c.year);
  EXPECT_EQ(found.month, c.month);
  EXPECT_EQ(found.day, c.day);
  EXPECT_EQ(found.hour, c.hour);
  EXPECT_EQ(found.minute, c.minute);
}

INSTANTIATE_TEST_SUITE_P(
    Search, SjExamples,
    ::testing::Values(SjCase{2451604.91234, "2000", 3, 1, 18, 53}, SjCase{2451545.0, "2000", 1, 1, 21, 0},
                      SjCase{2451544.5, "2000", 1, 1, 9, 0},
                      SjCase{2451604.9125, "2000", 3, 1, 18, 54},  // exactly on a minute: not later than
                      SjCase{js(3001, 1, 1, 0, 0) - 0.375 + 0.5, "3000", 12, 31, 23,
                             59},  // past the last year searched
                      SjCase{9e6, "3000", 12, 31, 23, 59},
                      SjCase{2305447.125 - 0.001, "", 12, 31, 23, 59},  // before 1600: year 0 searched
                      SjCase{2305447.125, "1600", 1, 1, 0, 0}));

TEST(Sj, AddsNineHoursToTheCallersVariable) {
  double juli = 2451604.91234;
  sj(juli);
  EXPECT_EQ(juli, 2451604.91234 + 0.375);
  EXPECT_EQ(numberToText(juli), "2451605.28734");
}

TEST(Sj, EarlierThan1600FindsNoYearAndSearchesWithYearZero) {
  double juli = 2000000.0;
  const LocalMinute found = sj(juli);
  EXPECT_FALSE(found.yearFound);
  EXPECT_EQ(found.year, 0);
  double reference = 2000000.0;
  const LocalMinute scanned = literalScanSj(reference);
  EXPECT_EQ(found.month, scanned.month);
  EXPECT_EQ(found.day, scanned.day);
  EXPECT_EQ(found.hour, scanned.hour);
  EXPECT_EQ(found.minute, scanned.minute);
}

TEST(Sj, AgreesWithTheLiteralScanEverywhere) {
  std::mt19937_64 random(20261207);
  std::uniform_real_distribution<double> anyDay(2280000.0, 2830000.0);  // 1530 to 3036
  std::uniform_int_distribution<int> minuteOfRange(0, 1440 * 366 * 1400);
  auto check = [](double julianDay) {
    double fast = julianDay;
    double slow = julianDay;
    const LocalMinute a = sj(fast);
    const LocalMinute b = literalScanSj(slow);
    ASSERT_EQ(fast, slow);
    ASSERT_EQ(a.yearFound, b.yearFound) << julianDay;
    ASSERT_EQ(a.year, b.year) << julianDay;
    ASSERT_EQ(a.month, b.month) << julianDay;
    ASSERT_EQ(a.day, b.day) << julianDay;
    ASSERT_EQ(a.hour, b.hour) << julianDay;
    ASSERT_EQ(a.minute, b.minute) << julianDay;
  };
  for (int i = 0; i < 20000; ++i) check(anyDay(random));
  // Whole minutes and their neighbours, where the not-later-than comparison decides.
  for (int i = 0; i < 20000; ++i) {
    const double onMinute = 2305447.125 + minuteOfRange(random) / 1440.0;
    check(onMinute);
    check(std::nextafter(onMinute, 0.0));
    check(std::nextafter(onMinute, 1e9));
  }
}

}  // namespace
}  // namespace tenmirel
