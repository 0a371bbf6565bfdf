// The "Excel" menu of the main window and the dialog "指定回数予報", driven
// through the real widgets; files go to a temporary folder and the default
// application is replaced by a recording opener.
#include "ui/frm_excel.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <filesystem>
#include <fstream>
#include <memory>

#include "list_window_harness.h"
#include "lists/frm_excel_model.h"
#include "lists/list_fixture.h"
#include "lists/today_list.h"
#include "sheet/recording_opener.h"
#include "support/recording_ports.h"
#include "ui/excel_menu.h"
#include "ui/frm_yohou.h"

namespace tenmirel::testing {
namespace {

struct Harness : ListWindowHarness {
  using ListWindowHarness::ListWindowHarness;
  void setBox(const char* name, const char* text) const {
    box(name)->setText(qs(text));
    emit box(name)->textEdited(box(name)->text());
  }
  template <typename T>
  T* control(const char* name) const {
    return dialog()->findChild<T*>(qs(name));
  }
  void click(const char* button) const { QTest::mouseClick(control<QPushButton>(button), Qt::LeftButton); }
  void typeInto(const char* name, const char* text) const {
    auto* target = control<QLineEdit>(name);
    target->setFocus();
    target->selectAll();
    QTest::keyClick(target, Qt::Key_Delete);
    QTest::keyClicks(target, qs(text));
  }
  std::filesystem::path listFolder() const { return dir.path() / "Documents" / "Tenmirel"; }
  std::vector<std::string> files() const {
    std::vector<std::string> names;
    if (!std::filesystem::exists(listFolder())) return names;
    for (const auto& entry : std::filesystem::directory_iterator(listFolder())) names.push_back(entry.path());
    std::sort(names.begin(), names.end());
    return names;
  }
  // Opens the dialog on a loaded catalogue with the reference 2026-12-07 12:00.
  void openDialog() {
    loadCatalogue();
    setBox("txtInputYear", "2026");
    setBox("txtInputMonth", "12");
    setBox("txtInputDay", "7");
    setBox("txtInputHour", "12");
    trigger("mnuExcelNtime");
  }
};

}  // namespace

class FrmExcelTest : public QObject {
  Q_OBJECT

 private slots:
  void menuEntryChecksTheMainWindowFirst();
  void menuEntryFillsDayAndHourAndOpensOneModelessDialog();
  void dialogShowsItsCaptionsAndDefaults();
  void focusOrder();
  void cancelHidesAndKeepsState();
  void closeBoxUnloadsAndTheNextOpeningStartsFresh();
  void runWritesTheFileShowsItAndStepsTheMainWindow();
  void runMessages_data();
  void runMessages();
  void manualInputLiftsTheAltitudeFilter();
  void todaysListWritesAndCloses();
  void todayWithoutCatalogueSaysSo();
  void noDefaultApplicationTellsWhereTheFileIs();
  void aFailedSaveIsReported();
};

void FrmExcelTest::menuEntryChecksTheMainWindowFirst() {
  Harness h;
  QVERIFY(h.window->mnuExcelNtime()->isEnabled());
  QVERIFY(h.window->mnuExcelToday()->isEnabled());
  h.trigger("mnuExcelNtime");
  QCOMPARE(h.messages.shown, std::vector<std::string>{kSelectStarMessage});
  QVERIFY(h.dialog() == nullptr);

  h.loadCatalogue();
  h.setBox("txtInputYear", "");
  h.setBox("txtInputDay", "");
  h.trigger("mnuExcelNtime");
  QCOMPARE(h.messages.shown.back(), std::string(kSelectStarAndDateMessage));
  QCOMPARE(h.box("txtInputDay")->text(), qs("0"));  // filled before the message
  QVERIFY(h.dialog() == nullptr);
}

void FrmExcelTest::menuEntryFillsDayAndHourAndOpensOneModelessDialog() {
  Harness h;
  h.loadCatalogue();
  h.setBox("txtInputDay", "");
  h.setBox("txtInputHour", "");
  h.trigger("mnuExcelNtime");
  QVERIFY(h.messages.shown.empty());
  QCOMPARE(h.box("txtInputDay")->text(), qs("0"));
  QCOMPARE(h.box("txtInputHour")->text(), qs("0"));
  QVERIFY(h.dialog() != nullptr);
  QVERIFY(h.dialog()->isVisible());
  QVERIFY(!h.dialog()->isModal());
  QVERIFY(h.window->isEnabled());
  ui::FrmExcel* first = h.dialog();
  h.trigger("mnuExcelNtime");
  QCOMPARE(h.dialog(), first);
  QCOMPARE(h.window->findChildren<ui::FrmExcel*>().size(), 1);
}

void FrmExcelTest::dialogShowsItsCaptionsAndDefaults() {
  Harness h;
  h.openDialog();
  QCOMPARE(h.dialog()->windowTitle(), qs("指定回数予報"));
  QCOMPARE(h.control<QGroupBox>("Frame1")->title(), qs("以後何回帰分の極予報を送信しますか？"));
  QCOMPARE(h.control<QGroupBox>("Frame2")->title(), qs("時間制限"));
  QCOMPARE(h.control<QGroupBox>("Frame3")->title(), qs("高度制限"));
  // Containment: each control sits in its frame.
  QVERIFY(h.control<QGroupBox>("Frame1")->isAncestorOf(h.control<QLineEdit>("txtTimes")));
  QVERIFY(h.control<QGroupBox>("Frame2")->isAncestorOf(h.control<QComboBox>("Combo2")));
  QVERIFY(h.control<QGroupBox>("Frame3")->isAncestorOf(h.control<QLineEdit>("Text2")));
  QCOMPARE(h.control<QLabel>("Label1")->text(), qs("回分"));
  QCOMPARE(h.control<QLabel>("Label2")->text(), qs("以降"));
  QCOMPARE(h.control<QLabel>("Label3")->text(), qs("までは表示しない"));
  QCOMPARE(h.control<QLabel>("Label5")->text(), qs("高度　　　　　　　　　　°以下は表示しない"));
  QCOMPARE(h.control<QRadioButton>("Option1")->text(), qs("つけない"));
  QCOMPARE(h.control<QRadioButton>("Option2")->text(), qs("つける"));
  QCOMPARE(h.control<QRadioButton>("Option3")->text(), qs("つけない"));
  QCOMPARE(h.control<QRadioButton>("Option4")->text(), qs("つける"));
  QCOMPARE(h.control<QPushButton>("Command1")->text(), qs("予報開始"));
  QCOMPARE(h.control<QPushButton>("Command2")->text(), qs("キャンセル"));
  QCOMPARE(h.control<QLineEdit>("txtTimes")->text(), qs("10"));
  QCOMPARE(h.control<QLineEdit>("Text2")->text(), qs("0"));
  QVERIFY(h.control<QRadioButton>("Option1")->isChecked());
  QVERIFY(!h.control<QRadioButton>("Option2")->isChecked());
  QVERIFY(h.control<QRadioButton>("Option3")->isChecked());
  QVERIFY(!h.control<QRadioButton>("Option4")->isChecked());
  const QStringList labels = {qs("　０時"), qs("　１時"), qs("　２時"), qs("　３時"), qs("　４時"), qs("　５時"),
                              qs("　６時"), qs("　７時"), qs("　８時"), qs("　９時"), qs("１０時"), qs("１１時"),
                              qs("１２時"), qs("１３時"), qs("１４時"), qs("１５時"), qs("１６時"), qs("１７時"),
                              qs("１８時"), qs("１９時"), qs("２０時"), qs("２１時"), qs("２２時"), qs("２３時")};
  for (const char* name : {"Combo1", "Combo2"}) {
    auto* combo = h.control<QComboBox>(name);
    QStringList items;
    for (int i = 0; i < combo->count(); ++i) items << combo->itemText(i);
    QCOMPARE(items, labels);
  }
  QCOMPARE(h.control<QComboBox>("Combo1")->currentIndex(), 8);
  QCOMPARE(h.control<QComboBox>("Combo2")->currentIndex(), 20);
}

void FrmExcelTest::focusOrder() {
  Harness h;
  h.openDialog();
  QStringList order;
  QWidget* widget = h.control<QLineEdit>("txtTimes");
  for (int i = 0; i < 40 && order.size() < 10; ++i) {
    if (ui::kFrmExcelTabOrder.end() !=
            std::find(ui::kFrmExcelTabOrder.begin(), ui::kFrmExcelTabOrder.end(), widget->objectName().toStdString()) &&
        !order.contains(widget->objectName())) {
      order << widget->objectName();
    }
    widget = widget->nextInFocusChain();
  }
  QCOMPARE(order, (QStringList{"txtTimes", "Option1", "Option2", "Combo1", "Combo2", "Command1", "Command2", "Option4",
                               "Option3", "Text2"}));
}

void FrmExcelTest::cancelHidesAndKeepsState() {
  Harness h;
  h.openDialog();
  ui::FrmExcel* dialog = h.dialog();
  h.typeInto("txtTimes", "7");
  h.control<QRadioButton>("Option2")->click();
  h.control<QComboBox>("Combo1")->setCurrentIndex(3);
  h.typeInto("Text2", "15");
  h.control<QRadioButton>("Option4")->click();
  h.click("Command2");
  QVERIFY(!dialog->isVisible());
  QCOMPARE(h.dialog(), dialog);
  h.trigger("mnuExcelNtime");
  QCOMPARE(h.dialog(), dialog);
  QVERIFY(dialog->isVisible());
  QCOMPARE(h.control<QLineEdit>("txtTimes")->text(), qs("7"));
  QVERIFY(h.control<QRadioButton>("Option2")->isChecked());
  QCOMPARE(h.control<QComboBox>("Combo1")->currentIndex(), 3);
  QCOMPARE(h.control<QLineEdit>("Text2")->text(), qs("15"));
  QVERIFY(h.control<QRadioButton>("Option4")->isChecked());
  QCOMPARE(h.window->excelMenu().frmExcelModel().txtTimes, std::string("7"));
}

void FrmExcelTest::closeBoxUnloadsAndTheNextOpeningStartsFresh() {
  Harness h;
  h.openDialog();
  h.typeInto("txtTimes", "3");
  h.control<QRadioButton>("Option2")->click();
  h.click("Command1");
  QVERIFY(h.dialog()->close());
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  QVERIFY(h.dialog() == nullptr);
  QVERIFY(!h.window->excelMenu().frmExcelModel().loaded());
  h.trigger("mnuExcelNtime");
  QVERIFY(h.dialog() != nullptr);
  QCOMPARE(h.control<QLineEdit>("txtTimes")->text(), qs("10"));
  QVERIFY(h.control<QRadioButton>("Option1")->isChecked());
  QCOMPARE(h.control<QComboBox>("Combo1")->currentIndex(), 8);
  QCOMPARE(h.window->excelMenu().frmExcelModel().buffers.listKaiki[0], std::string());
}

void FrmExcelTest::runWritesTheFileShowsItAndStepsTheMainWindow() {
  Harness h;
  h.openDialog();
  h.typeInto("txtTimes", "5");
  h.click("Command1");
  QVERIFY(h.messages.shown.empty());
  const std::vector<std::string> files = h.files();
  QCOMPARE(files.size(), std::size_t{1});
  QVERIFY(files[0].ends_with("_指定回数予報.xlsx"));
  QCOMPARE(h.opener.opened, files);
  // The main window shows the cycle after the last row: the first cycle after
  // 12:00 is cycle 0 (21:05 tonight), so five rows leave it on cycle 5.
  QCOMPARE(h.box("txtOutputKaiki")->text(), qs("5"));
  QVERIFY(h.dialog()->isVisible());
}

void FrmExcelTest::runMessages_data() {
  QTest::addColumn<QString>("times");
  QTest::addColumn<bool>("timeFilter");
  QTest::addColumn<int>("from");
  QTest::addColumn<int>("to");
  QTest::addColumn<bool>("altitudeFilter");
  QTest::addColumn<QString>("minimum");
  QTest::addColumn<QString>("period");
  QTest::addColumn<QString>("message");
  QTest::addColumn<int>("files");
  QTest::newRow("cap") << "101" << false << 8 << 20 << false << "0"
                       << "1.5" << qs(kCountCapMessage) << 1;
  QTest::newRow("range") << "3" << true << 20 << 8 << false << "0"
                         << "1.5" << qs(kBadHourRangeMessage) << 0;
  QTest::newRow("same hour") << "3" << true << 8 << 8 << false << "0"
                             << "1.5" << qs(kBadHourRangeMessage) << 0;
  QTest::newRow("whole period") << "3" << true << 8 << 20 << false << "0"
                                << "2.0" << qs(kWholePeriodMessage) << 1;
  QTest::newRow("no limit") << "3" << false << 8 << 20 << true << ""
                            << "1.5" << qs(kNoAltitudeLimitMessage) << 0;
  QTest::newRow("passes") << "3" << false << 8 << 20 << true << "90"
                          << "1.5" << qs(kTooManyPassesMessage) << 0;
}

void FrmExcelTest::runMessages() {
  QFETCH(QString, times);
  QFETCH(bool, timeFilter);
  QFETCH(int, from);
  QFETCH(int, to);
  QFETCH(bool, altitudeFilter);
  QFETCH(QString, minimum);
  QFETCH(QString, period);
  QFETCH(QString, message);
  QFETCH(int, files);
  Harness h;
  h.openDialog();
  h.setBox("txtSyuki", period.toUtf8().constData());
  h.typeInto("txtTimes", times.toUtf8().constData());
  if (timeFilter) h.control<QRadioButton>("Option2")->click();
  h.control<QComboBox>("Combo1")->setCurrentIndex(from);
  h.control<QComboBox>("Combo2")->setCurrentIndex(to);
  if (altitudeFilter) h.control<QRadioButton>("Option4")->click();
  h.typeInto("Text2", minimum.toUtf8().constData());
  h.click("Command1");
  QCOMPARE(h.messages.shown, std::vector<std::string>{message.toStdString()});
  QCOMPARE(static_cast<int>(h.files().size()), files);
  if (message == qs(kWholePeriodMessage)) QVERIFY(h.control<QRadioButton>("Option1")->isChecked());
}

void FrmExcelTest::manualInputLiftsTheAltitudeFilter() {
  Harness h;
  h.openDialog();
  h.window->model().setCombo1ListIndex(h.window->model().starCount);  // "手動入力"
  h.setBox("txtGanki", "2461382.3");
  h.setBox("txtSyuki", "1.5");
  h.control<QRadioButton>("Option4")->click();
  h.typeInto("Text2", "10");
  h.click("Command1");
  QCOMPARE(h.messages.shown, std::vector<std::string>{kNoCoordinatesMessage});
  QVERIFY(h.control<QRadioButton>("Option3")->isChecked());
  QCOMPARE(h.files().size(), std::size_t{1});
}

void FrmExcelTest::todaysListWritesAndCloses() {
  Harness h;
  h.loadCatalogue();
  h.trigger("mnuExcelToday");
  QCOMPARE(h.messages.shown, std::vector<std::string>{kTodayListDoneMessage});
  QCOMPARE(h.box("txtInputHour")->text(), qs("0"));
  QCOMPARE(h.box("txtInputMin")->text(), qs("0"));
  const std::vector<std::string> files = h.files();
  QCOMPARE(files.size(), std::size_t{1});
  QVERIFY(files[0].ends_with("_今日の変光星.xlsx"));
  QCOMPARE(h.opener.opened, files);
  QCOMPARE(h.window->excelMenu().todayList().buffers.todayCount, std::int16_t{2});
  // The main window shows the last star and its shifted prediction.
  QCOMPARE(h.window->findChild<QComboBox*>("Combo1")->currentText(), qs("YY Sam"));
  QCOMPARE(h.box("txtOutputHour")->text(), qs("27"));
}

void FrmExcelTest::todayWithoutCatalogueSaysSo() {
  Harness h;
  h.trigger("mnuExcelToday");
  QCOMPARE(h.messages.shown, std::vector<std::string>{kNoStarTodayMessage});
  QVERIFY(h.files().empty());
  QVERIFY(h.opener.opened.empty());
}

void FrmExcelTest::noDefaultApplicationTellsWhereTheFileIs() {
  Harness h;
  h.opener.succeeds = false;
  h.loadCatalogue();
  h.trigger("mnuExcelToday");
  // One OK ends the run: the closing message tells where the file is.
  QCOMPARE(h.messages.shown,
           std::vector<std::string>{std::string(kTodayListDoneMessage) +
                                    "\n表計算ファイルを開くアプリケーションが見つかりませんでした。ファイルは「" +
                                    h.files().at(0) + "」に保存されています。"});
}

void FrmExcelTest::aFailedSaveIsReported() {
  TempDir elsewhere;
  const auto blocker = elsewhere.write("file", "x");
  Harness h(blocker);
  h.loadCatalogue();
  h.trigger("mnuExcelToday");
  QCOMPARE(h.messages.shown.size(), std::size_t{1});
  QVERIFY(h.messages.shown[0].find("を保存できませんでした。") != std::string::npos);
  QVERIFY(h.opener.opened.empty());
  h.messages.shown.clear();
  h.setBox("txtInputHour", "12");
  h.trigger("mnuExcelNtime");
  h.click("Command1");
  QCOMPARE(h.messages.shown.size(), std::size_t{1});
  QVERIFY(h.messages.shown[0].find("_指定回数予報.xlsx」を保存できませんでした。") != std::string::npos);
}

}  // namespace tenmirel::testing

QTEST_MAIN(tenmirel::testing::FrmExcelTest)
#include "frm_excel_test.moc"
