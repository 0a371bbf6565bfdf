// The night plan as an aligned table for the terminal and as CSV.
#include <cmath>
#include <sstream>

#include "cli/night_report.h"
#include "cli/terminal_text.h"
#include "cli/text_table.h"
#include "common/number_text.h"
#include "sky/twilight.h"

namespace tenmirel::cli {
namespace {

constexpr double kNewMoonBelow = 0.03;
constexpr double kFullMoonAbove = 0.97;
constexpr double kPercent = 100;

const std::vector<std::string> kColumns = {
    "星名",      "回帰",           "日時（地方時）", "ユリウス日（世界時）", "高度（°）",
    "方位（°）", "太陽高度（°）",  "月高度（°）",    "月の輝面（%）",        "月との角距離（°）",
    "種類",      "食の継続（分）", "不確かさ（分）"};
// The CSV's own names for what the text shows in its last three columns, and more.
const std::vector<std::string> kCsvExtraColumns = {
    "kind", "phase", "duration_minutes", "uncertainty_minutes", "uncertain_elements", "uncertainty_source"};
constexpr std::size_t kCsvSharedColumns = 10;

std::string degreesText(double degrees) { return numberToText(degrees) + "°"; }

}  // namespace

std::string siteLine(const NightReport& report) {
  const sky::Site& site = report.plan.night.site;
  return shownOnTerminal(site.name) + "（経度 " + degreesText(site.longitudeDegrees) + "、緯度 " +
         degreesText(site.latitudeDegrees) + "、標高 " + numberToText(site.heightMetres) + " m、" +
         shownOnTerminal(site.zone) + "）";
}

namespace {

std::string crossingText(const NightReport& report, const std::optional<double>& instant) {
  return instant ? localTimeAt(report, *instant) : std::string("なし");
}

std::string moonPhaseText(const sky::NightSummary& night) {
  const double lit = night.moonIlluminatedFraction;
  std::string phase = night.moonWaxing ? "満ちていく月" : "欠けていく月";
  if (lit < kNewMoonBelow) phase = "新月のころ";
  if (lit > kFullMoonAbove) phase = "満月のころ";
  return "輝面 " + oneDecimal(lit * kPercent) + "%（" + phase + "）";
}

bool wholeEclipseShown(const NightReport& report) {
  for (const sky::NightEvent* event : report.shown) {
    if (event->durationMinutes) return true;
  }
  return false;
}

void printHeader(const NightReport& report, std::ostream& out) {
  const sky::NightSummary& night = report.plan.night;
  out << nightDateText(night.date) << "の夜  " << siteLine(report) << "  元期の時刻系 "
      << sky::elementsTimeName(report.elements) << '\n';
  if (night.darkness != sky::Darkness::neverDark) {
    out << "夜: " << localTimeAt(report, night.windowStartUt) << " 〜 " << localTimeAt(report, night.windowEndUt);
    if (night.options.window == sky::NightWindow::clock) {
      out << "（7時から翌朝6時59分までの観測夜）\n";
    } else {
      out << "（太陽高度 " << degreesText(night.options.sunLimitDegrees) << " 以下）\n";
    }
  }
  for (const sky::TwilightLevel& level : night.twilights) {
    const bool sunset = level.limitDegrees == sky::kSunsetAltitudeDegrees;
    out << (sunset ? "日の入り " : "薄明 " + degreesText(level.limitDegrees) + ": 夕 ")
        << crossingText(report, level.stretch.evening) << (sunset ? "  日の出 " : "  朝 ")
        << crossingText(report, level.stretch.morning) << '\n';
  }
  out << "月: " << moonPhaseText(night);
  if (night.moonCrossings.empty()) out << "  正午から翌日正午まで月の出・月の入りなし";
  for (const sky::MoonCrossing& crossing : night.moonCrossings) {
    out << "  " << (crossing.rising ? "月の出 " : "月の入り ") << localTimeAt(report, crossing.julianDayUt);
  }
  out << '\n';
  out << conditionsLine(report) << '\n';
}

}  // namespace

std::string conditionsLine(const NightReport& report) {
  const sky::NightOptions& options = report.plan.night.options;
  std::ostringstream out;
  out << "条件: 高度 " << degreesText(options.minimumAltitudeDegrees) << " 以上";
  if (options.moonDistanceDegrees) out << "、月から " << degreesText(*options.moonDistanceDegrees) << " 以上";
  if (options.aroundMinutes > 0) out << "、極の前後 " << numberToText(options.aroundMinutes) << " 分も";
  if (options.aroundFromDuration && wholeEclipseShown(report)) out << "、食の継続時間の分かる極小は食の全体";
  if (options.secondaryMinima) out << "、副極小も";
  if (options.maxUncertaintyMinutes) {
    out << "、予報の不確かさ " << numberToText(*options.maxUncertaintyMinutes) << " 分以内";
  }
  out << (options.refraction ? "、大気差あり" : "、大気差なし");
  return out.str();
}

const std::vector<std::string>& nightTableColumns() { return kColumns; }

std::vector<std::string> nightCsvColumns() {
  std::vector<std::string> columns;
  for (std::size_t column = 0; column < kCsvSharedColumns; ++column) columns.push_back(csvField(kColumns[column]));
  columns.insert(columns.end(), kCsvExtraColumns.begin(), kCsvExtraColumns.end());
  return columns;
}

std::vector<std::string> nightEventCells(const NightReport& report, const sky::NightEvent& event, bool forCsv) {
  std::vector<std::string> cells = {forCsv ? csvTextFromCatalogue(event.name) : shownOnTerminal(event.name),
                                    std::to_string(event.cycle),
                                    forCsv ? event.isoText : localTimeOfEvent(report, event),
                                    numberToText(event.julianDayUt),
                                    oneDecimal(event.altitudeDegrees),
                                    oneDecimal(event.azimuthDegrees),
                                    oneDecimal(event.sunAltitudeDegrees),
                                    oneDecimal(event.moonAltitudeDegrees),
                                    oneDecimal(event.moonIlluminatedFraction * kPercent),
                                    oneDecimal(event.moonSeparationDegrees)};
  if (forCsv) {
    cells.insert(cells.end(), {sky::eventKindKey(event.kind), numberToText(event.phase),
                               event.durationMinutes ? numberToText(*event.durationMinutes) : std::string(),
                               numberToText(event.uncertaintyMinutes), event.uncertainElements ? "true" : "false",
                               event.uncertaintyFromFit ? "fit" : "digits"});
  } else {
    cells.insert(cells.end(), {sky::eventKindWord(event.kind), durationText(event), uncertaintyText(event)});
  }
  return cells;
}

void printTrimmed(const TextTable& table, std::ostream& out) {
  // The last columns are often empty: no row ends in their padding.
  std::ostringstream printed;
  table.print(printed);
  std::istringstream lines(printed.str());
  for (std::string line; std::getline(lines, line);) out << line.substr(0, line.find_last_not_of(' ') + 1) << '\n';
}

void alignNightColumns(TextTable& table, std::size_t first) {
  for (std::size_t column = 1; column < kColumns.size(); ++column) {
    if (column != 2 && column != kCsvSharedColumns) table.alignRight(first + column);
  }
}

void printNightText(const NightReport& report, std::ostream& out) {
  printHeader(report, out);
  const sky::NightSummary& night = report.plan.night;
  if (!night.darknessMessage.empty()) out << night.darknessMessage << '\n';
  if (night.darkness != sky::Darkness::neverDark) {
    out << '\n';
    TextTable table(kColumns);
    alignNightColumns(table, 0);
    for (const sky::NightEvent* event : report.shown) table.addRow(nightEventCells(report, *event, false));
    printTrimmed(table, out);
  }
  out << shownCountLine(report) << '\n' << skippedCountLine(report) << '\n';
}

void printNightCsv(const NightReport& report, std::ostream& out) {
  const std::vector<std::string> columns = nightCsvColumns();
  for (std::size_t column = 0; column < columns.size(); ++column) out << (column ? "," : "") << columns[column];
  out << '\n';
  for (const sky::NightEvent* event : report.shown) {
    const std::vector<std::string> cells = nightEventCells(report, *event, true);
    for (std::size_t column = 0; column < cells.size(); ++column) {
      out << (column ? "," : "") << (column == 0 ? cells[column] : csvField(cells[column]));
    }
    out << '\n';
  }
}

}  // namespace tenmirel::cli
