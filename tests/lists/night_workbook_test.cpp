// The night's one workbook, read back by openpyxl as a spreadsheet program reads
// it: the night's facts above the table, numbers kept numbers with each column's
// own format, local times as date-times, and the command line's file the same.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

#include "catalogue/star_file.h"
#include "lists/night_workbook.h"
#include "prediction/night_stars.h"
#include "sheet/openpyxl_read.h"
#include "sheet/xlsx_component.h"
#include "sky/season_plan.h"
#include "support/recording_ports.h"

namespace tenmirel {
namespace {

struct SampleNight {
  sky::NightPlan plan;
  std::vector<const sky::NightEvent*> events;
};

SampleNight sampleNight(double minimumAltitude) {
  const auto stars = nightStarsOf(readStarFile(testing::sourceDir() / "data" / "sample.vsd").records);
  sky::NightOptions options;
  options.minimumAltitudeDegrees = minimumAltitude;
  auto plan = sky::planNight(stars, sky::builtInSite(), {2026, 12, 7}, options);
  EXPECT_TRUE(plan.ok());
  return SampleNight{*plan, {}};
}

void keepPassing(SampleNight& night) { night.events = sky::passingEvents(night.plan); }

testing::ReadSheet written(const SampleNight& night, const std::filesystem::path& path) {
  XlsxFileSettings settings;
  settings.exactPath = path;
  XlsxFileComponent files(settings);
  const SavedFile saved = writeNightWorkbook(files, night.plan.night, night.events, false);
  EXPECT_TRUE(saved.saved) << saved.reason;
  const auto book = testing::readWorkbookWithOpenpyxl(TENMIREL_PYTHON3, TENMIREL_SHEET_TEST_DIR, path);
  EXPECT_TRUE(book.read);
  EXPECT_EQ(book.sheets, 1);
  return book.firstSheet;
}

int columnTitled(const testing::ReadSheet& sheet, int headerRow, const std::string& title) {
  for (int column = 1; column <= 40; ++column) {
    const auto cell = sheet.find({headerRow, column});
    if (cell != sheet.end() && cell->second.value == title) return column;
  }
  ADD_FAILURE() << "no column " << title;
  return 0;
}

TEST(NightWorkbook, NumbersStayNumbersWithTheirColumnsFormats) {
  testing::TempDir dir;
  SampleNight night = sampleNight(30);
  keepPassing(night);
  ASSERT_EQ(night.events.size(), 9u);  // the README's table of that night
  const testing::ReadSheet sheet = written(night, dir.path() / "night.xlsx");
  const TypedSheet expected = nightWorkbookSheet(night.plan.night, night.events);
  const int header = static_cast<int>(typedSheetHeaderRow(expected));

  // The night's facts and filters stand above the table.
  EXPECT_EQ(sheet.at({1, 1}).value, "今夜の観測計画");
  EXPECT_EQ(sheet.at({1, 2}).value, "2026年12月7日の夜");
  bool filtersSaid = false;
  for (int row = 1; row < header; ++row) {
    const auto label = sheet.find({row, 1});
    if (label != sheet.end() && label->second.value == "条件") {
      filtersSaid = sheet.at({row, 2}).value.find("高度 30° 以上") != std::string::npos;
    }
  }
  EXPECT_TRUE(filtersSaid);

  struct Kind {
    const char* title;
    char type;
    const char* format;
  };
  for (const Kind& kind :
       {Kind{"星名", 's', "General"}, Kind{"日時（地方時）", 'd', "yyyy-mm-dd hh:mm"}, Kind{"回帰", 'n', "0"},
        Kind{"ユリウス日（世界時）", 'n', "0.00000"}, Kind{"高度（°）", 'n', "0.0"}, Kind{"月の輝面", 'n', "0%"}}) {
    SCOPED_TRACE(kind.title);
    const int column = columnTitled(sheet, header, kind.title);
    for (std::size_t i = 0; i < night.events.size(); ++i) {
      const testing::ReadCell& cell = sheet.at({header + 1 + static_cast<int>(i), column});
      EXPECT_EQ(cell.type, kind.type);
      EXPECT_EQ(cell.format, kind.format);
    }
  }
  // The values are the engine's own, not rounded texts (the writer keeps 16 digits).
  const int cycle = columnTitled(sheet, header, "回帰");
  const int time = columnTitled(sheet, header, "日時（地方時）");
  const int altitude = columnTitled(sheet, header, "高度（°）");
  const int illumination = columnTitled(sheet, header, "月の輝面");
  for (std::size_t i = 0; i < night.events.size(); ++i) {
    const sky::NightEvent& event = *night.events[i];
    const int row = header + 1 + static_cast<int>(i);
    EXPECT_EQ(std::stod(sheet.at({row, cycle}).value), static_cast<double>(event.cycle));
    EXPECT_DOUBLE_EQ(std::stod(sheet.at({row, altitude}).value), event.altitudeDegrees);
    EXPECT_DOUBLE_EQ(std::stod(sheet.at({row, illumination}).value), event.moonIlluminatedFraction);
    std::string iso = event.localText;
    iso[10] = 'T';
    EXPECT_EQ(sheet.at({row, time}).value, iso);
  }
  // Every column titled but the failed filters' (every event passes), no cell beside or below the table.
  EXPECT_EQ(expected.columns.size(), nightWorkbookColumns().size() - 1);
  EXPECT_EQ(sheet.count({header, static_cast<int>(expected.columns.size())}), 1u);
  EXPECT_EQ(sheet.count({header, static_cast<int>(expected.columns.size()) + 1}), 0u);
  EXPECT_EQ(sheet.count({header + 1 + static_cast<int>(night.events.size()), 1}), 0u);
}

TEST(NightWorkbook, EventsWithoutAPlaceLeaveTheirDirectionsEmpty) {
  testing::TempDir dir;
  SampleNight night = sampleNight(-90);
  keepPassing(night);
  ASSERT_FALSE(night.events.empty());
  sky::NightEvent placeless = *night.events.front();
  placeless.hasPlace = false;
  placeless.passesAltitude = false;  // as the engine judges a star without a place
  night.events = {&placeless};
  const testing::ReadSheet sheet = written(night, dir.path() / "placeless.xlsx");
  const int header = static_cast<int>(nightWorkbookFacts(night.plan.night, 1).size()) + 2;
  EXPECT_EQ(sheet.count({header + 1, columnTitled(sheet, header, "高度（°）")}), 0u);
  EXPECT_EQ(sheet.count({header + 1, columnTitled(sheet, header, "月との角距離（°）")}), 0u);
  EXPECT_EQ(sheet.at({header + 1, columnTitled(sheet, header, "太陽高度（°）")}).type, 'n');
  // Failing the altitude, it says so in a column of its own.
  EXPECT_EQ(sheet.at({header + 1, columnTitled(sheet, header, "条件外")}).value, "高度");
}

}  // namespace
}  // namespace tenmirel

namespace tenmirel {
namespace {

// A night with secondary minima asked for: each event's kind, its eclipse's
// duration and its uncertainty reach the workbook as the engine gave them.
TEST(NightWorkbook, KindsDurationsAndUncertaintiesAreCells) {
  testing::TempDir dir;
  std::vector<StarRecord> records = readStarFile(testing::sourceDir() / "data" / "sample.vsd").records;
  for (StarRecord& record : records) {
    if (record.starName == "RZ Cas") record.memo = "EA/SD D=12 " + record.memo;
  }
  sky::NightOptions options;
  options.minimumAltitudeDegrees = -90;
  options.secondaryMinima = true;
  options.aroundFromDuration = true;
  auto plan = sky::planNight(nightStarsOf(records), sky::builtInSite(), {2026, 12, 7}, options);
  ASSERT_TRUE(plan.ok());
  SampleNight night{*plan, {}};
  for (const sky::NightEvent& event : night.plan.events) night.events.push_back(&event);
  const auto secondary = std::find_if(night.events.begin(), night.events.end(),
                                      [](const sky::NightEvent* e) { return e->kind == sky::EventKind::secondary; });
  ASSERT_NE(secondary, night.events.end()) << "the sample's night holds a secondary minimum";
  const testing::ReadSheet sheet = written(night, dir.path() / "eclipses.xlsx");
  const int header = static_cast<int>(typedSheetHeaderRow(nightWorkbookSheet(night.plan.night, night.events)));
  const int kind = columnTitled(sheet, header, "種類");
  const int duration = columnTitled(sheet, header, "食の継続（分）");
  const int uncertainty = columnTitled(sheet, header, "予報の不確かさ（分）");
  for (std::size_t i = 0; i < night.events.size(); ++i) {
    const sky::NightEvent& event = *night.events[i];
    const int row = header + 1 + static_cast<int>(i);
    SCOPED_TRACE(event.name);
    EXPECT_EQ(sheet.at({row, kind}).value, sky::eventKindWord(event.kind));
    EXPECT_EQ(sheet.at({row, uncertainty}).type, 'n');
    EXPECT_DOUBLE_EQ(std::stod(sheet.at({row, uncertainty}).value), event.uncertaintyMinutes);
    if (event.durationMinutes) {
      EXPECT_DOUBLE_EQ(std::stod(sheet.at({row, duration}).value), *event.durationMinutes);
    } else {
      EXPECT_EQ(sheet.count({row, duration}), 0u);
    }
  }
  const bool rzCasHasItsEclipse = std::any_of(night.events.begin(), night.events.end(), [](const sky::NightEvent* e) {
    return e->name == "RZ Cas" && e->durationMinutes && *e->durationMinutes > 0;
  });
  EXPECT_TRUE(rzCasHasItsEclipse);
}

// A season's workbook is the night's table with each event's evening in front:
// the first evening's rows are that night's passing events, in the same columns.
TEST(SeasonWorkbook, EachEventUnderItsEveningInTheNightsColumns) {
  testing::TempDir dir;
  const auto stars = nightStarsOf(readStarFile(testing::sourceDir() / "data" / "sample.vsd").records);
  sky::NightOptions options;
  options.minimumAltitudeDegrees = 30;
  const auto season = sky::planSeason(stars, sky::builtInSite(), {2026, 12, 7}, 3, options);
  ASSERT_TRUE(season.ok());
  std::vector<SeasonWorkbookEvent> events;
  for (const sky::NightPlan& plan : season->nights) {
    for (const sky::NightEvent* event : sky::passingEvents(plan)) events.push_back({&plan.night, event});
  }
  const auto path = dir.path() / "season.xlsx";
  XlsxFileSettings settings;
  settings.exactPath = path;
  XlsxFileComponent files(settings);
  const SavedFile saved = writeSeasonWorkbook(files, *season, {"RZ Cas"}, events, false);
  ASSERT_TRUE(saved.saved) << saved.reason;
  const auto book = testing::readWorkbookWithOpenpyxl(TENMIREL_PYTHON3, TENMIREL_SHEET_TEST_DIR, path);
  ASSERT_TRUE(book.read);
  const testing::ReadSheet& sheet = book.firstSheet;

  EXPECT_EQ(sheet.at({1, 1}).value, "星ごとの予報");
  EXPECT_EQ(sheet.at({1, 2}).value, "2026年12月7日の夜から2026年12月9日の夜までの 3 夜");
  const int header = static_cast<int>(seasonWorkbookFacts(*season, {"RZ Cas"}, events.size()).size()) + 2;
  bool filtersSaid = false;
  for (int row = 1; row < header; ++row) {
    const auto label = sheet.find({row, 1});
    if (label != sheet.end() && label->second.value == "条件") {
      filtersSaid = sheet.at({row, 2}).value.find("高度 30° 以上") != std::string::npos;
    }
  }
  EXPECT_TRUE(filtersSaid);

  // "夜" first, then exactly the night workbook's columns.
  EXPECT_EQ(sheet.at({header, 1}).value, "夜");
  const TypedSheet night = nightWorkbookSheet(season->nights.front().night, {});
  for (std::size_t c = 0; c < night.columns.size(); ++c) {
    EXPECT_EQ(sheet.at({header, static_cast<int>(c) + 2}).value, night.columns[c].title);
  }
  EXPECT_EQ(sheet.count({header, static_cast<int>(night.columns.size()) + 2}), 0u);

  std::size_t firstEvening = 0;
  const int time = columnTitled(sheet, header, "日時（地方時）");
  for (std::size_t i = 0; i < events.size(); ++i) {
    const int row = header + 1 + static_cast<int>(i);
    const testing::ReadCell& evening = sheet.at({row, 1});
    EXPECT_EQ(evening.type, 'd');
    EXPECT_EQ(evening.format, "yyyy-mm-dd");
    const sky::NightDate& d = events[i].night->date;
    char iso[32];
    std::snprintf(iso, sizeof iso, "%04d-%02d-%02dT00:00", d.year, d.month, d.day);
    EXPECT_EQ(evening.value, iso);
    // The event itself falls on its evening or the morning after.
    EXPECT_LE(evening.value.substr(0, 10), sheet.at({row, time}).value.substr(0, 10));
    if (evening.value == "2026-12-07T00:00") ++firstEvening;
  }
  EXPECT_EQ(firstEvening, 9u);  // the night workbook's sample night, with the same filters
  EXPECT_EQ(sheet.count({header + 1 + static_cast<int>(events.size()), 1}), 0u);
}

}  // namespace
}  // namespace tenmirel
