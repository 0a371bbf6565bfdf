// tenmirel-cli season: each night's events are exactly those `night` gives for that
// date with the same options, over a year with both summer-time changes, for the
// stars together or one at a time; and its refusals.
#include <map>

#include "night_fixture.h"
#include "sheet/workbook_check.h"
#include "sky/season_plan.h"

namespace tenmirel {
namespace {

using testing::contains;
using testing::nightJson;
using testing::runCli;
using NightCommand = testing::NightCommand;

StarRecord starWith(const std::string& name, const std::string& epoch, const std::string& period,
                    const std::string& alphaHour, const std::string& deltaDeg, const std::string& memo) {
  return {name, epoch, period, alphaHour, "0", "True", deltaDeg, "0", memo};
}

std::filesystem::path seasonCatalogue(testing::TempDir& dir) {
  return dir.write("season.vsd",
                   testing::vsdText({starWith("RZ Cas", "2443200.3063", "1.1952499", "2", "69", "EA/SD D=14"),
                                     starWith("Pulsator", "2455000.1234", "0.566", "14", "30", "RRAB"),
                                     starWith("Eccentric", "2450000.5", "3.41", "20", "20", "EA/DM II=0.41 P:"),
                                     starWith("Other", "2450000.5", "0.7", "8", "10", "EW")}));
}

nlohmann::json seasonJson(std::vector<std::string> args) {
  args.insert(args.begin(), "season");
  args.insert(args.end(), {"--format", "json"});
  const testing::CliRun run = runCli(args);
  EXPECT_EQ(run.status, 0) << run.err;
  return run.status == 0 ? nlohmann::json::parse(run.out) : nlohmann::json();
}

TEST_F(NightCommand, SeasonIsTheNightsOneByOneAcrossSummerTime) {
  const std::string catalogue = seasonCatalogue(dir).string();
  const std::vector<std::string> conditions = {"--lon", "14.42",           "--lat",       "50.09",
                                               "--tz",  "Europe/Prague",   "--secondary", "--min-altitude",
                                               "15",    "--moon-distance", "10"};
  std::vector<std::string> args = {"--catalogue", catalogue,   "--star", "RZ Cas",     "--star",   "Pulsator",
                                   "--star",      "Eccentric", "--from", "2026-01-01", "--nights", "365"};
  args.insert(args.end(), conditions.begin(), conditions.end());
  const nlohmann::json season = seasonJson(args);
  ASSERT_EQ(season["nights"].size(), 365u);
  std::map<std::string, nlohmann::json> byNight;
  for (const auto& event : season["events"]) {
    nlohmann::json without = event;
    without.erase("night");
    byNight[event["night"]].push_back(without);
  }
  EXPECT_GT(byNight.size(), 200u);

  // The weeks of both changes, and every fifth night besides.
  int compared = 0;
  for (int day = 0; day < 365; ++day) {
    const sky::NightDate date = sky::nightAfter({2026, 1, 1}, day);
    const bool summerTimeWeek =
        (date.month == 3 && date.day >= 25) || (date.month == 10 && date.day >= 21 && date.day <= 28);
    if (!summerTimeWeek && day % 5 != 0) continue;
    char text[16];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", date.year, date.month, date.day);
    // The night command over a catalogue of just the chosen stars.
    std::vector<std::string> night = {"--catalogue", catalogue, "--date", text};
    night.insert(night.end(), conditions.begin(), conditions.end());
    const testing::NightJson alone = nightJson(night);
    ASSERT_EQ(alone.run.status, 0) << alone.run.err;
    nlohmann::json expected = nlohmann::json::array();
    for (const auto& event : alone.json["events"]) {
      if (event["star"] != "Other") expected.push_back(event);
    }
    const nlohmann::json got = byNight.count(text) ? byNight[text] : nlohmann::json::array();
    EXPECT_EQ(got, expected) << text;
    ++compared;
  }
  EXPECT_GT(compared, 80);

  // One star at a time gives that star's part of the season together.
  for (const char* name : {"RZ Cas", "Eccentric"}) {
    std::vector<std::string> single = {"--catalogue", catalogue,    "--star",   name,
                                       "--from",      "2026-03-01", "--nights", "60"};
    single.insert(single.end(), conditions.begin(), conditions.end());
    const nlohmann::json one = seasonJson(single);
    nlohmann::json expected = nlohmann::json::array();
    for (const auto& event : season["events"]) {
      const std::string night = event["night"];
      if (event["star"] == name && night >= "2026-03-01" && night <= "2026-04-29") expected.push_back(event);
    }
    EXPECT_EQ(one["events"], expected) << name;
    EXPECT_FALSE(expected.empty()) << name;
  }
}

TEST_F(NightCommand, SeasonTextAndCsvNameEachEventsNight) {
  const std::string catalogue = seasonCatalogue(dir).string();
  const testing::CliRun text = runCli({"season", "--catalogue", catalogue, "--star", "RZ Cas", "--from", "2026-12-01",
                                       "--nights", "10", "--secondary"});
  ASSERT_EQ(text.status, 0) << text.err;
  for (const char* part : {"2026年12月1日から2026年12月10日までの 10 夜", "星: RZ Cas", "副極小も", "夜  ",
                           "2026-12-05  RZ Cas", "主極小", "食の継続（分）", "飛ばした星 0 個"}) {
    EXPECT_TRUE(contains(text.out, part)) << part << '\n' << text.out;
  }
  const testing::CliRun csv = runCli({"season", "--catalogue", catalogue, "--star", "RZ Cas", "--from", "2026-12-01",
                                      "--nights", "10", "--secondary", "--around", "0", "--format", "csv"});
  ASSERT_EQ(csv.status, 0) << csv.err;
  const std::vector<std::string> rows = testing::lines(csv.out);
  ASSERT_GT(rows.size(), 3u);
  EXPECT_EQ(rows[0].rfind("night,星名,回帰,", 0), 0u) << rows[0];
  EXPECT_EQ(rows[1].rfind("2026-12-0", 0), 0u) << rows[1];

  const auto workbook = dir.path() / "season.xlsx";
  const testing::CliRun xlsx = runCli({"season", "--catalogue", catalogue, "--star", "RZ Cas", "--from", "2026-12-01",
                                       "--nights", "10", "--secondary", "--around", "0", "--xlsx", workbook.string()});
  ASSERT_EQ(xlsx.status, 0) << xlsx.err;
  EXPECT_TRUE(contains(xlsx.out, "書き出しました")) << xlsx.out;
  EXPECT_EQ(checkWorkbookFile(workbook), "");
}

struct SeasonRefusal {
  const char* name;
  std::vector<std::string> args;  // after "season --catalogue CATALOGUE"
  const char* says;
};

class SeasonRefusals : public testing::NightCommand, public ::testing::WithParamInterface<SeasonRefusal> {};

TEST_P(SeasonRefusals, SayWhyAndWriteNothing) {
  std::vector<std::string> args = {"season", "--catalogue", seasonCatalogue(dir).string()};
  args.insert(args.end(), GetParam().args.begin(), GetParam().args.end());
  args.insert(args.end(), {"--xlsx", (dir.path() / "season.xlsx").string()});
  const testing::CliRun r = runCli(args);
  EXPECT_NE(r.status, 0);
  EXPECT_TRUE(contains(r.err, GetParam().says)) << r.err;
  EXPECT_TRUE(r.out.empty()) << r.out;
  EXPECT_FALSE(std::filesystem::exists(dir.path() / "season.xlsx"));
}

INSTANTIATE_TEST_SUITE_P(
    Season, SeasonRefusals,
    ::testing::Values(
        SeasonRefusal{"NoNights", {"--star", "RZ Cas", "--from", "2026-12-01", "--nights", "0"}, "--nights"},
        SeasonRefusal{"TooManyNights", {"--star", "RZ Cas", "--from", "2026-12-01", "--nights", "100000"}, "3660"},
        SeasonRefusal{"UnknownStar",
                      {"--star", "RZ Cas", "--star", "Vega", "--from", "2026-12-01", "--nights", "5"},
                      "星「Vega」がカタログにありません"},
        SeasonRefusal{"NoStar", {"--from", "2026-12-01", "--nights", "5"}, "--star"},
        SeasonRefusal{"NoFrom", {"--star", "RZ Cas", "--nights", "5"}, "--from"},
        SeasonRefusal{"BadFrom", {"--star", "RZ Cas", "--from", "2026-02-30", "--nights", "5"}, "--from"},
        SeasonRefusal{"PastTheLastYear", {"--star", "RZ Cas", "--from", "3000-12-30", "--nights", "5"}, "3000"},
        SeasonRefusal{
            "BadFilter", {"--star", "RZ Cas", "--from", "2026-12-01", "--nights", "5", "--around", "-1"}, "--around"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tenmirel
