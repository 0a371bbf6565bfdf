// Predictions for other sites and for heliocentric or barycentric elements.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <string>

#include "astro/julian_day.h"
#include "common/number_text.h"
#include "prediction/frm_yohou_model.h"
#include "sky/time_system.h"
#include "support/recording_ports.h"

namespace tenmirel {
namespace {

using testing::RecordingCheckWindow;
using testing::RecordingMessages;
using testing::ScriptedChooser;

sky::Site siteOf(const char* name, double longitude, double latitude, const char* zone) {
  return sky::Site{name, longitude, latitude, 0, zone};
}

// Algol: elements read as given, position 3h 08.2m, +40° 57′.
const StarRecord kAlgol{"Algol", "2445641.5135", "2.8673043", "3", "8.2", "True", "40", "57", ""};

class SitePrediction : public ::testing::Test {
 protected:
  SitePrediction() : form(messages, checkWindow, chooser) { form.Form_Load(std::chrono::system_clock::time_point{}); }

  void manual(const char* epoch, const char* period) {
    form.setCombo1ListIndex(form.starCount);
    form.txtGanki = epoch;
    form.txtSyuki = period;
  }
  std::string localText() const {
    return form.txtOutputYear + "-" + form.txtOutputMonth + "-" + form.txtOutputDay + " " + form.txtOutputHour + ":" +
           form.txtOutputMin;
  }

  RecordingMessages messages;
  RecordingCheckWindow checkWindow;
  ScriptedChooser chooser;
  FrmYohouModel form;
};

struct ZoneCase {
  const char* label;
  sky::Site site;
  ReferenceTexts reference;
  const char* epoch;  // an extremum, Julian day (UT)
  const char* period;
  double referenceUt;  // what the reference means in UT
  const char* local;   // the predicted extremum, local time of the site
};

class ZonePrediction : public SitePrediction, public ::testing::WithParamInterface<ZoneCase> {};

// Local -> UT takes the offset in force at the local time, UT -> local the offset
// at the instant; a period of ten days puts the result well away from any change.
TEST_P(ZonePrediction, ReferenceAndResultUseTheOffsetInForce) {
  const ZoneCase& c = GetParam();
  ASSERT_FALSE(form.useSite(c.site).has_value());
  manual(c.epoch, c.period);
  form.typeReference(c.reference);
  ASSERT_TRUE(form.Command2_Click()) << (messages.shown.empty() ? "" : messages.shown.back());
  EXPECT_EQ(form.julKijun, c.referenceUt);
  EXPECT_EQ(form.lblJulKijun, numberToText(c.referenceUt));
  EXPECT_EQ(localText(), c.local);
}

INSTANTIATE_TEST_SUITE_P(Zones, ZonePrediction,
                         ::testing::Values(
                             // Winter in Prague: UTC+1; the extremum at 2000-01-03 00:00 UT is 01:00 local.
                             ZoneCase{"PragueWinter",
                                      siteOf("Praha", 14.42, 50.08, "Europe/Prague"),
                                      {"2000", "1", "2", "9", "0"},
                                      "2451545.0",
                                      "1.5",
                                      js(2000, 1, 2, 8, 0),
                                      "2000-1-3 1:0"},
                             // Summer in New York: UTC-4.
                             ZoneCase{"NewYorkSummer",
                                      siteOf("NYC", -74.0, 40.7, "America/New_York"),
                                      {"2024", "7", "1", "12", "0"},
                                      "2460493.2708333335",
                                      "10",
                                      js(2024, 7, 1, 16, 0),
                                      "2024-7-1 14:30"},
                             // 01:30 happens twice when New York falls back: the earlier instant (EDT) counts.
                             ZoneCase{"NewYorkFallBackIsTheEarlierInstant",
                                      siteOf("NYC", -74.0, 40.7, "America/New_York"),
                                      {"2024", "11", "3", "1", "30"},
                                      "2460617.0",
                                      "10",
                                      js(2024, 11, 3, 5, 30),
                                      "2024-11-12 7:0"},
                             // Sydney in January keeps daylight saving time: UTC+11.
                             ZoneCase{"SydneySummer",
                                      siteOf("Sydney", 151.2, -33.87, "Australia/Sydney"),
                                      {"2024", "1", "15", "21", "0"},
                                      "2460325.0",
                                      "10",
                                      js(2024, 1, 15, 10, 0),
                                      "2024-1-15 23:0"},
                             // Japan's summer time of 1948-1951 under Asia/Tokyo: UTC+10 in August 1949.
                             ZoneCase{"TokyoSummerTime1949",
                                      siteOf("Tokyo", 139.75, 35.68, "Asia/Tokyo"),
                                      {"1949", "8", "1", "12", "0"},
                                      "2433130.0",
                                      "10",
                                      js(1949, 8, 1, 2, 0),
                                      "1949-8-1 22:0"},
                             // A fixed offset west of Greenwich with half hours.
                             ZoneCase{"FixedMinusThreeThirty",
                                      siteOf("St John's", -52.7, 47.56, "UTC-03:30"),
                                      {"2024", "3", "1", "0", "0"},
                                      "2460371.0",
                                      "10",
                                      js(2024, 3, 1, 3, 30),
                                      "2024-3-1 8:30"}),
                         [](const ::testing::TestParamInfo<ZoneCase>& info) { return std::string(info.param.label); });

TEST_F(SitePrediction, ALocalTimeInTheSpringForwardGapIsRefusedAndChangesNothing) {
  ASSERT_FALSE(form.useSite(siteOf("Praha", 14.42, 50.08, "Europe/Prague")).has_value());
  manual("2451545.0", "1.5");
  form.typeReference({"2024", "3", "31", "2", "30"});
  EXPECT_FALSE(form.Command2_Click());
  EXPECT_EQ(form.lastRefusal(), PredictionRefusal::kNoSuchLocalTime);
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_FALSE(messages.shown.front().empty());
  EXPECT_TRUE(form.txtOutputKaiki.empty());
  EXPECT_TRUE(form.lblJulKijun.empty());
}

TEST_F(SitePrediction, TheSiteGivesTheLongitudeTermAndTheLatitude) {
  ASSERT_FALSE(form.useSite(siteOf("Sydney", 151.2, -33.87, "Australia/Sydney")).has_value());
  form.useCatalogue({kAlgol});
  form.typeReference({"2026", "12", "7", "18", "0"});
  ASSERT_TRUE(form.Command2_Click());
  EXPECT_EQ(form.calc.lblS[2], "36288");
  EXPECT_EQ(form.calc.lblSinh[0], numberToText(std::sin(-33.87 * (3.14159265 / 180))));
  EXPECT_LT(form.koudo, 90 - (40 + 57.0 / 60) - 33.87 + 1e-9);  // Algol never climbs higher at Sydney
}

TEST_F(SitePrediction, AnUnusableSiteIsRefusedAndTheOldOneStays) {
  const struct {
    sky::Site site;
  } cases[] = {
      {siteOf("North", 0, 95, "UTC")}, {siteOf("East", 181, 0, "UTC")}, {siteOf("Nowhere", 0, 0, "Mars/Olympus_Mons")}};
  for (const auto& c : cases) {
    const sky::Refusal refusal = form.useSite(c.site);
    ASSERT_TRUE(refusal.has_value()) << c.site.name;
    EXPECT_FALSE(refusal->empty());
    EXPECT_TRUE(form.site().isBuiltIn());
  }
}

TEST_F(SitePrediction, TheClockIsReadInTheSiteZone) {
  ASSERT_FALSE(form.useSite(siteOf("Praha", 14.42, 50.08, "Europe/Prague")).has_value());
  using namespace std::chrono;
  form.Form_Load(sys_days{2026y / July / 1} + 12h);  // CEST, UTC+2
  EXPECT_EQ(form.txtInputDay, "1");
  EXPECT_EQ(form.txtInputHour, "14");
  form.Form_Load(sys_days{2026y / December / 31} + 23h + 30min);  // CET, UTC+1: already next year
  EXPECT_EQ(form.txtInputYear, "2027");
  EXPECT_EQ(form.txtInputHour, "0");
  EXPECT_EQ(form.txtInputMin, "30");
}

// Heliocentric elements: the cycle comes from the reference in HJD and the result
// is the instant the observer sees, a few minutes from the JD reading.
TEST_F(SitePrediction, HeliocentricElementsGiveTheObservedInstant) {
  form.useCatalogue({kAlgol});
  form.typeReference({"2026", "12", "7", "18", "0"});
  ASSERT_TRUE(form.Command2_Click());
  const double asJulianDay = form.julKekka;
  const std::string jdCycle = form.txtOutputKaiki;
  EXPECT_TRUE(form.lblJulKekkaElements.empty());

  form.useElementsTime(sky::ElementsTime::hjd);
  ASSERT_TRUE(form.Command2_Click());
  EXPECT_EQ(form.txtOutputKaiki, jdCycle);
  const double shiftMinutes = (asJulianDay - form.julKekka) * 1440;
  EXPECT_GT(shiftMinutes, 4);  // Algol in December: the JD reading comes out late
  EXPECT_LT(shiftMinutes, 9);
  const double cycle = parseLenient(form.txtOutputKaiki);
  const double heliocentric = cycle * 2.8673043 + 2445641.5135;
  EXPECT_EQ(form.lblJulKekkaElements, "HJD " + numberToText(heliocentric));
  const sky::StarDirection algol = sky::starDirection(form.alpha, form.delta);
  EXPECT_NEAR(sky::elementsTimeOf(form.julKekka, sky::ElementsTime::hjd, algol), heliocentric, 1e-8);

  // The next cycle keeps to the same system.
  ASSERT_TRUE(form.Command3_Click());
  EXPECT_NEAR(sky::elementsTimeOf(form.julKekka, sky::ElementsTime::hjd, algol), heliocentric + 2.8673043, 1e-8);

  form.useElementsTime(sky::ElementsTime::bjdTdb);
  ASSERT_TRUE(form.Command2_Click());
  EXPECT_EQ(form.lblJulKekkaElements.rfind("BJD_TDB ", 0), 0u);
  // TDB runs about 69 s ahead of UTC in 2026, so the BJD reading lands about a minute earlier again.
  EXPECT_NEAR((asJulianDay - form.julKekka) * 1440 - shiftMinutes, 69.2 / 60, 0.05);
}

TEST_F(SitePrediction, HeliocentricElementsNeedTheStarsPlace) {
  form.useElementsTime(sky::ElementsTime::hjd);
  manual("2445641.5135", "2.8673043");
  form.typeReference({"2026", "12", "7", "18", "0"});
  EXPECT_FALSE(form.Command2_Click());
  EXPECT_EQ(form.lastRefusal(), PredictionRefusal::kNeedsCoordinates);
  EXPECT_EQ(messages.shown, std::vector<std::string>{kElementsNeedCoordinatesMessage});
  EXPECT_TRUE(form.txtOutputKaiki.empty());
}

}  // namespace
}  // namespace tenmirel
