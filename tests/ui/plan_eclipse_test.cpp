// The plan window for eclipse observers: kinds, secondaries and the uncertainty in
// the table and its filter, both remembered; eclipse bars on the picture; and the
// second tab, one star over many nights, against the engine's season.
#include <QCheckBox>
#include <QComboBox>
#include <QImage>
#include <QProgressBar>
#include <QSpinBox>
#include <QTableView>
#include <QTableWidget>
#include <QTest>
#include <cmath>
#include <fstream>
#include <iterator>
#include <set>

#include "common/utf8_bom.h"
#include "lists/night_workbook.h"
#include "plan_harness.h"
#include "sheet/openpyxl_read.h"
#include "sky/season_plan.h"
#include "ui/plan/night_picture_widget.h"
#include "ui/plan/plan_computation.h"
#include "ui/plan/plan_exports.h"
#include "ui/plan/plan_filter_proxy.h"
#include "ui/plan/plan_table_model.h"
#include "ui/plan/season_computation.h"
#include "ui/plan/season_picture.h"
#include "ui/plan/season_tab.h"

namespace tenmirel::testing {
namespace {

using ui::PlanTableModel;

QString qs(const char* utf8) { return QString::fromUtf8(utf8); }

template <typename T>
T* control(ui::PlanWindow& window, const char* name) {
  return window.findChild<T*>(qs(name));
}

// Near the pole, so up all night at the built-in site; one primary a night.
sky::NightStar polarStar(const char* name, const char* period, bool flagged) {
  sky::NightStar star;
  star.name = name;
  star.epoch = "2460635.0000";  // 2024-11-20 12:00 UT, 21:00 at the built-in site
  star.period = period;
  star.hasPlace = true;
  star.rightAscensionDegrees = 30;
  star.declinationDegrees = 80;
  star.epochKind = sky::EventKind::primary;
  star.hasSecondaryMinimum = true;
  star.durationPercent = 5;
  star.elementsFlaggedUncertain = flagged;
  return star;
}

std::vector<sky::NightStar> eclipseStars() {
  return {polarStar("Steady", "0.8000000", false), polarStar("Flagged", "0.7000000", true)};
}

}  // namespace

class PlanEclipseTest : public QObject {
  Q_OBJECT
 private slots:
  void kindsSecondariesAndUncertaintyInTheTable();
  void seasonTabIsTheEnginesSeason();
  void longSeasonOffTheWindowTheLatestRequestWins();
  void seasonExportsEveryKindWhereTheLastOfItWent();
  void exportsCarryKindsAndWholeEclipses();
};

void PlanEclipseTest::kindsSecondariesAndUncertaintyInTheTable() {
  PlanHarness h;
  ui::PlanMainWindowLink link;
  link.catalogue = eclipseStars;
  {
    ui::PlanWindow window(link, h.planPorts());
    control<QCheckBox>(window, "showFailing")->setChecked(true);
    QVERIFY(window.plan() != nullptr);
    for (const sky::NightEvent& event : window.plan()->events) QCOMPARE(event.kind, sky::EventKind::primary);
    control<QCheckBox>(window, "secondaryMinima")->setChecked(true);
    QTRY_VERIFY(!window.computation().running());
    std::set<QString> kinds;
    for (int row = 0; row < window.model().rowCount(); ++row) {
      const sky::NightEvent& event = window.model().event(row);
      kinds.insert(window.model().index(row, PlanTableModel::kKind).data().toString());
      QCOMPARE(window.model().index(row, PlanTableModel::kDuration).data().toString(),
               QStringLiteral("%1 分").arg(*event.durationMinutes, 0, 'f', 0));
      const QString uncertainty = window.model().index(row, PlanTableModel::kUncertainty).data().toString();
      QCOMPARE(uncertainty.startsWith(qs("≥±")), event.name == "Flagged");
    }
    QCOMPARE(kinds, (std::set<QString>{qs("主極小"), qs("副極小")}));

    // The filter hides the flagged star's events, whose bound is unknown, and keeps the others.
    control<QCheckBox>(window, "maxUncertaintyOn")->setChecked(true);
    control<QSpinBox>(window, "maxUncertainty")->setValue(5);
    int hidden = 0;
    for (const sky::NightEvent& event : window.plan()->events) {
      QCOMPARE(event.passesUncertainty, event.name != "Flagged");
      hidden += event.passesUncertainty ? 0 : 1;
    }
    QVERIFY(hidden > 0);

    // A chosen star's eclipses lie along its curve from first to last contact.
    const int row = [&] {
      for (int r = 0; r < window.proxy().rowCount(); ++r) {
        const QModelIndex source = window.proxy().mapToSource(window.proxy().index(r, 0));
        if (window.model().event(source.row()).name == "Steady") return r;
      }
      return -1;
    }();
    QVERIFY(row >= 0);
    window.table().selectRow(row);
    const ui::NightPictureData& picture = window.picture().data();
    QCOMPARE(picture.curves.size(), std::size_t{1});
    QVERIFY(!picture.curves.front().eclipses.empty());
    for (const ui::PictureEclipse& eclipse : picture.curves.front().eclipses) {
      QVERIFY(std::fabs((eclipse.lastContactUt - eclipse.firstContactUt) - 0.05 * 0.8) < 1e-9);
    }
    window.saveSettings();
  }
  ui::PlanWindow again(link, h.planPorts());
  QVERIFY(control<QCheckBox>(again, "secondaryMinima")->isChecked());
  QVERIFY(control<QCheckBox>(again, "maxUncertaintyOn")->isChecked());
  QCOMPARE(control<QSpinBox>(again, "maxUncertainty")->value(), 5);
  QVERIFY(again.options().secondaryMinima);
  QCOMPARE(*again.options().maxUncertaintyMinutes, 5.0);
}

void PlanEclipseTest::seasonTabIsTheEnginesSeason() {
  PlanHarness h;
  ui::PlanMainWindowLink link;
  link.catalogue = eclipseStars;
  ui::PlanWindow window(link, h.planPorts());
  control<QCheckBox>(window, "secondaryMinima")->setChecked(true);
  QTRY_VERIFY(!window.computation().running());
  ui::SeasonTab& season = window.season();
  season.refreshStars();
  QCOMPARE(season.starChoice().count(), 2);
  QCOMPARE(season.nights().value(), 60);
  season.starChoice().setCurrentIndex(0);
  season.nights().setValue(30);
  season.recompute();
  QVERIFY(season.season() != nullptr);
  QCOMPARE(season.season()->nights.size(), std::size_t{30});

  const sky::Checked<sky::SeasonPlan> engine =
      sky::planSeason({eclipseStars().front()}, window.site(), sky::NightDate{2024, 11, 20}, 30, window.options());
  QVERIFY(engine.ok());
  std::vector<double> expected;
  for (const sky::NightPlan& night : engine->nights) {
    for (const sky::NightEvent& event : night.events) {
      if (event.passesAll()) expected.push_back(event.julianDayUt);
    }
  }
  QVERIFY(expected.size() > 20);
  QCOMPARE(static_cast<std::size_t>(season.table().rowCount()), expected.size());
  QCOMPARE(season.shown().size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) QCOMPARE(season.shown()[i]->julianDayUt, expected[i]);
  QCOMPARE(season.table().item(0, 0)->text(), QStringLiteral("2024-11-20"));

  // One picture row a night, each passing eclipse a bar inside its night's dark window.
  const ui::SeasonPictureData& picture = season.picture().data();
  QCOMPARE(picture.rows.size(), std::size_t{30});
  std::size_t bars = 0;
  for (const ui::SeasonPictureRow& row : picture.rows) {
    for (const ui::SeasonPictureRow::Mark& mark : row.marks) {
      ++bars;
      QVERIFY(mark.endHours > mark.startHours);
      QVERIFY(mark.startHours >= row.windowStartHours - 1e-9 && mark.endHours <= row.windowEndHours + 1e-9);
    }
  }
  QCOMPARE(bars, expected.size());

  // The same exports as the night's.
  h.saveAnswers.push_back(h.path("season.csv"));
  QVERIFY(season.exportCsv());
  QVERIFY(std::filesystem::exists(h.dir.path() / "season.csv"));
}

// A long season is planned on the worker with its progress shown; a second request
// cancels the first, and what arrives is the engine's season for the second.
void PlanEclipseTest::longSeasonOffTheWindowTheLatestRequestWins() {
  PlanHarness h;
  ui::PlanMainWindowLink link;
  link.catalogue = eclipseStars;
  ui::PlanWindow window(link, h.planPorts());
  QTRY_VERIFY(!window.computation().running());
  ui::SeasonTab& season = window.season();
  season.refreshStars();
  season.starChoice().setCurrentIndex(0);
  season.nights().setValue(400);
  season.recompute();
  QVERIFY(season.computation().running());
  QVERIFY(!season.progress().isHidden());
  QCOMPARE(season.progress().maximum(), 400);

  season.starChoice().setCurrentIndex(1);
  season.nights().setValue(145);  // on the worker too, its last part short
  season.recompute();
  QVERIFY(season.computation().running());
  QTRY_VERIFY_WITH_TIMEOUT(!season.computation().running(), 60000);
  season.computation().waitForWorker();
  QCoreApplication::processEvents();
  QVERIFY(season.progress().isHidden());
  QVERIFY(season.season() != nullptr);

  const sky::Checked<sky::SeasonPlan> engine =
      sky::planSeason({eclipseStars()[1]}, window.site(), sky::NightDate{2024, 11, 20}, 145, window.options());
  QVERIFY(engine.ok());
  QCOMPARE(season.season()->nights.size(), engine->nights.size());
  for (std::size_t n = 0; n < engine->nights.size(); ++n) {
    const sky::NightPlan& got = season.season()->nights[n];
    const sky::NightPlan& want = engine->nights[n];
    QCOMPARE(got.night.date.day, want.night.date.day);
    QCOMPARE(got.night.windowStartUt, want.night.windowStartUt);
    QCOMPARE(got.events.size(), want.events.size());
    for (std::size_t e = 0; e < want.events.size(); ++e) {
      QCOMPARE(got.events[e].name, want.events[e].name);
      QCOMPARE(got.events[e].julianDayUt, want.events[e].julianDayUt);
      QCOMPARE(got.events[e].kind, want.events[e].kind);
    }
  }
  QCOMPARE(season.picture().data().rows.size(), std::size_t{145});
  for (const sky::NightEvent* event : season.shown()) QCOMPARE(event->name, std::string("Flagged"));
}

// The season's workbook goes where the night's does, from the same writer; each
// other kind's save dialog starts where the last file of that kind went.
void PlanEclipseTest::seasonExportsEveryKindWhereTheLastOfItWent() {
  PlanHarness h;
  ui::PlanMainWindowLink link;
  link.catalogue = eclipseStars;
  ui::PlanWindow window(link, h.planPorts());
  QTRY_VERIFY(!window.computation().running());
  ui::SeasonTab& season = window.season();
  season.refreshStars();
  season.starChoice().setCurrentIndex(0);
  season.nights().setValue(20);
  season.recompute();
  QVERIFY(season.season() != nullptr);
  const std::size_t shown = season.shown().size();
  QVERIFY(shown > 0);

  QVERIFY(season.exportXlsx());
  QCOMPARE(h.opener.opened.size(), std::size_t{1});
  const std::filesystem::path book(h.opener.opened[0]);
  QVERIFY(book.parent_path() == h.dir.path() / "Tenmirel");
  QVERIFY(book.filename().string().find("星ごとの予報") != std::string::npos);
  const ReadWorkbook read = readWorkbookWithOpenpyxl(TENMIREL_PYTHON3, TENMIREL_SHEET_TEST_DIR, book);
  QVERIFY(read.read);
  const ReadSheet& sheet = read.firstSheet;
  QCOMPARE(sheet.at({1, 1}).value, std::string("星ごとの予報"));
  const int header = static_cast<int>(seasonWorkbookFacts(*season.season(), {"Steady"}, shown).size()) + 2;
  QCOMPARE(sheet.at({header, 1}).value, std::string("夜"));
  QCOMPARE(sheet.at({header, 2}).value, std::string("星名"));
  for (std::size_t i = 0; i < shown; ++i) {
    const int row = header + 1 + static_cast<int>(i);
    QCOMPARE(QString::fromStdString(sheet.at({row, 1}).value),
             season.table().item(static_cast<int>(i), 0)->text() + QStringLiteral("T00:00"));
    QCOMPARE(sheet.at({row, 2}).value, std::string("Steady"));
  }
  QCOMPARE(sheet.count({header + 1 + static_cast<int>(shown), 1}), std::size_t{0});

  struct Kind {
    const char* extension;
    bool (ui::SeasonTab::*run)();
  };
  for (const Kind& kind : {Kind{"png", &ui::SeasonTab::exportPng}, Kind{"svg", &ui::SeasonTab::exportSvg},
                           Kind{"csv", &ui::SeasonTab::exportCsv}, Kind{"ics", &ui::SeasonTab::exportIcs}}) {
    const std::string extension = kind.extension;
    const std::filesystem::path folder = h.dir.path() / ("to-" + extension);
    std::filesystem::create_directories(folder);
    const std::filesystem::path file = folder / ("season." + extension);
    h.saveAnswers.push_back(QString::fromStdString(file.string()));
    QVERIFY2((season.*kind.run)(), kind.extension);
    std::ifstream in(file, std::ios::binary);
    const std::string contents((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    QVERIFY2(!contents.empty(), kind.extension);
    // Cancelled the second time, the dialog having been offered the first one's folder.
    QVERIFY(!(season.*kind.run)());
    const std::filesystem::path offered = h.suggestedPaths.back().toStdString();
    QVERIFY2(offered.parent_path() == folder, kind.extension);
    QCOMPARE(QString::fromStdString(offered.filename().string()),
             QStringLiteral("2024-11-20_星ごとの予報.") + QString::fromStdString(extension));
    if (extension == "png") {
      const QImage image(QString::fromStdString(file.string()));
      QVERIFY(!image.isNull());
      QVERIFY(image.width() >= 960 && image.height() >= 400);
    }
    if (extension == "svg") QVERIFY(contents.find("<svg") != std::string::npos);
    if (extension == "csv") QVERIFY(contents.rfind(kUtf8ByteOrderMark, 0) == 0);
    if (extension == "ics") QVERIFY(contents.rfind("BEGIN:VCALENDAR", 0) == 0);
  }
}

// The window's CSV says each event's kind and uncertainty; its calendar spans the
// whole eclipse that was checked, not the minutes-around box.
void PlanEclipseTest::exportsCarryKindsAndWholeEclipses() {
  sky::NightOptions options;
  options.secondaryMinima = true;
  options.aroundFromDuration = true;
  const auto plan = sky::planNight(eclipseStars(), sky::builtInSite(), sky::NightDate{2024, 11, 20}, options);
  QVERIFY(plan.ok());
  ui::PlanRows rows;
  for (const sky::NightEvent& event : plan->events) rows.push_back(&event);
  QVERIFY(!rows.empty());

  const std::string csv = ui::planCsv(rows);
  QVERIFY(csv.rfind("日時,ISO 8601,星名,回帰", 0) == 0);
  QVERIFY(csv.find(",種類,食の継続(分),予報の不確かさ(分),不確かさは下限\n") != std::string::npos);
  QVERIFY(csv.find(",主極小,") != std::string::npos);
  QVERIFY(csv.find(",副極小,") != std::string::npos);

  const std::string ics = ui::planIcs(rows, plan->night, 0, 0);
  // D = 5 % of 0.8 d and of 0.7 d: 28.8 and 25.2 minutes either side.
  std::multiset<int> checked;
  for (const sky::NightEvent* event : rows) {
    const double half = (event->name == "Steady" ? 0.8 : 0.7) * 0.05 / 2 * 1440;
    QVERIFY(std::fabs(event->checkedHalfMinutes - half) < 1e-9);
    checked.insert(static_cast<int>(std::lround(2 * half * 60)));
  }
  std::multiset<int> written;
  std::size_t spans = 0;
  for (std::size_t at = ics.find("DTSTART:"); at != std::string::npos; at = ics.find("DTSTART:", at + 1)) {
    const std::string start = ics.substr(at + 8, 16);
    const std::size_t endAt = ics.find("DTEND:", at);
    QVERIFY(endAt != std::string::npos);
    const std::string end = ics.substr(endAt + 6, 16);
    const auto seconds = [](const std::string& t) {
      return std::stoi(t.substr(9, 2)) * 3600 + std::stoi(t.substr(11, 2)) * 60 + std::stoi(t.substr(13, 2));
    };
    int length = seconds(end) - seconds(start);
    if (length < 0) length += 86400;
    written.insert(length);
    ++spans;
  }
  QCOMPARE(spans, rows.size());
  QVERIFY(written == checked);
}

}  // namespace tenmirel::testing

QTEST_MAIN(tenmirel::testing::PlanEclipseTest)
#include "plan_eclipse_test.moc"
