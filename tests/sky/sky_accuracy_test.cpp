// The gridded sky of the night plan against ERFA computed afresh for every instant,
// over random sites, dates and stars.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "astro/julian_day.h"
#include "sky/sky_place.h"

namespace tenmirel::sky {
namespace {

constexpr double kStarToleranceDegrees = 0.01;
constexpr double kSunToleranceDegrees = 0.01;
constexpr double kMoonToleranceDegrees = 0.05;
constexpr double kIlluminationTolerance = 0.01;
constexpr double kDegree = M_PI / 180;

// Azimuth differences shrink towards the zenith, where azimuth means little.
double azimuthMiss(const HorizontalPlace& a, const HorizontalPlace& b) {
  double difference = std::fabs(a.azimuthDegrees - b.azimuthDegrees);
  if (difference > 180) difference = 360 - difference;
  return difference * std::cos(a.altitudeDegrees * kDegree);
}

struct RandomSky {
  Site site;
  double start;
  bool refraction;
};

RandomSky randomSky(std::mt19937_64& random, int i) {
  std::uniform_real_distribution<double> longitude(-180, 180);
  std::uniform_real_distribution<double> sinLatitude(-0.999, 0.999);
  std::uniform_real_distribution<double> height(0, 3000);
  std::uniform_real_distribution<double> date(js(1800, 1, 1, 0, 0), js(2200, 1, 1, 0, 0));
  Site site{"random", longitude(random), std::asin(sinLatitude(random)) / kDegree, height(random), "UTC"};
  return {site, date(random), i % 3 == 0};
}

TEST(SkyAccuracy, StarsSunAndMoonOnTheGridMatchThePerInstantComputation) {
  std::mt19937_64 random(31);
  std::uniform_real_distribution<double> ra(0, 360);
  std::uniform_real_distribution<double> sinDec(-1, 1);
  std::uniform_real_distribution<double> within(0, 1);
  double worstStar = 0;
  double worstSun = 0;
  double worstMoon = 0;
  for (int night = 0; night < 40; ++night) {
    const RandomSky setting = randomSky(random, night);
    const NightSky sky(setting.site, setting.start, setting.start + 1, setting.refraction);
    for (int i = 0; i < 25; ++i) {
      const double t = setting.start + within(random);
      const SkyAtInstant direct(setting.site, t, setting.refraction);
      const double starRa = ra(random);
      const double starDec = std::asin(sinDec(random)) / kDegree;
      const SkySample fast = sky.sample(t, true, starRa, starDec);
      const HorizontalPlace star = direct.star(starRa, starDec);
      // Refraction is steep at the horizon: compare where it is well defined.
      if (!setting.refraction || star.altitudeDegrees > -0.5) {
        EXPECT_NEAR(fast.star.altitudeDegrees, star.altitudeDegrees, kStarToleranceDegrees);
        EXPECT_LT(azimuthMiss(fast.star, star), kStarToleranceDegrees);
        worstStar = std::max(worstStar, std::fabs(fast.star.altitudeDegrees - star.altitudeDegrees));
      }
      const HorizontalPlace sun = direct.sun();
      if (!setting.refraction || sun.altitudeDegrees > -0.5) {
        EXPECT_NEAR(fast.sun.altitudeDegrees, sun.altitudeDegrees, kSunToleranceDegrees);
        worstSun = std::max(worstSun, std::fabs(fast.sun.altitudeDegrees - sun.altitudeDegrees));
      }
      EXPECT_NEAR(sky.sunAirlessAltitudeDegrees(t), direct.sunAirlessAltitudeDegrees(), kSunToleranceDegrees);
      const HorizontalPlace moon = direct.moon();
      if (!setting.refraction || moon.altitudeDegrees > -0.5) {
        EXPECT_NEAR(fast.moon.altitudeDegrees, moon.altitudeDegrees, kMoonToleranceDegrees);
        worstMoon = std::max(worstMoon, std::fabs(fast.moon.altitudeDegrees - moon.altitudeDegrees));
      }
      EXPECT_NEAR(sky.moonAirlessAltitudeDegrees(t), direct.moonAirlessAltitudeDegrees(), kMoonToleranceDegrees);
      EXPECT_NEAR(fast.moonIlluminatedFraction, direct.moonIlluminatedFraction(), kIlluminationTolerance);
      EXPECT_NEAR(fast.moonSeparationDegrees, direct.moonSeparationDegrees(starRa, starDec), kMoonToleranceDegrees);
    }
  }
  RecordProperty("worstStarDegrees", std::to_string(worstStar));
  RecordProperty("worstSunDegrees", std::to_string(worstSun));
  RecordProperty("worstMoonDegrees", std::to_string(worstMoon));
  std::printf("worst differences: star %.6f°, Sun %.6f°, Moon %.6f°\n", worstStar, worstSun, worstMoon);
}

// The star at the celestial pole stands at the site's latitude; the refraction
// option lifts a star near the horizon by about half a degree.
TEST(SkySanity, PoleStarAndRefraction) {
  const Site site{"north", 10, 50, 0, "UTC"};
  const double t = js(2024, 1, 15, 22, 0);
  const SkyAtInstant direct(site, t, false);
  // The celestial pole of date is about 0.3° from the J2000 pole in 2024.
  EXPECT_NEAR(direct.star(0, 90).altitudeDegrees, 50, 0.5);
  const NightSky airless(site, t - 0.1, t + 0.1, false);
  const NightSky refracted(site, t - 0.1, t + 0.1, true);
  // A star found near the horizon: scan declinations at the meridian below the pole.
  for (double dec = -39; dec < -38; dec += 0.25) {
    const double low = airless.star(t, 0, dec).altitudeDegrees;
    const double lifted = refracted.star(t, 0, dec).altitudeDegrees - low;
    if (low > 0.5 && low < 3) {
      EXPECT_GT(lifted, 0.15);
      EXPECT_LT(lifted, 0.5);
    }
  }
}

TEST(SkySanity, MoonIsFullAndNewWhenTheAlmanacSays) {
  const Site site{"Greenwich", 0, 51.48, 0, "UTC"};
  // Full Moon 2024-01-25 17:54 UT, new Moon 2024-01-11 11:57 UT.
  EXPECT_GT(SkyAtInstant(site, js(2024, 1, 25, 17, 54), false).moonIlluminatedFraction(), 0.995);
  EXPECT_LT(SkyAtInstant(site, js(2024, 1, 11, 11, 57), false).moonIlluminatedFraction(), 0.005);
  const NightSky sky(site, js(2024, 1, 17, 0, 0), js(2024, 1, 18, 0, 0), false);
  EXPECT_TRUE(sky.moonWaxing(js(2024, 1, 17, 12, 0)));
  EXPECT_NEAR(sky.moonIlluminatedFraction(js(2024, 1, 18, 3, 53)), 0.5, 0.04);  // first quarter
}

}  // namespace
}  // namespace tenmirel::sky
