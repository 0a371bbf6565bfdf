#include "sheet/sheet_writers.h"

#include <functional>

#include "common/number_text.h"

namespace tenmirel {
namespace {

constexpr std::int16_t kTodayFirstDataRow = 2;
constexpr std::int16_t kFixedCountStarRow = 2;
constexpr std::int16_t kFixedCountHeaderRow = 4;
constexpr std::int16_t kFixedCountFirstDataRow = 5;
constexpr std::int16_t kTodayKoudoColumn = 7;
constexpr std::int16_t kFixedCountKoudoColumn = 6;
constexpr std::int16_t kFixedCountKaikiColumn = 7;
constexpr std::int16_t kFixedCountJulColumn = 8;

// One opener run: the single error indicator. Calls on an object never obtained
// fail here, without reaching the component.
class Connection {
 public:
  explicit Connection(SpreadsheetComponent& component) : component_(component) {}

  ObjectRef obtain(Obtained result) {
    note(result.error);
    return result.error == 0 ? result.object : ObjectRef{};
  }
  void note(int error) {
    if (error != 0) error_ = error;
  }
  int error() const { return error_; }
  SpreadsheetComponent& component() { return component_; }

 private:
  SpreadsheetComponent& component_;
  int error_ = 0;
};

// Cells of one writer run; the first refusal ends the writer.
class CellWriter {
 public:
  CellWriter(SpreadsheetComponent& component, ObjectRef worksheet) : component_(component), sheet_(worksheet) {}
  // False when the cell was refused; failure() then tells why.
  bool set(int row, int column, const CellValue& value) {
    failure_ = sheet_.empty() ? kObjectNotSetError
                              : component_.setCell(sheet_, static_cast<std::int16_t>(row),
                                                   static_cast<std::int16_t>(column), value);
    return failure_ == 0;
  }
  int failure() const { return failure_; }

 private:
  SpreadsheetComponent& component_;
  ObjectRef sheet_;
  int failure_ = 0;
};

template <typename T>
bool hasRow(const std::vector<T>& column, int row) {
  return row >= 0 && static_cast<std::size_t>(row) < column.size();
}

void runConnectionSequence(SpreadsheetComponent& component,
                           const std::function<int(ObjectRef workbook, ObjectRef worksheet)>& writer) {
  Connection connection(component);
  ObjectRef application = connection.obtain(component.attach(kSpreadsheetClassName));
  if (connection.error() != 0) {
    application = connection.obtain(component.create(kSpreadsheetClassName));
    connection.note(application.empty() ? kObjectNotSetError : component.makeVisible(application));
  }
  ObjectRef workbook;
  if (application.empty()) {
    connection.note(kObjectNotSetError);
  } else {
    workbook = connection.obtain(component.activeWorkbook(application));
  }
  ObjectRef worksheet;
  if (workbook.empty()) {
    connection.note(kObjectNotSetError);
  } else {
    worksheet = connection.obtain(component.addSheet(workbook));
  }
  if (connection.error() != 0) {
    if (application.empty()) {
      connection.note(kObjectNotSetError);
      workbook = {};
    } else {
      workbook = connection.obtain(component.addWorkbook(application));
    }
    if (workbook.empty()) {
      connection.note(kObjectNotSetError);
      worksheet = {};
    } else {
      worksheet = connection.obtain(component.activeSheet(workbook));
    }
  }
  connection.note(writer(workbook, worksheet));
  for (ObjectRef object : {worksheet, workbook, application}) {
    if (!object.empty()) connection.note(component.release(object));
  }
}

}  // namespace

int WriteHeader(SpreadsheetComponent& component, ObjectRef /*workbook*/, ObjectRef worksheet,
                const std::int16_t& rowCount, const TodayBuffers& buffers) {
  CellWriter cells(component, worksheet);
  int column = 1;
  for (const char* title : kTodayHeader)
    if (!cells.set(1, column++, std::string(title))) return cells.failure();
  const int rows = rowCount;
  for (int i = 1; i <= rows; ++i) {
    const int r = i - 1;
    const int sheetRow = r + kTodayFirstDataRow;
    if (!hasRow(buffers.todayName, r)) return kSubscriptOutOfRangeError;
    if (!cells.set(sheetRow, 1, buffers.todayName[static_cast<std::size_t>(r)])) return cells.failure();
    if (!hasRow(buffers.todayKoudo, r)) return kSubscriptOutOfRangeError;
    if (!cells.set(sheetRow, kTodayKoudoColumn, buffers.todayKoudo[static_cast<std::size_t>(r)]))
      return cells.failure();
    if (!hasRow(buffers.todayTime, r)) return kSubscriptOutOfRangeError;
    for (int c = 2; c <= 2 + kTimeParts - 1; ++c) {
      if (!cells.set(sheetRow, c, buffers.todayTime[static_cast<std::size_t>(r)][static_cast<std::size_t>(c - 2)]))
        return cells.failure();
    }
  }
  return 0;
}

int ExcelHeader(SpreadsheetComponent& component, ObjectRef /*workbook*/, ObjectRef worksheet,
                const FixedCountBuffers& buffers, const ListStar& star) {
  CellWriter cells(component, worksheet);
  int column = 1;
  for (const char* title : kFixedCountStarHeader)
    if (!cells.set(1, column++, std::string(title))) return cells.failure();
  if (!cells.set(kFixedCountStarRow, 1, star.name)) return cells.failure();
  if (!cells.set(kFixedCountStarRow, 2, star.epoch)) return cells.failure();
  if (!cells.set(kFixedCountStarRow, 3, star.period)) return cells.failure();
  column = 1;
  for (const char* title : kFixedCountColumnHeader) {
    if (!cells.set(kFixedCountHeaderRow, column++, std::string(title))) return cells.failure();
  }
  const std::optional<std::int16_t> count = toInt16(buffers.listCount);
  if (!count) return kOverflowError;
  for (int e = 1; e <= *count; ++e) {
    const int r = e - 1;
    const int sheetRow = r + kFixedCountFirstDataRow;
    if (!hasRow(buffers.listKoudo, r)) return kSubscriptOutOfRangeError;
    if (!cells.set(sheetRow, kFixedCountKoudoColumn, buffers.listKoudo[static_cast<std::size_t>(r)]))
      return cells.failure();
    if (!hasRow(buffers.listKaiki, r)) return kSubscriptOutOfRangeError;
    if (!cells.set(sheetRow, kFixedCountKaikiColumn, buffers.listKaiki[static_cast<std::size_t>(r)]))
      return cells.failure();
    if (!hasRow(buffers.listJul, r)) return kSubscriptOutOfRangeError;
    if (!cells.set(sheetRow, kFixedCountJulColumn, buffers.listJul[static_cast<std::size_t>(r)]))
      return cells.failure();
    if (!hasRow(buffers.listTime, r)) return kSubscriptOutOfRangeError;
    for (int c = 1; c <= kTimeParts; ++c) {
      if (!cells.set(sheetRow, c, buffers.listTime[static_cast<std::size_t>(r)][static_cast<std::size_t>(c - 1)]))
        return cells.failure();
    }
  }
  return 0;
}

void OpenExcel(SpreadsheetComponent& component, std::int16_t& intCount, const TodayBuffers& buffers) {
  runConnectionSequence(component, [&](ObjectRef workbook, ObjectRef worksheet) {
    return WriteHeader(component, workbook, worksheet, intCount, buffers);
  });
}

void ExcelOpen(SpreadsheetComponent& component, const FixedCountBuffers& buffers, const ListStar& star) {
  runConnectionSequence(component, [&](ObjectRef workbook, ObjectRef worksheet) {
    return ExcelHeader(component, workbook, worksheet, buffers, star);
  });
}

}  // namespace tenmirel
