// predict, list and today at other sites and with heliocentric elements.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "config_home.h"
#include "support/cli_runner.h"

namespace tenmirel {
namespace {

using testing::runCli;

std::string sampleCatalogue() { return std::string(std::getenv("TENMIREL_SOURCE_DIR")) + "/data/sample.vsd"; }

class SitePredictions : public ::testing::Test {
 protected:
  testing::ConfigHome config;
};

struct PredictCase {
  const char* label;
  std::vector<std::string> siteOptions;
  const char* localTime;  // of the extremum, with the offset in force
};

class SitePredictCommand : public SitePredictions, public ::testing::WithParamInterface<PredictCase> {};

// The worked example's elements (an extremum at JD 2451546.5, 2000-01-03 00:00 UT)
// seen from several sites: the reference and the result use each site's clock.
TEST_P(SitePredictCommand, JsonLocalTimeCarriesTheSitesOffset) {
  const PredictCase& c = GetParam();
  std::vector<std::string> args = {"predict", "--epoch",          "2451545.0", "--period", "1.5",
                                   "--from",  "2000-01-02 12:00", "--format",  "json"};
  args.insert(args.end(), c.siteOptions.begin(), c.siteOptions.end());
  const auto run = runCli(args);
  ASSERT_EQ(run.status, 0) << run.err;
  const nlohmann::json json = nlohmann::json::parse(run.out).at(0);
  EXPECT_EQ(json["local_time"], c.localTime);
  EXPECT_TRUE(json["altitude_deg"].is_null());
}

INSTANTIATE_TEST_SUITE_P(
    Sites, SitePredictCommand,
    ::testing::Values(
        PredictCase{"BuiltIn", {}, "2000-01-03T09:00+09:00"},
        PredictCase{"Prague", {"--lon", "14 25", "--lat", "50 05", "--tz", "Europe/Prague"}, "2000-01-03T01:00+01:00"},
        PredictCase{"NewYork", {"--lon", "-74", "--lat", "40.7", "--tz", "America/New_York"}, "2000-01-02T19:00-05:00"},
        PredictCase{
            "Sydney", {"--lon", "151.2", "--lat", "-33.87", "--tz", "Australia/Sydney"}, "2000-01-03T11:00+11:00"}),
    [](const ::testing::TestParamInfo<PredictCase>& info) { return std::string(info.param.label); });

TEST_F(SitePredictions, ARegisteredSiteIsUsedByName) {
  ASSERT_EQ(runCli({"sites", "add", "Praha", "--lon", "14.42", "--lat", "50.08", "--tz", "Europe/Prague"}).status, 0);
  const auto run = runCli({"predict", "--epoch", "2451545.0", "--period", "1.5", "--from", "2000-01-02 12:00", "--site",
                           "Praha", "--format", "json"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(nlohmann::json::parse(run.out).at(0)["local_time"], "2000-01-03T01:00+01:00");
}

TEST_F(SitePredictions, BadSiteAndElementsOptionsAreRefused) {
  const struct {
    std::vector<std::string> extra;
    int status;
  } cases[] = {
      {{"--site", "Nowhere"}, 1},                                        // not registered
      {{"--lon", "14", "--lat", "95", "--tz", "UTC"}, 2},                // latitude out of range
      {{"--lon", "14", "--lat", "50", "--tz", "Mars/Olympus_Mons"}, 2},  // unknown zone
      {{"--elements", "tt"}, 2},                                         // unknown time system
      {{"--elements", "hjd"}, 1},                                        // HJD needs the star's place
  };
  for (const auto& c : cases) {
    std::vector<std::string> args = {"predict", "--epoch", "2451545.0",       "--period",
                                     "1.5",     "--from",  "2000-01-02 12:00"};
    args.insert(args.end(), c.extra.begin(), c.extra.end());
    const auto run = runCli(args);
    EXPECT_EQ(run.status, c.status) << c.extra.front() << ": " << run.err;
    EXPECT_TRUE(run.out.empty());
    EXPECT_FALSE(run.err.empty());
  }
}

TEST_F(SitePredictions, HeliocentricElementsMoveAlgolsMinimumByTheLightTime) {
  auto minuteOf = [](const std::vector<std::string>& extra) {
    std::vector<std::string> args = {"predict", "--catalogue",      sampleCatalogue(), "--star", "Algol",
                                     "--from",  "2026-12-07 18:00", "--format",        "json"};
    args.insert(args.end(), extra.begin(), extra.end());
    const auto run = runCli(args);
    EXPECT_EQ(run.status, 0) << run.err;
    return nlohmann::json::parse(run.out).at(0)["jd"].get<double>() * 1440;
  };
  const double shift = minuteOf({}) - minuteOf({"--elements", "hjd"});
  EXPECT_GT(shift, 4);
  EXPECT_LT(shift, 9);
}

TEST_F(SitePredictions, TodaysListFollowsTheSitesClock) {
  const auto tokyo = runCli({"today", "--catalogue", sampleCatalogue(), "--date", "2026-12-07", "--csv"});
  const auto prague = runCli({"today", "--catalogue", sampleCatalogue(), "--date", "2026-12-07", "--csv", "--lon",
                              "14.42", "--lat", "50.08", "--tz", "Europe/Prague"});
  ASSERT_EQ(tokyo.status, 0) << tokyo.err;
  ASSERT_EQ(prague.status, 0) << prague.err;
  EXPECT_NE(tokyo.out, prague.out);  // another night, eight hours later
  EXPECT_GT(testing::lines(prague.out).size(), 1u);
}

}  // namespace
}  // namespace tenmirel
