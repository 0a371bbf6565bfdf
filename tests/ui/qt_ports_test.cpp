// The Qt ports, the font choice, the twips scale and the drawn formula rows.
#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QtMath>

#include "support/recording_ports.h"
#include "ui/app_icon.h"
#include "ui/formula_label.h"
#include "ui/gothic_fonts.h"
#include "ui/qt_ports.h"
#include "ui/twips.h"

using namespace tenmirel;
using namespace tenmirel::ui;

namespace {

QString qs(const char* utf8) { return QString::fromUtf8(utf8); }

// Runs the check on the modal window once it is up, so nothing waits for a user.
void whenModalIsUp(std::function<void(QWidget*)> check) {
  QTimer::singleShot(0, [check = std::move(check)]() mutable {
    QWidget* modal = nullptr;
    QTRY_VERIFY_WITH_TIMEOUT((modal = QApplication::activeModalWidget()) != nullptr, 5000);
    check(modal);
  });
}

}  // namespace

class QtPortsTest : public QObject {
  Q_OBJECT

 private slots:
  void fontChoiceFollowsThePreferences_data();
  void fontChoiceFollowsThePreferences();
  void thisMachineHasAJapaneseGothic();
  void twipsFollowTheLogicalDpi();
  void messageBoxHasOneOkAndNoIcon();
  void messageSinkWaitsForOk();
  void messageBoxIsWideEnoughForItsTitle_data();
  void messageBoxIsWideEnoughForItsTitle();
  void fileFilterKeepsTheDescription();
  void fileChooserOffersTheOneFilter();
  void fileChooserStartsInAnExistingFolderWithAnEmptyName();
  void formulaLabelDrawsNarrowIdeographicSpaces();
  void iconIsPainted();
};

void QtPortsTest::fontChoiceFollowsThePreferences_data() {
  QTest::addColumn<int>("pitch");
  QTest::addColumn<QStringList>("installed");
  QTest::addColumn<QStringList>("japanese");
  QTest::addColumn<QStringList>("fixedPitch");
  QTest::addColumn<QString>("expected");
  const int p = static_cast<int>(GothicPitch::kProportional);
  const int f = static_cast<int>(GothicPitch::kFixed);
  const QStringList ipa{qs("IPAGothic"), qs("IPAPGothic")};
  QTest::newRow("Windows face first") << p << QStringList{qs("ＭＳ Ｐゴシック"), qs("IPAPGothic")} << ipa
                                      << QStringList{} << qs("ＭＳ Ｐゴシック");
  QTest::newRow("IPA P for the proportional face")
      << p << ipa << ipa << QStringList{qs("IPAGothic")} << qs("IPAPGothic");
  QTest::newRow("IPA for the fixed face") << f << ipa << ipa << QStringList{qs("IPAGothic")} << qs("IPAGothic");
  QTest::newRow("any Japanese Gothic, fixed")
      << f << QStringList{} << QStringList{qs("Noto Serif CJK JP"), qs("VL PGothic"), qs("VL Gothic")}
      << QStringList{qs("VL Gothic")} << qs("VL Gothic");
  QTest::newRow("any Japanese Gothic, proportional")
      << p << QStringList{} << QStringList{qs("Noto Serif CJK JP"), qs("VL Gothic"), qs("VL PGothic")}
      << QStringList{qs("VL Gothic")} << qs("VL PGothic");
  QTest::newRow("a Gothic of the other pitch")
      << f << QStringList{} << QStringList{qs("Noto Sans CJK JP")} << QStringList{} << qs("Noto Sans CJK JP");
  QTest::newRow("any Japanese face") << p << QStringList{} << QStringList{qs("Noto Serif CJK JP")} << QStringList{}
                                     << qs("Noto Serif CJK JP");
  QTest::newRow("nothing Japanese") << p << QStringList{} << QStringList{} << QStringList{} << QString();
}

void QtPortsTest::fontChoiceFollowsThePreferences() {
  QFETCH(int, pitch);
  QFETCH(QStringList, installed);
  QFETCH(QStringList, japanese);
  QFETCH(QStringList, fixedPitch);
  QFETCH(QString, expected);
  const QString chosen = chooseGothicFamily(
      static_cast<GothicPitch>(pitch), [&](const QString& family) { return installed.contains(family); },
      [&] { return japanese; }, [&](const QString& family) { return fixedPitch.contains(family); });
  QCOMPARE(chosen, expected);
}

void QtPortsTest::thisMachineHasAJapaneseGothic() {
  // The setup installs the IPA faces; without them the windows lose their widths.
  QVERIFY(QFontDatabase::hasFamily(qs("IPAPGothic")));
  QVERIFY(preferredGothicFamilies(GothicPitch::kProportional).contains(gothicFamily(GothicPitch::kProportional)));
  QVERIFY(preferredGothicFamilies(GothicPitch::kFixed).contains(gothicFamily(GothicPitch::kFixed)));
  const QFont font = gothicFont(GothicPitch::kProportional, 11.25);
  QCOMPARE(font.pointSizeF(), 11.25);
  QVERIFY(QFontMetrics(font).inFont(QChar(0x5909)));  // 変
}

void QtPortsTest::twipsFollowTheLogicalDpi() {
  const Twips standard;
  QCOMPARE(standard.px(15), 1);
  QCOMPARE(standard.px(855), 57);
  QCOMPARE(standard.size(8040, 7725), QSize(536, 515));
  QCOMPARE(standard.rect(120, 240, 7815, 2655), QRect(8, 16, 521, 177));
  const Twips large(144);  // fonts set to 150 %
  QCOMPARE(large.px(8040), 804);
  QCOMPARE(large.px(855), qRound(85.5));
}

void QtPortsTest::messageBoxHasOneOkAndNoIcon() {
  auto box = makeMessageBox(nullptr, qs("変光星を選択してください"));
  QCOMPARE(box->windowTitle(), qs("Tenmirel"));
  QCOMPARE(box->text(), qs("変光星を選択してください"));
  QCOMPARE(box->icon(), QMessageBox::NoIcon);
  QCOMPARE(box->standardButtons(), QMessageBox::StandardButtons(QMessageBox::Ok));
  QCOMPARE(box->buttons().size(), 1);
  QCOMPARE(box->textFormat(), Qt::PlainText);
  QVERIFY(box->isModal());
}

void QtPortsTest::messageBoxIsWideEnoughForItsTitle_data() {
  QTest::addColumn<QString>("text");
  QTest::newRow("Error!") << qs("Error!");
  QTest::newRow("short Japanese") << qs("高度条件が未入力です");
  QTest::newRow("long") << qs("予報を計算できません。元期・周期・基準日時（または回帰数）の値が大きすぎます。");
}

void QtPortsTest::messageBoxIsWideEnoughForItsTitle() {
  QFETCH(QString, text);
  auto box = makeMessageBox(nullptr, text);
  box->show();
  QVERIFY(QTest::qWaitForWindowExposed(box.get()));
  QFont titleFont = box->font();
  titleFont.setBold(true);
  const double title = QFontMetricsF(titleFont).horizontalAdvance(box->windowTitle());
  QVERIFY2(box->width() >= title + kTitleBarAllowancePixels, qPrintable(QString::number(box->width())));
  QCOMPARE(messageBoxMinimumWidth(*box), qCeil(title) + kTitleBarAllowancePixels);
  box->hide();
}

void QtPortsTest::messageSinkWaitsForOk() {
  QWidget parent;
  parent.show();
  QtMessageSink sink(&parent);
  QString seenText;
  whenModalIsUp([&seenText](QWidget* modal) {
    auto* box = qobject_cast<QMessageBox*>(modal);
    QVERIFY(box);
    seenText = box->text();
    box->button(QMessageBox::Ok)->click();
  });
  sink.showMessage("元期と周期を入力してください");
  QCOMPARE(seenText, qs("元期と周期を入力してください"));
}

void QtPortsTest::fileFilterKeepsTheDescription() {
  QCOMPARE(qtFileFilter("変光星ﾃﾞｰﾀﾌｧｲﾙ(*.vsd)", "*.vsd"), qs("変光星ﾃﾞｰﾀﾌｧｲﾙ(*.vsd)"));
  QCOMPARE(qtFileFilter("Text", "*.txt"), qs("Text (*.txt)"));
}

void QtPortsTest::fileChooserOffersTheOneFilter() {
  testing::TempDir dir;
  const auto file = dir.write("stars.vsd", "Quorrelith 1999\r\n");
  QWidget parent;
  parent.show();
  const QString startFolder = QString::fromStdString(dir.path().string());
  QtFileChooser chooser(&parent, [&startFolder] { return startFolder; });

  QStringList filters;
  QString shownFolder;
  whenModalIsUp([&filters, &shownFolder](QWidget* modal) {
    auto* dialog = qobject_cast<QFileDialog*>(modal);
    QVERIFY(dialog);
    filters = dialog->nameFilters();
    shownFolder = dialog->directory().absolutePath();
    dialog->reject();
  });
  QVERIFY(!chooser.chooseFileToOpen("変光星ﾃﾞｰﾀﾌｧｲﾙ(*.vsd)", "*.vsd").has_value());
  QCOMPARE(filters, QStringList{qs("変光星ﾃﾞｰﾀﾌｧｲﾙ(*.vsd)")});
  QCOMPARE(shownFolder, startFolder);

  whenModalIsUp([&file](QWidget* modal) {
    auto* dialog = qobject_cast<QFileDialog*>(modal);
    QVERIFY(dialog);
    dialog->selectFile(QString::fromStdString(file.string()));
    QMetaObject::invokeMethod(dialog, "accept");
  });
  const auto chosen = chooser.chooseFileToOpen("変光星ﾃﾞｰﾀﾌｧｲﾙ(*.vsd)", "*.vsd");
  QVERIFY(chosen.has_value());
  QCOMPARE(QString::fromStdString(*chosen), QString::fromStdString(file.string()));
}

void QtPortsTest::fileChooserStartsInAnExistingFolderWithAnEmptyName() {
  testing::TempDir dir;
  QWidget parent;
  parent.show();
  const QString existing = QString::fromStdString(dir.path().string());
  for (const QString& start :
       {existing, existing + QStringLiteral("/Documents"), existing + QStringLiteral("/gone/Documents/")}) {
    QtFileChooser chooser(&parent, [&start] { return start; });
    QString shownFolder;
    QString typedName = QStringLiteral("unread");
    whenModalIsUp([&](QWidget* modal) {
      auto* dialog = qobject_cast<QFileDialog*>(modal);
      QVERIFY(dialog);
      shownFolder = dialog->directory().absolutePath();
      if (auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))) typedName = name->text();
      dialog->reject();
    });
    QVERIFY(!chooser.chooseFileToOpen("変光星ﾃﾞｰﾀﾌｧｲﾙ(*.vsd)", "*.vsd").has_value());
    QCOMPARE(shownFolder, existing);
    QCOMPARE(typedName, QString());
  }
}

void QtPortsTest::formulaLabelDrawsNarrowIdeographicSpaces() {
  FormulaLabel label(qs("Ａ　Ｂ"));
  label.setFont(gothicFont(GothicPitch::kProportional, 15.75));
  const QFontMetricsF metrics(label.font());
  const double a = metrics.horizontalAdvance(qs("Ａ"));
  QCOMPARE(label.characterX(0), 0.0);
  QCOMPARE(label.characterX(1), a);
  const double space = label.characterX(2) - a;
  QVERIFY(space > 0);
  QVERIFY(space <= kDesignedIdeographicSpaceEm * QFontInfo(label.font()).pixelSize() + 1e-9);
  QCOMPARE(label.formulaWidth(), label.characterX(2) + metrics.horizontalAdvance(qs("Ｂ")));
  QCOMPARE(label.text(), qs("Ａ　Ｂ"));  // the text itself is untouched
}

void QtPortsTest::iconIsPainted() {
  const QImage icon = paintAppIcon(64);
  QCOMPARE(icon.size(), QSize(64, 64));
  QCOMPARE(qAlpha(icon.pixel(0, 0)), 0);  // rounded corner
  QVERIFY(qAlpha(icon.pixel(32, 32)) == 255);
  QVERIFY(!appIcon().isNull());
}

QTEST_MAIN(QtPortsTest)
#include "qt_ports_test.moc"
