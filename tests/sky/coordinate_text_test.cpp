#include "sky/coordinate_text.h"

#include <gtest/gtest.h>

#include <limits>

#include "sky/site.h"

namespace tenmirel::sky {
namespace {

struct Readable {
  const char* text;
  CoordinateKind kind;
  double degrees;
};

class ReadableCoordinate : public ::testing::TestWithParam<Readable> {};

TEST_P(ReadableCoordinate, GivesDegrees) {
  const Checked<double> read = parseCoordinate(GetParam().text, GetParam().kind);
  ASSERT_TRUE(read.ok()) << read.message();
  EXPECT_NEAR(*read, GetParam().degrees, 1e-12);
}

constexpr auto lon = CoordinateKind::longitude;
constexpr auto lat = CoordinateKind::latitude;

INSTANTIATE_TEST_SUITE_P(
    Forms, ReadableCoordinate,
    ::testing::Values(Readable{"139", lon, 139}, Readable{"139.5", lon, 139.5}, Readable{"  -33.87 ", lat, -33.87},
                      Readable{"+14.42", lon, 14.42}, Readable{"139 00", lon, 139}, Readable{"139°00′", lon, 139},
                      Readable{"139° 30′", lon, 139.5}, Readable{"-33 52 10", lat, -(33 + 52 / 60.0 + 10 / 3600.0)},
                      Readable{"35°30'15\"", lat, 35 + 30 / 60.0 + 15 / 3600.0},
                      Readable{"35°30′15″", lat, 35 + 30 / 60.0 + 15 / 3600.0},
                      Readable{"35:30:15.5", lat, 35 + 30 / 60.0 + 15.5 / 3600.0},
                      Readable{"33 52 S", lat, -(33 + 52 / 60.0)}, Readable{"N35", lat, 35},
                      Readable{"71 15 W", lon, -(71 + 15 / 60.0)}, Readable{"\u221233.5", lat, -33.5},
                      Readable{"35 30.5", lat, 35 + 30.5 / 60}, Readable{"90", lat, 90}, Readable{"-180", lon, -180},
                      Readable{"0", lat, 0}, Readable{"\u3000139\u3000", lon, 139}));

struct Refused {
  const char* text;
  CoordinateKind kind;
};

class RefusedCoordinate : public ::testing::TestWithParam<Refused> {};

TEST_P(RefusedCoordinate, SaysWhyInJapanese) {
  const Checked<double> read = parseCoordinate(GetParam().text, GetParam().kind);
  EXPECT_FALSE(read.ok());
  EXPECT_NE(read.message().find(coordinateName(GetParam().kind)), std::string::npos) << read.message();
}

INSTANTIATE_TEST_SUITE_P(Junk, RefusedCoordinate,
                         ::testing::Values(Refused{"", lat}, Refused{"   ", lon}, Refused{"abc", lat},
                                           Refused{"35x", lat}, Refused{"35 60", lat}, Refused{"35 30 60", lat},
                                           Refused{"35.5 30", lat}, Refused{"1 2 3 4", lat}, Refused{"90.0001", lat},
                                           Refused{"-91", lat}, Refused{"180.5", lon}, Refused{"35 E", lat},
                                           Refused{"139 N", lon}, Refused{"-35 S", lat}, Refused{"--35", lat},
                                           Refused{"3.5.1", lat}, Refused{"nan", lat}, Refused{"1e3", lon},
                                           Refused{".", lat}, Refused{"99999999999999999999999999999999999999", lon}));

TEST(BuiltInSite, IsTheDesignedSite) {
  const Site site = builtInSite();
  EXPECT_EQ(site.name, "既定の観測地");
  EXPECT_EQ(site.longitudeDegrees, 139.0);
  EXPECT_EQ(site.latitudeDegrees, 35.0);
  EXPECT_EQ(site.heightMetres, 0.0);
  EXPECT_EQ(site.zone, "UTC+09:00");
  EXPECT_FALSE(validateSite(site).has_value());
  EXPECT_TRUE(isBuiltIn(site));
}

TEST(SiteValidation, RefusesEachBadField) {
  const Site good{"Ondřejov", 14.78, 49.91, 528, "Europe/Prague"};
  EXPECT_FALSE(validateSite(good).has_value());
  Site bad = good;
  bad.latitudeDegrees = 90.5;
  EXPECT_NE(validateSite(bad).value_or("").find("緯度"), std::string::npos);
  bad = good;
  bad.longitudeDegrees = -180.5;
  EXPECT_NE(validateSite(bad).value_or("").find("経度"), std::string::npos);
  bad = good;
  bad.zone = "Europe/Atlantis";
  EXPECT_NE(validateSite(bad).value_or("").find("Europe/Atlantis"), std::string::npos);
  bad = good;
  bad.name.clear();
  EXPECT_TRUE(validateSite(bad).has_value());
  bad = good;
  bad.heightMetres = std::numeric_limits<double>::quiet_NaN();
  EXPECT_TRUE(validateSite(bad).has_value());
}

}  // namespace
}  // namespace tenmirel::sky
