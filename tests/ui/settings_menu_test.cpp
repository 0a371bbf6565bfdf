// The main window's 設定(S) menu: the site predictions follow, and the time system
// of a catalogue's elements, remembered per file.
#include <QActionGroup>
#include <QMenu>
#include <QTest>
#include <filesystem>
#include <fstream>

#include "sky/elements_settings.h"
#include "sky/site_store.h"
#include "ui_harness.h"

namespace tenmirel::testing {

class SettingsMenuTest : public QObject {
  Q_OBJECT

 private slots:
  void aChosenSiteIsUsedAndNamedInTheTitle();
  void aDamagedSitesFileIsReportedAndTheBuiltInSiteKept();
  void theElementsTimeSystemIsRememberedPerCatalogue();
};

namespace {

std::unique_ptr<ui::FrmYohou> windowWith(RecordingMessages& messages, ScriptedChooser& chooser, const TempDir& dir) {
  ui::FrmYohouPorts ports;
  ports.messages = &messages;
  ports.chooser = &chooser;
  ports.endProgram = [] {};
  ports.plan.sitesFile = dir.path() / "sites.toml";
  ports.plan.elementsSettingsFile = dir.path() / "settings.toml";
  return std::make_unique<ui::FrmYohou>(std::move(ports), fixedClock());
}

}  // namespace

void SettingsMenuTest::aChosenSiteIsUsedAndNamedInTheTitle() {
  TempDir dir;
  {
    sky::SiteStore store(dir.path() / "sites.toml");
    QVERIFY(!store.add(sky::Site{"Praha", 14.42, 50.08, 300, "Europe/Prague"}));
    QVERIFY(!store.setDefault("Praha"));
  }
  RecordingMessages messages;
  ScriptedChooser chooser;
  auto window = windowWith(messages, chooser, dir);
  QCOMPARE(window->windowTitle(), QStringLiteral("Tenmirel — Praha"));
  // 2024-03-05 21:07:30 UT is 22:07 in Prague (CET).
  QCOMPARE(QString::fromStdString(window->model().txtInputHour), QStringLiteral("22"));
  QCOMPARE(QString::fromStdString(window->model().txtInputMin), QStringLiteral("7"));
  QVERIFY(messages.shown.empty());
}

void SettingsMenuTest::aDamagedSitesFileIsReportedAndTheBuiltInSiteKept() {
  TempDir dir;
  std::ofstream(dir.path() / "sites.toml") << "default = \"x\"\n[[site]\nname = \n";
  RecordingMessages messages;
  ScriptedChooser chooser;
  auto window = windowWith(messages, chooser, dir);
  QCOMPARE(window->windowTitle(), QStringLiteral("Tenmirel"));
  QTRY_COMPARE(messages.shown.size(), std::size_t{1});
  QVERIFY(QString::fromStdString(messages.shown.front()).contains(QStringLiteral("行")));
  QVERIFY(window->model().site().isBuiltIn());
  std::ifstream kept(dir.path() / "sites.toml");
  const std::string content((std::istreambuf_iterator<char>(kept)), std::istreambuf_iterator<char>());
  QCOMPARE(QString::fromStdString(content), QStringLiteral("default = \"x\"\n[[site]\nname = \n"));
}

void SettingsMenuTest::theElementsTimeSystemIsRememberedPerCatalogue() {
  TempDir dir;
  const std::string catalogue = dir.write("stars.vsd", twoStarCatalogue()).string();
  RecordingMessages messages;
  ScriptedChooser chooser;
  {
    auto window = windowWith(messages, chooser, dir);
    QVERIFY(window->mnuElementsTime(sky::ElementsTime::jd)->isChecked());
    chooser.answers.push_back(catalogue);
    QTest::mouseClick(window->findChild<QPushButton*>(QStringLiteral("Command1")), Qt::LeftButton);
    window->mnuElementsTime(sky::ElementsTime::hjd)->trigger();
    QVERIFY(window->mnuElementsTime(sky::ElementsTime::hjd)->isChecked());
    QTest::mouseClick(window->findChild<QPushButton*>(QStringLiteral("Command2")), Qt::LeftButton);
    const QString tooltip = window->findChild<QLabel*>(QStringLiteral("lblJulKekka"))->toolTip();
    QVERIFY2(tooltip.startsWith(QStringLiteral("HJD ")), qPrintable(tooltip));
  }
  QCOMPARE(sky::ElementsSettings(dir.path() / "settings.toml").timeSystemOf(catalogue), sky::ElementsTime::hjd);
  // A new run that loads the same file reads its elements as HJD again.
  auto again = windowWith(messages, chooser, dir);
  chooser.answers.push_back(catalogue);
  QTest::mouseClick(again->findChild<QPushButton*>(QStringLiteral("Command1")), Qt::LeftButton);
  QCOMPARE(again->model().elementsTime(), sky::ElementsTime::hjd);
  QVERIFY(again->mnuElementsTime(sky::ElementsTime::hjd)->isChecked());
  QVERIFY(messages.shown.empty());
}

}  // namespace tenmirel::testing

QTEST_MAIN(tenmirel::testing::SettingsMenuTest)
#include "settings_menu_test.moc"
