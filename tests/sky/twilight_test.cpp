#include "sky/twilight.h"

#include <gtest/gtest.h>

#include "astro/julian_day.h"
#include "sky/site_zone.h"

namespace tenmirel::sky {
namespace {

constexpr double kMinuteDays = 1.0 / 1440;

const Site kTokyo{"東京", 139.6917, 35.6895, 40, "Asia/Tokyo"};
const Site kPrague{"Praha", 14.4167, 50.0833, 250, "Europe/Prague"};
const Site kTromso{"Tromsø", 18.9553, 69.6492, 0, "Europe/Oslo"};
const Site kSydney{"Sydney", 151.2093, -33.8688, 20, "Australia/Sydney"};

NightSky noonToNoon(const Site& site, int year, int month, int day) {
  const SiteZone zone = *SiteZone::fromText(site.zone);
  return NightSky(site, *zone.localToUt(year, month, day, 12, 0), *zone.localToUt(year, month, day + 1, 12, 0), false);
}

// Minutes after local midnight of the evening's date.
double localMinutes(const Site& site, double julianDayUt, int year, int month, int day) {
  const SiteZone zone = *SiteZone::fromText(site.zone);
  return (julianDayUt - *zone.localToUt(year, month, day, 0, 0)) / kMinuteDays;
}

// Sunset and sunrise in Tokyo as the almanac gives them (NAOJ, to the minute).
TEST(Twilight, TokyoSunsetAndSunriseMatchTheAlmanac) {
  struct Case {
    int month, day;
    double sunset, nextSunrise;  // local minutes from the evening's midnight
  };
  for (const Case& c :
       {Case{1, 1, 16 * 60 + 38, 24 * 60 + 6 * 60 + 51}, Case{6, 21, 19 * 60 + 0, 24 * 60 + 4 * 60 + 25}}) {
    const NightSky sky = noonToNoon(kTokyo, 2024, c.month, c.day);
    const DarkStretch night = darkStretch(sky, kSunsetAltitudeDegrees);
    ASSERT_EQ(night.darkness, Darkness::normal);
    ASSERT_TRUE(night.evening && night.morning);
    EXPECT_NEAR(localMinutes(kTokyo, *night.evening, 2024, c.month, c.day), c.sunset, 2);
    EXPECT_NEAR(localMinutes(kTokyo, *night.morning, 2024, c.month, c.day), c.nextSunrise, 2);
  }
}

// Each crossing found on the grid lies within a minute of the crossing of the Sun
// computed afresh for the instant.
TEST(Twilight, CrossingsAgreeWithThePerInstantSun) {
  for (const Site& site : {kTokyo, kPrague, kSydney}) {
    for (int month : {1, 4, 7, 10}) {
      const NightSky sky = noonToNoon(site, 2024, month, 10);
      for (double limit :
           {kSunsetAltitudeDegrees, kCivilTwilightDegrees, kNauticalTwilightDegrees, kAstronomicalTwilightDegrees}) {
        const DarkStretch night = darkStretch(sky, limit);
        if (night.darkness != Darkness::normal) continue;
        ASSERT_TRUE(night.evening && night.morning) << site.name;
        EXPECT_GT(SkyAtInstant(site, *night.evening - kMinuteDays, false).sunAirlessAltitudeDegrees(), limit);
        EXPECT_LT(SkyAtInstant(site, *night.evening + kMinuteDays, false).sunAirlessAltitudeDegrees(), limit);
        EXPECT_LT(SkyAtInstant(site, *night.morning - kMinuteDays, false).sunAirlessAltitudeDegrees(), limit);
        EXPECT_GT(SkyAtInstant(site, *night.morning + kMinuteDays, false).sunAirlessAltitudeDegrees(), limit);
      }
    }
  }
}

TEST(Twilight, HighLatitudes) {
  // Prague in June: nautical darkness but no astronomical darkness.
  const NightSky prague = noonToNoon(kPrague, 2024, 6, 21);
  EXPECT_EQ(darkStretch(prague, kNauticalTwilightDegrees).darkness, Darkness::normal);
  EXPECT_EQ(darkStretch(prague, kAstronomicalTwilightDegrees).darkness, Darkness::neverDark);
  // Above the polar circle: the midnight Sun in June, the polar night in December.
  const NightSky summer = noonToNoon(kTromso, 2024, 6, 21);
  EXPECT_EQ(darkStretch(summer, kSunsetAltitudeDegrees).darkness, Darkness::neverDark);
  const NightSky winter = noonToNoon(kTromso, 2024, 12, 21);
  const DarkStretch polarNight = darkStretch(winter, kSunsetAltitudeDegrees);
  EXPECT_EQ(polarNight.darkness, Darkness::alwaysDark);
  EXPECT_EQ(polarNight.startUt, winter.startUt());
  EXPECT_EQ(polarNight.endUt, winter.endUt());
  // ...but the Sun still comes within 6° of the horizon at noon.
  EXPECT_EQ(darkStretch(winter, kAstronomicalTwilightDegrees).darkness, Darkness::normal);
}

TEST(Twilight, MoonRisesAndSets) {
  const NightSky sky = noonToNoon(kPrague, 2024, 1, 20);
  const std::vector<MoonCrossing> crossings = moonCrossings(sky, sky.startUt(), sky.endUt());
  ASSERT_FALSE(crossings.empty());
  for (const MoonCrossing& crossing : crossings) {
    const double before = sky.moonAirlessAltitudeDegrees(crossing.julianDayUt - kMinuteDays);
    const double after = sky.moonAirlessAltitudeDegrees(crossing.julianDayUt + kMinuteDays);
    EXPECT_EQ(after > before, crossing.rising);
    EXPECT_NEAR(sky.moonAirlessAltitudeDegrees(crossing.julianDayUt), -0.83, 0.1);
  }
}

}  // namespace
}  // namespace tenmirel::sky
