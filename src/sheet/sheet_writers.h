#pragma once
// The two openers and their writers. Each opener runs the connection sequence:
// attach or create, a fresh sheet, the writer, release; every failing step only
// records its number and the sequence goes on. Nothing reaches the caller.
#include <cstdint>
#include <string>

#include "sheet/list_buffers.h"
#include "sheet/spreadsheet_component.h"

namespace tenmirel {

// Header texts of today's list, row 1, columns A to G.
inline constexpr const char* kTodayHeader[] = {"変光星名", "年", "月", "日", "時", "分", "高度"};
// Header texts of the fixed-count list: row 1, columns A to C, and row 4, A to H.
inline constexpr const char* kFixedCountStarHeader[] = {"変光星名", "元期", "周期"};
inline constexpr const char* kFixedCountColumnHeader[] = {"年", "月", "日", "時", "分", "高度", "回帰", "ﾕﾘｳｽ日"};

// The star block of the fixed-count list: the star as the main window names it
// and its elements, as typed.
struct ListStar {
  std::string name;
  std::string epoch;
  std::string period;
};

// Today's list into the worksheet; rowCount is read once, after the header row.
// Returns the number of the failure that ended it, 0 when every cell was stored.
int WriteHeader(SpreadsheetComponent& component, ObjectRef workbook, ObjectRef worksheet, const std::int16_t& rowCount,
                const TodayBuffers& buffers);

// The fixed-count list: the star block, the column titles,
// and listCount (rounded half to even to 16 bits) rows.
int ExcelHeader(SpreadsheetComponent& component, ObjectRef workbook, ObjectRef worksheet,
                const FixedCountBuffers& buffers, const ListStar& star);

// The main window's opener, for today's list.
void OpenExcel(SpreadsheetComponent& component, std::int16_t& intCount, const TodayBuffers& buffers);

// The list dialog's opener, for the fixed-count list.
void ExcelOpen(SpreadsheetComponent& component, const FixedCountBuffers& buffers, const ListStar& star);

}  // namespace tenmirel
