// tenmirel-cli night for eclipse observers: secondary minima and whole eclipses
// from the memo, the uncertainty of each event in every format, and memos whose
// tokens cannot be planned from.
#include <regex>

#include "night_fixture.h"

namespace tenmirel {
namespace {

using testing::contains;
using testing::nightJson;
using testing::runCli;
using NightCommand = testing::NightCommand;

// Two stars high over the built-in site on 2026-12-07, near the pole.
StarRecord polarStar(const std::string& name, const std::string& epoch, const std::string& period,
                     const std::string& memo) {
  return {name, epoch, period, "2", "0", "True", "85", "0", memo};
}

TEST_F(NightCommand, SecondaryMinimaAndWholeEclipsesComeFromTheMemo) {
  // One minimum at 2026-12-07 21:00 JST (JD 2461382.0), a period of 10 days: its
  // secondary falls 5 days later, out of the night, unless II= moves it.
  const auto catalogue =
      dir.write("eclipses.vsd", testing::vsdText({polarStar("Half", "2461382.0", "10.0", "EA/SD D=2"),
                                                  polarStar("Eccentric", "2461382.0", "1.25", "EA/DM II=0.08 D=4 P:"),
                                                  polarStar("Pulsator", "2461382.1", "0.5", "RRAB")}));
  const std::vector<std::string> night = {"--catalogue", catalogue.string(), "--date", "2026-12-07", "--secondary"};
  const testing::NightJson r = nightJson(night);
  ASSERT_EQ(r.run.status, 0) << r.run.err;
  std::map<std::string, int> kinds;
  for (const auto& event : r.json["events"]) {
    kinds[event["star"].get<std::string>() + " " + event["kind"].get<std::string>()] += 1;
    if (event["kind"] == "secondary") {
      EXPECT_EQ(event["phase"], 0.08);
      // (E + 0.08) × 1.25 + E0: 0.1 day after the primary of the same cycle.
      EXPECT_NEAR(event["jd_elements"].get<double>(), 2461382.1, 1e-9);
    } else {
      EXPECT_EQ(event["phase"], 0);
    }
    if (event["star"] == "Half") {
      EXPECT_NEAR(event["duration_minutes"].get<double>(), 288, 1e-9);  // 2% of 10 days
    }
    if (event["star"] == "Pulsator") {
      EXPECT_TRUE(event["duration_minutes"].is_null());
    }
    EXPECT_EQ(event["uncertain_elements"], event["star"] == "Eccentric");
    EXPECT_EQ(event["uncertainty_source"], "digits");
    EXPECT_TRUE(event["uncertainty_minutes"].is_number());
  }
  EXPECT_EQ(kinds["Half primary"], 1);
  EXPECT_EQ(kinds["Half secondary"], 0);
  EXPECT_EQ(kinds["Eccentric primary"], 1);
  EXPECT_EQ(kinds["Eccentric secondary"], 1);
  EXPECT_EQ(kinds["Pulsator maximum"], 1);
  EXPECT_EQ(r.json["filters"]["secondary"], true);
  EXPECT_EQ(r.json["filters"]["around_whole_eclipse"], true);

  // The text names the kinds and marks the uncertain elements; the calendar says the
  // kind and spans the whole eclipse.
  std::vector<std::string> text = night;
  text.insert(text.begin(), "night");
  const testing::CliRun table = runCli(text);
  ASSERT_EQ(table.status, 0) << table.err;
  for (const char* part : {"主極小", "副極小", "極大", "食の継続（分）", "288.0", "≥±", "副極小も"}) {
    EXPECT_TRUE(contains(table.out, part)) << part;
  }
  text.insert(text.end(), {"--format", "ics"});
  const testing::CliRun ics = runCli(text);
  ASSERT_EQ(ics.status, 0) << ics.err;
  EXPECT_TRUE(contains(ics.out, "SUMMARY:Half 主極小 第0回帰")) << ics.out;
  EXPECT_TRUE(std::regex_search(ics.out, std::regex("DTSTART:20261207T093600Z\r?\nDTEND:20261207T142400Z"))) << ics.out;

  // An around given on the command line applies to every star instead.
  std::vector<std::string> withAround = night;
  withAround.insert(withAround.end(), {"--around", "0"});
  const testing::NightJson around = nightJson(withAround);
  EXPECT_EQ(around.json["filters"]["around_whole_eclipse"], false);
  EXPECT_GE(around.json["events"].size(), r.json["events"].size());
}

TEST_F(NightCommand, MaxUncertaintyHidesAndCountsWhatCannotBeTrusted) {
  const auto catalogue =
      dir.write("uncertain.vsd", testing::vsdText({polarStar("Precise", "2461382.0000", "0.6289216", "EA"),
                                                   polarStar("Coarse", "2451382.0", "0.6289", "EA"),
                                                   polarStar("Flagged", "2461382.0000", "0.6289216:", "EA")}));
  const std::vector<std::string> night = {"--catalogue", catalogue.string(), "--date", "2026-12-07"};
  const testing::NightJson all = nightJson(night);
  ASSERT_EQ(all.run.status, 0) << all.run.err;
  std::vector<std::string> limited = night;
  limited.insert(limited.end(), {"--max-uncertainty", "10"});
  const testing::NightJson r = nightJson(limited);
  ASSERT_EQ(r.run.status, 0) << r.run.err;
  EXPECT_EQ(r.json["events"].size() + r.json["hidden_events"].get<std::size_t>(),
            all.json["events"].size() + all.json["hidden_events"].get<std::size_t>());
  EXPECT_GT(r.json["hidden_events"].get<std::size_t>(), all.json["hidden_events"].get<std::size_t>());
  ASSERT_FALSE(r.json["events"].empty());
  for (const auto& event : r.json["events"]) {
    EXPECT_EQ(event["star"], "Precise");
    EXPECT_LE(event["uncertainty_minutes"].get<double>(), 10);
  }
  EXPECT_EQ(r.json["filters"]["max_uncertainty_min"], 10);
}

TEST_F(NightCommand, BadMemoTokensCostOnlyTheirStar) {
  const auto catalogue = dir.write(
      "memos.vsd",
      testing::vsdText(
          {polarStar("Good", "2461382.0", "0.3", "EA"), polarStar("BadPhase", "2461382.0", "0.3", "EA II=1.5"),
           polarStar("TooLong", "2461382.0", "0.3", "EA D=250"), polarStar("Negative", "2461382.0", "0.3", "EA D=-3"),
           polarStar("Zero", "2461382.0", "0.3", "EA D=0"), polarStar("Twice", "2461382.0", "0.3", "EA D=10 D=12")}));
  const std::vector<std::string> night = {"--catalogue", catalogue.string(), "--date", "2026-12-07"};
  const testing::NightJson r = nightJson(night);
  ASSERT_EQ(r.run.status, 0) << r.run.err;
  EXPECT_EQ(r.json["skipped_stars"], 5);
  ASSERT_FALSE(r.json["events"].empty());
  for (const auto& event : r.json["events"]) EXPECT_EQ(event["star"], "Good");
  for (const char* name : {"BadPhase", "TooLong", "Negative", "Zero", "Twice"}) {
    EXPECT_TRUE(std::regex_search(r.run.err, std::regex(std::string("night: 星「") + name + "」を飛ばしました: メモ")))
        << r.run.err;
  }
  std::vector<std::string> text = night;
  text.insert(text.begin(), "night");
  const testing::CliRun table = runCli(text);
  EXPECT_EQ(table.status, 0);
  EXPECT_TRUE(contains(table.out, "飛ばした星 5 個")) << table.out;
}

}  // namespace
}  // namespace tenmirel
