#include "sky/time_system.h"

#include <gtest/gtest.h>

#include <random>

#include "astro/julian_day.h"

namespace tenmirel::sky {
namespace {

constexpr double kSecondDays = 1.0 / 86400;
constexpr double kMinuteDays = 1.0 / 1440;
// Algol, J2000.
const StarDirection kAlgol = starDirection(47.0422, 40.9556);

TEST(ElementsTime, JdIsTheInstantItself) {
  EXPECT_EQ(elementsTimeOf(2460325.123456, ElementsTime::jd, kAlgol), 2460325.123456);
  EXPECT_EQ(observedUtOf(2460325.123456, ElementsTime::jd, kAlgol), 2460325.123456);
}

// Taking Algol's heliocentric minima as geocentric puts them about seven minutes
// late in December and seven early in June.
TEST(ElementsTime, AlgolsHeliocentricCorrectionChangesSignOverTheYear) {
  const double december = js(2023, 12, 15, 0, 0);
  const double june = js(2024, 6, 15, 0, 0);
  const double decemberShift = (elementsTimeOf(december, ElementsTime::hjd, kAlgol) - december) / kMinuteDays;
  const double juneShift = (elementsTimeOf(june, ElementsTime::hjd, kAlgol) - june) / kMinuteDays;
  EXPECT_GT(decemberShift, 5.5);
  EXPECT_LT(decemberShift, 8.4);
  EXPECT_LT(juneShift, -5.5);
  EXPECT_GT(juneShift, -8.4);
}

// BJD_TDB differs from HJD by TDB - UTC (69.184 s in 2024, leap seconds included)
// and by the Sun's few light-seconds from the barycentre.
TEST(ElementsTime, BarycentricAddsTdbMinusUtc) {
  const double jd = js(2024, 3, 1, 0, 0);
  const double difference =
      (elementsTimeOf(jd, ElementsTime::bjdTdb, kAlgol) - elementsTimeOf(jd, ElementsTime::hjd, kAlgol)) / kSecondDays;
  EXPECT_NEAR(difference, 69.184, 8);
  // Before the leap-second table only TT - TAI counts.
  const double early = js(1900, 3, 1, 0, 0);
  const double earlyDifference =
      (elementsTimeOf(early, ElementsTime::bjdTdb, kAlgol) - elementsTimeOf(early, ElementsTime::hjd, kAlgol)) /
      kSecondDays;
  EXPECT_NEAR(earlyDifference, 32.184, 8);
}

TEST(ElementsTime, RoundTripsOverRandomStarsAndDates) {
  std::mt19937_64 random(21);
  std::uniform_real_distribution<double> date(js(1700, 1, 1, 0, 0), js(2300, 1, 1, 0, 0));
  std::uniform_real_distribution<double> ra(0, 360);
  std::uniform_real_distribution<double> sinDec(-1, 1);
  for (int i = 0; i < 2000; ++i) {
    const StarDirection star = starDirection(ra(random), std::asin(sinDec(random)) * 180 / M_PI);
    const double jd = date(random);
    for (ElementsTime system : {ElementsTime::hjd, ElementsTime::bjdTdb}) {
      const double elements = elementsTimeOf(jd, system, star);
      EXPECT_LT(std::fabs(elements - jd), 10 * kMinuteDays);
      const double back = observedUtOf(elements, system, star);
      ASSERT_NEAR(back, jd, 1e-3 * kSecondDays) << elementsTimeName(system) << ' ' << jd;
    }
  }
}

TEST(ElementsTime, NonFiniteStaysNonFiniteWithoutHanging) {
  EXPECT_FALSE(std::isfinite(observedUtOf(std::numeric_limits<double>::infinity(), ElementsTime::hjd, kAlgol)));
}

}  // namespace
}  // namespace tenmirel::sky
