// The night plan, or a season of nights, into an .xlsx file through the night's one
// workbook writer, which assembles the workbook beside its target, checks it and
// only then names it.
#include <functional>

#include "cli/night_report.h"
#include "common/ui_ports.h"
#include "lists/night_workbook.h"
#include "sheet/file_delivery.h"
#include "sheet/xlsx_component.h"

namespace tenmirel::cli {

namespace {

// The sentence to print for a workbook written (or not) by write into the file component at path.
bool writeAt(const std::string& path, bool open, FileOpener* opener, const char* listName,
             const std::function<SavedFile(XlsxFileComponent&)>& write, std::string& message) {
  XlsxFileSettings settings;
  settings.exactPath = path;
  settings.openWhenShown = open;
  settings.opener = opener;
  XlsxFileComponent file(settings);
  SavedFile saved = write(file);
  if (!saved.saved) {
    if (saved.reason.empty()) saved.reason = "書き込みを最後まで終えられませんでした。";
    if (saved.path.empty() || saved.path == listName) saved.path = path;
    message = saveFailedMessage(saved);
    return false;
  }
  message = "表計算ファイル「" + saved.path + "」に書き出しました。";
  if (saved.showRequested && !saved.shown) message += "\n" + fileNotShownMessage(saved);
  return true;
}

}  // namespace

bool writeNightWorkbook(const NightReport& report, const std::string& path, bool open, FileOpener* opener,
                        std::string& message) {
  return writeAt(
      path, open, opener, kNightWorkbookName,
      [&](XlsxFileComponent& file) {
        return tenmirel::writeNightWorkbook(file, report.plan.night, report.shown, open);
      },
      message);
}

bool writeSeasonWorkbook(const sky::SeasonPlan& season, const std::vector<std::string>& stars,
                         const std::vector<ReportedEvent>& shown, const std::string& path, bool open,
                         FileOpener* opener, std::string& message) {
  std::vector<SeasonWorkbookEvent> events;
  events.reserve(shown.size());
  for (const ReportedEvent& each : shown) events.push_back({&each.report->plan.night, each.event});
  return writeAt(
      path, open, opener, kSeasonWorkbookName,
      [&](XlsxFileComponent& file) { return tenmirel::writeSeasonWorkbook(file, season, stars, events, open); },
      message);
}

}  // namespace tenmirel::cli
