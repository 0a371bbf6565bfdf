#include "sheet/recording_component.h"

#include "common/number_text.h"

namespace tenmirel::testing {
namespace {

std::string columnLetter(int column) { return std::string(1, static_cast<char>('A' + column - 1)); }

}  // namespace

const CellValue* RecordingComponent::cell(int row, int column) const {
  const CellValue* found = nullptr;
  for (const Cell& c : writes) {
    if (c.row == row && c.column == column) found = &c.value;
  }
  return found;
}

std::string RecordingComponent::text(int row, int column) const {
  const CellValue* value = cell(row, column);
  if (value == nullptr) return "<empty>";
  if (const auto* number = std::get_if<double>(value)) return "#" + numberToText(*number);
  return std::get<std::string>(*value);
}

std::vector<std::string> RecordingComponent::writeOrder() const {
  std::vector<std::string> order;
  for (const Cell& c : writes) order.push_back(columnLetter(c.column) + std::to_string(c.row));
  return order;
}

Obtained RecordingComponent::attach(const std::string& className) {
  calls.push_back("attach " + className);
  if (!instanceRunning) return {kNoRunningInstanceError, {}};
  visible = runningInstanceVisible;
  return {0, {kRunningApplication}};
}

Obtained RecordingComponent::create(const std::string& className) {
  calls.push_back("create " + className);
  if (!canStart) return {kNoRunningInstanceError, {}};
  visible = false;
  return {0, {kNewApplication}};
}

int RecordingComponent::makeVisible(ObjectRef application) {
  calls.push_back("makeVisible " + std::to_string(application.id));
  visible = true;
  return 0;
}

Obtained RecordingComponent::activeWorkbook(ObjectRef application) {
  calls.push_back("activeWorkbook " + std::to_string(application.id));
  if (application.id == kRunningApplication && runningHasWorkbook) return {0, {kRunningWorkbook}};
  if (application.id == kNewApplication && newInstanceHasWorkbook) return {0, {kNewInstanceWorkbook}};
  return {0, {}};
}

Obtained RecordingComponent::addSheet(ObjectRef workbook) {
  calls.push_back("addSheet " + std::to_string(workbook.id));
  if (workbook.id == kRunningWorkbook) {
    ++sheetsInRunningWorkbook;
    return {0, {kAddedSheet}};
  }
  if (workbook.id == kNewInstanceWorkbook) return {0, {kNewInstanceSheet}};
  return {kFailure, {}};
}

Obtained RecordingComponent::addWorkbook(ObjectRef application) {
  calls.push_back("addWorkbook " + std::to_string(application.id));
  ++workbooksAdded;
  return {0, {kAddedWorkbook}};
}

Obtained RecordingComponent::activeSheet(ObjectRef workbook) {
  calls.push_back("activeSheet " + std::to_string(workbook.id));
  if (workbook.id == kAddedWorkbook) return {0, {kAddedWorkbookSheet}};
  return {kFailure, {}};
}

int RecordingComponent::setCell(ObjectRef worksheet, std::int16_t row, std::int16_t column, const CellValue& value) {
  ++setCellCalls_;
  if (setCellCalls_ == refuseCellNumber) {
    calls.push_back("setCell refused");
    return kFailure;
  }
  writes.push_back({worksheet.id, row, column, value});
  return 0;
}

int RecordingComponent::release(ObjectRef object) {
  calls.push_back("release " + std::to_string(object.id));
  return 0;
}

}  // namespace tenmirel::testing
