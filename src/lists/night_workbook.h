#pragma once
// The night plan's workbook, one writer for the plan window and the command line:
// the night's facts and filters in lines above a table of its events. Each column
// keeps its kind and its own format (cycle whole, Julian day to five decimals,
// degrees to one, the Moon's illumination as a percentage) and the local time is a
// spreadsheet date-time with its ISO 8601 text (and offset) beside it. A column is
// one entry of nightWorkbookColumns().
#include <functional>
#include <string>
#include <vector>

#include "sheet/file_delivery.h"
#include "sheet/typed_sheet.h"
#include "sheet/xlsx_component.h"
#include "sky/night_plan.h"

namespace tenmirel {

inline constexpr const char* kNightWorkbookName = "今夜の観測計画";

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

// Writes the sheet through the file component (into the documents folder, or the
// exact path the component was given) and shows it when asked.
SavedFile writeNightWorkbook(XlsxFileComponent& files, const sky::NightSummary& night,
                             const std::vector<const sky::NightEvent*>& events, bool show);

}  // namespace tenmirel
