#include "astro/altitude.h"

#include <gtest/gtest.h>

#include <cmath>

#include "common/number_text.h"

namespace tenmirel {
namespace {

TEST(CalcSidereal, WorkedExampleGivesTheExactTexts) {
  CalcLabels labels;
  const double jd = 2451545.2;
  const double theta = CalcSidereal(jd, labels);
  EXPECT_EQ(labels.lblTu[0], "36524.5");
  EXPECT_EQ(labels.lblTu[1], "0.999986310746064");
  EXPECT_EQ(labels.lblS0[0], "8640066.26431975");
  EXPECT_EQ(labels.lblS0[1], "0.0928974565540277");
  EXPECT_EQ(labels.lblS0[2], "8663992.1932172");
  EXPECT_EQ(labels.lblS[0], "8663992.1932172");
  EXPECT_EQ(labels.lblS[1], "60480.0000160933");  // the representation error of the JD stays
  EXPECT_EQ(labels.lblS[2], "33360");
  EXPECT_EQ(labels.lblS[3], "165.594240044063");
  EXPECT_EQ(labels.lblS[4], "31597.7874733396");
  EXPECT_EQ(numberToText(theta), "131.657447805582");
  EXPECT_EQ(jd, 2451545.2);
}

TEST(CalcAltitude, WorkedExampleGivesTheExactTexts) {
  CalcLabels labels;
  const double theta = CalcSidereal(2451545.2, labels);
  const double alpha = 88.75;  // 5h 55m
  const double delta = 7.4;    // +7° 24′
  const double h = CalcAltitude(alpha, delta, theta, labels);
  EXPECT_EQ(labels.lblSinh[0], "0.573576435779265");
  EXPECT_EQ(labels.lblSinh[1], "0.128795596431212");
  EXPECT_EQ(labels.lblSinh[2], "0.819152044689357");
  EXPECT_EQ(labels.lblSinh[3], "0.991671162402098");
  EXPECT_EQ(labels.lblSinh[4], "0.732454407140434");
  EXPECT_EQ(labels.lblSinh[5], "0.668868412421965");
  EXPECT_EQ(labels.lblH, "41.9797883471278");
  EXPECT_EQ(numberToText(h), "41.9797883471278");
  // The sidereal cells are left as the first call wrote them.
  EXPECT_EQ(labels.lblS[4], "31597.7874733396");
}

TEST(CalcSidereal, AtZeroHoursUtTheIntervalTermsAreZero) {
  CalcLabels labels;
  const double theta = CalcSidereal(2451544.5, labels);
  EXPECT_EQ(labels.lblS[1], "0");
  EXPECT_EQ(labels.lblS[3], "0");
  EXPECT_EQ(labels.lblS[4], "57352.1932171993");
  EXPECT_EQ(numberToText(theta), "238.96747173833");
}

TEST(CalcSidereal, StaysWithinOneTurnOverManyDays) {
  CalcLabels labels;
  for (double jd = 2400000.0; jd < 2600000.0; jd += 997.123) {
    const double theta = CalcSidereal(jd, labels);
    EXPECT_GE(theta, 0.0) << jd;
    EXPECT_LT(theta, 360.0) << jd;
    const double seconds = parseLenient(labels.lblS[4]);
    EXPECT_GE(seconds, 0.0);
    EXPECT_LT(seconds, 86400.0);
  }
}

TEST(CalcAltitude, OnTheMeridianCosHIsOne) {
  CalcLabels labels;
  const double h = CalcAltitude(100.0, 35.0, 100.0, labels);
  EXPECT_EQ(labels.lblSinh[4], "1");
  // A star at the site's latitude on the meridian stands at the zenith.
  EXPECT_EQ(labels.lblSinh[5], "1");
  EXPECT_EQ(h, 90.0);
  EXPECT_EQ(labels.lblH, "90");
}

TEST(CalcAltitude, ArcsineLimitsGiveRightAnglesNeverNotANumber) {
  struct Case {
    double alpha, delta, theta, expected;
  };
  for (const Case& c : {Case{0, 35, 0, 90}, Case{0, -35, 180, -90}, Case{0, 90, 0, 35}, Case{0, -90, 123, -35}}) {
    CalcLabels labels;
    const double h = CalcAltitude(c.alpha, c.delta, c.theta, labels);
    ASSERT_TRUE(std::isfinite(h));
    EXPECT_NEAR(h, c.expected, 1e-6) << c.delta;
    EXPECT_FALSE(labels.lblH.empty());
  }
}

TEST(CalcAltitude, BelowTheHorizonIsNegative) {
  CalcLabels labels;
  const double h = CalcAltitude(0.0, -60.0, 180.0, labels);  // lower culmination of a southern star
  EXPECT_LT(h, 0.0);
  EXPECT_EQ(labels.lblH.front(), '-');
}

}  // namespace
}  // namespace tenmirel

namespace tenmirel {
namespace {

// Other sites: the longitude term becomes degrees × 240 seconds of time and the
// latitude replaces 35°; the built-in site given in degrees reproduces the designed texts.
struct SiteCase {
  const char* label;
  double longitudeDegrees;
  double latitudeDegrees;
  const char* longitudeText;
};

class SiteCalculation : public ::testing::TestWithParam<SiteCase> {};

TEST_P(SiteCalculation, LongitudeTermAndMeridianAltitudeFollowTheSite) {
  const SiteCase& site = GetParam();
  const CalcSite calcSite = calcSiteAt(site.longitudeDegrees, site.latitudeDegrees);
  EXPECT_EQ(calcSite.longitudeTimeSecondsText, site.longitudeText);

  CalcLabels atSite;
  CalcLabels atGreenwich;
  const double jd = 2451545.2;
  const double theta = CalcSidereal(jd, atSite, calcSite);
  const double thetaGreenwich = CalcSidereal(jd, atGreenwich, calcSiteAt(0, site.latitudeDegrees));
  EXPECT_EQ(atSite.lblS[2], site.longitudeText);
  EXPECT_EQ(atSite.lblS[1], atGreenwich.lblS[1]);
  const double east = std::fmod(theta - thetaGreenwich + 720, 360);
  EXPECT_NEAR(east, std::fmod(site.longitudeDegrees + 360, 360), 1e-9);

  // A star on the meridian culminates at 90° - |latitude - declination|.
  const double declination = -20;
  const double h = CalcAltitude(theta, declination, theta, atSite, calcSite);
  EXPECT_NEAR(h, 90 - std::fabs(site.latitudeDegrees - declination), 1e-6);
}

INSTANTIATE_TEST_SUITE_P(Sites, SiteCalculation,
                         ::testing::Values(SiteCase{"BuiltIn", 139, 35, "33360"},
                                           SiteCase{"Prague", 14.4, 50.1, "3456"},
                                           SiteCase{"NewYork", -74, 40.7, "-17760"},
                                           SiteCase{"Sydney", 151.2, -33.9, "36288"},
                                           SiteCase{"HalfMinuteWest", -0.5, 0, "-120"}),
                         [](const ::testing::TestParamInfo<SiteCase>& info) { return std::string(info.param.label); });

TEST(CalcSite, BuiltInSiteInDegreesGivesTheDesignedTexts) {
  CalcLabels designed;
  CalcLabels inDegrees;
  const double thetaDesigned = CalcSidereal(2451545.2, designed);
  const double thetaInDegrees = CalcSidereal(2451545.2, inDegrees, calcSiteAt(139, 35));
  EXPECT_EQ(thetaDesigned, thetaInDegrees);
  EXPECT_EQ(CalcAltitude(88.75, 7.4, thetaDesigned, designed),
            CalcAltitude(88.75, 7.4, thetaInDegrees, inDegrees, calcSiteAt(139, 35)));
  EXPECT_EQ(designed.lblS, inDegrees.lblS);
  EXPECT_EQ(designed.lblSinh, inDegrees.lblSinh);
  EXPECT_EQ(designed.lblH, inDegrees.lblH);
}

}  // namespace
}  // namespace tenmirel
