#pragma once
// A component that keeps the cells in memory: the command line prints them,
// and the benchmarks collect rows without writing a file. It behaves like a
// freshly started spreadsheet application with no workbook open.
#include <cstdint>
#include <map>
#include <utility>

#include "sheet/spreadsheet_component.h"

namespace tenmirel {

class MemorySheet : public SpreadsheetComponent {
 public:
  Obtained attach(const std::string& className) override;
  Obtained create(const std::string& className) override;
  int makeVisible(ObjectRef application) override;
  Obtained activeWorkbook(ObjectRef application) override;
  Obtained addSheet(ObjectRef workbook) override;
  Obtained addWorkbook(ObjectRef application) override;
  Obtained activeSheet(ObjectRef workbook) override;
  int setCell(ObjectRef worksheet, std::int16_t row, std::int16_t column, const CellValue& value) override;
  int release(ObjectRef object) override;

  // The cells of the last sheet, by (row, column).
  std::map<std::pair<int, int>, CellValue> cells;
  int rowCount() const;
  int columnCount() const;
  // A cell's text; numbers as the main window writes them, empty cells empty.
  std::string text(int row, int column) const;
};

}  // namespace tenmirel
