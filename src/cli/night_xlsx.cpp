// The night plan into an .xlsx file through the night's one workbook writer, which
// assembles the workbook beside its target, checks it and only then names it.
#include "cli/night_report.h"
#include "common/ui_ports.h"
#include "lists/night_workbook.h"
#include "sheet/file_delivery.h"
#include "sheet/xlsx_component.h"

namespace tenmirel::cli {

bool writeNightWorkbook(const NightReport& report, const std::string& path, bool open, FileOpener* opener,
                        std::string& message) {
  XlsxFileSettings settings;
  settings.exactPath = path;
  settings.openWhenShown = open;
  settings.opener = opener;
  XlsxFileComponent file(settings);
  SavedFile saved = tenmirel::writeNightWorkbook(file, report.plan.night, report.shown, open);
  if (!saved.saved) {
    if (saved.reason.empty()) saved.reason = "書き込みを最後まで終えられませんでした。";
    if (saved.path.empty() || saved.path == kNightWorkbookName) saved.path = path;
    message = saveFailedMessage(saved);
    return false;
  }
  message = "表計算ファイル「" + saved.path + "」に書き出しました。";
  if (saved.showRequested && !saved.shown) message += "\n" + fileNotShownMessage(saved);
  return true;
}

}  // namespace tenmirel::cli
