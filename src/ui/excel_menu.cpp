#include "ui/excel_menu.h"

#include <QStandardPaths>

#include "sheet/sheet_files.h"
#include "ui/frm_excel.h"

namespace tenmirel::ui {
namespace {

XlsxFileSettings fileSettings(FileOpener& opener, std::filesystem::path documentsFolder) {
  XlsxFileSettings settings;
  settings.documentsFolder = programDocumentsFolder(documentsFolder);
  settings.opener = &opener;
  return settings;
}

}  // namespace

std::filesystem::path desktopDocumentsFolder() {
  return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation).toStdString();
}

std::optional<std::filesystem::path> programDocumentsFolder(const std::filesystem::path& given) {
  if (!given.empty()) return given;
  return tenmirel::documentsFolder(desktopDocumentsFolder());
}

ExcelMenu::ExcelMenu(FrmYohouModel& form, MessageGate& gate, QWidget* mainWindow, std::function<void()> showMainWindow,
                     FileOpener* opener, std::filesystem::path documentsFolder)
    : files_(fileSettings(opener != nullptr ? *opener : desktopOpener_, std::move(documentsFolder))),
      form_(form),
      mainWindow_(mainWindow),
      showMainWindow_(std::move(showMainWindow)),
      today_(form, gate, SheetOutput{files_, &files_}),
      dialog_(form, SheetOutput{files_, &files_}) {}

ExcelMenu::~ExcelMenu() { delete frmExcel_.data(); }

FrmExcel* ExcelMenu::frmExcel() const { return frmExcel_.data(); }

void ExcelMenu::mnuExcelNtime_Click() {
  const bool opened = tenmirel::mnuExcelNtime_Click(form_, dialog_);
  showMainWindow_();  // the day and hour may have been filled
  if (!opened) return;
  if (frmExcel_ == nullptr) frmExcel_ = new FrmExcel(dialog_, showMainWindow_, mainWindow_);
  frmExcel_->showModel();
  frmExcel_->showBeside(*mainWindow_);
}

void ExcelMenu::mnuExcelToday_Click() {
  today_.mnuExcelToday_Click();
  showMainWindow_();
}

}  // namespace tenmirel::ui
