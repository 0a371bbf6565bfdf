#pragma once
// A main window at 2026-12-07 21:00 at the site, wired to recording ports, with a
// documents folder of its own and a two-star catalogue to load: the ground of the
// suites that drive the lists' menu and dialog.
#include <QAction>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <chrono>
#include <filesystem>
#include <memory>

#include "lists/list_fixture.h"
#include "sheet/recording_opener.h"
#include "support/recording_ports.h"
#include "ui/excel_menu.h"
#include "ui/frm_excel.h"
#include "ui/frm_yohou.h"

namespace tenmirel::testing {

inline QString qs(const char* utf8) { return QString::fromUtf8(utf8); }

// 2026-12-07 12:00 UT, 21:00 at the site.
inline std::chrono::system_clock::time_point listWindowClock() {
  using namespace std::chrono;
  return sys_days{year{2026} / 12 / 7} + hours{12};
}

struct ListWindowHarness {
  TempDir dir;
  RecordingMessages messages;
  ScriptedChooser chooser;
  RecordingOpener opener;
  std::unique_ptr<ui::FrmYohou> window;

  explicit ListWindowHarness(std::filesystem::path documents = {}) {
    ui::FrmYohouPorts ports;
    ports.messages = &messages;
    ports.chooser = &chooser;
    ports.endProgram = [] {};
    ports.fileOpener = &opener;
    ports.documentsFolder = documents.empty() ? dir.path() / "Documents" : documents;
    window = std::make_unique<ui::FrmYohou>(std::move(ports), listWindowClock());
  }

  // Two stars with minima tonight, and one hand-entry position after them.
  void loadCatalogue() {
    chooser.answers.push_back(dir.write("stars.vsd", catalogueText({
                                                         star("ZZ Exa", epochAtLocal(2026, 12, 7, 21, 5), "1.5"),
                                                         star("YY Sam", epochAtLocal(2026, 12, 8, 3, 0), "2.25"),
                                                     }))
                                  .string());
    QTest::mouseClick(window->findChild<QPushButton*>("Command1"), Qt::LeftButton);
  }
  QLineEdit* box(const char* name) const { return window->findChild<QLineEdit*>(qs(name)); }
  void trigger(const char* action) const { window->findChild<QAction*>(qs(action))->trigger(); }
  ui::FrmExcel* dialog() const { return window->excelMenu().frmExcel(); }
};

}  // namespace tenmirel::testing
