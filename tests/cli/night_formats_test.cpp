// The night plan's formats read back: JSON through nlohmann, CSV by its columns,
// iCalendar through libical, .xlsx through the workbook check; and the text table.
#include <libical/ical.h>

#include <map>
#include <regex>
#include <set>

#include "night_fixture.h"
#include "sheet/openpyxl_read.h"
#include "sheet/workbook_check.h"
#include "sky/elements_settings.h"

namespace tenmirel {
namespace {

using testing::contains;
using testing::nightJson;
using testing::runCli;
using NightCommand = testing::NightCommand;

std::vector<std::string> sampleNight() { return {"--catalogue", testing::samplePath(), "--date", "2026-12-07"}; }

std::vector<std::string> with(std::vector<std::string> args, const std::vector<std::string>& more) {
  args.insert(args.end(), more.begin(), more.end());
  return args;
}

TEST_F(NightCommand, JsonHoldsTheNightAndTheEventsAsNumbers) {
  const testing::NightJson r = nightJson(sampleNight());
  ASSERT_EQ(r.run.status, 0) << r.run.err;
  const auto& night = r.json["night"];
  EXPECT_EQ(night["date"], "2026-12-07");
  EXPECT_EQ(night["elements"], "JD");
  EXPECT_EQ(night["window"], "sun_below");
  EXPECT_EQ(night["sun_limit_deg"], -12);
  EXPECT_TRUE(night["start_jd"].is_number());
  EXPECT_LT(night["start_jd"].get<double>(), night["end_jd"].get<double>());
  EXPECT_TRUE(std::regex_match(night["start"].get<std::string>(), std::regex(R"(2026-12-07T1[6-8]:\d\d\+09:00)")))
      << night["start"];
  EXPECT_EQ(night["twilights"].size(), 4u);
  EXPECT_TRUE(night["moon"]["illumination"].is_number());
  const auto& events = r.json["events"];
  ASSERT_FALSE(events.empty());
  double previous = 0;
  for (const auto& event : events) {
    for (const char* key : {"cycle", "jd", "jd_elements", "altitude_deg", "azimuth_deg", "sun_altitude_deg",
                            "moon_altitude_deg", "moon_illumination", "moon_separation_deg"}) {
      EXPECT_TRUE(event[key].is_number()) << key;
    }
    EXPECT_TRUE(event["cycle"].is_number_integer());
    EXPECT_GE(event["altitude_deg"].get<double>(), 0);
    EXPECT_LT(event["sun_altitude_deg"].get<double>(), -11.5);
    EXPECT_GE(event["jd"].get<double>(), night["start_jd"].get<double>());
    EXPECT_LE(event["jd"].get<double>(), night["end_jd"].get<double>());
    EXPECT_GE(event["jd"].get<double>(), previous);
    previous = event["jd"];
  }
}

TEST_F(NightCommand, FiltersHideEventsAndCountThem) {
  const testing::NightJson all = nightJson(with(sampleNight(), {"--min-altitude", "-90"}));
  ASSERT_EQ(all.run.status, 0);
  const std::size_t total = all.json["events"].size() + all.json["hidden_events"].get<std::size_t>();
  struct Filter {
    std::vector<std::string> args;
  };
  for (const Filter& filter : {Filter{{"--min-altitude", "40"}}, Filter{{"--moon-distance", "60"}},
                               Filter{{"--around", "90", "--min-altitude", "20"}}}) {
    const testing::NightJson r = nightJson(with(sampleNight(), filter.args));
    ASSERT_EQ(r.run.status, 0) << r.run.err;
    EXPECT_EQ(r.json["events"].size() + r.json["hidden_events"].get<std::size_t>(), total) << filter.args[0];
    EXPECT_GT(r.json["hidden_events"].get<std::size_t>(), 0u) << filter.args[0];
    for (const auto& event : r.json["events"]) {
      if (filter.args[0] == "--min-altitude") {
        EXPECT_GE(event["altitude_deg"].get<double>(), 40);
      }
      if (filter.args[0] == "--moon-distance") {
        EXPECT_GE(event["moon_separation_deg"].get<double>(), 60);
      }
    }
  }
}

TEST_F(NightCommand, TextHasTheNightsHeaderAndClosingLines) {
  const testing::CliRun r = runCli(with({"night"}, with(sampleNight(), {"--min-altitude", "30"})));
  ASSERT_EQ(r.status, 0) << r.err;
  const std::vector<std::string> rows = testing::lines(r.out);
  ASSERT_GT(rows.size(), 8u);
  EXPECT_EQ(rows[0].rfind("2026年12月7日の夜  既定の観測地", 0), 0u) << rows[0];
  for (const char* part : {"夜: 2026-12-07 ", "太陽高度 -12° 以下", "日の入り ", "薄明 -18°: 夕 ", "月: 輝面 ",
                           "条件: 高度 30° 以上", "星名", "月との角距離", "飛ばした星 0 個"}) {
    EXPECT_TRUE(contains(r.out, part)) << part;
  }
  EXPECT_TRUE(std::regex_search(rows[rows.size() - 2],
                                std::regex(R"(極 \d+ 件を表示しました（条件に合わずに隠した極 [1-9]\d* 件）)")))
      << rows[rows.size() - 2];
  EXPECT_TRUE(std::regex_search(
      r.out, std::regex(R"(\n[A-Z][A-Za-z]* [A-Z][a-z]{2} +\d+ +2026-12-0[78] \d\d:\d\d +24\d{5}\.\d+ +\d+\.\d)")))
      << r.out;
}

TEST_F(NightCommand, CsvHasTheTableColumnsThenTheEventsKindAndUncertainty) {
  const testing::CliRun r = runCli(with({"night"}, with(sampleNight(), {"--format", "csv"})));
  ASSERT_EQ(r.status, 0) << r.err;
  const std::vector<std::string> rows = testing::lines(r.out);
  ASSERT_GT(rows.size(), 2u);
  EXPECT_EQ(rows[0],
            "星名,回帰,日時（地方時）,ユリウス日（世界時）,高度（°）,方位（°）,太陽高度（°）,月高度（°）,月の輝面（%）,"
            "月との角距離（°）,kind,phase,duration_minutes,uncertainty_minutes,uncertain_elements,uncertainty_source");
  const std::regex row(R"([^,]+,-?\d+,\d{4}-\d\d-\d\dT\d\d:\d\d\+09:00,24\d{5}\.?\d*(,-?\d+\.\d){6})"
                       R"(,(primary|maximum|extremum),0,,[\d.]+(E-\d+)?,(true|false),digits)");
  for (std::size_t i = 1; i < rows.size(); ++i) EXPECT_TRUE(std::regex_match(rows[i], row)) << rows[i];
  EXPECT_TRUE(contains(r.err, "飛ばした星 0 個"));
}

TEST_F(NightCommand, CsvStartsWithAByteOrderMarkOnlyWhenAskedFor) {
  const testing::CliRun plain = runCli(with({"night"}, with(sampleNight(), {"--format", "csv"})));
  const testing::CliRun marked = runCli(with({"night"}, with(sampleNight(), {"--format", "csv", "--bom"})));
  ASSERT_EQ(marked.status, 0) << marked.err;
  EXPECT_EQ(plain.out.rfind("星名,", 0), 0u);
  EXPECT_EQ(marked.out, "\xEF\xBB\xBF" + plain.out);
  const testing::CliRun text = runCli(with({"night"}, with(sampleNight(), {"--bom"})));
  EXPECT_EQ(text.status, 2);
  EXPECT_TRUE(contains(text.err, "--bom")) << text.err;
}

struct CalendarEvent {
  std::string uid, summary;
  icaltimetype start, end;
};

std::vector<CalendarEvent> readCalendar(const std::string& text) {
  std::vector<CalendarEvent> events;
  icalcomponent* calendar = icalparser_parse_string(text.c_str());
  EXPECT_NE(calendar, nullptr);
  if (calendar == nullptr) return events;
  EXPECT_EQ(icalcomponent_isa(calendar), ICAL_VCALENDAR_COMPONENT);
  for (icalcomponent* event = icalcomponent_get_first_component(calendar, ICAL_VEVENT_COMPONENT); event != nullptr;
       event = icalcomponent_get_next_component(calendar, ICAL_VEVENT_COMPONENT)) {
    events.push_back({icalcomponent_get_uid(event), icalcomponent_get_summary(event), icalcomponent_get_dtstart(event),
                      icalcomponent_get_dtend(event)});
  }
  icalcomponent_free(calendar);
  return events;
}

TEST_F(NightCommand, CalendarHasOneUtcEventPerExtremumWithStableUids) {
  const std::vector<std::string> night = with(sampleNight(), {"--around", "30"});
  const testing::NightJson machine = nightJson(night);
  ASSERT_EQ(machine.run.status, 0);
  const testing::CliRun ics = runCli(with({"night"}, with(night, {"--format", "ics"})));
  ASSERT_EQ(ics.status, 0) << ics.err;
  const std::vector<CalendarEvent> events = readCalendar(ics.out);
  ASSERT_EQ(events.size(), machine.json["events"].size());
  ASSERT_FALSE(events.empty());
  std::set<std::string> uids;
  const std::regex summary(R"(.+ 第-?\d+回帰 高度-?\d+°)");
  for (std::size_t i = 0; i < events.size(); ++i) {
    const CalendarEvent& event = events[i];
    const auto& json = machine.json["events"][i];
    uids.insert(event.uid);
    EXPECT_TRUE(icaltime_is_utc(event.start));
    EXPECT_TRUE(icaltime_is_utc(event.end));
    EXPECT_EQ(icaltime_as_timet(event.end) - icaltime_as_timet(event.start), 60 * 60);
    const double middle = (icaltime_as_timet(event.start) + icaltime_as_timet(event.end)) / 2.0;
    EXPECT_NEAR(middle / 86400 + 2440587.5, json["jd"].get<double>(), 1.0 / 86400);
    EXPECT_TRUE(std::regex_match(event.summary, summary)) << event.summary;
    const std::map<std::string, std::string> kindWords = {
        {"primary", " 主極小"}, {"secondary", " 副極小"}, {"maximum", " 極大"}, {"extremum", ""}};
    EXPECT_EQ(event.summary.rfind(json["star"].get<std::string>() + kindWords.at(json["kind"]) + " 第" +
                                      std::to_string(json["cycle"].get<long long>()) + "回帰",
                                  0),
              0u)
        << event.summary;
  }
  EXPECT_EQ(uids.size(), events.size());

  // The same star and cycle keep their UID at another site and with other filters;
  // a one-minute event starts on the minute the tables show.
  const testing::CliRun again =
      runCli({"night", "--catalogue", testing::samplePath(), "--date", "2026-12-07", "--lon", "135", "--lat", "34.7",
              "--tz", "Asia/Tokyo", "--min-altitude", "-90", "--format", "ics"});
  ASSERT_EQ(again.status, 0) << again.err;
  std::size_t shared = 0;
  for (const CalendarEvent& event : readCalendar(again.out)) {
    shared += uids.count(event.uid);
    EXPECT_EQ(icaltime_as_timet(event.end) - icaltime_as_timet(event.start), 60);
    EXPECT_EQ(icaltime_as_timet(event.start) % 60, 0);
  }
  EXPECT_EQ(shared, uids.size());
}

TEST_F(NightCommand, XlsxIsWrittenWholeOrNotAtAll) {
  const auto path = dir.path() / "night.xlsx";
  testing::CliRun r = runCli(with({"night"}, with(sampleNight(), {"--xlsx", path.string()})));
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(contains(r.out, "書き出しました"));
  EXPECT_EQ(checkWorkbookFile(path), "");
  // The window's own workbook: the night above the table, each column in its own format.
  const testing::ReadWorkbook book = testing::readWorkbookWithOpenpyxl(TENMIREL_PYTHON3, TENMIREL_SHEET_TEST_DIR, path);
  ASSERT_TRUE(book.read);
  EXPECT_EQ(book.firstSheet.at({1, 1}).value, "今夜の観測計画");
  int header = 1;
  while (header < 40 && !(book.firstSheet.count({header, 1}) && book.firstSheet.at({header, 1}).value == "星名"))
    ++header;
  std::map<std::string, std::string> formats;
  for (int column = 1; book.firstSheet.count({header, column}); ++column) {
    // An empty cell (no eclipse duration known) has no format to read.
    if (!book.firstSheet.count({header + 1, column})) continue;
    formats[book.firstSheet.at({header, column}).value] = book.firstSheet.at({header + 1, column}).format;
  }
  EXPECT_EQ(formats["回帰"], "0");
  EXPECT_EQ(formats["ユリウス日（世界時）"], "0.00000");
  EXPECT_EQ(formats["高度（°）"], "0.0");
  EXPECT_EQ(formats["月の輝面"], "0%");
  EXPECT_EQ(formats["日時（地方時）"], "yyyy-mm-dd hh:mm");

  const auto nowhere = dir.path() / "missing-folder" / "night.xlsx";
  r = runCli(with({"night"}, with(sampleNight(), {"--xlsx", nowhere.string()})));
  EXPECT_EQ(r.status, 1);
  EXPECT_TRUE(contains(r.err, "保存できませんでした")) << r.err;
  EXPECT_FALSE(std::filesystem::exists(nowhere.parent_path()));
}

TEST_F(NightCommand, RememberedElementsSystemIsUsedUnlessOverridden) {
  const auto catalogue =
      dir.write("kreiner.vsd", testing::vsdText({testing::elementsStar("Algolish", "2461382.1", "2.8673")}));
  sky::ElementsSettings settings(config.dir().path() / "Tenmirel" / "settings.toml");
  ASSERT_FALSE(settings.setTimeSystem(catalogue, sky::ElementsTime::hjd));
  const std::vector<std::string> night = {"--catalogue", catalogue.string(), "--date", "2026-12-07", "--window",
                                          "clock",       "--min-altitude",   "-90"};
  const testing::NightJson remembered = nightJson(night);
  ASSERT_EQ(remembered.run.status, 0) << remembered.run.err;
  EXPECT_EQ(remembered.json["night"]["elements"], "HJD");
  const testing::NightJson plain = nightJson(with(night, {"--elements", "jd"}));
  ASSERT_EQ(plain.run.status, 0);
  EXPECT_EQ(plain.json["night"]["elements"], "JD");
  ASSERT_EQ(remembered.json["events"].size(), 1u);
  ASSERT_EQ(plain.json["events"].size(), 1u);
  // In December the Earth is on the star's side of the Sun at 6h: the light arrives minutes earlier than at the Sun.
  const double shiftMinutes =
      (remembered.json["events"][0]["jd"].get<double>() - plain.json["events"][0]["jd"].get<double>()) * 1440;
  EXPECT_LT(shiftMinutes, -3);
  EXPECT_GT(shiftMinutes, -8.4);
}

}  // namespace
}  // namespace tenmirel
