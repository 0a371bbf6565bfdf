// The windows "O−C" and "極小時刻の決定" on the offscreen platform: the log shown
// and changed through the table, the fit's numbers, "この要素を使う" only when
// confirmed, the exports, and a light curve worked out off the window thread.
#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTableView>
#include <QTableWidget>
#include <QTest>
#include <cmath>
#include <fstream>
#include <random>
#include <sstream>

#include "catalogue/catalogue_writer.h"
#include "catalogue/memo_tokens.h"
#include "catalogue/star_file.h"
#include "support/recording_ports.h"
#include "ui/frm_yohou.h"
#include "ui/plan/plan_menu.h"
#include "ui/timing/light_curve_widget.h"
#include "ui/timing/minimum_window.h"
#include "ui/timing/oc_diagram_widget.h"
#include "ui/timing/oc_window.h"
#include "ui/timing/timing_menu.h"

namespace tenmirel::testing {
namespace {

constexpr double kEpoch = 2452500.581;  // RZ Cas (Kreiner), HJD
constexpr double kPeriod = 1.1952514;

const StarRecord kRzCas{"RZ Cas", "2452500.581", "1.1952514", "2", "48.925", "True", "69", "38.05", "EA/SD"};

observations::LogEntry minimumAt(int cycle, double oc, double sigma) {
  observations::LogEntry e;
  e.star = "RZ Cas";
  e.time = kEpoch + cycle * kPeriod + oc;
  e.sigmaDays = sigma;
  e.system = sky::ElementsTime::hjd;
  e.method = "KvW";
  return e;
}

// A synthetic eclipse made from the elements (not an observation), points evenly
// a minute apart, in HJD - 2400000.
std::string syntheticCurve(double minimum, int points) {
  std::mt19937 random(7);
  std::normal_distribution<double> noise(0, 0.008);
  std::ostringstream text;
  text.precision(12);
  text << "HJD-2400000,V\n";
  const double step = 0.24 / points;
  for (int i = 0; i < points; ++i) {
    const double dt = -0.12 + i * step;
    text << minimum + dt - 2400000 << ',' << 6.2 + 1.5 * std::exp(-0.4 * (dt / 0.028) * (dt / 0.028)) + noise(random)
         << '\n';
  }
  return text.str();
}

struct Fixture {
  Fixture() {
    logFile = dir.path() / "log.sqlite";
    catalogue = dir.write("stars.vsd", catalogueFileText({kRzCas}));
    ports.messages = &messages;
    ports.chooser = &chooser;
    ports.logFile = logFile;
    ports.confirm = [this](const QString&) { return answer; };
    ports.chooseSaveFile = [this](const QString&, const QString& suggested, const QString&) {
      return QString::fromStdString((dir.path() / suggested.toStdString()).string());
    };
    auto log = *observations::ObservationLog::open(logFile);
    for (auto [cycle, oc, sigma] : std::vector<std::tuple<int, double, double>>{{-1800, -0.0005, 0.0004},
                                                                                {0, 0.0002, 0.0003},
                                                                                {1500, 0.0003, 0.0004},
                                                                                {3000, 0.0009, 0.0002},
                                                                                {4500, 0.0013, 0.0003},
                                                                                {6000, 0.0016, 0.0002}}) {
      log->add(minimumAt(cycle, oc, sigma));
    }
  }
  TempDir dir;
  std::filesystem::path logFile, catalogue;
  RecordingMessages messages;
  FixedChooser chooser;
  bool answer = false;
  ui::TimingWindowPorts ports;
};

}  // namespace

class TimingWindowsTest : public QObject {
  Q_OBJECT

 private slots:
  void tableDiagramAndFitShowTheLog();
  void excludingAndRemovingGoThroughTheLog();
  void elementsAreReplacedOnlyWhenConfirmed();
  void exportsWriteTheDiagram();
  void lightCurveIsWorkedOutOffTheWindowThreadAndRecorded();
  void mainWindowOpensTheStarChosenThere();
  void planTableOpensTheEventsStar();
};

void TimingWindowsTest::tableDiagramAndFitShowTheLog() {
  Fixture f;
  ui::OcWindow window({kRzCas, sky::ElementsTime::hjd, f.catalogue}, f.ports);
  QCOMPARE(window.table()->rowCount(), 6);
  QCOMPARE(window.table()->item(5, 1)->text(), QStringLiteral("6000"));
  QCOMPARE(window.table()->item(5, 4)->text(), QStringLiteral("+2.30"));
  QVERIFY(window.diagram().fit.has_value());
  QVERIFY(window.fitLabel()->text().contains(QStringLiteral("直線の当てはめ（6 点")));
  window.setFitKind(timing::FitKind::quadratic);
  QVERIFY(window.fitLabel()->text().contains(QStringLiteral("dP/dE")));
  window.setFitKind(timing::FitKind::none);
  QVERIFY(!window.diagram().fit.has_value());
  // The pointer reads cycle, date and O − C; the wheel zooms about it.
  const QRectF before = window.diagramWidget()->view();
  window.diagramWidget()->resize(600, 400);
  QVERIFY(window.diagramWidget()->readoutAt(QPointF(300, 200)).contains(QStringLiteral("UT  O−C = ")));
  QWheelEvent wheel(QPointF(300, 200), QPointF(300, 200), QPoint(), QPoint(0, 120), Qt::NoButton, Qt::NoModifier,
                    Qt::NoScrollPhase, false);
  QApplication::sendEvent(window.diagramWidget(), &wheel);
  QVERIFY(window.diagramWidget()->view().width() < before.width());
  QVERIFY(f.messages.shown.empty());
}

void TimingWindowsTest::excludingAndRemovingGoThroughTheLog() {
  Fixture f;
  ui::OcWindow window({kRzCas, sky::ElementsTime::hjd, f.catalogue}, f.ports);
  window.selectRows({0});
  window.toggleExcludedOfSelection();
  QCOMPARE(window.table()->item(0, 8)->text(), QStringLiteral("除外"));
  QCOMPARE(window.diagram().fit->points, 5);
  QVERIFY((*observations::ObservationLog::open(f.logFile))->list()->front().excluded);  // remembered
  window.selectRows({1, 2});
  f.answer = false;
  window.removeSelection();
  QCOMPARE(window.table()->rowCount(), 6);
  f.answer = true;
  window.removeSelection();
  QCOMPARE(window.table()->rowCount(), 4);
  QVERIFY(window.addObservation(minimumAt(7430, 0.0021, 0.00005)));
  QCOMPARE(window.table()->rowCount(), 5);
}

void TimingWindowsTest::elementsAreReplacedOnlyWhenConfirmed() {
  Fixture f;
  ui::OcWindow window({kRzCas, sky::ElementsTime::hjd, f.catalogue}, f.ports);
  f.answer = false;
  QVERIFY(!window.useFit());
  QCOMPARE(readStarFile(f.catalogue).records[0].syuki, std::string("1.1952514"));
  window.setFitKind(timing::FitKind::quadratic);
  f.answer = true;
  QVERIFY(!window.useFit());  // only the linear fit gives catalogue elements
  window.setFitKind(timing::FitKind::linear);
  const double period = window.diagram().fit->period;
  QVERIFY(window.useFit());
  const StarRecord written = readStarFile(f.catalogue).records[0];
  QVERIFY(std::fabs(std::stod(written.syuki) - period) < 1e-9);
  QVERIFY(readMemoTokens(written.memo).fitErrors.has_value());
  QVERIFY(std::filesystem::exists(f.catalogue.string() + "~"));
  // Against the new elements the O − C of the fitted points straddle zero.
  QVERIFY(std::fabs(window.diagram().points.back().oMinusCDays) < 0.0005);
}

void TimingWindowsTest::exportsWriteTheDiagram() {
  Fixture f;
  ui::OcWindow window({kRzCas, sky::ElementsTime::hjd, f.catalogue}, f.ports);
  const auto folder = f.dir.path();
  QVERIFY(window.exportCsv(QString::fromStdString((folder / "oc.csv").string())));
  QVERIFY(window.exportSvg(QString::fromStdString((folder / "oc.svg").string())));
  QVERIFY(window.exportPng(QString::fromStdString((folder / "oc.png").string())));
  std::ifstream csv(folder / "oc.csv");
  std::string header;
  std::getline(csv, header);
  QCOMPARE(header, std::string("id,star,time,sigma,time_system,kind,cycle,o_c_days,o_c_minutes,outlier,excluded"));
  const QImage png(QString::fromStdString((folder / "oc.png").string()));
  QVERIFY(!png.isNull());
  // Not a blank page: the points and axes are drawn in black somewhere.
  int dark = 0;
  for (int y = 0; y < png.height(); y += 2)
    for (int x = 0; x < png.width(); x += 2) dark += qGray(png.pixel(x, y)) < 64;
  QVERIFY(dark > 100);
}

void TimingWindowsTest::lightCurveIsWorkedOutOffTheWindowThreadAndRecorded() {
  Fixture f;
  const double minimum = kEpoch + 7430 * kPeriod + 0.0021;
  const auto file = f.dir.write("rzcas.csv", syntheticCurve(minimum, 100000));
  ui::OcWindow oc({kRzCas, sky::ElementsTime::hjd, f.catalogue}, f.ports);
  ui::MinimumWindow* window = oc.openMinimumWindow();
  f.chooser.set(file.string());
  window->openWithChooser();
  // The call returned while the work goes on; the window's thread is free meanwhile.
  QVERIFY(window->busy());
  QVERIFY(window->resultLabel()->text().contains(QStringLiteral("計算中")));
  QTRY_VERIFY_WITH_TIMEOUT(!window->busy() && window->result().has_value(), 60000);
  QVERIFY(std::fabs(window->result()->julianDay - minimum) <= 3 * window->result()->sigmaDays);
  QVERIFY(window->resultLabel()->text().contains(QStringLiteral("2400000")));  // the offset is said
  // A dragged span is taken as chosen.
  window->setSpan(minimum - 0.05, minimum + 0.04);
  QTRY_VERIFY_WITH_TIMEOUT(!window->busy(), 60000);
  QVERIFY(window->result()->from >= minimum - 0.05 && window->result()->to <= minimum + 0.04);
  const auto id = window->record();
  QVERIFY(id.has_value());
  QCOMPARE(oc.table()->rowCount(), 7);  // the O−C window read the log again
  const auto entries = *(*observations::ObservationLog::open(f.logFile))->list("RZ Cas");
  QCOMPARE(entries.back().source, std::string("rzcas.csv"));
  QCOMPARE(entries.back().system, sky::ElementsTime::hjd);
  // A file that is no light curve is said so.
  f.chooser.set(f.catalogue.string());
  window->openWithChooser();
  QTRY_VERIFY_WITH_TIMEOUT(!window->busy(), 60000);
  QVERIFY(!f.messages.shown.empty());
}

void TimingWindowsTest::mainWindowOpensTheStarChosenThere() {
  Fixture f;
  RecordingMessages mainMessages;
  FixedChooser catalogueChooser(f.catalogue.string());
  ui::FrmYohouPorts ports;
  ports.messages = &mainMessages;
  ports.chooser = &catalogueChooser;
  ports.endProgram = [] {};
  ports.plan.sitesFile = f.dir.path() / "sites.toml";
  ports.plan.elementsSettingsFile = f.dir.path() / "settings.toml";
  ports.timing = f.ports;
  ports.timing.messages = nullptr;  // the main window's own
  ui::FrmYohou window(std::move(ports));
  window.mnuOc()->trigger();
  QCOMPARE(window.timingMenu().ocWindow(), nullptr);
  QCOMPARE(mainMessages.shown.size(), std::size_t{1});
  window.findChild<QAction*>(QStringLiteral("MenuOpen"))->trigger();
  window.mnuOc()->trigger();
  QVERIFY(window.timingMenu().ocWindow() != nullptr);
  QCOMPARE(window.timingMenu().ocWindow()->table()->rowCount(), 6);
  window.timingMenu().ocWindow()->close();
}

void TimingWindowsTest::planTableOpensTheEventsStar() {
  Fixture f;
  RecordingMessages mainMessages;
  FixedChooser catalogueChooser(f.catalogue.string());
  ui::FrmYohouPorts ports;
  ports.messages = &mainMessages;
  ports.chooser = &catalogueChooser;
  ports.endProgram = [] {};
  ports.plan.sitesFile = f.dir.path() / "sites.toml";
  ports.plan.elementsSettingsFile = f.dir.path() / "settings.toml";
  ports.plan.settingsFile = QString::fromStdString((f.dir.path() / "plan.ini").string());
  ports.timing = f.ports;
  ui::FrmYohou window(std::move(ports));
  window.findChild<QAction*>(QStringLiteral("MenuOpen"))->trigger();
  window.planMenu().openPlanWindow();
  ui::PlanWindow* plan = window.planMenu().planWindow();
  plan->setNight(QDate(2026, 12, 6));  // RZ Cas's minimum of cycle 7430 falls in this night
  auto* openOc = plan->findChild<QAction*>(QStringLiteral("planOpenOc"));
  QVERIFY(openOc != nullptr);
  auto* table = qobject_cast<QTableView*>(openOc->parent());  // the night's table carries the action
  QVERIFY(table != nullptr);
  QTRY_VERIFY_WITH_TIMEOUT(table->model()->rowCount() > 0, 30000);
  table->setCurrentIndex(table->model()->index(0, 0));
  openOc->trigger();
  QVERIFY(window.timingMenu().ocWindow() != nullptr);
  QVERIFY(window.timingMenu().ocWindow()->windowTitle().endsWith(QStringLiteral("RZ Cas")));
  window.timingMenu().ocWindow()->close();
  plan->close();
}

}  // namespace tenmirel::testing

QTEST_MAIN(tenmirel::testing::TimingWindowsTest)
#include "timing_windows_test.moc"
