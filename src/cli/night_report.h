#pragma once
// One night plan as the command line hands it out: the events that pass the
// filters, and the counts of those hidden and of the stars skipped. Each format
// (aligned text, CSV, JSON, iCalendar, .xlsx) has its own file.
#include <cstddef>
#include <ostream>
#include <string>
#include <vector>

#include "sky/elements_time.h"
#include "sky/night_plan.h"
#include "sky/season_plan.h"
#include "sky/site_zone.h"

namespace tenmirel::cli {

struct NightReport {
  const sky::NightPlan& plan;
  const sky::SiteZone& zone;
  sky::ElementsTime elements = sky::ElementsTime::jd;
  std::vector<const sky::NightEvent*> shown;
  std::size_t hiddenEvents = 0;

  NightReport(const sky::NightPlan& nightPlan, const sky::SiteZone& siteZone, sky::ElementsTime system);
  std::size_t skippedStars() const { return plan.skippedStars; }
};

// Texts shared by the formats.
// "34.2": one decimal, never "-0.0".
std::string oneDecimal(double value);
// "2026-12-07 21:34", with the offset ("2026-03-29 01:30 +01:00") where the zone has summer time.
std::string localTimeOfEvent(const NightReport& report, const sky::NightEvent& event);
// The local minute of an instant, as above.
std::string localTimeAt(const NightReport& report, double julianDayUt);
// ISO 8601 with the offset in force: "2026-12-07T21:34+09:00".
std::string isoTimeAt(const NightReport& report, double julianDayUt);
// "2026年12月7日".
std::string nightDateText(const sky::NightDate& date);
// "±7.2" above one minute, "" below; "≥±0.3" whenever the elements are uncertain
// beyond their digits, the figure then only a lower bound.
std::string uncertaintyText(const sky::NightEvent& event);
// "128.4" minutes, or "" without a duration.
std::string durationText(const sky::NightEvent& event);
// The closing lines: the events shown and hidden, the stars skipped.
std::string shownCountLine(const NightReport& report);
std::string skippedCountLine(const NightReport& report);

// "既定の観測地（経度 139°、緯度 35°、標高 0 m、UTC+09:00）".
std::string siteLine(const NightReport& report);
// "条件: 高度 20° 以上、副極小も、大気差なし".
std::string conditionsLine(const NightReport& report);
// The table's columns and one event's cells (CSV: the table's ten, then kind,
// phase, duration_minutes, uncertainty_minutes, uncertain_elements, uncertainty_source).
const std::vector<std::string>& nightTableColumns();
std::vector<std::string> nightCsvColumns();
std::vector<std::string> nightEventCells(const NightReport& report, const sky::NightEvent& event, bool forCsv);

// Prints a table with no line ending in blanks; the night's columns aligned as in
// the night's table, starting at column first.
class TextTable;
void printTrimmed(const TextTable& table, std::ostream& out);
void alignNightColumns(TextTable& table, std::size_t first);

void printNightText(const NightReport& report, std::ostream& out);
void printNightCsv(const NightReport& report, std::ostream& out);
void printNightJson(const NightReport& report, std::ostream& out);
// The whole calendar, or an empty text with why in error.
std::string nightCalendar(const NightReport& report, std::string& error);
// The same for events of many nights, each with the report of its night.
struct ReportedEvent {
  const NightReport* report;
  const sky::NightEvent* event;
};
std::string eventsCalendar(const std::vector<ReportedEvent>& events, const std::string& location, std::string& error);

}  // namespace tenmirel::cli

namespace tenmirel {
class FileOpener;
}

namespace tenmirel::cli {

// The shown events into an .xlsx file at path through the window's own writer
// (assembled beside the target, checked, then named; never a partial file), shown
// in the default application when open. The sentence to print: where it went, or why not.
bool writeNightWorkbook(const NightReport& report, const std::string& path, bool open, FileOpener* opener,
                        std::string& message);
// The season's shown events (each with its night) the same way, through the same writer.
bool writeSeasonWorkbook(const sky::SeasonPlan& season, const std::vector<std::string>& stars,
                         const std::vector<ReportedEvent>& shown, const std::string& path, bool open,
                         FileOpener* opener, std::string& message);

}  // namespace tenmirel::cli
