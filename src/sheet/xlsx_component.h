#pragma once
// The spreadsheet component that writes .xlsx files (libxlsxwriter). There is
// no running application to attach to, so every list goes to a new workbook,
// saved when it is released: under documents/Tenmirel/, named by date, time and
// list, never replacing a file, assembled beside its target under a temporary
// name, checked and renamed when complete. A cell the writer refuses fails the
// file. "Make visible" shows the saved file in the default application.
#include <chrono>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "common/ui_ports.h"
#include "sheet/file_delivery.h"
#include "sheet/spreadsheet_component.h"
#include "sheet/typed_sheet.h"

struct lxw_workbook;
struct lxw_worksheet;
struct lxw_format;

namespace tenmirel {

// How the Julian day of the fixed-count list is shown.
inline constexpr const char* kJulianDayCellFormat = "0.00000";

struct XlsxFileSettings {
  // Files go to <documentsFolder>/Tenmirel/; nothing means no documents folder was found.
  std::optional<std::filesystem::path> documentsFolder;
  // When set, the list goes to exactly this file, replacing it (the command line's --xlsx).
  std::optional<std::filesystem::path> exactPath;
  // The clock that names the files.
  std::function<std::chrono::system_clock::time_point()> clock = [] { return std::chrono::system_clock::now(); };
  // Shows a saved file when the application was made visible; may be null.
  FileOpener* opener = nullptr;
  // False where the user asked for a file and not for it to be shown (the command line without --open).
  bool openWhenShown = true;
};

class XlsxFileComponent : public SpreadsheetComponent, public FileDelivery {
 public:
  explicit XlsxFileComponent(XlsxFileSettings settings);
  ~XlsxFileComponent() override;
  XlsxFileComponent(const XlsxFileComponent&) = delete;
  XlsxFileComponent& operator=(const XlsxFileComponent&) = delete;

  Obtained attach(const std::string& className) override;
  Obtained create(const std::string& className) override;
  int makeVisible(ObjectRef application) override;
  Obtained activeWorkbook(ObjectRef application) override;
  Obtained addSheet(ObjectRef workbook) override;
  Obtained addWorkbook(ObjectRef application) override;
  Obtained activeSheet(ObjectRef workbook) override;
  int setCell(ObjectRef worksheet, std::int16_t row, std::int16_t column, const CellValue& value) override;
  int release(ObjectRef object) override;

  void beginList(const std::string& listName) override;
  std::optional<SavedFile> lastFile() const override { return lastFile_; }

  // Beside the nine operations: the sheets with their columns' kinds and formats,
  // as one new file of the list, saved as the lists are (assembled beside the
  // target, checked, then named) and shown when asked. What became of the file.
  SavedFile writeTypedWorkbook(const std::string& listName, const std::vector<TypedSheet>& sheets, bool show);

 private:
  int startFile();
  int save();
  void discardWorkbook();
  void fail(const std::filesystem::path& path, const std::string& reason);
  // The file's reason to be refused as a target, or empty; notes the mode to keep.
  std::string checkTarget(const std::filesystem::path& target);
  int refuseSaved(const std::string& reason);
  void writeTypedSheet(const TypedSheet& sheet);
  void noteRefusedCell(std::size_t row, std::size_t column, int error);

  XlsxFileSettings settings_;
  std::string listName_ = "一覧";
  bool running_ = false;
  bool showRequested_ = false;
  lxw_workbook* workbook_ = nullptr;
  lxw_worksheet* worksheet_ = nullptr;
  lxw_format* julianDayFormat_ = nullptr;
  std::filesystem::path folder_;
  std::filesystem::path tempPath_;
  std::optional<unsigned> keptMode_;  // permission bits of the file being replaced
  std::string refusedCell_;           // why a cell could not be written, when one could not
  std::chrono::system_clock::time_point startedAt_;
  std::optional<SavedFile> lastFile_;
};

}  // namespace tenmirel
