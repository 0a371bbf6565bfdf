#include "sky/site_zone.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iomanip>
#include <limits>
#include <random>
#include <tuple>

#include "astro/julian_day.h"

namespace tenmirel::sky {
namespace {

SiteZone zoneOf(const char* text) {
  const Checked<SiteZone> zone = SiteZone::fromText(text);
  EXPECT_TRUE(zone.ok()) << zone.message();
  return *zone;
}

TEST(ZoneText, FixedOffsetsAreNormalised) {
  struct Case {
    const char* text;
    int seconds;
    const char* stored;
  };
  for (const Case& c : {Case{"UTC+09:00", 32400, "UTC+09:00"}, Case{"UTC+9", 32400, "UTC+09:00"},
                        Case{"UTC-03:30", -12600, "UTC-03:30"}, Case{"UTC+0530", 19800, "UTC+05:30"},
                        Case{"UTC", 0, "UTC+00:00"}, Case{"UTC+14:00", 50400, "UTC+14:00"}}) {
    const SiteZone zone = zoneOf(c.text);
    ASSERT_TRUE(zone.fixedOffset().has_value()) << c.text;
    EXPECT_EQ(zone.fixedOffset()->seconds, c.seconds) << c.text;
    EXPECT_EQ(zone.text(), c.stored);
  }
}

TEST(ZoneText, UnknownZonesAreRefused) {
  for (const char* text :
       {"", "UTC+15:00", "UTC+09:60", "UTC+9:0", "UTC*09:00", "Asia/Nowhere", "Tokyo", "UTC+09:00:00", "asia/tokyo_"}) {
    const Checked<SiteZone> zone = SiteZone::fromText(text);
    EXPECT_FALSE(zone.ok()) << text;
    EXPECT_NE(zone.message().find("時間帯"), std::string::npos) << text;
  }
  EXPECT_TRUE(SiteZone::fromText("Asia/Tokyo").ok());
  EXPECT_FALSE(SiteZone::fromText("Asia/Tokyo").value().fixedOffset().has_value());
}

// The built-in zone must give the designed conversions bit for bit.
TEST(BuiltInZone, LocalToUtIsJsWithTheHourLessNine) {
  const SiteZone zone = zoneOf("UTC+09:00");
  std::mt19937_64 random(11);
  std::uniform_real_distribution<double> any(-40, 80);
  for (int i = 0; i < 20000; ++i) {
    const double year = 1600 + static_cast<int>(any(random) * 17 + 700);
    const double month = static_cast<int>(any(random)) % 14;
    const double day = i % 3 == 0 ? any(random) : static_cast<int>(any(random)) % 32;
    const double hour = i % 5 == 0 ? any(random) : static_cast<int>(any(random)) % 24;
    const double minute = i % 7 == 0 ? any(random) : static_cast<int>(any(random)) % 60;
    const Checked<double> ut = zone.localToUt(year, month, day, hour, minute);
    ASSERT_TRUE(ut.ok());
    const double designed = js(year, month, day, hour - 9, minute);
    EXPECT_EQ(*ut, designed);
  }
}

TEST(BuiltInZone, UtToLocalIsSj) {
  const SiteZone zone = zoneOf("UTC+09:00");
  std::mt19937_64 random(12);
  std::uniform_real_distribution<double> instant(2305000, 2817000);
  for (int i = 0; i < 20000; ++i) {
    const double jd = i % 4 == 0 ? std::floor(instant(random) * 1440) / 1440 : instant(random);
    double copy = jd;
    const LocalMinute designed = sj(copy);
    const ZonedMinute local = zone.utToLocal(jd);
    EXPECT_EQ(local.offset, kBuiltInOffset);
    EXPECT_EQ(
        std::tie(local.minute.year, local.minute.month, local.minute.day, local.minute.hour, local.minute.minute,
                 local.minute.yearFound),
        std::tie(designed.year, designed.month, designed.day, designed.hour, designed.minute, designed.yearFound));
  }
}

// The search used for every other offset agrees with sj where both apply, also on
// instants exactly at whole minutes.
TEST(LocalMinuteSearch, AgreesWithSjOnTheSameLocalDay) {
  std::mt19937_64 random(13);
  std::uniform_real_distribution<double> instant(2305500, 2816700);
  for (int i = 0; i < 50000; ++i) {
    double jd = instant(random);
    if (i % 2 == 0) jd = js(1600 + i % 1400, 1 + i % 12, 1 + i % 28, i % 24 - 9, i % 60);
    double copy = jd;
    const LocalMinute designed = sj(copy);
    const LocalMinute searched = splitLocalJulianDay(jd + kLocalDaysAheadOfUt);
    ASSERT_EQ(std::tie(searched.year, searched.month, searched.day, searched.hour, searched.minute),
              std::tie(designed.year, designed.month, designed.day, designed.hour, designed.minute))
        << std::setprecision(17) << jd;
  }
}

struct ZoneCase {
  const char* zone;
  int year, month, day, hour, minute;
  // UT of the local time, or -1 when the local time does not exist.
  int utDay, utHour, utMinute;
  int offsetSeconds;
};

class LocalToUt : public ::testing::TestWithParam<ZoneCase> {};

TEST_P(LocalToUt, TakesTheOffsetInForce) {
  const ZoneCase& c = GetParam();
  const SiteZone zone = zoneOf(c.zone);
  const Checked<double> ut = zone.localToUt(c.year, c.month, c.day, c.hour, c.minute);
  if (c.utDay < 0) {
    ASSERT_FALSE(ut.ok());
    EXPECT_NE(ut.message().find("存在しない時刻"), std::string::npos) << ut.message();
    return;
  }
  ASSERT_TRUE(ut.ok()) << ut.message();
  EXPECT_NEAR(*ut, js(c.year, c.month, c.utDay, c.utHour, c.utMinute), 1e-8);
  EXPECT_EQ(zone.offsetAtUt(*ut).seconds, c.offsetSeconds);
  // And back again to the same local minute.
  const ZonedMinute back = zone.utToLocal(*ut + 1e-7);
  EXPECT_EQ(std::tie(back.minute.year, back.minute.month, back.minute.day, back.minute.hour, back.minute.minute),
            std::tie(c.year, c.month, c.day, c.hour, c.minute));
}

INSTANTIATE_TEST_SUITE_P(Transitions, LocalToUt,
                         ::testing::Values(
                             // Europe/Prague: spring forward 02:00 -> 03:00, fall back 03:00 -> 02:00.
                             ZoneCase{"Europe/Prague", 2024, 3, 31, 1, 59, 31, 0, 59, 3600},
                             ZoneCase{"Europe/Prague", 2024, 3, 31, 2, 30, -1, 0, 0, 0},
                             ZoneCase{"Europe/Prague", 2024, 3, 31, 3, 0, 31, 1, 0, 7200},
                             ZoneCase{"Europe/Prague", 2024, 10, 27, 2, 30, 27, 0, 30, 7200},  // twice: the earlier
                             ZoneCase{"Europe/Prague", 2024, 10, 27, 3, 0, 27, 2, 0, 3600},
                             ZoneCase{"Europe/Prague", 2024, 7, 1, 22, 0, 1, 20, 0, 7200},
                             // America/New_York.
                             ZoneCase{"America/New_York", 2024, 3, 10, 2, 30, -1, 0, 0, 0},
                             ZoneCase{"America/New_York", 2024, 3, 10, 3, 0, 10, 7, 0, -14400},
                             ZoneCase{"America/New_York", 2024, 11, 3, 1, 30, 3, 5, 30, -14400},  // twice: the earlier
                             ZoneCase{"America/New_York", 2024, 11, 3, 2, 0, 3, 7, 0, -18000},
                             ZoneCase{"America/New_York", 2024, 1, 15, 20, 0, 16, 1, 0, -18000},
                             // Australia/Sydney, southern hemisphere: summer time over the new year.
                             ZoneCase{"Australia/Sydney", 2024, 4, 7, 2, 30, 6, 15, 30, 39600},  // twice: the earlier
                             ZoneCase{"Australia/Sydney", 2024, 4, 7, 3, 0, 6, 17, 0, 36000},
                             ZoneCase{"Australia/Sydney", 2024, 10, 6, 2, 30, -1, 0, 0, 0},
                             ZoneCase{"Australia/Sydney", 2024, 10, 6, 3, 0, 5, 16, 0, 39600},
                             ZoneCase{"Australia/Sydney", 2024, 1, 1, 0, 0, 0, 13, 0, 39600},
                             // Japan's summer time of 1948-1951 under Asia/Tokyo.
                             ZoneCase{"Asia/Tokyo", 1948, 5, 2, 0, 30, -1, 0, 0, 0},
                             ZoneCase{"Asia/Tokyo", 1948, 5, 2, 1, 0, 1, 15, 0, 36000},
                             ZoneCase{"Asia/Tokyo", 1948, 7, 1, 13, 0, 1, 3, 0, 36000},
                             ZoneCase{"Asia/Tokyo", 1948, 9, 12, 0, 30, 11, 14, 30, 36000},  // twice: the earlier
                             ZoneCase{"Asia/Tokyo", 1951, 7, 1, 21, 0, 1, 11, 0, 36000},
                             ZoneCase{"Asia/Tokyo", 1952, 7, 1, 21, 0, 1, 12, 0, 32400},
                             // Fixed offsets west of Greenwich and with half hours.
                             ZoneCase{"UTC-03:30", 2024, 6, 1, 22, 15, 2, 1, 45, -12600},
                             ZoneCase{"UTC+05:30", 2024, 6, 1, 3, 0, 0, 21, 30, 19800}));

TEST(UtToLocal, FollowsTheOffsetAtTheInstant) {
  const SiteZone prague = zoneOf("Europe/Prague");
  const double lastWinterSecond = js(2024, 3, 31, 0, 59) + 59.0 / 86400;
  const ZonedMinute before = prague.utToLocal(lastWinterSecond);
  EXPECT_EQ(before.offset.seconds, 3600);
  EXPECT_EQ(before.minute.hour, 1);
  EXPECT_EQ(before.minute.minute, 59);
  const ZonedMinute after = prague.utToLocal(js(2024, 3, 31, 1, 0) + 1e-9);
  EXPECT_EQ(after.offset.seconds, 7200);
  EXPECT_EQ(after.minute.hour, 3);
  EXPECT_EQ(after.minute.minute, 0);
}

TEST(LocalTexts, IsoWithOffset) {
  LocalMinute minute;
  minute.year = 2024;
  minute.month = 1;
  minute.day = 5;
  minute.hour = 21;
  minute.minute = 4;
  EXPECT_EQ(localMinuteText(minute), "2024-01-05 21:04");
  EXPECT_EQ(isoMinuteText(minute, kBuiltInOffset), "2024-01-05T21:04+09:00");
  EXPECT_EQ(isoMinuteText(minute, UtOffset{-12600}), "2024-01-05T21:04-03:30");
  EXPECT_EQ(UtOffset{33539}.text(), "+09:18:59");
}

TEST(ZoneNames, ListsTheSystemZones) {
  const std::vector<std::string> names = knownZoneNames();
  EXPECT_GT(names.size(), 300u);
  EXPECT_TRUE(std::binary_search(names.begin(), names.end(), "Asia/Tokyo"));
  EXPECT_TRUE(std::binary_search(names.begin(), names.end(), "Europe/Prague"));
}

TEST(ZoneRange, AbsurdLocalTimesAreRefusedNotCrashed) {
  const SiteZone zone = zoneOf("Europe/Prague");
  EXPECT_FALSE(zone.localToUt(1e12, 1, 1, 0, 0).ok());
  EXPECT_FALSE(zone.localToUt(std::numeric_limits<double>::quiet_NaN(), 1, 1, 0, 0).ok());
  (void)zone.utToLocal(std::numeric_limits<double>::infinity());
}

}  // namespace
}  // namespace tenmirel::sky
