#pragma once
// A spreadsheet component that plays a scripted application and records every
// call made on it, so tests can prove the connection sequence step by step.
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "sheet/spreadsheet_component.h"

namespace tenmirel::testing {

class RecordingComponent : public SpreadsheetComponent {
 public:
  // The world the openers meet.
  bool instanceRunning = false;        // attach succeeds
  bool runningInstanceVisible = true;  // how the running instance was found
  bool runningHasWorkbook = false;     // the running instance has an active workbook
  bool canStart = true;                // create succeeds
  bool newInstanceHasWorkbook = false;
  int refuseCellNumber = 0;  // the n-th setCell (1-based) fails; 0 for none

  // What happened.
  std::vector<std::string> calls;
  struct Cell {
    int sheet;
    int row;
    int column;
    CellValue value;
  };
  std::vector<Cell> writes;  // in write order
  bool visible = false;
  int sheetsInRunningWorkbook = 1;  // the running workbook's sheets, before and after
  int workbooksAdded = 0;

  // The value written at (row, column) of the sheet the list went to.
  const CellValue* cell(int row, int column) const;
  std::string text(int row, int column) const;
  // "A1", "B1", ... in the order they were written.
  std::vector<std::string> writeOrder() const;

  Obtained attach(const std::string& className) override;
  Obtained create(const std::string& className) override;
  int makeVisible(ObjectRef application) override;
  Obtained activeWorkbook(ObjectRef application) override;
  Obtained addSheet(ObjectRef workbook) override;
  Obtained addWorkbook(ObjectRef application) override;
  Obtained activeSheet(ObjectRef workbook) override;
  int setCell(ObjectRef worksheet, std::int16_t row, std::int16_t column, const CellValue& value) override;
  int release(ObjectRef object) override;

  // Object ids handed out.
  static constexpr int kRunningApplication = 1;
  static constexpr int kNewApplication = 2;
  static constexpr int kRunningWorkbook = 10;
  static constexpr int kNewInstanceWorkbook = 11;
  static constexpr int kAddedWorkbook = 12;
  static constexpr int kAddedSheet = 20;        // a sheet added to the running workbook
  static constexpr int kNewInstanceSheet = 21;  // added to the new instance's own workbook
  static constexpr int kAddedWorkbookSheet = 22;
  static constexpr int kFailure = kCellRefusedError;

 private:
  int setCellCalls_ = 0;
};

}  // namespace tenmirel::testing
