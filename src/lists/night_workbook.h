#pragma once
// The night plan's workbook, one writer for the plan window and the command line:
// the night's facts and filters in lines above a table of its events. Each column
// keeps its kind and its own format (cycle whole, Julian day to five decimals,
// degrees to one, the Moon's illumination as a percentage) and the local time is a
// spreadsheet date-time with its ISO 8601 text (and offset) beside it. A column is
// one entry of nightWorkbookColumns(). A season's workbook is the same table with
// the evening's date in front of each event and the season's facts above it.
#include <functional>
#include <string>
#include <vector>

#include "sheet/file_delivery.h"
#include "sheet/typed_sheet.h"
#include "sheet/xlsx_component.h"
#include "sky/night_plan.h"
#include "sky/season_plan.h"

namespace tenmirel {

inline constexpr const char* kNightWorkbookName = "今夜の観測計画";
inline constexpr const char* kSeasonWorkbookName = "星ごとの予報";

struct NightWorkbookColumn {
  TypedColumn column;
  std::function<TypedCell(const sky::NightEvent&)> cell;
  bool onlyWhenAnEventFails = false;  // the column of failed filters, empty otherwise
};

// The table's columns in their order.
const std::vector<NightWorkbookColumn>& nightWorkbookColumns();

// The night's facts: date, site, elements' time system, the dark window, the Sun
// and the Moon, the filters and the count of events; a label and a text a line.
std::vector<std::vector<std::string>> nightWorkbookFacts(const sky::NightSummary& night, std::size_t events);

// The sheet of the events given (in their order).
TypedSheet nightWorkbookSheet(const sky::NightSummary& night, const std::vector<const sky::NightEvent*>& events);

// An event of a season with the night it belongs to.
struct SeasonWorkbookEvent {
  const sky::NightSummary* night = nullptr;
  const sky::NightEvent* event = nullptr;
};

// The season's facts: its nights, the stars, site, elements' time system, how
// each night's window is found, the filters and the count of events.
std::vector<std::vector<std::string>> seasonWorkbookFacts(const sky::SeasonPlan& season,
                                                          const std::vector<std::string>& stars, std::size_t events);

// The sheet of a season's events given (in their order), each with its night
// ("夜", the evening's date) before the night's columns.
TypedSheet seasonWorkbookSheet(const sky::SeasonPlan& season, const std::vector<std::string>& stars,
                               const std::vector<SeasonWorkbookEvent>& events);

// Writes the sheet through the file component (into the documents folder, or the
// exact path the component was given) and shows it when asked.
SavedFile writeNightWorkbook(XlsxFileComponent& files, const sky::NightSummary& night,
                             const std::vector<const sky::NightEvent*>& events, bool show);
SavedFile writeSeasonWorkbook(XlsxFileComponent& files, const sky::SeasonPlan& season,
                              const std::vector<std::string>& stars, const std::vector<SeasonWorkbookEvent>& events,
                              bool show);

}  // namespace tenmirel
