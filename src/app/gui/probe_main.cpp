// A driver for scripted runs of the desktop program, kept out of the program
// itself (which reads no command line):
//   tenmirel-probe startup                       prints the time of the first frame and quits
//   tenmirel-probe screenshot CATALOGUE FOLDER   loads, predicts, opens the check window, the
//                                                list dialog and the night plan, saves PNGs
//                                                of each and of the screen
//   tenmirel-probe icon FILE SIZE                writes the program's icon
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QElapsedTimer>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QTableView>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <deque>
#include <iostream>
#include <optional>
#include <string>

#include "ui/app_icon.h"
#include "ui/desktop_program.h"
#include "ui/excel_menu.h"
#include "ui/frm_calc.h"
#include "ui/frm_excel.h"
#include "ui/plan/plan_filter_proxy.h"
#include "ui/plan/plan_menu.h"
#include "ui/plan/plan_table_model.h"
#include "ui/plan/plan_window.h"

namespace {

using tenmirel::ui::FrmYohou;

// Screenshots must not wait for a click: messages go to the terminal.
class PrintedMessages : public tenmirel::MessageSink {
 public:
  void showMessage(const std::string& text) override { std::cerr << "message: " << text << '\n'; }
};

long long realtimeNanoseconds() {
  timespec now{};
  clock_gettime(CLOCK_REALTIME, &now);
  return static_cast<long long>(now.tv_sec) * 1'000'000'000LL + now.tv_nsec;
}

int startup(int& argc, char** argv) {
  tenmirel::ui::DesktopRunOptions options;
  options.whenShown = [](FrmYohou&) {
    // The script that started this process subtracts its own launch time.
    std::printf("first-frame-realtime-ns %lld\n", realtimeNanoseconds());
    std::fflush(stdout);
    QCoreApplication::exit(0);
  };
  return tenmirel::ui::runDesktopProgram(argc, argv, std::move(options));
}

// Types into a box key by key, as a user does (the program links no test library,
// so that the start-up measured here is the program's own).
void typeInto(FrmYohou& window, const char* boxName, const QString& value) {
  auto* box = window.findChild<QLineEdit*>(QString::fromUtf8(boxName));
  box->setFocus();
  box->selectAll();
  for (const QChar c : value) {
    QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
    QCoreApplication::sendEvent(box, &press);
    QCoreApplication::sendEvent(box, &release);
  }
}

// Lets the windows paint before they are grabbed.
void settle() {
  QElapsedTimer waited;
  waited.start();
  while (waited.elapsed() < 200) QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
}

bool save(QWidget& widget, const QString& path) {
  const bool saved = widget.grab().save(path, "PNG");
  std::cerr << (saved ? "wrote " : "could not write ") << path.toStdString() << '\n';
  return saved;
}

// The night plan of the evening, from its menu item, with a minimum altitude of 20°
// and the first extrema of four stars chosen in the table so their curves show.
bool savePlanWindow(FrmYohou& window, const QString& folder) {
  window.mnuPlan()->trigger();
  tenmirel::ui::PlanWindow* plan = window.planMenu().planWindow();
  if (plan == nullptr || !plan->isVisible()) {
    std::cerr << "the plan window did not open\n";
    return false;
  }
  plan->findChild<QDoubleSpinBox*>(QStringLiteral("minimumAltitude"))->setValue(20);
  QTableView& table = plan->table();
  QItemSelectionModel* selection = table.selectionModel();
  std::vector<std::size_t> chosenStars;
  for (int row = 0; row < plan->proxy().rowCount() && chosenStars.size() < 4; ++row) {
    const QModelIndex index = plan->proxy().index(row, 0);
    const auto& event = plan->model().event(plan->proxy().mapToSource(index).row());
    if (std::find(chosenStars.begin(), chosenStars.end(), event.starIndex) != chosenStars.end()) continue;
    chosenStars.push_back(event.starIndex);
    selection->select(index, QItemSelectionModel::Select | QItemSelectionModel::Rows);
  }
  settle();
  return save(*plan, folder + QStringLiteral("/plan-window.png"));
}

// What a newcomer sees first: the main window with tonight's plan beside it.
bool saveFirstNight(FrmYohou& window, const QString& folder) {
  tenmirel::ui::PlanWindow* plan = window.planMenu().planWindow();
  if (plan == nullptr) return false;
  if (window.frmCalc() != nullptr) window.frmCalc()->hide();
  if (auto* dialog = window.excelMenu().frmExcel(); dialog != nullptr) dialog->hide();
  window.move(0, 0);
  plan->move(window.frameGeometry().right() + 8, 0);
  plan->raise();
  settle();
  const QRect both = window.frameGeometry().united(plan->frameGeometry());
  const QString path = folder + QStringLiteral("/first-night.png");
  const bool grabbed =
      window.screen()->grabWindow(0, both.x(), both.y(), both.width(), both.height()).save(path, "PNG");
  std::cerr << (grabbed ? "wrote " : "could not write ") << path.toStdString() << '\n';
  return grabbed;
}

int screenshot(int& argc, char** argv, const std::string& catalogue, const QString& folder) {
  // The open dialog is answered with the catalogue given on the command line.
  tenmirel::FixedChooser chooser(catalogue);
  PrintedMessages messages;
  tenmirel::ui::DesktopRunOptions options;
  options.ports.chooser = &chooser;
  options.ports.messages = &messages;
  // A fixed evening, so the pictures do not change from run to run: 2024-11-20 21:00 local.
  options.clock = [] {
    using namespace std::chrono;
    return sys_days{year{2024} / November / 20} + hours{12};
  };
  // The plan window reads and writes nothing of the user's: settings and sites in a scratch folder.
  QTemporaryDir scratch;
  options.ports.plan.settingsFile = scratch.filePath(QStringLiteral("plan.ini"));
  options.ports.plan.sitesFile = scratch.filePath(QStringLiteral("sites.toml")).toStdString();
  options.ports.plan.elementsSettingsFile = scratch.filePath(QStringLiteral("settings.toml")).toStdString();
  options.ports.plan.clock = options.clock;
  options.whenShown = [folder](FrmYohou& window) {
    window.findChild<QPushButton*>(QStringLiteral("Command1"))->click();
    window.findChild<QPushButton*>(QStringLiteral("Command2"))->click();
    // The check window opens the way a user opens it: 4.61 in the cycle box.
    typeInto(window, "txtOutputKaiki", QStringLiteral("4.61"));
    window.findChild<QPushButton*>(QStringLiteral("Command2"))->click();
    settle();
    QDir().mkpath(folder);
    bool saved = save(window, folder + QStringLiteral("/main-window.png"));
    if (window.frmCalc() && window.frmCalc()->isVisible()) {
      saved = save(*window.frmCalc(), folder + QStringLiteral("/check-window.png")) && saved;
    } else {
      std::cerr << "the check window did not open\n";
      saved = false;
    }
    // The fixed-count list's dialog, opened from its menu entry.
    window.mnuExcelNtime()->trigger();
    settle();
    if (auto* dialog = window.excelMenu().frmExcel(); dialog != nullptr && dialog->isVisible()) {
      saved = save(*dialog, folder + QStringLiteral("/list-dialog.png")) && saved;
      // The three windows where they opened, as the screen shows them.
      const QRect all =
          window.frameGeometry().united(window.frmCalc()->frameGeometry()).united(dialog->frameGeometry());
      const bool grabbed = window.screen()
                               ->grabWindow(0, all.x(), all.y(), all.width(), all.height())
                               .save(folder + QStringLiteral("/windows.png"), "PNG");
      std::cerr << (grabbed ? "wrote " : "could not write ") << (folder + QStringLiteral("/windows.png")).toStdString()
                << '\n';
      saved = grabbed && saved;
    } else {
      std::cerr << "the list dialog did not open\n";
      saved = false;
    }
    saved = savePlanWindow(window, folder) && saved;
    saved = saveFirstNight(window, folder) && saved;
    QCoreApplication::exit(saved ? 0 : 1);
  };
  return tenmirel::ui::runDesktopProgram(argc, argv, std::move(options));
}

int icon(const QString& path, int size) {
  const bool saved = tenmirel::ui::paintAppIcon(size).save(path, "PNG");
  if (!saved) std::cerr << "could not write " << path.toStdString() << '\n';
  return saved ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string mode = argc > 1 ? argv[1] : "";
  if (mode == "startup") return startup(argc, argv);
  if (mode == "screenshot" && argc == 4) return screenshot(argc, argv, argv[2], QString::fromLocal8Bit(argv[3]));
  if (mode == "icon" && argc == 4) return icon(QString::fromLocal8Bit(argv[2]), std::atoi(argv[3]));
  std::cerr << "usage: tenmirel-probe startup | screenshot CATALOGUE FOLDER | icon FILE SIZE\n";
  return 2;
}
