// The night plan into an .xlsx file through the spreadsheet layer's file writer,
// which assembles the workbook beside its target, checks it and only then names it.
#include <cstdint>
#include <limits>

#include "cli/night_report.h"
#include "common/number_text.h"
#include "common/ui_ports.h"
#include "sheet/file_delivery.h"
#include "sheet/xlsx_component.h"

namespace tenmirel::cli {
namespace {

constexpr double kPercent = 100;
constexpr int kHeaderRow = 1;
constexpr int kMaxSheetRow = std::numeric_limits<std::int16_t>::max();
const std::vector<std::string> kSheetColumns = {"変光星名",   "回帰",       "日時（地方時）", "ﾕﾘｳｽ日（世界時）",
                                                "高度",       "方位",       "太陽高度",       "月高度",
                                                "月の輝面（%）", "月との角距離"};

// One decimal, as the tables show it, kept a number.
double shownNumber(double value) { return parseLenient(oneDecimal(value)); }

std::vector<CellValue> rowOf(const NightReport& report, const sky::NightEvent& event) {
  return {event.name,
          static_cast<double>(event.cycle),
          localTimeOfEvent(report, event),
          event.julianDayUt,
          shownNumber(event.altitudeDegrees),
          shownNumber(event.azimuthDegrees),
          shownNumber(event.sunAltitudeDegrees),
          shownNumber(event.moonAltitudeDegrees),
          shownNumber(event.moonIlluminatedFraction * kPercent),
          shownNumber(event.moonSeparationDegrees)};
}

}  // namespace

bool writeNightWorkbook(const NightReport& report, const std::string& path, bool open, FileOpener* opener,
                        std::string& message) {
  if (report.shown.size() + kHeaderRow > static_cast<std::size_t>(kMaxSheetRow)) {
    message = "極が " + std::to_string(report.shown.size()) + " 件あり、表計算ファイルの1枚に入りません（" +
              std::to_string(kMaxSheetRow - kHeaderRow) + " 件まで）。条件で絞ってください。";
    return false;
  }
  XlsxFileSettings settings;
  settings.exactPath = path;
  settings.openWhenShown = open;
  settings.opener = opener;
  XlsxFileComponent file(settings);
  file.beginList("今夜の計画");
  const Obtained application = file.create(kSpreadsheetClassName);
  if (open) file.makeVisible(application.object);
  const Obtained workbook = file.addWorkbook(application.object);
  int failure = workbook.error;
  if (failure == 0) {
    const Obtained sheet = file.activeSheet(workbook.object);
    failure = sheet.error;
    auto put = [&](int row, int column, const CellValue& value) {
      if (failure == 0)
        failure = file.setCell(sheet.object, static_cast<std::int16_t>(row), static_cast<std::int16_t>(column), value);
    };
    for (std::size_t column = 0; column < kSheetColumns.size(); ++column)
      put(kHeaderRow, static_cast<int>(column) + 1, kSheetColumns[column]);
    int row = kHeaderRow;
    for (const sky::NightEvent* event : report.shown) {
      ++row;
      const std::vector<CellValue> cells = rowOf(report, *event);
      for (std::size_t column = 0; column < cells.size(); ++column) put(row, static_cast<int>(column) + 1, cells[column]);
    }
    // With the sheet obtained, only the writer can refuse a cell, and then the save
    // refuses the whole file and says which cell; without it the workbook is dropped
    // unnamed when the component goes.
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
    if (failed.reason.empty()) failed.reason = "書き込みを最後まで終えられませんでした（エラー " + std::to_string(failure) + "）。";
    message = saveFailedMessage(failed);
    return false;
  }
  message = "表計算ファイル「" + saved->path + "」に書き出しました。";
  if (saved->showRequested && !saved->shown) message += "\n" + fileNotShownMessage(*saved);
  return true;
}

}  // namespace tenmirel::cli
