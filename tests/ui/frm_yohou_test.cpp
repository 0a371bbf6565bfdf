// The main window driven through the paths a user takes.
#include <QCoreApplication>
#include <QFontInfo>
#include <QGroupBox>
#include <QMenu>
#include <QMenuBar>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include "common/number_text.h"
#include "ui/frm_calc.h"
#include "ui/gapped_caption.h"
#include "ui/gothic_fonts.h"
#include "ui_harness.h"

using namespace tenmirel;
using namespace tenmirel::testing;
using tenmirel::ui::FrmCalc;

class FrmYohouTest : public QObject {
  Q_OBJECT

 private slots:
  void startsWithManualInputOnlyAndNothingSelected();
  void startButtonsAskForAStarFirst();
  void captionsAreExact_data();
  void captionsAreExact();
  void captionsAreNotCutOff();
  void layoutFollowsTheTwipsGrid();
  void altitudeAndCycleBoxesSitInLabel14Gaps();
  void fontsFollowTheControls();
  void everyTextBoxIsEditableAndWritesBack_data();
  void everyTextBoxIsEditableAndWritesBack();
  void loadsACatalogueThroughTheChooser();
  void loadsTheSampleCatalogue();
  void cancelAndBadFilesKeepTheLoadedCatalogue();
  void choosingAStarCopiesItsElementsButKeepsResults();
  void manualInputRightAfterStartLeavesFieldsEmpty();
  void predictsAndStepsTheWorkedExample();
  void steppingHonoursATypedCycle();
  void catalogueStarGetsAnAltitudeAndAHiddenCheckWindow();
  void cycleBox461OpensTheCheckWindow_data();
  void cycleBox461OpensTheCheckWindow();
  void checkWindowOpensEvenWithoutAStar();
  void closedCheckWindowStaysHiddenButKeepsUp();
  void menuItemsRunTheirOperations();
  void shortcutsReachTheMenuItems();
  void tabOrderIsTheListedOne();
  void resizeStretchesTheRuleLines();
  void everyClosePathEndsTheProgram_data();
  void everyClosePathEndsTheProgram();
  void closingLeavesTheEventLoopEvenWithTheCheckWindowOpen();
  void excelEntriesEnabled();
  void menusAndItemsRunInOrder();
};

void FrmYohouTest::startsWithManualInputOnlyAndNothingSelected() {
  UiHarness ui;
  QCOMPARE(ui.window->windowTitle(), qs("Tenmirel"));
  QCOMPARE(ui.comboItems(), QStringList{qs("手動入力")});
  QCOMPARE(ui.combo()->currentIndex(), -1);
  // Form_Load read the clock: 21:07 UT is 06:07 the next morning at the site.
  QCOMPARE(ui.box("txtInputYear")->text(), qs("2024"));
  QCOMPARE(ui.box("txtInputMonth")->text(), qs("3"));
  QCOMPARE(ui.box("txtInputDay")->text(), qs("6"));
  QCOMPARE(ui.box("txtInputHour")->text(), qs("6"));
  QCOMPARE(ui.box("txtInputMin")->text(), qs("7"));
  for (const char* name : {"txtGanki", "txtSyuki", "txtOutputYear", "txtOutputKaiki", "txtOutputKoudo"}) {
    QVERIFY2(ui.box(name)->text().isEmpty(), name);
  }
  QVERIFY(ui.label("lblMemo")->text().isEmpty());
  QVERIFY(ui.label("lblJulKijun")->text().isEmpty());
  QVERIFY(ui.window->frmCalc() == nullptr);
}

void FrmYohouTest::startButtonsAskForAStarFirst() {
  UiHarness ui;
  ui.type("txtGanki", qs("2451545"));
  ui.type("txtSyuki", qs("1.5"));
  ui.click("Command2");
  ui.click("Command3");
  QCOMPARE(ui.messages.shown, (std::vector<std::string>{"変光星を選択してください", "変光星を選択してください"}));
  QVERIFY(ui.box("txtOutputKaiki")->text().isEmpty());
  QVERIFY(ui.label("lblJulKekka")->text().isEmpty());
}

void FrmYohouTest::captionsAreExact_data() {
  QTest::addColumn<QString>("name");
  QTest::addColumn<QString>("caption");
  const char* rows[][2] = {
      {"Frame1", "変光星データ入力欄"},
      {"Frame2", "予報データ"},
      {"Frame3", "ユリウス日"},
      {"Label1", "変光星を選択してください"},
      {"Label2", "元期："},
      {"Label3", "周期："},
      {"Label9", "年"},
      {"Label10", "月"},
      {"Label11", "日"},
      {"Label12", "時"},
      {"Label13", "分　以降"},
      {"Label4", "年"},
      {"Label5", "月"},
      {"Label6", "日"},
      {"Label7", "時"},
      {"Label8", "分　頃"},
      {"Label14", "高度角　　 　　°         第　　　　　回帰　"},
      {"Label16", "予測基準のユリウス日（世界時）"},
      {"Label17", "予測結果のユリウス日（世界時）"},
      {"Command1", "変光星データ読み込み"},
      {"Command2", "予報開始"},
      {"Command3", "次の回帰の予報"},
      {"Command4", "閉じる"},
      {"MenuFile", "ﾌｧｲﾙ(&F)"},
      {"MenuOpen", "開く(&O)"},
      {"MenuEnd", "終了(&Q)"},
      {"MenuYohou", "予報(&E)"},
      {"MenuYohouStart", "予報開始(&S)"},
      {"MenuNext", "次の回帰の予報(&N)"},
      {"mnuExcel", "Excel"},
      {"mnuExcelNtime", "指定回数予報"},
      {"mnuExcelToday", "今日の変光星"},
  };
  for (const auto& row : rows) QTest::newRow(row[0]) << qs(row[0]) << qs(row[1]);
}

void FrmYohouTest::captionsAreExact() {
  QFETCH(QString, name);
  QFETCH(QString, caption);
  UiHarness ui;
  QObject* control = ui.window->findChild<QObject*>(name);
  QVERIFY2(control, qPrintable(name));
  QString shown;
  if (auto* label = qobject_cast<QLabel*>(control)) shown = label->text();
  if (auto* frame = qobject_cast<QGroupBox*>(control)) shown = frame->title();
  if (auto* button = qobject_cast<QPushButton*>(control)) shown = button->text();
  if (auto* menu = qobject_cast<QMenu*>(control)) shown = menu->title();
  if (auto* action = qobject_cast<QAction*>(control)) shown = action->text();
  QCOMPARE(shown, caption);
}

void FrmYohouTest::captionsAreNotCutOff() {
  UiHarness ui;
  for (QLabel* label : ui.window->findChildren<QLabel*>()) {
    if (label->wordWrap() || label->text().isEmpty()) continue;
    QVERIFY2(label->sizeHint().width() <= label->width() + 1, qPrintable(label->objectName()));
  }
  for (QPushButton* button : ui.window->findChildren<QPushButton*>()) {
    const int textWidth = button->fontMetrics().horizontalAdvance(button->text());
    QVERIFY2(textWidth < button->width(), qPrintable(button->objectName()));
  }
  // The longest memo of the sample catalogue fits its three lines.
  TempDir dir;
  ui.load(dir, twoStarCatalogue());
  ui.chooser.answers.push_back((sourceDir() / "data" / "sample.vsd").string());
  ui.click("Command1");
  QLabel* memo = ui.label("lblMemo");
  for (int i = 0; i < ui.window->model().starCount; ++i) {
    ui.window->model().setCombo1ListIndex(i);
    ui.window->showModel();
    const QRect needed =
        memo->fontMetrics().boundingRect(QRect(0, 0, memo->width(), 10000), Qt::TextWordWrap, memo->text());
    QVERIFY2(needed.height() <= memo->height(), qPrintable(memo->text()));
  }
}

void FrmYohouTest::layoutFollowsTheTwipsGrid() {
  UiHarness ui;
  ui.window->show();
  QVERIFY(QTest::qWaitForWindowExposed(ui.window.get()));
  // 8040 x 7725 twips at 15 twips a pixel.
  QCOMPARE(ui.window->centralWidget()->size(), QSize(536, 515));
  QCOMPARE(ui.child<QGroupBox>("Frame1")->geometry(), QRect(8, 16, 521, 177));
  QCOMPARE(ui.child<QGroupBox>("Frame2")->geometry(), QRect(8, 208, 521, 129));
  QCOMPARE(ui.child<QGroupBox>("Frame3")->geometry(), QRect(8, 352, 521, 105));
  int previousRight = 0;
  for (const char* name : {"Command1", "Command2", "Command3", "Command4"}) {
    const QRect place = ui.button(name)->geometry();
    QCOMPARE(place.top(), 472);  // 7080 twips
    QVERIFY2(place.left() > previousRight, name);
    previousRight = place.right();
  }
  QVERIFY(previousRight < 536);
  for (const char* name : {"txtInputYear", "txtInputMonth", "txtInputDay", "txtInputHour", "txtInputMin",
                           "txtOutputYear", "txtOutputMonth", "txtOutputDay", "txtOutputHour", "txtOutputMin"}) {
    QCOMPARE(ui.box(name)->width(), 57);  // 855 twips
  }
  // Each date box is followed by its unit on the same row.
  const char* pairs[][2] = {
      {"txtInputYear", "Label9"}, {"txtInputMin", "Label13"}, {"txtOutputYear", "Label4"}, {"txtOutputMin", "Label8"}};
  for (const auto& pair : pairs) {
    const QRect box = ui.box(pair[0])->geometry();
    const QRect unit = ui.label(pair[1])->geometry();
    QVERIFY2(unit.left() > box.right() && unit.left() - box.right() < 10, pair[1]);
    QVERIFY2(unit.center().y() - box.center().y() <= 1, pair[1]);
  }
}

void FrmYohouTest::altitudeAndCycleBoxesSitInLabel14Gaps() {
  UiHarness ui;
  auto* label14 = qobject_cast<tenmirel::ui::GappedCaption*>(ui.label("Label14"));
  QVERIFY(label14 != nullptr);
  const QString caption = label14->text();
  const QFontMetricsF metrics(label14->font());
  auto glyphSpan = [&](qsizetype i) {
    const double left = label14->x() + label14->characterX(i);
    return std::pair{left, left + metrics.horizontalAdvance(caption.at(i))};
  };
  for (const char* name : {"txtOutputKoudo", "txtOutputKaiki"}) {
    const QRect box = ui.box(name)->geometry();
    for (qsizetype i = 0; i < caption.size(); ++i) {
      if (caption.at(i).isSpace()) continue;
      const auto [left, right] = glyphSpan(i);
      const bool overlaps = left < box.right() && right > box.left();
      QVERIFY2(!overlaps, qPrintable(QString(name) + QStringLiteral(" covers ") + caption.at(i)));
    }
  }
  // The altitude box is between "高度角" and "°", the cycle box between "第" and "回帰".
  QVERIFY(ui.box("txtOutputKoudo")->geometry().left() >= glyphSpan(caption.indexOf(qs("角"))).second);
  QVERIFY(ui.box("txtOutputKoudo")->geometry().right() < glyphSpan(caption.indexOf(qs("°"))).first);
  QVERIFY(ui.box("txtOutputKaiki")->geometry().left() >= glyphSpan(caption.indexOf(qs("第"))).second);
  QVERIFY(ui.box("txtOutputKaiki")->geometry().right() < glyphSpan(caption.indexOf(qs("回帰"))).first);
  // Whole values show without scrolling: a 15-digit altitude below the horizon and
  // a ten-digit cycle number, and everything stays inside the frame.
  struct Whole {
    const char* box;
    const char* value;
  };
  QCOMPARE(qs(numberToText(-0.0000123456789012345)), qs("-0.0000123456789012345"));
  QCOMPARE(qs(numberToText(-1.23456789012345e-6)), qs("-1.23456789012345E-06"));
  // The widest altitude texts the number text writes: 15 digits just above and
  // just inside its exponent form's threshold, and one near the horizon.
  for (const Whole& whole :
       {Whole{"txtOutputKoudo", "-41.9797883471278"}, Whole{"txtOutputKaiki", "-1234567890"},
        Whole{"txtOutputKoudo", "0.0880406830574527"}, Whole{"txtOutputKoudo", "-0.0000123456789012345"},
        Whole{"txtOutputKoudo", "-1.23456789012345E-06"}}) {
    QLineEdit* box = ui.box(whole.box);
    const double needed = QFontMetricsF(box->font()).horizontalAdvance(qs(whole.value));
    QVERIFY2(box->contentsRect().width() - 4 >= needed, whole.box);
    QVERIFY(box->geometry().right() < box->parentWidget()->width());
  }
  QVERIFY(label14->geometry().right() < label14->parentWidget()->width());
}

void FrmYohouTest::fontsFollowTheControls() {
  UiHarness ui;
  const QString proportional = ui::gothicFamily(ui::GothicPitch::kProportional);
  const QString fixed = ui::gothicFamily(ui::GothicPitch::kFixed);
  auto check = [](QWidget* widget, const QString& family, double points) {
    QVERIFY2(widget, "missing control");
    QCOMPARE(widget->font().family(), family);
    QCOMPARE(widget->font().pointSizeF(), points);
  };
  check(ui.label("Label1"), proportional, 11.25);
  check(ui.box("txtInputYear"), proportional, 11.25);
  check(ui.label("lblJulKijun"), proportional, 11.25);
  check(ui.combo(), proportional, 9);
  for (const char* name : {"Command1", "Command2", "Command3", "Command4"}) check(ui.button(name), proportional, 9);
  for (const char* name : {"txtGanki", "txtSyuki"}) check(ui.box(name), fixed, 11.25);
  for (const char* name : {"Label2", "Label3", "Label14"}) check(ui.label(name), fixed, 11.25);
}

using TextField = std::string FrmYohouModel::*;

const std::vector<std::pair<const char*, TextField>>& textBoxFields() {
  static const std::vector<std::pair<const char*, TextField>> boxes = {
      {"txtGanki", &FrmYohouModel::txtGanki},
      {"txtSyuki", &FrmYohouModel::txtSyuki},
      {"txtInputYear", &FrmYohouModel::txtInputYear},
      {"txtInputMonth", &FrmYohouModel::txtInputMonth},
      {"txtInputDay", &FrmYohouModel::txtInputDay},
      {"txtInputHour", &FrmYohouModel::txtInputHour},
      {"txtInputMin", &FrmYohouModel::txtInputMin},
      {"txtOutputYear", &FrmYohouModel::txtOutputYear},
      {"txtOutputMonth", &FrmYohouModel::txtOutputMonth},
      {"txtOutputDay", &FrmYohouModel::txtOutputDay},
      {"txtOutputHour", &FrmYohouModel::txtOutputHour},
      {"txtOutputMin", &FrmYohouModel::txtOutputMin},
      {"txtOutputKoudo", &FrmYohouModel::txtOutputKoudo},
      {"txtOutputKaiki", &FrmYohouModel::txtOutputKaiki},
  };
  return boxes;
}

void FrmYohouTest::everyTextBoxIsEditableAndWritesBack_data() {
  QTest::addColumn<int>("row");
  for (int i = 0; i < static_cast<int>(textBoxFields().size()); ++i) {
    QTest::newRow(textBoxFields()[static_cast<std::size_t>(i)].first) << i;
  }
}

void FrmYohouTest::everyTextBoxIsEditableAndWritesBack() {
  QFETCH(int, row);
  const auto& [name, field] = textBoxFields()[static_cast<std::size_t>(row)];
  UiHarness ui;
  QLineEdit* box = ui.box(name);
  QVERIFY(!box->isReadOnly());
  QVERIFY(box->isEnabled());
  ui.type(name, qs("12a 星"));
  QCOMPARE(ui.window->model().*field, std::string("12a 星"));
  QTest::keyClick(box, Qt::Key_Backspace);
  QCOMPARE(ui.window->model().*field, std::string("12a "));
}

void FrmYohouTest::loadsACatalogueThroughTheChooser() {
  UiHarness ui;
  TempDir dir;
  ui.load(dir, twoStarCatalogue());
  QCOMPARE(ui.chooser.filtersSeen, std::vector<std::string>{"変光星ﾃﾞｰﾀﾌｧｲﾙ(*.vsd)|*.vsd"});
  QCOMPARE(ui.comboItems(), (QStringList{qs("ZZ Exa"), qs("YY Sam"), qs("手動入力")}));
  QCOMPARE(ui.combo()->currentIndex(), 0);
  QCOMPARE(ui.box("txtGanki")->text(), qs("2451545.1234"));
  QCOMPARE(ui.box("txtSyuki")->text(), qs("0.7654321"));
  QCOMPARE(ui.label("lblMemo")->text(), qs("EA, min. 11.2"));
  QCOMPARE(ui.window->windowTitle(), qs("TenmirelVar1.5"));
  QVERIFY(ui.messages.shown.empty());
}

void FrmYohouTest::loadsTheSampleCatalogue() {
  UiHarness ui;
  ui.chooser.answers.push_back((sourceDir() / "data" / "sample.vsd").string());
  ui.click("Command1");
  QCOMPARE(ui.combo()->count(), 40);
  QCOMPARE(ui.combo()->itemText(39), qs("手動入力"));
  QCOMPARE(ui.combo()->currentText(), qs(ui.window->model().starTable[0].starName));
  QVERIFY(!ui.label("lblMemo")->text().isEmpty());
  QCOMPARE(ui.window->windowTitle(), qs("TenmirelVar1.5"));
}

void FrmYohouTest::cancelAndBadFilesKeepTheLoadedCatalogue() {
  UiHarness ui;
  TempDir dir;
  ui.load(dir, twoStarCatalogue());
  ui.chooseWithKeyboard(1);
  const QStringList loaded = ui.comboItems();

  ui.click("Command1");  // the dialog is cancelled
  ui.chooser.answers.push_back(dir.write("wrong.vsd", "Quorrelith 1999 \r\n1\r\n").string());
  ui.click("Command1");
  ui.chooser.answers.push_back((dir.path() / "missing.vsd").string());
  ui.click("Command1");

  QCOMPARE(ui.messages.shown, std::vector<std::string>{"Error!"});
  QCOMPARE(ui.comboItems(), loaded);
  QCOMPARE(ui.combo()->currentIndex(), 1);
  QCOMPARE(ui.box("txtGanki")->text(), qs("2450000.5"));
  QCOMPARE(ui.window->model().starCount, 2);
}

void FrmYohouTest::choosingAStarCopiesItsElementsButKeepsResults() {
  UiHarness ui;
  TempDir dir;
  ui.load(dir, twoStarCatalogue());
  ui.click("Command2");
  const QString cycle = ui.box("txtOutputKaiki")->text();
  const QString extremum = ui.label("lblJulKekka")->text();
  QVERIFY(!cycle.isEmpty());

  ui.chooseWithKeyboard(1);
  QCOMPARE(ui.combo()->currentIndex(), 1);
  QCOMPARE(ui.box("txtGanki")->text(), qs("2450000.5"));
  QCOMPARE(ui.box("txtSyuki")->text(), qs("2.25"));
  QCOMPARE(ui.label("lblMemo")->text(), qs("period uncertain"));
  QCOMPARE(ui.box("txtOutputKaiki")->text(), cycle);
  QCOMPARE(ui.label("lblJulKekka")->text(), extremum);
}

void FrmYohouTest::manualInputRightAfterStartLeavesFieldsEmpty() {
  UiHarness ui;
  ui.chooseWithKeyboard(0);
  QCOMPARE(ui.combo()->currentIndex(), 0);
  QCOMPARE(ui.window->model().combo1ListIndex(), 0);
  QVERIFY(ui.box("txtGanki")->text().isEmpty());
  QVERIFY(ui.box("txtSyuki")->text().isEmpty());
  ui.click("Command2");
  QCOMPARE(ui.messages.shown, std::vector<std::string>{"元期と周期を入力してください"});
}

void FrmYohouTest::predictsAndStepsTheWorkedExample() {
  UiHarness ui;
  ui.chooseWithKeyboard(0);  // 手動入力
  ui.type("txtGanki", qs("2451545.0"));
  ui.type("txtSyuki", qs("1.5"));
  ui.type("txtInputYear", qs("2000"));
  ui.type("txtInputMonth", qs("1"));
  ui.type("txtInputDay", qs("2"));
  ui.type("txtInputHour", qs("9"));
  ui.type("txtInputMin", qs("0"));
  ui.click("Command2");
  QVERIFY(ui.messages.shown.empty());
  auto outputs = [&ui] {
    QStringList texts;
    for (const char* name : {"txtOutputYear", "txtOutputMonth", "txtOutputDay", "txtOutputHour", "txtOutputMin",
                             "txtOutputKaiki", "txtOutputKoudo"}) {
      texts << ui.box(name)->text();
    }
    return texts << ui.label("lblJulKijun")->text() << ui.label("lblJulKekka")->text();
  };
  QCOMPARE(outputs(), (QStringList{qs("2000"), qs("1"), qs("3"), qs("9"), qs("0"), qs("1"), qs("？？？"),
                                   qs("2451545.5"), qs("2451546.5")}));
  ui.click("Command3");
  QCOMPARE(outputs(), (QStringList{qs("2000"), qs("1"), qs("4"), qs("21"), qs("0"), qs("2"), qs("？？？"),
                                   qs("2451545.5"), qs("2451548")}));
  // Only the minute's tooltip says how far one-decimal elements can be trusted: 2 × 0.05 + 0.05 days.
  QCOMPARE(ui.box("txtOutputMin")->toolTip(), qs("予報の不確かさ ±216.0 分（元期・周期の桁から）"));
  // A manual-input prediction calculates no altitude, so no check window exists.
  QVERIFY(ui.window->frmCalc() == nullptr);
}

void FrmYohouTest::steppingHonoursATypedCycle() {
  UiHarness ui;
  ui.chooseWithKeyboard(0);
  ui.type("txtGanki", qs("2451545"));
  ui.type("txtSyuki", qs("1.5"));
  ui.type("txtOutputKaiki", qs("-10"));
  ui.click("Command3");
  QCOMPARE(ui.box("txtOutputKaiki")->text(), qs("-9"));
  QCOMPARE(ui.label("lblJulKekka")->text(), qs("2451531.5"));
  QVERIFY(ui.label("lblJulKijun")->text().isEmpty());
}

void FrmYohouTest::catalogueStarGetsAnAltitudeAndAHiddenCheckWindow() {
  UiHarness ui;
  TempDir dir;
  ui.load(dir, twoStarCatalogue());
  ui.click("Command2");
  const FrmYohouModel& model = ui.window->model();
  QCOMPARE(ui.box("txtOutputKoudo")->text(), qs(numberToText(model.koudo)));
  QVERIFY(ui.box("txtOutputKoudo")->text() != qs("？？？"));
  QCOMPARE(ui.box("txtOutputKoudo")->cursorPosition(), 0);  // the first digits show
  FrmCalc* check = ui.window->frmCalc();
  QVERIFY(check != nullptr);
  QVERIFY(!check->isVisible());
  QCOMPARE(check->valueLabels().back()->text(), qs(model.calc.lblH));
}

void FrmYohouTest::cycleBox461OpensTheCheckWindow_data() {
  QTest::addColumn<QString>("cycleText");
  QTest::addColumn<bool>("opens");
  QTest::newRow("4.61") << qs("4.61") << true;
  QTest::newRow("blanks and trailing zeros") << qs(" 4.610 ") << true;
  QTest::newRow("4.6") << qs("4.6") << false;
  QTest::newRow("empty") << QString() << false;
}

void FrmYohouTest::cycleBox461OpensTheCheckWindow() {
  QFETCH(QString, cycleText);
  QFETCH(bool, opens);
  UiHarness ui;
  TempDir dir;
  ui.load(dir, twoStarCatalogue());
  ui.type("txtOutputKaiki", cycleText);
  ui.click("Command2");
  const bool shown = ui.window->frmCalc() && ui.window->frmCalc()->isVisible();
  QCOMPARE(shown, opens);
  // The prediction went on and replaced the typed cycle number.
  QCOMPARE(ui.box("txtOutputKaiki")->text(), qs(numberToText(ui.window->model().kaiki)));
  QVERIFY(ui.box("txtOutputKaiki")->text() != cycleText);
  if (opens) {
    const auto& labels = ui.window->frmCalc()->valueLabels();
    QCOMPARE(labels[0]->text(), qs(ui.window->model().calc.lblTu[0]));
    QCOMPARE(labels[16]->text(), qs(ui.window->model().calc.lblH));
  }
}

void FrmYohouTest::checkWindowOpensEvenWithoutAStar() {
  UiHarness ui;
  ui.type("txtOutputKaiki", qs("4.61"));
  ui.click("Command2");
  QVERIFY(ui.window->frmCalc() && ui.window->frmCalc()->isVisible());
  QCOMPARE(ui.messages.shown, std::vector<std::string>{"変光星を選択してください"});
  for (QLabel* label : ui.window->frmCalc()->valueLabels()) QVERIFY(label->text().isEmpty());
}

void FrmYohouTest::closedCheckWindowStaysHiddenButKeepsUp() {
  UiHarness ui;
  TempDir dir;
  ui.load(dir, twoStarCatalogue());
  ui.type("txtOutputKaiki", qs("4.61"));
  ui.click("Command2");
  FrmCalc* check = ui.window->frmCalc();
  QVERIFY(check->isVisible());
  const QString firstAltitude = check->valueLabels()[16]->text();

  QTest::mouseClick(check->command1(), Qt::LeftButton);
  QVERIFY(!check->isVisible());
  ui.click("Command3");
  ui.click("Command3");
  QVERIFY(!check->isVisible());
  QCOMPARE(ui.window->frmCalc(), check);  // one instance
  QCOMPARE(check->valueLabels()[16]->text(), qs(ui.window->model().calc.lblH));
  QVERIFY(check->valueLabels()[16]->text() != firstAltitude);

  // Shown again by the trigger, with the terms of the latest step.
  ui.type("txtOutputKaiki", qs("4.61"));
  ui.click("Command2");
  QVERIFY(check->isVisible());
  QCOMPARE(check->valueLabels()[6]->text(), qs(ui.window->model().calc.lblS[1]));
}

void FrmYohouTest::menuItemsRunTheirOperations() {
  UiHarness ui;
  TempDir dir;
  ui.chooser.answers.push_back(dir.write("stars.vsd", twoStarCatalogue()).string());
  ui.action("MenuOpen")->trigger();
  QCOMPARE(ui.combo()->count(), 3);
  ui.action("MenuYohouStart")->trigger();
  const QString first = ui.box("txtOutputKaiki")->text();
  QVERIFY(!first.isEmpty());
  ui.action("MenuNext")->trigger();
  QCOMPARE(ui.box("txtOutputKaiki")->text(), qs(numberToText(parseLenient(first.toStdString()) + 1)));
  QVERIFY(ui.messages.shown.empty());
}

void FrmYohouTest::shortcutsReachTheMenuItems() {
  UiHarness ui;
  const char* keys[][2] = {
      {"MenuOpen", "Ctrl+O"}, {"MenuEnd", "Ctrl+Q"}, {"MenuYohouStart", "Ctrl+S"}, {"MenuNext", "Ctrl+N"}};
  for (const auto& key : keys) QCOMPARE(ui.action(key[0])->shortcut(), QKeySequence(qs(key[1])));

  ui.window->show();
  QVERIFY(QTest::qWaitForWindowActive(ui.window.get()));
  ui.box("txtGanki")->setFocus();
  QTest::keyClick(ui.window.get(), Qt::Key_S, Qt::ControlModifier);
  QCOMPARE(ui.messages.shown, std::vector<std::string>{"変光星を選択してください"});
  QTest::keyClick(ui.window.get(), Qt::Key_N, Qt::ControlModifier);
  QCOMPARE(ui.messages.shown.size(), std::size_t{2});

  TempDir dir;
  ui.chooser.answers.push_back(dir.write("stars.vsd", twoStarCatalogue()).string());
  QTest::keyClick(ui.window.get(), Qt::Key_O, Qt::ControlModifier);
  QCOMPARE(ui.combo()->count(), 3);
  QTest::keyClick(ui.window.get(), Qt::Key_S, Qt::ControlModifier);
  QVERIFY(!ui.box("txtOutputKaiki")->text().isEmpty());

  QTest::keyClick(ui.window.get(), Qt::Key_Q, Qt::ControlModifier);
  QCOMPARE(ui.endRequests, 1);
  QVERIFY(!ui.window->isVisible());
}

void FrmYohouTest::tabOrderIsTheListedOne() {
  UiHarness ui;
  ui.window->show();
  QVERIFY(QTest::qWaitForWindowActive(ui.window.get()));
  const QStringList expected{"txtGanki",      "txtSyuki",     "txtInputYear",   "txtInputMonth",  "txtInputDay",
                             "txtInputHour",  "txtInputMin",  "txtOutputYear",  "txtOutputMonth", "txtOutputDay",
                             "txtOutputHour", "txtOutputMin", "txtOutputKaiki", "Command1",       "Command2",
                             "Command3",      "Command4",     "txtOutputKoudo", "Combo1"};
  ui.combo()->setFocus();
  QCOMPARE(QApplication::focusWidget(), ui.combo());
  QStringList visited;
  for (qsizetype i = 0; i < expected.size(); ++i) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    visited << QApplication::focusWidget()->objectName();
  }
  QCOMPARE(visited, expected);
}

void FrmYohouTest::resizeStretchesTheRuleLines() {
  UiHarness ui;
  ui.window->show();
  QVERIFY(QTest::qWaitForWindowExposed(ui.window.get()));
  QWidget* line1 = ui.child<QWidget>("Line1");
  QWidget* line2 = ui.child<QWidget>("Line2");
  QCOMPARE(line1->y(), 0);
  QCOMPARE(line2->y(), 1);  // 15 twips below
  for (int width : {800, 420, 536}) {
    ui.window->resize(width, ui.window->height());
    QTRY_COMPARE(ui.window->centralWidget()->width(), width);
    QCOMPARE(line1->geometry(), QRect(0, 0, width, 1));
    QCOMPARE(line2->geometry(), QRect(0, 1, width, 1));
  }
}

void FrmYohouTest::everyClosePathEndsTheProgram_data() {
  QTest::addColumn<int>("path");
  QTest::newRow("close box") << 0;
  QTest::newRow("閉じる") << 1;
  QTest::newRow("終了(&Q)") << 2;
  QTest::newRow("Ctrl+Q") << 3;
}

void FrmYohouTest::everyClosePathEndsTheProgram() {
  QFETCH(int, path);
  UiHarness ui;
  ui.window->show();
  QVERIFY(QTest::qWaitForWindowActive(ui.window.get()));
  ui.type("txtOutputKaiki", qs("4.61"));
  ui.click("Command2");  // opens the check window
  FrmCalc* check = ui.window->frmCalc();
  QVERIFY(check->isVisible());
  ui.window->activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(ui.window.get()));
  switch (path) {
    case 0:
      ui.window->close();
      break;
    case 1:
      ui.click("Command4");
      break;
    case 2:
      ui.action("MenuEnd")->trigger();
      break;
    default:
      QTest::keyClick(ui.window.get(), Qt::Key_Q, Qt::ControlModifier);
      break;
  }
  QCOMPARE(ui.endRequests, 1);
  QVERIFY(!ui.window->isVisible());
  QVERIFY(!check->isVisible());
  // Nothing was asked on the way out.
  QCOMPARE(ui.messages.shown, std::vector<std::string>{"変光星を選択してください"});
}

void FrmYohouTest::closingLeavesTheEventLoopEvenWithTheCheckWindowOpen() {
  RecordingMessages messages;
  ScriptedChooser chooser;
  ui::FrmYohouPorts ports;
  ports.messages = &messages;
  ports.chooser = &chooser;  // the real end: leaving the event loop
  ui::FrmYohou window(std::move(ports), fixedClock());
  window.show();
  window.checkWindow().show();
  QTimer::singleShot(0, &window, [&window] { window.findChild<QPushButton*>(QStringLiteral("Command4"))->click(); });
  QTimer guard;
  guard.setSingleShot(true);
  QObject::connect(&guard, &QTimer::timeout, [] { QCoreApplication::exit(99); });
  guard.start(10000);
  QCOMPARE(QCoreApplication::exec(), 0);
  QVERIFY(!window.frmCalc()->isVisible());
}

void FrmYohouTest::excelEntriesEnabled() {
  UiHarness ui;
  QCOMPARE(ui.window->mnuExcelNtime(), ui.action("mnuExcelNtime"));
  QCOMPARE(ui.window->mnuExcelToday(), ui.action("mnuExcelToday"));
  QVERIFY(ui.window->mnuExcelNtime()->isEnabled());
  QVERIFY(ui.window->mnuExcelToday()->isEnabled());
  QVERIFY(ui.window->mnuExcelNtime()->shortcut().isEmpty());
}

void FrmYohouTest::menusAndItemsRunInOrder() {
  UiHarness ui;
  auto texts = [](const QList<QAction*>& actions) {
    QStringList list;
    for (QAction* action : actions) list << (action->isSeparator() ? QStringLiteral("-") : action->text());
    return list;
  };
  QCOMPARE(texts(ui.window->menuBar()->actions()),
           (QStringList{qs("ﾌｧｲﾙ(&F)"), qs("予報(&E)"), qs("Excel"), qs("設定(&S)")}));
  QCOMPARE(texts(ui.child<QMenu>("MenuFile")->actions()),
           (QStringList{qs("開く(&O)"), qs("取り込み…"), qs("カタログの編集…"), qs("-"), qs("終了(&Q)")}));
  QCOMPARE(texts(ui.child<QMenu>("MenuYohou")->actions()),
           (QStringList{qs("予報開始(&S)"), qs("次の回帰の予報(&N)"), qs("今夜の観測計画…"), qs("O−C・極小時刻…")}));
  QCOMPARE(texts(ui.child<QMenu>("mnuExcel")->actions()), (QStringList{qs("指定回数予報"), qs("今日の変光星")}));
  QCOMPARE(texts(ui.child<QMenu>("mnuSettings")->actions()), (QStringList{qs("観測地(&L)…"), qs("元期の時刻系(&T)")}));
}

QTEST_MAIN(FrmYohouTest)
#include "frm_yohou_test.moc"
