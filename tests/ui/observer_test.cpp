// The windows as a Japanese observer meets them: full-width input, Qt's own
// texts in Japanese, where the secondary windows open, what stands behind a
// message, long numbers and memos, and what is kept between runs. Settings go
// to the folder XDG_CONFIG_HOME names, set by the build for this test alone.
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFontMetricsF>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <filesystem>
#include <memory>

#include "list_window_harness.h"
#include "lists/frm_excel_model.h"
#include "lists/list_fixture.h"
#include "sheet/recording_opener.h"
#include "support/recording_ports.h"
#include "ui/catalogue_folder.h"
#include "ui/excel_menu.h"
#include "ui/frm_calc.h"
#include "ui/frm_excel.h"
#include "ui/frm_yohou.h"
#include "ui/number_box.h"
#include "ui/program_settings.h"
#include "ui/qt_translations.h"
#include "ui/window_placement.h"

namespace tenmirel::testing {
namespace {

struct Harness : ListWindowHarness {
  Harness() {
    window->move(0, 0);
    window->show();
  }
  void click(const char* name) const { QTest::mouseClick(window->findChild<QPushButton*>(qs(name)), Qt::LeftButton); }
  void openDialog() {
    loadCatalogue();
    trigger("mnuExcelNtime");
  }
};

// Types text as an input method commits it: one commit, no key of its own.
void commitText(QLineEdit* box, const QString& text) {
  box->setFocus();
  box->selectAll();
  QTest::keyClick(box, Qt::Key_Delete);
  QInputMethodEvent commit;
  commit.setCommitString(text);
  QCoreApplication::sendEvent(box, &commit);
}

// Types text character by character, each arriving as text without a key.
void typeCharacters(QLineEdit* box, const QString& text) {
  box->setFocus();
  box->selectAll();
  QTest::keyClick(box, Qt::Key_Delete);
  for (const QChar c : text) QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

QRect availableArea(const QWidget& window) { return window.screen()->availableGeometry(); }

}  // namespace

class ObserverTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase();
  void init();

  void qtTextsAreJapanese();
  void everyNumberBoxTakesFullWidthInput_data();
  void everyNumberBoxTakesFullWidthInput();
  void dialogNumberBoxesTakeFullWidthInput();
  void fullWidthYearPredictsThatYear();
  void windowsShowTheModelBeforeEveryMessage();
  void besideOwner_data();
  void besideOwner();
  void checkWindowOpensBesideTheMainWindow();
  void dialogOpensBesideAndWhereItWasLeft();
  void dialogGetsTheFocusBackAfterItsRun();
  void cycleBoxShowsEveryDigit_data();
  void cycleBoxShowsEveryDigit();
  void longMemoStaysReadableAndEndsInAnEllipsis();
  void catalogueStartFolder_data();
  void catalogueStartFolder();
  void theLoadedCataloguesFolderIsRemembered();
  void settingsOfTheOldFolderAreCarriedOverOnce();
  void aRunWithoutRowsSaysSoInOneBox();
};

void ObserverTest::initTestCase() {
  // Never the user's own settings.
  const QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
  QVERIFY2(!config.isEmpty() && !config.startsWith(QDir::homePath() + QStringLiteral("/.config")),
           "XDG_CONFIG_HOME must name a folder of the test");
  QVERIFY(ui::settingsFileName().startsWith(config));
  QDir(config).removeRecursively();
}

void ObserverTest::init() { QDir(qEnvironmentVariable("XDG_CONFIG_HOME")).removeRecursively(); }

void ObserverTest::qtTextsAreJapanese() {
  QVERIFY(ui::installQtJapanese(*qApp));
  QCOMPARE(QCoreApplication::translate("QFileDialog", "Open"), qs("開く"));
  QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), qs("キャンセル"));
  QVERIFY(QCoreApplication::translate("QFileDialog", "Look in:") != QStringLiteral("Look in:"));
}

void ObserverTest::everyNumberBoxTakesFullWidthInput_data() {
  QTest::addColumn<QString>("box");
  for (const char* name : {"txtGanki", "txtSyuki", "txtInputYear", "txtInputMonth", "txtInputDay", "txtInputHour",
                           "txtInputMin", "txtOutputYear", "txtOutputMonth", "txtOutputDay", "txtOutputHour",
                           "txtOutputMin", "txtOutputKoudo", "txtOutputKaiki"}) {
    QTest::newRow(name) << qs(name);
  }
}

void ObserverTest::everyNumberBoxTakesFullWidthInput() {
  QFETCH(QString, box);
  Harness h;
  QLineEdit* target = h.box(box.toUtf8().constData());
  QVERIFY(target);
  QVERIFY(target->inputMethodHints().testFlag(Qt::ImhPreferLatin));
  typeCharacters(target, qs("－２．５Ｅ＋３"));
  QCOMPARE(target->text(), qs("-2.5E+3"));
  commitText(target, qs("２０２６　１"));
  QCOMPARE(target->text(), qs("2026 1"));
  // Other text stays as typed.
  commitText(target, qs("１ａ"));
  QCOMPARE(target->text(), qs("1ａ"));
}

void ObserverTest::dialogNumberBoxesTakeFullWidthInput() {
  Harness h;
  h.openDialog();
  QVERIFY(h.dialog());
  FrmExcelModel& model = h.window->excelMenu().frmExcelModel();
  auto* times = h.dialog()->findChild<QLineEdit*>(qs("txtTimes"));
  auto* minimum = h.dialog()->findChild<QLineEdit*>(qs("Text2"));
  for (QLineEdit* box : {times, minimum}) QVERIFY(box->inputMethodHints().testFlag(Qt::ImhPreferLatin));
  commitText(times, qs("２５"));
  QCOMPARE(times->text(), qs("25"));
  QCOMPARE(model.txtTimes, std::string("25"));
  typeCharacters(minimum, qs("－１．５"));
  QCOMPARE(minimum->text(), qs("-1.5"));
  QCOMPARE(model.text2, std::string("-1.5"));
}

void ObserverTest::fullWidthYearPredictsThatYear() {
  Harness h;
  h.loadCatalogue();
  commitText(h.box("txtInputYear"), qs("２０２７"));
  typeCharacters(h.box("txtInputMonth"), qs("３"));
  QCOMPARE(h.window->model().txtInputYear, std::string("2027"));
  h.click("Command2");
  QCOMPARE(h.box("txtOutputYear")->text(), qs("2027"));
  QCOMPARE(h.box("txtOutputMonth")->text(), qs("3"));
}

void ObserverTest::windowsShowTheModelBeforeEveryMessage() {
  Harness h;
  h.loadCatalogue();
  QStringList behind;
  h.messages.whileShown = [&](const std::string&) {
    behind << h.box("txtInputDay")->text() + QLatin1Char('|') + h.box("txtInputHour")->text() + QLatin1Char('|') +
                  h.window->findChild<QComboBox*>(qs("Combo1"))->currentText();
  };
  // The menu entry fills the empty day and hour before it asks for the year.
  h.box("txtInputYear")->clear();
  emit h.box("txtInputYear")->textEdited(QString());
  h.box("txtInputDay")->clear();
  emit h.box("txtInputDay")->textEdited(QString());
  h.box("txtInputHour")->clear();
  emit h.box("txtInputHour")->textEdited(QString());
  h.trigger("mnuExcelNtime");
  QCOMPARE(h.messages.shown, std::vector<std::string>{kSelectStarAndDateMessage});
  QCOMPARE(behind, QStringList{qs("0|0|ZZ Exa")});
  // Behind today's closing message: the last star, and the reference at 00:00.
  behind.clear();
  h.messages.shown.clear();
  commitText(h.box("txtInputYear"), qs("2026"));
  commitText(h.box("txtInputDay"), qs("7"));
  commitText(h.box("txtInputHour"), qs("21"));
  h.trigger("mnuExcelToday");
  QCOMPARE(h.messages.shown, std::vector<std::string>{kTodayListDoneMessage});
  QCOMPARE(behind, QStringList{qs("7|0|YY Sam")});
}

void ObserverTest::besideOwner_data() {
  QTest::addColumn<QRect>("owner");
  QTest::addColumn<QSize>("frame");
  QTest::addColumn<QRect>("screen");
  QTest::addColumn<QPoint>("expected");
  const QRect wide(0, 0, 1600, 1000);
  const int gap = ui::kWindowGapPixels;
  QTest::newRow("right") << QRect(100, 50, 540, 560) << QSize(760, 300) << wide << QPoint(640 + gap, 50);
  QTest::newRow("left") << QRect(800, 50, 540, 560) << QSize(600, 300) << wide << QPoint(800 - gap - 600, 50);
  QTest::newRow("below") << QRect(400, 20, 540, 560) << QSize(760, 300) << QRect(0, 0, 1280, 1024)
                         << QPoint(400, 580 + gap);
  // No room beside or below: over the lower part, never over the title and menu (40 px).
  QTest::newRow("lower part") << QRect(0, 0, 540, 580) << QSize(760, 300) << QRect(0, 0, 800, 800) << QPoint(0, 500);
  QTest::newRow("short screen") << QRect(0, 0, 540, 580) << QSize(760, 300) << QRect(0, 0, 800, 320) << QPoint(0, 20);
  // On the owner's screen, wherever that starts.
  QTest::newRow("second screen") << QRect(1700, 100, 540, 560) << QSize(300, 300) << QRect(1600, 0, 1280, 1024)
                                 << QPoint(2240 + gap, 100);
}

void ObserverTest::besideOwner() {
  QFETCH(QRect, owner);
  QFETCH(QSize, frame);
  QFETCH(QRect, screen);
  QFETCH(QPoint, expected);
  const QPoint corner = ui::besideOwner(owner, 40, frame, screen);
  QCOMPARE(corner, expected);
  QVERIFY(screen.contains(QRect(corner, frame)));
}

void ObserverTest::checkWindowOpensBesideTheMainWindow() {
  Harness h;
  h.loadCatalogue();
  h.click("Command2");
  commitText(h.box("txtOutputKaiki"), qs("4.61"));
  h.click("Command2");
  ui::FrmCalc* check = h.window->frmCalc();
  QVERIFY(check && check->isVisible());
  const QRect placed = check->frameGeometry();
  QVERIFY(availableArea(*h.window).contains(placed));
  // Clear of the main window's title and menu.
  const int menuBottom = h.window->geometry().top() + h.window->menuBar()->height();
  QVERIFY2(placed.top() >= menuBottom || !placed.intersects(h.window->frameGeometry()),
           qPrintable(QStringLiteral("check window at %1,%2").arg(placed.x()).arg(placed.y())));
  QVERIFY(placed.topLeft() != QPoint(0, 0));
  // Where the user moves it, it stays when shown again.
  check->Command1_Click();
  check->move(120, 330);
  h.click("Command2");
  QCOMPARE(check->pos(), QPoint(120, 330));
}

void ObserverTest::dialogOpensBesideAndWhereItWasLeft() {
  {
    Harness h;
    h.window->resize(400, 300);  // room beside it on the test screen
    h.openDialog();
    ui::FrmExcel* dialog = h.dialog();
    QVERIFY(dialog && dialog->isVisible());
    QVERIFY(!dialog->frameGeometry().intersects(h.window->frameGeometry()));
    QVERIFY(availableArea(*h.window).contains(dialog->frameGeometry()));
    // Moved by the user, cancelled and opened again: where it was left.
    dialog->move(37, 341);
    QTest::mouseClick(dialog->findChild<QPushButton*>(qs("Command2")), Qt::LeftButton);
    QVERIFY(!dialog->isVisible());
    h.trigger("mnuExcelNtime");
    QCOMPARE(dialog->pos(), QPoint(37, 341));
    // Unloaded by its close box: the new dialog opens there too.
    dialog->move(45, 350);
    dialog->close();
    QTRY_VERIFY(h.dialog() == nullptr);
    h.trigger("mnuExcelNtime");
    QVERIFY(h.dialog());
    QCOMPARE(h.dialog()->pos(), QPoint(45, 350));
  }
  // The next run of the program.
  QCOMPARE(ui::savedDialogPosition(), std::optional<QPoint>(QPoint(45, 350)));
  Harness next;
  next.openDialog();
  QCOMPARE(next.dialog()->pos(), QPoint(45, 350));
  // A place off every screen is not used.
  next.dialog()->move(5000, 5000);
  next.dialog()->hide();
  next.trigger("mnuExcelNtime");
  QVERIFY(availableArea(*next.window).contains(next.dialog()->frameGeometry()));
}

void ObserverTest::dialogGetsTheFocusBackAfterItsRun() {
  Harness h;
  h.openDialog();
  ui::FrmExcel* dialog = h.dialog();
  QVERIFY(QTest::qWaitForWindowActive(dialog));
  // A message box hands the focus to the main window when it closes.
  h.messages.whileShown = [&](const std::string&) { h.window->activateWindow(); };
  dialog->findChild<QLineEdit*>(qs("txtTimes"))->setText(qs("abc"));
  emit dialog->findChild<QLineEdit*>(qs("txtTimes"))->textEdited(qs("abc"));
  QTest::mouseClick(dialog->findChild<QPushButton*>(qs("Command1")), Qt::LeftButton);
  QCOMPARE(h.messages.shown.size(), std::size_t{1});
  QTRY_COMPARE(QApplication::activeWindow(), static_cast<QWidget*>(dialog));
  QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(dialog->findChild<QPushButton*>(qs("Command1"))));
}

void ObserverTest::cycleBoxShowsEveryDigit_data() {
  QTest::addColumn<QString>("cycle");
  QTest::addColumn<bool>("whole");
  QTest::newRow("year 1E9") << qs("12737911012") << true;
  QTest::newRow("negative") << qs("-12737911012") << true;
  QTest::newRow("short") << qs("4488") << true;
  QTest::newRow("exponent") << qs("-1.27379110123457E+19") << false;
}

void ObserverTest::cycleBoxShowsEveryDigit() {
  QFETCH(QString, cycle);
  QFETCH(bool, whole);
  Harness h;
  h.window->model().txtOutputKaiki = cycle.toStdString();
  h.window->showModel();
  QLineEdit* box = h.box("txtOutputKaiki");
  QCOMPARE(box->text(), cycle);
  const double needed = QFontMetricsF(box->font()).horizontalAdvance(cycle) + 10;
  if (whole) {
    QVERIFY2(needed <= box->width(), qPrintable(QStringLiteral("%1 > %2").arg(needed).arg(box->width())));
  } else {
    // Too long for any box: the end shows, the tooltip holds all.
    QCOMPARE(box->cursorPosition(), cycle.size());
  }
  QCOMPARE(box->toolTip(), cycle);
}

void ObserverTest::longMemoStaysReadableAndEndsInAnEllipsis() {
  Harness h;
  auto* memo = h.window->findChild<QLabel*>(qs("lblMemo"));
  QString longText;
  for (int i = 0; i < 30; ++i) longText += qs("食変光星 アルゴル型・半分離型(EA/SD) 7.22～8.22等(V)。");
  h.window->model().lblMemo = longText.toStdString();
  h.window->showModel();
  QVERIFY(memo->font().pointSizeF() >= 9);
  QVERIFY(memo->text().endsWith(QChar(0x2026)));
  QVERIFY(longText.startsWith(memo->text().chopped(1)));
  QCOMPARE(memo->toolTip(), longText);
  const QRectF room(0, 0, memo->width(), memo->height());
  QVERIFY(QFontMetricsF(memo->font()).boundingRect(room, Qt::TextWordWrap, memo->text()).height() <= room.height());
  // A short memo is shown whole at the window's size.
  h.window->model().lblMemo = "EA";
  h.window->showModel();
  QCOMPARE(memo->text(), qs("EA"));
  QCOMPARE(memo->font().pointSizeF(), 11.25);
}

void ObserverTest::catalogueStartFolder_data() {
  QTest::addColumn<bool>("lastExists");
  QTest::addColumn<bool>("sample");
  QTest::addColumn<QString>("expected");
  QTest::newRow("last loaded") << true << true << qs("last");
  QTest::newRow("last loaded, no sample") << true << false << qs("last");
  QTest::newRow("last folder gone") << false << true << qs("sample");
  QTest::newRow("first time") << false << true << qs("sample");
  QTest::newRow("no sample") << false << false << qs("documents");
}

void ObserverTest::catalogueStartFolder() {
  QFETCH(bool, lastExists);
  QFETCH(bool, sample);
  QFETCH(QString, expected);
  TempDir dir;
  const QString root = QString::fromStdString(dir.path().string());
  const QString last = root + QStringLiteral("/last");
  if (lastExists) QDir().mkpath(last);
  const QString sampleFolder = sample ? root + QStringLiteral("/sample") : QString();
  QCOMPARE(ui::catalogueStartFolder(QTest::currentDataTag() == QByteArray("first time") ? QString() : last,
                                    sampleFolder, root + QStringLiteral("/documents")),
           root + QLatin1Char('/') + expected);
}

void ObserverTest::theLoadedCataloguesFolderIsRemembered() {
  Harness h;
  QCOMPARE(ui::savedCatalogueFolder(), QString());
  h.loadCatalogue();
  QCOMPARE(ui::savedCatalogueFolder(), QString::fromStdString(h.dir.path().string()));
  // A file that does not load leaves the folder as it was.
  TempDir other;
  h.chooser.answers.push_back(other.write("wrong.vsd", "not a catalogue\r\n").string());
  h.click("Command1");
  QCOMPARE(ui::savedCatalogueFolder(), QString::fromStdString(h.dir.path().string()));
}

void ObserverTest::settingsOfTheOldFolderAreCarriedOverOnce() {
  const QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
  QVERIFY(QDir().mkpath(config + QStringLiteral("/tenmirel")));
  const QString oldFile = config + QStringLiteral("/tenmirel/tenmirel.conf");
  const QByteArray oldText = "[FrmExcel]\nposition=@Point(120 80)\n\n[catalogue]\nfolder=/srv/catalogues\n";
  {
    QFile file(oldFile);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(oldText);
  }
  // One folder for every setting, beside the sites.
  QVERIFY(ui::settingsFileName().startsWith(config + QStringLiteral("/Tenmirel/")));
  QCOMPARE(ui::savedCatalogueFolder(), QStringLiteral("/srv/catalogues"));
  QCOMPARE(ui::savedDialogPosition(), std::optional<QPoint>(QPoint(120, 80)));
  // Once: a value set since is kept, even when the old file says otherwise.
  ui::saveCatalogueFolder(QStringLiteral("/home/observer/stars"));
  QCOMPARE(ui::savedCatalogueFolder(), QStringLiteral("/home/observer/stars"));
  QFile file(oldFile);
  QVERIFY(file.open(QIODevice::ReadOnly));
  QCOMPARE(file.readAll(), oldText);  // left as it was
}

void ObserverTest::aRunWithoutRowsSaysSoInOneBox() {
  Harness h;
  h.openDialog();
  auto* times = h.dialog()->findChild<QLineEdit*>(qs("txtTimes"));
  times->clear();
  emit times->textEdited(QString());
  QTest::mouseClick(h.dialog()->findChild<QPushButton*>(qs("Command1")), Qt::LeftButton);
  QCOMPARE(h.messages.shown, std::vector<std::string>{kNoCountNoRowsMessage});
  QCOMPARE(h.opener.opened.size(), std::size_t{1});
}

}  // namespace tenmirel::testing

QTEST_MAIN(tenmirel::testing::ObserverTest)
#include "observer_test.moc"
