// The plan window driven through its widgets: the table against the night engine,
// filters, sorting, the hand-over to the main window, exports read back and the
// settings restored.
#include <libical/ical.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDoubleSpinBox>
#include <QHeaderView>
#include <QImage>
#include <QLineEdit>
#include <QSettings>
#include <QSpinBox>
#include <QSplitter>
#include <QSvgRenderer>
#include <QTableView>
#include <QTest>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

#include "common/number_text.h"
#include "common/utf8_bom.h"
#include "plan_harness.h"
#include "sheet/openpyxl_read.h"
#include "sky/event_calendar_texts.h"
#include "sky/site_store.h"
#include "ui/plan/night_picture_widget.h"
#include "ui/plan/plan_computation.h"
#include "ui/plan/plan_exports.h"
#include "ui/plan/plan_filter_proxy.h"
#include "ui/plan/plan_table_model.h"
#include "ui/plan/plan_texts.h"

namespace tenmirel::testing {
namespace {

using ui::PlanTableModel;

QString qs(const std::string& utf8) { return QString::fromStdString(utf8); }
QString qs(const char* utf8) { return QString::fromUtf8(utf8); }

template <typename T>
T* control(ui::PlanWindow& window, const char* name) {
  return window.findChild<T*>(qs(name));
}

const sky::NightEvent& rowEvent(ui::PlanWindow& window, int row) {
  return window.model().event(window.proxy().mapToSource(window.proxy().index(row, 0)).row());
}

std::string readFile(const QString& path) {
  std::ifstream in(path.toStdString(), std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

std::vector<std::string> splitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// Cells of the first sheet as openpyxl reads them: (row, column) -> (type, value).
std::map<std::pair<int, int>, std::pair<char, std::string>> readWorkbook(const std::string& file) {
  std::map<std::pair<int, int>, std::pair<char, std::string>> cells;
  const ReadWorkbook workbook = readWorkbookWithOpenpyxl(TENMIREL_PYTHON3, TENMIREL_SHEET_TEST_DIR, file);
  if (!workbook.read) return cells;
  for (const auto& [address, cell] : workbook.firstSheet) cells[address] = {cell.type, cell.value};
  return cells;
}

}  // namespace

class PlanWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void tableEqualsTheEngine_data();
  void tableEqualsTheEngine();
  void nightStarsHaveTheMainWindowsCoordinates();
  void filtersHideAndGreyWithoutDeleting();
  void columnsSortByTheirNumbers();
  void doubleClickShowsTheSameExtremumInTheMainWindow();
  void previousAndNextNight();
  void oneInstanceFollowsTheMainCatalogue();
  void largeCatalogueIsPlannedOffTheWindowThread();
  void xlsxGoesToTheDocumentsFolderWithoutReplacing();
  void csvAndCalendarReadBack();
  void pictureExportsAsPngAndSvg();
  void settingsAreRestored();
};

void PlanWindowTest::tableEqualsTheEngine_data() {
  QTest::addColumn<int>("sunLimit");
  QTest::addColumn<double>("minimumAltitude");
  QTest::addColumn<double>("moonDistance");  // negative: off
  QTest::addColumn<int>("around");
  QTest::addColumn<int>("elements");  // 0 JD, 1 HJD, 2 BJD_TDB
  QTest::newRow("nautical, defaults") << 2 << 0.0 << -1.0 << 0 << 0;
  QTest::newRow("designed clock night") << 4 << 0.0 << -1.0 << 0 << 0;
  QTest::newRow("astronomical, 20 deg, Moon 40, 30 min") << 3 << 20.0 << 40.0 << 30 << 0;
  QTest::newRow("sunset, heliocentric") << 0 << 10.0 << -1.0 << 0 << 1;
  QTest::newRow("civil, barycentric") << 1 << 0.0 << 60.0 << 0 << 2;
}

void PlanWindowTest::tableEqualsTheEngine() {
  QFETCH(int, sunLimit);
  QFETCH(double, minimumAltitude);
  QFETCH(double, moonDistance);
  QFETCH(int, around);
  QFETCH(int, elements);
  PlanHarness h;
  h.loadSample();
  ui::PlanWindow& window = h.openPlan();
  control<QCheckBox>(window, "showFailing")->setChecked(true);
  control<QComboBox>(window, "sunLimit")->setCurrentIndex(sunLimit);
  control<QDoubleSpinBox>(window, "minimumAltitude")->setValue(minimumAltitude);
  control<QCheckBox>(window, "moonDistanceOn")->setChecked(moonDistance >= 0);
  if (moonDistance >= 0) control<QDoubleSpinBox>(window, "moonDistance")->setValue(moonDistance);
  control<QSpinBox>(window, "aroundMinutes")->setValue(around);
  auto* elementsBox = control<QComboBox>(window, "elementsTime");
  elementsBox->setCurrentIndex(elements);
  emit elementsBox->activated(elements);

  sky::NightOptions options;
  if (sunLimit == 4) {
    options.window = sky::NightWindow::clock;
  } else {
    const double limits[] = {-0.833, -6, -12, -18};
    options.sunLimitDegrees = limits[sunLimit];
  }
  options.minimumAltitudeDegrees = minimumAltitude;
  if (moonDistance >= 0) options.moonDistanceDegrees = moonDistance;
  options.aroundMinutes = around;
  options.elementsTime = elements == 0   ? sky::ElementsTime::jd
                         : elements == 1 ? sky::ElementsTime::hjd
                                         : sky::ElementsTime::bjdTdb;
  const auto expected = sky::planNight(sampleStars(), sky::builtInSite(), {2024, 11, 20}, options);
  QVERIFY(expected.ok());
  QVERIFY(!expected->events.empty());
  QCOMPARE(window.proxy().rowCount(), static_cast<int>(expected->events.size()));
  QCOMPARE(qs(ui::nightSummaryText(window.plan()->night)), control<QLabel>(window, "nightSummary")->text());
  int passing = 0;
  for (int row = 0; row < window.proxy().rowCount(); ++row) {
    const sky::NightEvent& want = expected->events[static_cast<std::size_t>(row)];
    const sky::NightEvent& got = rowEvent(window, row);
    auto cell = [&](int column) { return window.proxy().index(row, column).data().toString(); };
    QCOMPARE(cell(PlanTableModel::kTime), qs(want.localText));
    QCOMPARE(cell(PlanTableModel::kStar), qs(want.name));
    QCOMPARE(cell(PlanTableModel::kCycle), QString::number(want.cycle));
    QCOMPARE(cell(PlanTableModel::kAltitude), qs(ui::degreesText(want.altitudeDegrees)));
    QCOMPARE(cell(PlanTableModel::kAzimuth), qs(ui::azimuthText(want.azimuthDegrees)));
    QCOMPARE(cell(PlanTableModel::kSunAltitude), qs(ui::degreesText(want.sunAltitudeDegrees)));
    QCOMPARE(cell(PlanTableModel::kMoonDistance), qs(ui::degreesText(want.moonSeparationDegrees)));
    QCOMPARE(got.julianDayUt, want.julianDayUt);
    QCOMPARE(got.starIndex, want.starIndex);
    QCOMPARE(got.altitudeDegrees, want.altitudeDegrees);
    QCOMPARE(got.passesAll(), want.passesAll());
    passing += want.passesAll() ? 1 : 0;
  }
  // Without the failing ones, exactly the passing events remain, in the same order.
  control<QCheckBox>(window, "showFailing")->setChecked(false);
  QCOMPARE(window.proxy().rowCount(), passing);
  const auto passingEvents = sky::passingEvents(*expected);
  for (int row = 0; row < passing; ++row) {
    QCOMPARE(rowEvent(window, row).julianDayUt, passingEvents[static_cast<std::size_t>(row)]->julianDayUt);
  }
}

void PlanWindowTest::nightStarsHaveTheMainWindowsCoordinates() {
  // The plan reads each star's place exactly as the main window's prediction does.
  PlanHarness h;
  h.loadSample();
  FrmYohouModel& form = h.window->model();
  const std::vector<sky::NightStar> stars = nightStarsOf(form.starTable, form.starCount);
  QCOMPARE(static_cast<int>(stars.size()), form.starCount);
  for (int i = 0; i < form.starCount; ++i) {
    form.setCombo1ListIndex(i);
    form.refreshCoordinates();
    QCOMPARE(stars[static_cast<std::size_t>(i)].rightAscensionDegrees, form.alpha);
    QCOMPARE(stars[static_cast<std::size_t>(i)].declinationDegrees, form.delta);
    QVERIFY(stars[static_cast<std::size_t>(i)].hasPlace);
  }
  StarRecord empty;
  empty.starName = "no place";
  QVERIFY(!nightStarOf(empty).hasPlace);
}

void PlanWindowTest::filtersHideAndGreyWithoutDeleting() {
  PlanHarness h;
  h.loadSample();
  ui::PlanWindow& window = h.openPlan();
  const int all = window.model().rowCount();
  control<QDoubleSpinBox>(window, "minimumAltitude")->setValue(30);
  QCOMPARE(window.model().rowCount(), all);  // nothing deleted
  QVERIFY(window.proxy().rowCount() < all);
  for (int row = 0; row < window.proxy().rowCount(); ++row) {
    QVERIFY(rowEvent(window, row).altitudeDegrees >= 30);
    QVERIFY(!window.proxy().index(row, 0).data(Qt::ForegroundRole).isValid());
  }
  control<QCheckBox>(window, "showFailing")->setChecked(true);
  QCOMPARE(window.proxy().rowCount(), all);
  int greyed = 0;
  for (int row = 0; row < all; ++row) {
    const bool low = rowEvent(window, row).altitudeDegrees < 30;
    QCOMPARE(window.proxy().index(row, 0).data(Qt::ForegroundRole).isValid(), low);
    if (low) {
      QVERIFY(window.proxy().index(row, 0).data(Qt::ToolTipRole).toString().contains(qs("最低高度")));
      ++greyed;
    }
  }
  QVERIFY(greyed > 0);

  // The name filter, as typed, letter case ignored.
  QTest::keyClicks(control<QLineEdit>(window, "starFilter"), QStringLiteral("peg"));
  QVERIFY(window.proxy().rowCount() > 0);
  for (int row = 0; row < window.proxy().rowCount(); ++row) {
    QVERIFY(qs(rowEvent(window, row).name).contains(QStringLiteral("Peg")));
  }
  control<QLineEdit>(window, "starFilter")->clear();
  QCOMPARE(window.proxy().rowCount(), all);

  // The Moon distance filter, on and off.
  control<QCheckBox>(window, "showFailing")->setChecked(false);
  control<QDoubleSpinBox>(window, "minimumAltitude")->setValue(0);
  const int unfiltered = window.proxy().rowCount();
  control<QDoubleSpinBox>(window, "moonDistance")->setValue(100);
  QCOMPARE(window.proxy().rowCount(), unfiltered);  // still off
  control<QCheckBox>(window, "moonDistanceOn")->setChecked(true);
  QVERIFY(window.proxy().rowCount() < unfiltered);
  for (int row = 0; row < window.proxy().rowCount(); ++row) {
    QVERIFY(rowEvent(window, row).moonSeparationDegrees >= 100);
  }
}

void PlanWindowTest::columnsSortByTheirNumbers() {
  PlanHarness h;
  h.loadSample();
  ui::PlanWindow& window = h.openPlan();
  control<QCheckBox>(window, "showFailing")->setChecked(true);
  QHeaderView* header = window.table().horizontalHeader();
  auto clickHeader = [&](int column) {
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                      QPoint(header->sectionViewportPosition(column) + 5, header->height() / 2));
  };
  auto values = [&](double sky::NightEvent::*field) {
    std::vector<double> list;
    for (int row = 0; row < window.proxy().rowCount(); ++row) list.push_back(rowEvent(window, row).*field);
    return list;
  };
  auto sortedAsShown = [&](const std::vector<double>& list) {
    return header->sortIndicatorOrder() == Qt::AscendingOrder ? std::is_sorted(list.begin(), list.end())
                                                              : std::is_sorted(list.rbegin(), list.rend());
  };
  // By time at first, in the engine's order.
  QCOMPARE(header->sortIndicatorSection(), static_cast<int>(PlanTableModel::kTime));
  const auto times = values(&sky::NightEvent::julianDayUt);
  QVERIFY(std::is_sorted(times.begin(), times.end()));
  struct Case {
    int column;
    double sky::NightEvent::*field;
  };
  const Case cases[] = {{PlanTableModel::kAltitude, &sky::NightEvent::altitudeDegrees},
                        {PlanTableModel::kAzimuth, &sky::NightEvent::azimuthDegrees},
                        {PlanTableModel::kSunAltitude, &sky::NightEvent::sunAltitudeDegrees},
                        {PlanTableModel::kMoonDistance, &sky::NightEvent::moonSeparationDegrees},
                        {PlanTableModel::kTime, &sky::NightEvent::julianDayUt}};
  for (const Case& c : cases) {
    clickHeader(c.column);
    const auto once = values(c.field);
    QVERIFY(sortedAsShown(once));
    const Qt::SortOrder order = header->sortIndicatorOrder();
    clickHeader(c.column);
    QVERIFY(header->sortIndicatorOrder() != order);
    const auto twice = values(c.field);
    QVERIFY(sortedAsShown(twice));
    QVERIFY(once.front() != once.back());
    QCOMPARE(once.front(), twice.back());
  }
  clickHeader(PlanTableModel::kCycle);
  for (int row = 1; row < window.proxy().rowCount(); ++row) {
    const auto a = rowEvent(window, row - 1).cycle;
    const auto b = rowEvent(window, row).cycle;
    QVERIFY(header->sortIndicatorOrder() == Qt::AscendingOrder ? a <= b : a >= b);
  }
}

void PlanWindowTest::doubleClickShowsTheSameExtremumInTheMainWindow() {
  PlanHarness h;
  h.loadSample();
  ui::PlanWindow& window = h.openPlan();
  control<QCheckBox>(window, "showFailing")->setChecked(true);
  QVERIFY(window.proxy().rowCount() > 10);
  auto shownMatches = [&](const sky::NightEvent& event) {
    const FrmYohouModel& form = h.window->model();
    QCOMPARE(form.combo1ListIndex(), static_cast<int>(event.starIndex));
    QCOMPARE(form.txtOutputYear, std::to_string(event.local.minute.year));
    QCOMPARE(form.txtOutputMonth, std::to_string(event.local.minute.month));
    QCOMPARE(form.txtOutputDay, std::to_string(event.local.minute.day));
    QCOMPARE(form.txtOutputHour, std::to_string(event.local.minute.hour));
    QCOMPARE(form.txtOutputMin, std::to_string(event.local.minute.minute));
    QCOMPARE(form.txtOutputKaiki, std::to_string(event.cycle));
    QCOMPARE(form.lblJulKekka, numberToText(event.julianDayUt));
    // The window shows the model.
    QCOMPARE(h.window->findChild<QLineEdit*>(QStringLiteral("txtOutputMin"))->text(),
             QString::number(event.local.minute.minute));
    QCOMPARE(h.window->findChild<QLineEdit*>(QStringLiteral("txtOutputKaiki"))->text(), QString::number(event.cycle));
  };
  // A real double-click on the third row.
  QTableView& table = window.table();
  window.show();
  QVERIFY(QTest::qWaitForWindowExposed(&window));
  const QRect third = table.visualRect(window.proxy().index(2, PlanTableModel::kStar));
  QTest::mouseClick(table.viewport(), Qt::LeftButton, {}, third.center());
  QTest::mouseDClick(table.viewport(), Qt::LeftButton, {}, third.center());
  shownMatches(rowEvent(window, 2));
  // Every event of the night, the main window agreeing to the minute.
  for (int row = 0; row < window.proxy().rowCount(); ++row) {
    window.handOver(window.proxy().index(row, 0));
    shownMatches(rowEvent(window, row));
  }
  QVERIFY(h.messages.shown.empty());
}

void PlanWindowTest::previousAndNextNight() {
  PlanHarness h;
  h.loadSample();
  ui::PlanWindow& window = h.openPlan();
  QCOMPARE(window.night(), QDate(2024, 11, 20));
  QCOMPARE(window.tonight(), QDate(2024, 11, 20));
  control<QPushButton>(window, "nextNight")->click();
  QCOMPARE(window.plan()->night.date.day, 21);
  control<QPushButton>(window, "previousNight")->click();
  control<QPushButton>(window, "previousNight")->click();
  QCOMPARE(window.plan()->night.date.day, 19);
  const auto expected = sky::planNight(sampleStars(), sky::builtInSite(), {2024, 11, 19}, window.options());
  QCOMPARE(window.model().rowCount(), static_cast<int>(expected->events.size()));
}

void PlanWindowTest::oneInstanceFollowsTheMainCatalogue() {
  PlanHarness h;
  ui::PlanWindow& first = h.openPlan();
  QCOMPARE(first.model().rowCount(), 0);  // no catalogue yet: the night alone
  QVERIFY(!control<QLabel>(first, "nightSummary")->text().isEmpty());
  h.loadSample();
  ui::PlanWindow& again = h.openPlan();
  QCOMPARE(&again, &first);
  QVERIFY(first.model().rowCount() > 0);
  QCOMPARE(h.window->mnuPlan()->shortcut(), QKeySequence(QStringLiteral("Ctrl+T")));
  QVERIFY(!first.isModal());
}

void PlanWindowTest::largeCatalogueIsPlannedOffTheWindowThread() {
  PlanHarness h;
  h.loadSample();
  ui::PlanWindow& window = h.openPlan();
  const auto expected = sky::planNight(sampleStars(), sky::builtInSite(), {2024, 11, 21}, window.options());
  window.computation().synchronousLimit = 5;
  window.computation().partSize = 4;
  window.setNight(QDate(2024, 11, 22));  // cancelled by the next change
  window.setNight(QDate(2024, 11, 21));
  QVERIFY(window.computation().running());
  QVERIFY(control<QWidget>(window, "planProgress")->isVisibleTo(&window));
  QTRY_VERIFY(!window.computation().running());
  QVERIFY(!control<QWidget>(window, "planProgress")->isVisibleTo(&window));
  QCOMPARE(window.plan()->night.date.day, 21);
  QCOMPARE(window.model().rowCount(), static_cast<int>(expected->events.size()));
  for (std::size_t i = 0; i < expected->events.size(); ++i) {
    QCOMPARE(window.model().event(static_cast<int>(i)).julianDayUt, expected->events[i].julianDayUt);
    QCOMPARE(window.model().event(static_cast<int>(i)).starIndex, expected->events[i].starIndex);
  }
}

void PlanWindowTest::xlsxGoesToTheDocumentsFolderWithoutReplacing() {
  PlanHarness h;
  h.loadSample();
  ui::PlanWindow& window = h.openPlan();
  QVERIFY(window.exportXlsx());
  QVERIFY(window.exportXlsx());
  QCOMPARE(h.opener.opened.size(), std::size_t{2});
  QVERIFY(h.opener.opened[0] != h.opener.opened[1]);
  QVERIFY(std::filesystem::path(h.opener.opened[0]).parent_path() == h.dir.path() / "Tenmirel");
  QVERIFY(std::filesystem::path(h.opener.opened[0]).filename().string().find("今夜の観測計画") != std::string::npos);
  // The night's one workbook: facts above, then the table of the rows shown.
  const auto cells = readWorkbook(h.opener.opened[1]);
  QCOMPARE(cells.at({1, 1}).second, std::string("今夜の観測計画"));
  int header = 2;
  while (header < 40 && !(cells.count({header, 1}) && cells.at({header, 1}).second == "星名")) ++header;
  QCOMPARE(cells.at({header, 5}).second, std::string("ユリウス日（世界時）"));
  const int rows = window.proxy().rowCount();
  QVERIFY(rows > 0);
  QVERIFY(cells.count({header + 1 + rows, 1}) == 0);
  for (int row = 0; row < rows; ++row) {
    const sky::NightEvent& event = rowEvent(window, row);
    QCOMPARE(cells.at({header + 1 + row, 1}).second, event.name);
    QCOMPARE(cells.at({header + 1 + row, 2}).first, 'd');
    QCOMPARE(cells.at({header + 1 + row, 3}).second, event.isoText);
    QCOMPARE(cells.at({header + 1 + row, 4}).first, 'n');
    QCOMPARE(std::stod(cells.at({header + 1 + row, 4}).second), static_cast<double>(event.cycle));
    QCOMPARE(cells.at({header + 1 + row, 5}).first, 'n');
    QCOMPARE(std::stod(cells.at({header + 1 + row, 5}).second), event.julianDayUt);
  }
  // A folder that cannot be written: a message, nothing passed off as written.
  std::filesystem::create_directories(h.dir.path() / "blocked");
  std::ofstream(h.dir.path() / "blocked" / "Tenmirel") << "a file where the folder should be";
  PlanHarness blocked;
  blocked.loadSample();
  ui::PlanWindowPorts ports = blocked.planPorts();
  ports.documentsFolder = h.dir.path() / "blocked";
  ui::PlanMainWindowLink link;
  link.catalogue = sampleStars;
  ui::PlanWindow other(link, ports);
  QVERIFY(!other.exportXlsx());
  QCOMPARE(blocked.messages.shown.size(), std::size_t{1});
}

void PlanWindowTest::csvAndCalendarReadBack() {
  PlanHarness h;
  h.loadSample();
  ui::PlanWindow& window = h.openPlan();
  control<QSpinBox>(window, "aroundMinutes")->setValue(20);
  control<QCheckBox>(window, "showFailing")->setChecked(true);
  const int rows = window.proxy().rowCount();
  QVERIFY(rows > 0);

  h.saveAnswers = {h.path("plan.csv")};
  QVERIFY(window.exportCsv());
  const auto lines = splitLines(readFile(h.path("plan.csv")));
  QCOMPARE(static_cast<int>(lines.size()), rows + 1);
  // A byte-order mark first, so spreadsheet programs set for Japanese read UTF-8.
  QVERIFY(lines[0].rfind(std::string(kUtf8ByteOrderMark) + "日時,ISO 8601,星名,回帰", 0) == 0);
  for (int row = 0; row < rows; ++row) {
    const sky::NightEvent& event = rowEvent(window, row);
    const std::string expectedStart =
        event.localText + "," + event.isoText + "," + event.name + "," + std::to_string(event.cycle) + ",";
    QVERIFY2(lines[static_cast<std::size_t>(row) + 1].rfind(expectedStart, 0) == 0, lines[row + 1].c_str());
  }

  h.saveAnswers = {h.path("plan.ics"), h.path("again.ics")};
  QVERIFY(window.exportIcs());
  QVERIFY(window.exportIcs());
  auto readUids = [&](const QString& path, bool check) {
    std::vector<std::string> uids;
    icalcomponent* calendar = icalparser_parse_string(readFile(path).c_str());
    if (calendar == nullptr) return uids;
    int row = 0;
    for (icalcomponent* event = icalcomponent_get_first_component(calendar, ICAL_VEVENT_COMPONENT); event != nullptr;
         event = icalcomponent_get_next_component(calendar, ICAL_VEVENT_COMPONENT), ++row) {
      uids.emplace_back(icalcomponent_get_uid(event));
      if (!check) continue;
      const sky::NightEvent& want = rowEvent(window, row);
      const long long at = std::llround((want.julianDayUt - 2440587.5) * 86400);
      const icaltimetype start = icalcomponent_get_dtstart(event);
      const icaltimetype end = icalcomponent_get_dtend(event);
      if (!icaltime_is_utc(start) || icaltime_as_timet(start) != at - 20 * 60 ||
          icaltime_as_timet(end) != at + 20 * 60 ||
          std::string(icalcomponent_get_summary(event)) != sky::eventSummary(want)) {
        uids.emplace_back("mismatch");
      }
    }
    icalcomponent_free(calendar);
    return uids;
  };
  const auto first = readUids(h.path("plan.ics"), true);
  QCOMPARE(static_cast<int>(first.size()), rows);
  QCOMPARE(readUids(h.path("again.ics"), false), first);  // stable for the same star and cycle
  QCOMPARE(std::set<std::string>(first.begin(), first.end()).size(), first.size());
  QCOMPARE(std::count(first.begin(), first.end(), std::string("mismatch")), 0L);

  // A cancelled save dialog writes nothing.
  QVERIFY(!window.exportCsv());
  QVERIFY(h.messages.shown.empty());
}

void PlanWindowTest::pictureExportsAsPngAndSvg() {
  PlanHarness h;
  h.loadSample();
  ui::PlanWindow& window = h.openPlan();
  window.table().selectRow(0);
  QCOMPARE(window.picture().data().curves.size(), std::size_t{1});
  h.saveAnswers = {h.path("night.png"), h.path("night.svg")};
  QVERIFY(window.exportPng());
  QVERIFY(window.exportSvg());
  const QImage png(h.path("night.png"));
  QVERIFY(png.width() >= 960 && png.height() >= 400);
  QSvgRenderer svg(h.path("night.svg"));
  QVERIFY(svg.isValid());
  QVERIFY(readFile(h.path("night.svg")).find(rowEvent(window, 0).name) != std::string::npos);
}

void PlanWindowTest::settingsAreRestored() {
  PlanHarness h;
  sky::SiteStore store(h.dir.path() / "sites.toml");
  QVERIFY(!store.add({"Praha", 14.42, 50.08, 200, "Europe/Prague"}));
  QSize size;
  {
    ui::PlanMainWindowLink link;
    link.catalogue = sampleStars;
    ui::PlanWindow window(link, h.planPorts());
    control<QComboBox>(window, "siteChoice")->setCurrentText(QStringLiteral("Praha"));
    control<QComboBox>(window, "sunLimit")->setCurrentIndex(3);
    control<QDoubleSpinBox>(window, "minimumAltitude")->setValue(25);
    control<QCheckBox>(window, "moonDistanceOn")->setChecked(true);
    control<QDoubleSpinBox>(window, "moonDistance")->setValue(45);
    control<QSpinBox>(window, "aroundMinutes")->setValue(40);
    control<QCheckBox>(window, "showFailing")->setChecked(true);
    window.table().setColumnWidth(PlanTableModel::kStar, 211);
    window.resize(1111, 777);
    window.table().sortByColumn(PlanTableModel::kAltitude, Qt::DescendingOrder);
    QCOMPARE(window.site().name, std::string("Praha"));
    QCOMPARE(window.plan()->night.site.zone, std::string("Europe/Prague"));
    window.saveSettings();
    size = window.size();
  }
  ui::PlanMainWindowLink link;
  link.catalogue = sampleStars;
  ui::PlanWindow window(link, h.planPorts());
  QCOMPARE(control<QComboBox>(window, "siteChoice")->currentText(), QStringLiteral("Praha"));
  QCOMPARE(control<QComboBox>(window, "sunLimit")->currentIndex(), 3);
  QCOMPARE(control<QDoubleSpinBox>(window, "minimumAltitude")->value(), 25.0);
  QVERIFY(control<QCheckBox>(window, "moonDistanceOn")->isChecked());
  QCOMPARE(control<QDoubleSpinBox>(window, "moonDistance")->value(), 45.0);
  QCOMPARE(control<QSpinBox>(window, "aroundMinutes")->value(), 40);
  QVERIFY(control<QCheckBox>(window, "showFailing")->isChecked());
  QCOMPARE(window.table().columnWidth(PlanTableModel::kStar), 211);
  QCOMPARE(window.table().horizontalHeader()->sortIndicatorSection(), static_cast<int>(PlanTableModel::kAltitude));
  QCOMPARE(window.size(), size);
  QCOMPARE(window.plan()->night.site.name, std::string("Praha"));
  QCOMPARE(window.plan()->night.options.sunLimitDegrees, -18.0);
  QCOMPARE(*window.plan()->night.options.moonDistanceDegrees, 45.0);

  // Damaged values fall back to the defaults instead of reaching the engine.
  {
    QSettings damaged(QString::fromStdString((h.dir.path() / "plan.ini").string()), QSettings::IniFormat);
    damaged.setValue(QStringLiteral("plan/sunLimit"), 99);
    damaged.setValue(QStringLiteral("plan/minimumAltitude"), QStringLiteral("nan"));
    damaged.setValue(QStringLiteral("plan/site"), QStringLiteral("nowhere"));
    damaged.setValue(QStringLiteral("plan/tableHeader"), QByteArray("garbage"));
  }
  ui::PlanWindow fallback(link, h.planPorts());
  QCOMPARE(control<QComboBox>(fallback, "sunLimit")->currentIndex(), 2);
  QCOMPARE(control<QDoubleSpinBox>(fallback, "minimumAltitude")->value(), 0.0);
  // The site is the program's one choice, kept in the sites file: a damaged plan
  // setting has no say in it.
  QCOMPARE(fallback.site().name, std::string("Praha"));
  QVERIFY(fallback.plan() != nullptr);
}

}  // namespace tenmirel::testing

QTEST_MAIN(tenmirel::testing::PlanWindowTest)
#include "plan_window_test.moc"
