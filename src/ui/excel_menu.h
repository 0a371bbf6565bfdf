#pragma once
// The main window's "Excel" menu: today's list and the fixed-count list with its
// dialog, writing .xlsx files and showing them in the default application.
#include <QPointer>
#include <filesystem>
#include <functional>
#include <optional>

#include "lists/frm_excel_model.h"
#include "lists/message_gate.h"
#include "lists/today_list.h"
#include "prediction/frm_yohou_model.h"
#include "sheet/xlsx_component.h"
#include "ui/qt_ports.h"

class QWidget;

namespace tenmirel::ui {

class FrmExcel;

// The user's documents folder as the desktop names it.
std::filesystem::path desktopDocumentsFolder();
// The documents folder every window's exports go under: the one given (tests),
// else one rule with the command line ($XDG_DOCUMENTS_DIR, the desktop's folder,
// ~/Documents); nothing when none can be found.
std::optional<std::filesystem::path> programDocumentsFolder(const std::filesystem::path& given = {});

class ExcelMenu {
 public:
  // opener and documentsFolder replace the desktop's when given (tests).
  ExcelMenu(FrmYohouModel& form, MessageGate& gate, QWidget* mainWindow, std::function<void()> showMainWindow,
            FileOpener* opener, std::filesystem::path documentsFolder);
  ~ExcelMenu();
  ExcelMenu(const ExcelMenu&) = delete;
  ExcelMenu& operator=(const ExcelMenu&) = delete;

  void mnuExcelNtime_Click();
  void mnuExcelToday_Click();

  // The dialog: null until first opened and again after its close box.
  FrmExcel* frmExcel() const;
  FrmExcelModel& frmExcelModel() { return dialog_; }
  TodayList& todayList() { return today_; }

 private:
  QtFileOpener desktopOpener_;
  XlsxFileComponent files_;
  FrmYohouModel& form_;
  QWidget* mainWindow_;
  std::function<void()> showMainWindow_;
  TodayList today_;
  FrmExcelModel dialog_;
  QPointer<FrmExcel> frmExcel_;
};

}  // namespace tenmirel::ui
