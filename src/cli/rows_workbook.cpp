#include "cli/rows_workbook.h"

#include <cstdint>
#include <limits>

#include "sheet/file_delivery.h"
#include "sheet/xlsx_component.h"

namespace tenmirel::cli {
namespace {

constexpr int kHeaderRow = 1;
constexpr int kMaxSheetRow = std::numeric_limits<std::int16_t>::max();

}  // namespace

bool writeRowsWorkbook(const std::string& sheetTitle, const std::vector<std::string>& columns,
                       const std::vector<std::vector<CellValue>>& rows, const std::string& noun,
                       const std::string& path, bool open, FileOpener* opener, std::string& message) {
  if (rows.size() + kHeaderRow > static_cast<std::size_t>(kMaxSheetRow)) {
    message = noun + "が " + std::to_string(rows.size()) + " 件あり、表計算ファイルの1枚に入りません（" +
              std::to_string(kMaxSheetRow - kHeaderRow) + " 件まで）。条件で絞ってください。";
    return false;
  }
  XlsxFileSettings settings;
  settings.exactPath = path;
  settings.openWhenShown = open;
  settings.opener = opener;
  XlsxFileComponent file(settings);
  file.beginList(sheetTitle);
  const Obtained application = file.create(kSpreadsheetClassName);
  if (open) file.makeVisible(application.object);
  const Obtained workbook = file.addWorkbook(application.object);
  int failure = workbook.error;
  if (failure == 0) {
    const Obtained sheet = file.activeSheet(workbook.object);
    failure = sheet.error;
    auto put = [&](int row, std::size_t column, const CellValue& value) {
      if (failure == 0) {
        failure = file.setCell(sheet.object, static_cast<std::int16_t>(row), static_cast<std::int16_t>(column + 1),
                               value);
      }
    };
    for (std::size_t column = 0; column < columns.size(); ++column) put(kHeaderRow, column, columns[column]);
    int row = kHeaderRow;
    for (const std::vector<CellValue>& cells : rows) {
      ++row;
      for (std::size_t column = 0; column < cells.size(); ++column) put(row, column, cells[column]);
    }
    // Only the writer can refuse a cell once the sheet is there; the save then
    // refuses the whole file and says which cell.
    if (sheet.error == 0) {
      file.release(sheet.object);
      const int saveFailure = file.release(workbook.object);
      if (failure == 0) failure = saveFailure;
    }
  }
  file.release(application.object);
  std::optional<SavedFile> saved = file.lastFile();
  if (!saved || !saved->saved) {
    SavedFile failed = saved.value_or(SavedFile{false, path, {}, false, false});
    if (failed.reason.empty()) {
      failed.reason = "書き込みを最後まで終えられませんでした（エラー " + std::to_string(failure) + "）。";
    }
    message = saveFailedMessage(failed);
    return false;
  }
  message = "表計算ファイル「" + saved->path + "」に書き出しました。";
  if (saved->showRequested && !saved->shown) message += "\n" + fileNotShownMessage(*saved);
  return true;
}

}  // namespace tenmirel::cli
