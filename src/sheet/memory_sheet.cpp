#include "sheet/memory_sheet.h"

#include "common/number_text.h"

namespace tenmirel {
namespace {

constexpr ObjectRef kApplication{1};
constexpr ObjectRef kWorkbook{2};
constexpr ObjectRef kWorksheet{3};

Obtained objectIf(bool known, ObjectRef object) {
  return known ? Obtained{0, object} : Obtained{kObjectRequiredError, {}};
}

}  // namespace

Obtained MemorySheet::attach(const std::string&) { return {kNoRunningInstanceError, {}}; }
Obtained MemorySheet::create(const std::string&) { return {0, kApplication}; }
int MemorySheet::makeVisible(ObjectRef application) { return application == kApplication ? 0 : kObjectRequiredError; }
Obtained MemorySheet::activeWorkbook(ObjectRef application) { return objectIf(application == kApplication, {}); }
Obtained MemorySheet::addSheet(ObjectRef) { return {kObjectRequiredError, {}}; }
Obtained MemorySheet::addWorkbook(ObjectRef application) {
  cells.clear();
  return objectIf(application == kApplication, kWorkbook);
}
Obtained MemorySheet::activeSheet(ObjectRef workbook) { return objectIf(workbook == kWorkbook, kWorksheet); }

int MemorySheet::setCell(ObjectRef worksheet, std::int16_t row, std::int16_t column, const CellValue& value) {
  if (worksheet != kWorksheet) return kObjectRequiredError;
  cells[{row, column}] = value;
  return 0;
}

int MemorySheet::release(ObjectRef) { return 0; }

int MemorySheet::rowCount() const {
  int rows = 0;
  for (const auto& [address, value] : cells) rows = std::max(rows, address.first);
  return rows;
}

int MemorySheet::columnCount() const {
  int columns = 0;
  for (const auto& [address, value] : cells) columns = std::max(columns, address.second);
  return columns;
}

std::string MemorySheet::text(int row, int column) const {
  auto found = cells.find({row, column});
  if (found == cells.end()) return {};
  if (const auto* number = std::get_if<double>(&found->second)) return numberToText(*number);
  return std::get<std::string>(found->second);
}

}  // namespace tenmirel
