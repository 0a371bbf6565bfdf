#pragma once
// A header row and rows of cells into one sheet of an .xlsx file through the
// spreadsheet layer's file writer (assembled beside the target, checked, then
// named; never a partial file), shown in the default application when open.
#include <string>
#include <vector>

#include "common/ui_ports.h"
#include "sheet/spreadsheet_component.h"

namespace tenmirel::cli {

// The sentence to print: where it went, or why not. What is too many rows for
// one sheet is called by noun ("極").
bool writeRowsWorkbook(const std::string& sheetTitle, const std::vector<std::string>& columns,
                       const std::vector<std::vector<CellValue>>& rows, const std::string& noun,
                       const std::string& path, bool open, FileOpener* opener, std::string& message);

}  // namespace tenmirel::cli
