// tenmirel-cli sites, and the shared site option, on a configuration folder of the test's own.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "cli/cli_args.h"
#include "cli/site_option.h"
#include "config_home.h"
#include "sky/site_store.h"
#include "support/cli_runner.h"

namespace tenmirel {
namespace {

using testing::CliRun;
using testing::runCli;

bool contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

std::string slurp(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

class SitesCommand : public ::testing::Test {
 protected:
  testing::ConfigHome config;
};

TEST_F(SitesCommand, WithoutAFileListsTheBuiltInSiteAsTheDefault) {
  const CliRun r = runCli({"sites"});
  EXPECT_EQ(r.status, 0) << r.err;
  const std::vector<std::string> rows = testing::lines(r.out);
  ASSERT_GE(rows.size(), 3u);
  EXPECT_EQ(rows[1].rfind("*", 0), 0u) << rows[1];
  EXPECT_TRUE(contains(rows[1], "既定の観測地"));
  EXPECT_TRUE(contains(rows[1], "139"));
  EXPECT_TRUE(contains(rows[1], "UTC+09:00"));
  EXPECT_FALSE(std::filesystem::exists(config.sitesFile()));
}

struct CoordinateForm {
  const char* name;
  const char* longitude;
  const char* latitude;
  double longitudeDegrees;
  double latitudeDegrees;
};

class CoordinateForms : public SitesCommand, public ::testing::WithParamInterface<CoordinateForm> {};

TEST_P(CoordinateForms, AreReadIntoTheSitesFile) {
  const CoordinateForm& form = GetParam();
  const CliRun r = runCli({"sites", "add", "観測所", "--lon", form.longitude, "--lat", form.latitude, "--height", "120",
                           "--tz", "Asia/Tokyo"});
  ASSERT_EQ(r.status, 0) << r.err;
  const sky::SiteStore store(config.sitesFile());
  ASSERT_TRUE(store.problem().empty()) << store.problem();
  const sky::Site* site = store.find("観測所");
  ASSERT_NE(site, nullptr);
  EXPECT_NEAR(site->longitudeDegrees, form.longitudeDegrees, 1e-9);
  EXPECT_NEAR(site->latitudeDegrees, form.latitudeDegrees, 1e-9);
  EXPECT_EQ(site->heightMetres, 120);
  EXPECT_EQ(site->zone, "Asia/Tokyo");
  EXPECT_EQ(store.defaultSite().name, sky::kBuiltInSiteName);  // adding does not choose
}

INSTANTIATE_TEST_SUITE_P(
    Sites, CoordinateForms,
    ::testing::Values(CoordinateForm{"Decimal", "139.5", "35.25", 139.5, 35.25},
                      CoordinateForm{"DegreesMinutes", "139 00", "35 30", 139.0, 35.5},
                      CoordinateForm{"DegreeSigns", "139°00′", "-33°52′", 139.0, -(33 + 52.0 / 60)},
                      CoordinateForm{"WestAndSouthLetters", "W71 15", "33 52 S", -71.25, -(33 + 52.0 / 60)},
                      CoordinateForm{"NegativeDecimal", "-71.25", "-33.5", -71.25, -33.5}),
    [](const auto& info) { return std::string(info.param.name); });

struct Refusal {
  const char* name;
  std::vector<std::string> args;
  int status;
  const char* says;
};

class SitesRefusals : public SitesCommand, public ::testing::WithParamInterface<Refusal> {};

TEST_P(SitesRefusals, SayWhyAndChangeNothing) {
  ASSERT_EQ(runCli({"sites", "add", "Ondřejov", "--lon", "14.78", "--lat", "49.91", "--tz", "Europe/Prague"}).status,
            0);
  const std::string before = slurp(config.sitesFile());
  std::vector<std::string> args = {"sites"};
  args.insert(args.end(), GetParam().args.begin(), GetParam().args.end());
  const CliRun r = runCli(args);
  EXPECT_EQ(r.status, GetParam().status) << r.err;
  EXPECT_TRUE(contains(r.err, GetParam().says)) << r.err;
  EXPECT_EQ(slurp(config.sitesFile()), before);
}

INSTANTIATE_TEST_SUITE_P(
    Sites, SitesRefusals,
    ::testing::Values(
        Refusal{"LatitudeOver90", {"add", "X", "--lon", "10", "--lat", "90.5", "--tz", "UTC"}, 2, "緯度"},
        Refusal{"LongitudeOver180", {"add", "X", "--lon", "181", "--lat", "10", "--tz", "UTC"}, 2, "経度"},
        Refusal{"UnknownZone", {"add", "X", "--lon", "10", "--lat", "10", "--tz", "Mars/Olympus_Mons"}, 2, "Mars"},
        Refusal{"CoordinateNotANumber", {"add", "X", "--lon", "東", "--lat", "10", "--tz", "UTC"}, 2, "経度"},
        Refusal{
            "HeightNotANumber", {"add", "X", "--lon", "1", "--lat", "1", "--height", "高い", "--tz", "UTC"}, 2, "標高"},
        Refusal{"ZoneMissing", {"add", "X", "--lon", "10", "--lat", "10"}, 2, "--tz"},
        Refusal{"NameMissing", {"add"}, 2, "名前"},
        Refusal{"SameNameTwice", {"add", "Ondřejov", "--lon", "1", "--lat", "1", "--tz", "UTC"}, 1, "すでに"},
        Refusal{"RemovingTheBuiltInSite", {"remove", "既定の観測地"}, 1, "削除できません"},
        Refusal{"RemovingAnUnknownSite", {"remove", "Nowhere"}, 1, "Nowhere"},
        Refusal{"DefaultUnknown", {"default", "Nowhere"}, 1, "Nowhere"},
        Refusal{"UnknownAction", {"rename", "Ondřejov"}, 2, "rename"},
        Refusal{"CoordinatesWithRemove", {"remove", "Ondřejov", "--lon", "1"}, 2, "sites add"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SitesCommand, DefaultIsMarkedAndRemovingItFallsBackToTheBuiltInSite) {
  ASSERT_EQ(runCli({"sites", "add", "Ondřejov", "--lon", "14.78", "--lat", "49.91", "--tz", "Europe/Prague"}).status,
            0);
  ASSERT_EQ(runCli({"sites", "default", "Ondřejov"}).status, 0);
  CliRun r = runCli({"sites"});
  ASSERT_EQ(r.status, 0);
  std::vector<std::string> rows = testing::lines(r.out);
  ASSERT_GE(rows.size(), 4u);
  EXPECT_EQ(rows[1].rfind("*", 0), std::string::npos);
  EXPECT_EQ(rows[2].rfind("*", 0), 0u);
  EXPECT_TRUE(contains(rows[2], "Ondřejov"));

  ASSERT_EQ(runCli({"sites", "remove", "Ondřejov"}).status, 0);
  r = runCli({"sites"});
  rows = testing::lines(r.out);
  EXPECT_EQ(rows[1].rfind("*", 0), 0u);
  EXPECT_FALSE(contains(r.out, "Ondřejov"));
}

TEST_F(SitesCommand, ADamagedFileIsNamedWithItsLineAndLeftAsItIs) {
  std::filesystem::create_directories(config.sitesFile().parent_path());
  const std::string damaged = "default = \"既定の観測地\"\n\n[[site]]\nname = \"A\"\nlongitude = \"東\"\n";
  std::ofstream(config.sitesFile(), std::ios::binary) << damaged;

  CliRun r = runCli({"sites", "add", "B", "--lon", "1", "--lat", "1", "--tz", "UTC"});
  EXPECT_EQ(r.status, 1);
  EXPECT_TRUE(contains(r.err, "行目")) << r.err;
  EXPECT_EQ(slurp(config.sitesFile()), damaged);

  r = runCli({"sites"});
  EXPECT_EQ(r.status, 1);
  EXPECT_TRUE(contains(r.err, "行目")) << r.err;
  EXPECT_TRUE(contains(r.out, "既定の観測地"));
  EXPECT_EQ(slurp(config.sitesFile()), damaged);
}

// The shared option the prediction commands take.
cli::ParsedArgs parsedSiteOptions(const std::vector<std::string>& args) {
  std::string error;
  std::set<std::string> names = cli::siteOptionNames();
  names.insert(cli::kElementsOption);
  const auto parsed = cli::parseArgs(args, names, {}, error);
  EXPECT_TRUE(parsed) << error;
  return parsed.value_or(cli::ParsedArgs{});
}

TEST_F(SitesCommand, SiteOptionChoosesByNameOneOffOrTheStoresDefault) {
  sky::SiteStore store(config.sitesFile());
  ASSERT_FALSE(store.add({"Sydney", 151.21, -33.87, 40, "Australia/Sydney"}));

  auto chosen = cli::siteFromOptions(parsedSiteOptions({}), store);
  ASSERT_TRUE(chosen.value);
  EXPECT_EQ(*chosen.value, sky::builtInSite());

  ASSERT_FALSE(store.setDefault("Sydney"));
  chosen = cli::siteFromOptions(parsedSiteOptions({}), store);
  ASSERT_TRUE(chosen.value);
  EXPECT_EQ(chosen.value->name, "Sydney");

  chosen = cli::siteFromOptions(parsedSiteOptions({"--site", sky::kBuiltInSiteName}), store);
  ASSERT_TRUE(chosen.value);
  EXPECT_EQ(*chosen.value, sky::builtInSite());

  chosen = cli::siteFromOptions(parsedSiteOptions({"--lon", "W 71 15", "--lat", "-30 10", "--tz", "UTC-03:00"}), store);
  ASSERT_TRUE(chosen.value) << chosen.error;
  EXPECT_EQ(chosen.value->name, cli::kOneOffSiteName);
  EXPECT_DOUBLE_EQ(chosen.value->longitudeDegrees, -71.25);
  EXPECT_EQ(chosen.value->heightMetres, 0);

  struct Wrong {
    std::vector<std::string> args;
    bool usage;
  };
  for (const Wrong& wrong :
       {Wrong{{"--site", "Nowhere"}, false}, Wrong{{"--site", "Sydney", "--lon", "1"}, true},
        Wrong{{"--lon", "1", "--lat", "1"}, true}, Wrong{{"--lon", "1", "--lat", "1", "--tz", "Europe/Nowhere"}, true},
        Wrong{{"--lon", "1", "--lat", "-91", "--tz", "UTC"}, true}}) {
    chosen = cli::siteFromOptions(parsedSiteOptions(wrong.args), store);
    EXPECT_FALSE(chosen.value) << wrong.args.front();
    EXPECT_EQ(chosen.usageMistake, wrong.usage) << wrong.args.front();
    EXPECT_FALSE(chosen.error.empty());
  }
}

TEST_F(SitesCommand, ElementsOptionOverridesTheRememberedSystem) {
  const testing::TempDir dir;
  const auto catalogue = dir.write("k.vsd", "Quorrelith 1999\n1\n");
  sky::ElementsSettings settings(config.dir().path() / "Tenmirel" / "settings.toml");
  ASSERT_FALSE(settings.setTimeSystem(catalogue, sky::ElementsTime::hjd));

  EXPECT_EQ(cli::elementsFromOptions(parsedSiteOptions({}), catalogue.string(), settings).value,
            sky::ElementsTime::hjd);
  EXPECT_EQ(cli::elementsFromOptions(parsedSiteOptions({}), "-", settings).value, sky::ElementsTime::jd);
  EXPECT_EQ(cli::elementsFromOptions(parsedSiteOptions({"--elements", "BJD"}), catalogue.string(), settings).value,
            sky::ElementsTime::bjdTdb);
  const auto wrong = cli::elementsFromOptions(parsedSiteOptions({"--elements", "mjd"}), catalogue.string(), settings);
  EXPECT_FALSE(wrong.value);
  EXPECT_TRUE(wrong.usageMistake);
}

}  // namespace
}  // namespace tenmirel
