// tenmirel-cli night: its refusals, nights without darkness, skipped stars,
// summer time in the output's offsets, and catalogues beyond the window's table.
#include <chrono>
#include <cmath>
#include <fstream>
#include <set>

#include "cli/tonight.h"
#include "night_fixture.h"
#include "sky/site_zone.h"
#include "support/gcvs_catalogue.h"

namespace tenmirel {
namespace {

using testing::contains;
using testing::nightJson;
using testing::runCli;
using NightCommand = testing::NightCommand;

struct BadInput {
  const char* name;
  std::vector<std::string> args;  // after "night --catalogue SAMPLE"
  int status;
  const char* says;
};

class NightRefusals : public testing::NightCommand, public ::testing::WithParamInterface<BadInput> {};

TEST_P(NightRefusals, SayWhyInJapaneseWithTheRightStatus) {
  std::vector<std::string> args = {"night", "--catalogue", testing::samplePath()};
  args.insert(args.end(), GetParam().args.begin(), GetParam().args.end());
  const testing::CliRun r = runCli(args);
  EXPECT_EQ(r.status, GetParam().status) << r.err;
  EXPECT_TRUE(contains(r.err, GetParam().says)) << r.err;
  EXPECT_TRUE(r.out.empty()) << r.out;
}

INSTANTIATE_TEST_SUITE_P(
    Night, NightRefusals,
    ::testing::Values(
        BadInput{"UnknownSite", {"--date", "2026-12-07", "--site", "火星基地"}, 1, "火星基地"},
        BadInput{"UnknownZone",
                 {"--date", "2026-12-07", "--lon", "10", "--lat", "50", "--tz", "Europe/Atlantis"},
                 2,
                 "Europe/Atlantis"},
        BadInput{
            "LatitudeOutOfRange", {"--date", "2026-12-07", "--lon", "10", "--lat", "95", "--tz", "UTC"}, 2, "緯度"},
        BadInput{"OneOffSiteWithoutZone", {"--date", "2026-12-07", "--lon", "10", "--lat", "50"}, 2, "--tz"},
        BadInput{"SiteAndCoordinates", {"--site", "既定の観測地", "--lon", "10"}, 2, "同時に"},
        BadInput{"DateBefore1600", {"--date", "1599-12-31"}, 2, "1600"},
        BadInput{"DateAfter3000", {"--date", "3001-01-01"}, 2, "3000"},
        BadInput{"ImpossibleDate", {"--date", "2026-02-30"}, 2, "2月に30日はありません"},
        BadInput{"DateWithTime", {"--date", "2026-12-07 21:00"}, 2, "YYYY-MM-DD"},
        BadInput{"SunLimitNotANumber", {"--sun-below", "暗い"}, 2, "--sun-below"},
        BadInput{"SunLimitAndClock", {"--sun-below", "-18", "--window", "clock"}, 2, "同時に"},
        BadInput{"UnknownWindow", {"--window", "sun"}, 2, "clock"},
        BadInput{"MoonDistanceOutOfRange", {"--moon-distance", "200"}, 2, "--moon-distance"},
        BadInput{"NegativeAround", {"--around", "-5"}, 2, "--around"},
        BadInput{"NegativeMaxUncertainty", {"--max-uncertainty", "-1"}, 2, "--max-uncertainty"},
        BadInput{"MaxUncertaintyNotANumber", {"--max-uncertainty", "少し"}, 2, "--max-uncertainty"},
        BadInput{"UnknownElements", {"--elements", "mjd"}, 2, "--elements"},
        BadInput{"UnknownFormat", {"--format", "xml"}, 2, "--format"},
        BadInput{"XlsxWithFormat", {"--xlsx", "a.xlsx", "--format", "csv"}, 2, "同時に"},
        BadInput{"OpenWithoutXlsx", {"--open"}, 2, "--open"}, BadInput{"ExtraArgument", {"tonight"}, 2, "余分な引数"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(NightCommand, MissingOrUnreadableCatalogueIsRefused) {
  EXPECT_EQ(runCli({"night", "--date", "2026-12-07"}).status, 2);
  const testing::CliRun r =
      runCli({"night", "--catalogue", (dir.path() / "none.vsd").string(), "--date", "2026-12-07"});
  EXPECT_EQ(r.status, 1);
  EXPECT_TRUE(contains(r.err, "見つかりません")) << r.err;
}

struct DarklessNight {
  const char* name;
  std::vector<std::string> args;
  const char* darkness;
  const char* says;
};

class DarklessNights : public testing::NightCommand, public ::testing::WithParamInterface<DarklessNight> {};

TEST_P(DarklessNights, AreSaidAndAnsweredWithoutEvents) {
  std::vector<std::string> args = {"--catalogue", testing::samplePath()};
  args.insert(args.end(), GetParam().args.begin(), GetParam().args.end());
  const testing::NightJson machine = nightJson(args);
  ASSERT_EQ(machine.run.status, 0) << machine.run.err;
  EXPECT_EQ(machine.json["night"]["darkness"], GetParam().darkness);
  EXPECT_TRUE(contains(machine.json["night"]["message"].get<std::string>(), GetParam().says));

  args.insert(args.begin(), "night");
  const testing::CliRun text = runCli(args);
  EXPECT_EQ(text.status, 0) << text.err;
  EXPECT_TRUE(contains(text.out, GetParam().says)) << text.out;
  if (std::string(GetParam().darkness) == "never_dark") {
    EXPECT_TRUE(machine.json["events"].empty());
    EXPECT_FALSE(contains(text.out, "星名")) << "no table without darkness";
  }
}

INSTANTIATE_TEST_SUITE_P(Night, DarklessNights,
                         ::testing::Values(DarklessNight{"MidnightSunAtTromso",
                                                         {"--date", "2026-06-21", "--lon", "18.96", "--lat", "69.65",
                                                          "--tz", "Europe/Oslo", "--sun-below", "-0.833"},
                                                         "never_dark",
                                                         "白夜"},
                                           DarklessNight{"NoNauticalDarknessAtTromso",
                                                         {"--date", "2026-06-21", "--lon", "18.96", "--lat", "69.65",
                                                          "--tz", "Europe/Oslo"},
                                                         "never_dark",
                                                         "暗い時間がありません"},
                                           DarklessNight{"NoAstronomicalDarknessInPraguesJune",
                                                         {"--date", "2026-06-21", "--lon", "14.42", "--lat", "50.09",
                                                          "--tz", "Europe/Prague", "--sun-below", "-18"},
                                                         "never_dark",
                                                         "暗い時間がありません"},
                                           DarklessNight{"PolarNightAtTromso",
                                                         {"--date", "2026-12-21", "--lon", "18.96", "--lat", "69.65",
                                                          "--tz", "Europe/Oslo", "--sun-below", "-0.833"},
                                                         "always_dark",
                                                         "昇りません"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(NightCommand, PragueHasNauticalDarknessInJune) {
  const testing::NightJson r = nightJson({"--catalogue", testing::samplePath(), "--date", "2026-06-21", "--lon",
                                          "14.42", "--lat", "50.09", "--tz", "Europe/Prague"});
  ASSERT_EQ(r.run.status, 0) << r.run.err;
  EXPECT_EQ(r.json["night"]["darkness"], "normal");
  EXPECT_TRUE(contains(r.json["night"]["start"].get<std::string>(), "+02:00"));
}

TEST_F(NightCommand, StarsWithoutUsableElementsAreSkippedAndCounted) {
  const auto catalogue = dir.write(
      "mixed.vsd",
      testing::vsdText({testing::elementsStar("Good", "2461382.0", "0.3"), testing::elementsStar("NoEpoch", "", "0.5"),
                        testing::elementsStar("NoPeriod", "2461382.0", ""),
                        testing::elementsStar("ZeroPeriod", "2461382.0", "0"),
                        testing::elementsStar("NegativePeriod", "2461382.0", "-1.5"),
                        testing::elementsStar("WordPeriod", "2461382.0", "短い")}));
  const testing::CliRun text =
      runCli({"night", "--catalogue", catalogue.string(), "--date", "2026-12-07", "--min-altitude", "-90"});
  ASSERT_EQ(text.status, 0) << text.err;
  EXPECT_TRUE(contains(text.out, "飛ばした星 5 個")) << text.out;
  const testing::NightJson machine =
      nightJson({"--catalogue", catalogue.string(), "--date", "2026-12-07", "--min-altitude", "-90"});
  ASSERT_EQ(machine.run.status, 0);
  EXPECT_EQ(machine.json["skipped_stars"], 5);
  EXPECT_GE(machine.json["events"].size(), 1u);
  for (const auto& event : machine.json["events"]) EXPECT_EQ(event["star"], "Good");
}

TEST_F(NightCommand, CoordinatesBeyondAnyNumberNeverShowInfOrNan) {
  StarRecord huge = testing::elementsStar("Huge", "2451545.0", "0.1");
  huge.alphaHour = "1e999";
  huge.deltaDeg = "-1e999";
  const auto catalogue =
      dir.write("huge.vsd", testing::vsdText({huge, testing::elementsStar("Fine", "2451545.0", "0.1")}));
  for (const char* format : {"text", "csv", "json", "ics"}) {
    const testing::CliRun r = runCli({"night", "--catalogue", catalogue.string(), "--date", "2026-12-07",
                                      "--min-altitude", "-90", "--format", format});
    EXPECT_EQ(r.status, 0) << format << r.err;
    for (const std::string& text : {r.out, r.err}) {
      EXPECT_FALSE(contains(text, "nan") || contains(text, "inf")) << format << "\n" << text;
    }
    EXPECT_TRUE(contains(r.out, "Fine")) << format;
    EXPECT_FALSE(contains(r.out, "Huge")) << format << ": a star without a place has no altitude to pass";
  }
}

TEST_F(NightCommand, ReadsCataloguesBeyondTheWindowsTable) {
  constexpr std::size_t kStars = 1500;
  const auto catalogue = dir.write("gcvs1500.vsd", testing::gcvsCatalogueText(testing::gcvsPath(), kStars));
  const testing::NightJson r =
      nightJson({"--catalogue", catalogue.string(), "--date", "2026-12-07", "--min-altitude", "-90"});
  ASSERT_EQ(r.run.status, 0) << r.run.err;
  // The stars after the table's 1001 rows take part too.
  std::ifstream tsv(testing::gcvsPath());
  std::set<std::string> lateNames;
  std::string line;
  for (std::size_t row = 0; row <= kStars && std::getline(tsv, line); ++row) {
    if (row > static_cast<std::size_t>(kStarTableRows)) lateNames.insert(line.substr(0, line.find('\t')));
  }
  std::size_t lateEvents = 0;
  for (const auto& event : r.json["events"]) lateEvents += lateNames.count(event["star"].get<std::string>());
  EXPECT_GT(lateEvents, 10u);
  // The window's lists keep their limit.
  const testing::CliRun today = runCli({"today", "--catalogue", catalogue.string(), "--date", "2026-12-07"});
  EXPECT_EQ(today.status, 1);
  EXPECT_TRUE(contains(today.err, "1001件まで")) << today.err;
}

TEST(Tonight, IsTheEveningsDateBeforeLocalNoonThePreviousOne) {
  const auto tokyo = sky::SiteZone::fromText("Asia/Tokyo");
  ASSERT_TRUE(tokyo);
  struct Case {
    int year, month, day, hour, minute;
    sky::NightDate evening;
  };
  for (const Case& c : {Case{2026, 12, 8, 3, 0, {2026, 12, 7}}, Case{2026, 12, 8, 11, 59, {2026, 12, 7}},
                        Case{2026, 12, 8, 12, 0, {2026, 12, 8}}, Case{2026, 12, 7, 23, 30, {2026, 12, 7}},
                        Case{2027, 1, 1, 2, 0, {2026, 12, 31}}, Case{2024, 3, 1, 6, 0, {2024, 2, 29}}}) {
    const auto ut = tokyo->localToUt(c.year, c.month, c.day, c.hour, c.minute + 0.5);
    ASSERT_TRUE(ut);
    const sky::NightDate evening = cli::eveningDateAt(*tokyo, *ut);
    EXPECT_EQ(std::tie(evening.year, evening.month, evening.day),
              std::tie(c.evening.year, c.evening.month, c.evening.day))
        << c.year << "-" << c.month << "-" << c.day << " " << c.hour << ":" << c.minute;
  }
  EXPECT_NEAR(cli::julianDayOf(std::chrono::system_clock::time_point{}), 2440587.5, 1e-12);
}

// Samoa skipped 2011-12-30: its morning of the 31st ends the night of the 29th.
TEST(Tonight, TheMorningAfterASkippedDayEndsTheEveningBeforeIt) {
  const auto apia = sky::SiteZone::fromText("Pacific/Apia");
  ASSERT_TRUE(apia);
  const sky::NightDate skipped = cli::eveningDateAt(*apia, *apia->localToUt(2011, 12, 31, 3, 0));
  EXPECT_EQ(std::tie(skipped.year, skipped.month, skipped.day), std::make_tuple(2011, 12, 29));
}

TEST_F(NightCommand, WithoutADateTheChosenNightIsSaid) {
  const testing::CliRun r = runCli({"night", "--catalogue", testing::samplePath()});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(contains(r.err, "--date を省いた")) << r.err;
  EXPECT_TRUE(contains(r.out, "日の夜")) << r.out;
}

// Minutes since 1970 of an ISO 8601 local time with its offset, read independently of the program.
long long utMinuteOfIso(const std::string& iso) {
  const int year = std::stoi(iso.substr(0, 4)), month = std::stoi(iso.substr(5, 2)), day = std::stoi(iso.substr(8, 2));
  const int hour = std::stoi(iso.substr(11, 2)), minute = std::stoi(iso.substr(14, 2));
  const int sign = iso[16] == '-' ? -1 : 1;
  const int offset = sign * (std::stoi(iso.substr(17, 2)) * 60 + std::stoi(iso.substr(20, 2)));
  const std::chrono::sys_days days{std::chrono::year{year} / month / day};
  return days.time_since_epoch().count() * 1440LL + hour * 60 + minute - offset;
}

struct SummerTimeNight {
  const char* name;
  const char* zone;
  const char* longitude;
  const char* latitude;
  const char* date;
  std::vector<std::string> offsets;  // in the order they occur
};

class SummerTimeNights : public testing::NightCommand, public ::testing::WithParamInterface<SummerTimeNight> {};

TEST_P(SummerTimeNights, GiveEachEventTheOffsetInForceAtItsInstant) {
  // A star with an extremum every 50 minutes lights up the whole clock night.
  const auto catalogue =
      dir.write("often.vsd", testing::vsdText({testing::elementsStar("Often", "2451545.0", "0.03472222")}));
  const SummerTimeNight& night = GetParam();
  const testing::NightJson r =
      nightJson({"--catalogue", catalogue.string(), "--date", night.date, "--window", "clock", "--min-altitude", "-90",
                 "--lon", night.longitude, "--lat", night.latitude, "--tz", night.zone});
  ASSERT_EQ(r.run.status, 0) << r.run.err;
  const auto& events = r.json["events"];
  ASSERT_GE(events.size(), 25u);
  std::vector<std::string> seen;
  double previous = 0;
  for (const auto& event : events) {
    const std::string iso = event["local_time"];
    const std::string offset = iso.substr(16);
    if (seen.empty() || seen.back() != offset) seen.push_back(offset);
    const double jd = event["jd"];
    EXPECT_GT(jd, previous);
    previous = jd;
    const auto utMinute = static_cast<long long>(std::floor((jd - 2440587.5) * 1440));
    EXPECT_EQ(utMinuteOfIso(iso), utMinute) << iso;
  }
  EXPECT_EQ(seen, night.offsets);
  // The clock night runs from 07:00 to 06:59 local time whatever the offsets.
  EXPECT_EQ(events.front()["local_time"].get<std::string>().substr(11, 2), "07");
  EXPECT_EQ(events.back()["local_time"].get<std::string>().substr(11, 2), "06");
}

INSTANTIATE_TEST_SUITE_P(
    Night, SummerTimeNights,
    ::testing::Values(
        SummerTimeNight{"PragueSpringForward", "Europe/Prague", "14.42", "50.09", "2026-03-28", {"+01:00", "+02:00"}},
        SummerTimeNight{"PragueFallBack", "Europe/Prague", "14.42", "50.09", "2026-10-24", {"+02:00", "+01:00"}},
        SummerTimeNight{"PragueWinter", "Europe/Prague", "14.42", "50.09", "2026-12-07", {"+01:00"}},
        SummerTimeNight{
            "NewYorkSpringForward", "America/New_York", "-74.0", "40.7", "2026-03-07", {"-05:00", "-04:00"}},
        SummerTimeNight{"NewYorkFallBack", "America/New_York", "-74.0", "40.7", "2026-10-31", {"-04:00", "-05:00"}},
        SummerTimeNight{"SydneyFallBack", "Australia/Sydney", "151.21", "-33.87", "2026-04-04", {"+11:00", "+10:00"}},
        SummerTimeNight{
            "SydneySpringForward", "Australia/Sydney", "151.21", "-33.87", "2026-10-03", {"+10:00", "+11:00"}},
        SummerTimeNight{"TokyoSummerTime1949", "Asia/Tokyo", "139.7", "35.7", "1949-09-10", {"+10:00", "+09:00"}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tenmirel
