// One program: a site or elements' time system chosen in any window reaches every
// window at once, the plan's hand-over sets the main window's reference to the
// night, and a catalogue too large for the main window is explained and offered
// to the plan.
#include <QComboBox>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <fstream>

#include "plan_harness.h"
#include "prediction/extremum_prediction.h"
#include "ui/excel_menu.h"
#include "ui/frm_calc.h"
#include "ui/plan/plan_filter_proxy.h"
#include "ui/plan/plan_table_model.h"
#include "ui/shared_choice.h"

namespace tenmirel::testing {

class OneProgramTest : public QObject {
  Q_OBJECT

 private slots:
  void aSiteChosenInThePlanReachesTheMainWindowAndItsCheckWindow();
  void aSiteChosenInTheMainWindowReachesThePlan();
  void anElementsTimeChosenInEitherWindowReachesTheOther();
  void theHandOverPredictsFromTheStartOfTheNight();
  void aCatalogueTooLargeForTheMainWindowIsExplainedAndOfferedToThePlan();
  void exportsGoToTheDocumentsFolderTheListsUse();
  void saveDialogsStartWhereTheLastExportOfTheirKindWent();
};

namespace {

const sky::Site kPraha{"Praha", 14.42, 50.08, 300, "Europe/Prague"};

QString qs(const std::string& utf8) { return QString::fromStdString(utf8); }

template <typename T>
T* control(QWidget& window, const char* name) {
  return window.findChild<T*>(QString::fromUtf8(name));
}

void addPraha(PlanHarness& h) {
  h.window->choice().editSites([](sky::SiteStore& store) { store.add(kPraha); });
}

// The sample loaded and its first star predicted from the harness's clock reference.
void predictFirstStar(PlanHarness& h) {
  h.loadSample();
  control<QPushButton>(*h.window, "Command2")->click();
  QVERIFY(!h.window->model().txtOutputKaiki.empty());
}

// What a prediction start gives at the site for the main window's star and reference.
PredictionResult startAt(const FrmYohouModel& form, const ObservingSite& site, sky::ElementsTime elements) {
  PredictionSetting setting;
  setting.site = &site;
  setting.elementsTime = elements;
  setting.alphaDegrees = form.alpha;
  setting.deltaDegrees = form.delta;
  return predictFirstAfter(
      {form.txtInputYear, form.txtInputMonth, form.txtInputDay, form.txtInputHour, form.txtInputMin}, form.txtGanki,
      form.txtSyuki, setting);
}

void expectResultOf(PlanHarness& h, const PredictionResult& expected) {
  const FrmYohouModel& form = h.window->model();
  QVERIFY(expected.ok());
  QCOMPARE(qs(form.txtOutputKaiki), qs(expected.extremum.cycleText));
  QCOMPARE(qs(form.txtOutputDay), qs(expected.extremum.day));
  QCOMPARE(qs(form.txtOutputHour), qs(expected.extremum.hour));
  QCOMPARE(qs(form.txtOutputMin), qs(expected.extremum.minute));
  QCOMPARE(qs(form.txtOutputKoudo), qs(expected.extremum.altitudeText));
  QCOMPARE(qs(form.lblJulKijun), qs(expected.extremum.referenceJulianDayText));
  QCOMPARE(qs(form.lblJulKekka), qs(expected.extremum.julianDayText));
  // The window and its check window show the model.
  QCOMPARE(control<QLineEdit>(*h.window, "txtOutputHour")->text(), qs(expected.extremum.hour));
  QCOMPARE(control<QLabel>(*h.window->frmCalc(), "lblH")->text(), qs(expected.extremum.calc.lblH));
  QCOMPARE(control<QLabel>(*h.window->frmCalc(), "lblS(4)")->text(), qs(expected.extremum.calc.lblS[4]));
}

}  // namespace

void OneProgramTest::aSiteChosenInThePlanReachesTheMainWindowAndItsCheckWindow() {
  PlanHarness h;
  addPraha(h);
  predictFirstStar(h);
  QCOMPARE(h.window->windowTitle(), QStringLiteral("TenmirelVar1.5"));
  ui::PlanWindow& plan = h.openPlan();
  const std::string builtInHour = h.window->model().txtOutputHour;

  control<QComboBox>(plan, "siteChoice")->setCurrentText(QStringLiteral("Praha"));
  QCOMPARE(plan.plan()->night.site.name, kPraha.name);
  QCOMPARE(h.window->windowTitle(), QStringLiteral("TenmirelVar1.5 — Praha"));
  const auto praha = ObservingSite::of(kPraha);
  QVERIFY(praha.ok());
  // Predicted again from the same reference, now read at Praha.
  expectResultOf(h, startAt(h.window->model(), *praha, sky::ElementsTime::jd));
  QVERIFY(h.window->model().txtOutputHour != builtInHour);
  // The choice is the program's: a new start finds it in the sites file.
  QCOMPARE(sky::SiteStore(h.dir.path() / "sites.toml").defaultSite().name, kPraha.name);
  QVERIFY(h.messages.shown.empty());
}

void OneProgramTest::aSiteChosenInTheMainWindowReachesThePlan() {
  PlanHarness h;
  addPraha(h);
  predictFirstStar(h);
  ui::PlanWindow& plan = h.openPlan();
  QCOMPARE(plan.plan()->night.site.name, std::string(sky::kBuiltInSiteName));

  // 設定 → 観測地 chooses through the same choice the dialog changes.
  QVERIFY(!h.window->choice().chooseSite(kPraha.name));
  QCOMPARE(control<QComboBox>(plan, "siteChoice")->currentText(), QStringLiteral("Praha"));
  QCOMPARE(plan.plan()->night.site.name, kPraha.name);
  QCOMPARE(h.window->windowTitle(), QStringLiteral("TenmirelVar1.5 — Praha"));

  // And back: the built-in site gives exactly the designed result and title again.
  QVERIFY(!h.window->choice().chooseSite(sky::kBuiltInSiteName));
  QCOMPARE(h.window->windowTitle(), QStringLiteral("TenmirelVar1.5"));
  expectResultOf(h, startAt(h.window->model(), ObservingSite::builtIn(), sky::ElementsTime::jd));
  QCOMPARE(control<QComboBox>(plan, "siteChoice")->currentText(), qs(sky::kBuiltInSiteName));
}

void OneProgramTest::anElementsTimeChosenInEitherWindowReachesTheOther() {
  PlanHarness h;
  addPraha(h);
  predictFirstStar(h);
  ui::PlanWindow& plan = h.openPlan();
  auto* elements = control<QComboBox>(plan, "elementsTime");

  elements->setCurrentIndex(1);
  emit elements->activated(1);
  QVERIFY(h.window->mnuElementsTime(sky::ElementsTime::hjd)->isChecked());
  QCOMPARE(h.window->model().elementsTime(), sky::ElementsTime::hjd);
  QCOMPARE(h.window->windowTitle(), QStringLiteral("TenmirelVar1.5 — HJD"));
  QCOMPARE(plan.plan()->night.options.elementsTime, sky::ElementsTime::hjd);
  expectResultOf(h, startAt(h.window->model(), ObservingSite::builtIn(), sky::ElementsTime::hjd));
  QVERIFY(h.window->model().lblJulKekkaElements.starts_with("HJD "));

  // From the main window's menu, with a site: both named in the title.
  QVERIFY(!h.window->choice().chooseSite(kPraha.name));
  h.window->mnuElementsTime(sky::ElementsTime::bjdTdb)->trigger();
  QCOMPARE(elements->currentIndex(), 2);
  QCOMPARE(plan.plan()->night.options.elementsTime, sky::ElementsTime::bjdTdb);
  QCOMPARE(h.window->windowTitle(), QStringLiteral("TenmirelVar1.5 — Praha · BJD_TDB"));
  // Remembered for the catalogue file, so the next start reads it so.
  QCOMPARE(sky::ElementsSettings(h.dir.path() / "settings.toml").timeSystemOf(sampleCatalogue()),
           sky::ElementsTime::bjdTdb);

  h.window->mnuElementsTime(sky::ElementsTime::jd)->trigger();
  QVERIFY(!h.window->choice().chooseSite(sky::kBuiltInSiteName));
  QCOMPARE(h.window->windowTitle(), QStringLiteral("TenmirelVar1.5"));
  QCOMPARE(plan.plan()->night.options.elementsTime, sky::ElementsTime::jd);
  QVERIFY(h.messages.shown.empty());
}

void OneProgramTest::theHandOverPredictsFromTheStartOfTheNight() {
  PlanHarness h;
  addPraha(h);
  h.loadSample();
  ui::PlanWindow& plan = h.openPlan();
  control<QComboBox>(plan, "siteChoice")->setCurrentText(QStringLiteral("Praha"));
  QVERIFY(plan.proxy().rowCount() > 5);
  const sky::NightSummary& night = plan.plan()->night;
  const FrmYohouModel& form = h.window->model();
  for (int row = 0; row < plan.proxy().rowCount(); ++row) {
    plan.handOver(plan.proxy().index(row, 0));
    const sky::NightEvent& event = plan.model().event(plan.proxy().mapToSource(plan.proxy().index(row, 0)).row());
    // The same site in both windows: the same minute.
    QCOMPARE(qs(form.txtOutputHour), QString::number(event.local.minute.hour));
    QCOMPARE(qs(form.txtOutputMin), QString::number(event.local.minute.minute));
    // The reference is the night's start, and the result is not before it.
    QCOMPARE(qs(form.txtInputDay), QString::number(night.windowStartLocal.minute.day));
    QCOMPARE(qs(form.txtInputHour), QString::number(night.windowStartLocal.minute.hour));
    QCOMPARE(qs(form.txtInputMin), QString::number(night.windowStartLocal.minute.minute));
    QVERIFY(!form.lblJulKijun.empty());
    QVERIFY2(form.julKekka >= form.julKijun, event.localText.c_str());
  }
  QVERIFY(h.messages.shown.empty());
}

void OneProgramTest::aCatalogueTooLargeForTheMainWindowIsExplainedAndOfferedToThePlan() {
  PlanHarness h;
  h.loadSample();
  const int sampleStars = h.window->model().starCount;
  std::string large = "Quorrelith 1999\n1002\n";
  for (int i = 0; i < 1002; ++i) {
    large += "Star " + std::to_string(i) + "\n2451545." + std::to_string(i % 10) + "\n0.7" + std::to_string(i % 97) +
             "\n" + std::to_string(i % 24) + "\n" + std::to_string(i % 60) + "\nTrue\n" + std::to_string(i % 80) +
             "\n0\nEA\n";
  }
  const std::string path = h.dir.write("large.vsd", large).string();

  // Declined: the window keeps its stars, and the observer was told why.
  h.chooser.answers.push_back(path);
  control<QPushButton>(*h.window, "Command1")->click();
  QCOMPARE(h.questions.size(), std::size_t{1});
  QVERIFY(h.questions[0].find("1002") != std::string::npos);
  QVERIFY(h.questions[0].find("1001") != std::string::npos);
  QVERIFY(h.questions[0].find("今夜の観測計画") != std::string::npos);
  QCOMPARE(h.window->model().starCount, sampleStars);
  QVERIFY(h.window->planMenu().planWindow() == nullptr);

  // Accepted: the plan opens the catalogue whole.
  h.yesNoAnswers.push_back(true);
  h.chooser.answers.push_back(path);
  control<QPushButton>(*h.window, "Command1")->click();
  QCOMPARE(h.questions.size(), std::size_t{2});
  ui::PlanWindow* plan = h.window->planMenu().planWindow();
  QVERIFY(plan != nullptr);
  QVERIFY(plan->plan() != nullptr);
  QCOMPARE(control<QLabel>(*plan, "catalogueLabel")->text(), QStringLiteral("large.vsd（1002 個）"));
  QCOMPARE(h.window->model().starCount, sampleStars);

  // Other failures keep what they said before: a file without the first line says "Error!" only.
  const std::string wrong = h.dir.write("wrong.vsd", "not a catalogue\n1\n").string();
  h.chooser.answers.push_back(wrong);
  control<QPushButton>(*h.window, "Command1")->click();
  QCOMPARE(h.questions.size(), std::size_t{2});
  QCOMPARE(h.messages.shown.back(), std::string("Error!"));
}

void OneProgramTest::exportsGoToTheDocumentsFolderTheListsUse() {
  PlanHarness h;
  h.loadSample();
  const std::filesystem::path documents = h.dir.path() / "書類";
  qputenv("XDG_DOCUMENTS_DIR", QByteArray::fromStdString(documents.string()));
  ui::PlanWindowPorts ports = h.planPorts();
  ports.documentsFolder.clear();  // the program's own rule, as the lists have it
  ui::PlanMainWindowLink link;
  link.catalogue = sampleStars;
  ui::PlanWindow plan(link, ports);
  QVERIFY(plan.exportXlsx());
  h.saveAnswers = {QString()};
  QVERIFY(!plan.exportCsv());  // cancelled; the dialog was offered the same folder
  qunsetenv("XDG_DOCUMENTS_DIR");
  QCOMPARE(h.opener.opened.size(), std::size_t{1});
  QCOMPARE(std::filesystem::path(h.opener.opened[0]).parent_path(), documents / "Tenmirel");
  QCOMPARE(h.suggestedPaths.size(), std::size_t{1});
  QCOMPARE(QFileInfo(h.suggestedPaths[0]).absolutePath(), QString::fromStdString((documents / "Tenmirel").string()));
}

void OneProgramTest::saveDialogsStartWhereTheLastExportOfTheirKindWent() {
  PlanHarness h;
  h.loadSample();
  ui::PlanWindow& plan = h.openPlan();
  const QString tenmirel = QString::fromStdString((h.dir.path() / "Tenmirel").string());
  const std::filesystem::path elsewhere = h.dir.path() / "elsewhere";
  std::filesystem::create_directories(elsewhere);
  h.saveAnswers = {QString::fromStdString((elsewhere / "mine.csv").string()), QString(), QString(), QString()};
  QVERIFY(plan.exportCsv());
  QVERIFY(!plan.exportCsv());
  QVERIFY(!plan.exportPng());
  std::filesystem::remove_all(elsewhere);
  QVERIFY(!plan.exportCsv());
  QCOMPARE(h.suggestedPaths.size(), std::size_t{4});
  // The first time in documents/Tenmirel, named by the night.
  QCOMPARE(h.suggestedPaths[0], tenmirel + QStringLiteral("/2024-11-20_今夜の観測計画.csv"));
  // Then where the last CSV went; the pictures keep their own folder.
  QCOMPARE(QFileInfo(h.suggestedPaths[1]).absolutePath(), QString::fromStdString(elsewhere.string()));
  QCOMPARE(h.suggestedPaths[2], tenmirel + QStringLiteral("/2024-11-20_今夜の観測計画.png"));
  // A remembered folder that is gone is not offered.
  QCOMPARE(QFileInfo(h.suggestedPaths[3]).absolutePath(), tenmirel);
  QVERIFY(h.messages.shown.empty());
}

}  // namespace tenmirel::testing

QTEST_MAIN(tenmirel::testing::OneProgramTest)
#include "one_program_test.moc"
