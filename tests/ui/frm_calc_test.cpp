// The altitude check window: its fixed layout and how it shows the record.
#include <QFontMetricsF>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "astro/altitude.h"
#include "ui/formula_label.h"
#include "ui/frm_calc.h"

using namespace tenmirel;
using tenmirel::ui::FormulaLabel;
using tenmirel::ui::FrmCalc;

namespace {

QString qs(const char* utf8) { return QString::fromUtf8(utf8); }
QString qs(const std::string& utf8) { return QString::fromStdString(utf8); }

// The worked example of the sidereal time and altitude calculation.
CalcLabels workedExample() {
  CalcLabels labels;
  const double theta = CalcSidereal(2451545.2, labels);
  CalcAltitude(88.75, 7.4, theta, labels);
  return labels;
}

// A record with the longest texts the number conversion writes.
CalcLabels longestTexts() {
  CalcLabels labels;
  forEachCalcCell(labels, [](const std::string&, std::string& cell) { cell = "-0.000123456789012345"; });
  labels.lblH = "-89.9999999999999";
  return labels;
}

}  // namespace

class FrmCalcTest : public QObject {
  Q_OBJECT

 private slots:
  void captionAndClientArea();
  void staticLabelsHoldTheFormulaTexts_data();
  void staticLabelsHoldTheFormulaTexts();
  void valueLabelsStandAtTheirPlaces_data();
  void valueLabelsStandAtTheirPlaces();
  void valueLabelsStartEmpty();
  void showsTheRecordItIsGiven();
  void valuesFitTheirGapsWithoutCovering_data();
  void valuesFitTheirGapsWithoutCovering();
  void everyValueIsDrawnAtOneSize();
  void closeButtonHidesAndKeepsTheTexts();
};

void FrmCalcTest::captionAndClientArea() {
  CalcLabels record;
  FrmCalc window(record);
  QCOMPARE(window.windowTitle(), qs("高度計算確認ウインドウ"));
  QCOMPARE(window.size(), QSize(751, 287));  // 11265 x 4305 twips
  QVERIFY(!window.isVisible());
  QCOMPARE(window.command1()->text(), qs("閉じる"));
  QCOMPARE(window.command1()->geometry(), QRect(624, 240, 105, 33));
}

void FrmCalcTest::staticLabelsHoldTheFormulaTexts_data() {
  QTest::addColumn<QString>("name");
  QTest::addColumn<QString>("text");
  QTest::addColumn<QPoint>("place");
  QTest::newRow("Label1") << qs("Label1") << qs("Tu     ＝　　　　　　　　／３６５２５　＝") << QPoint(16, 24);
  QTest::newRow("Label2") << qs("Label2")
                          << qs("Θo   ＝ 23925.836 ＋　　　　　　　　＋　　　　　　　　＝                  s")
                          << QPoint(16, 80);
  QTest::newRow("Label3")
      << qs("Label3")
      << qs("Θ　　＝　　　　　　　  ＋　　　　　　　  ＋　　　　　　　  ＋　　　　　　　　＝　　　　　　　　ｓ")
      << QPoint(16, 136);
  QTest::newRow("Label4") << qs("Label4")
                          << qs("sin h  ＝　　　　　　　 ＊　　　　　　　　＋　　　　　　　  ＊　　　　　　　　＊")
                          << QPoint(16, 192);
  QTest::newRow("Label6") << qs("Label6") << qs("＝") << QPoint(72, 240);
  QTest::newRow("Label5") << qs("Label5") << qs("h       ＝　　　　　　　 °") << QPoint(360, 240);
}

void FrmCalcTest::staticLabelsHoldTheFormulaTexts() {
  QFETCH(QString, name);
  QFETCH(QString, text);
  QFETCH(QPoint, place);
  CalcLabels record;
  FrmCalc window(record);
  auto* label = window.findChild<FormulaLabel*>(name);
  QVERIFY(label);
  QCOMPARE(label->text(), text);
  QCOMPARE(label->pos(), place);
  QCOMPARE(label->font().pointSizeF(), 15.75);
  QCOMPARE(label->height(), 25);
  // Nothing of the formula is cut off, and no formula runs out of the window
  // (Label4 itself is drawn 30 twips wider than the window).
  QVERIFY(label->formulaWidth() <= label->width());
  QVERIFY(label->x() + label->formulaWidth() <= window.width());
}

void FrmCalcTest::valueLabelsStandAtTheirPlaces_data() {
  QTest::addColumn<int>("index");
  QTest::addColumn<QString>("name");
  QTest::addColumn<QPoint>("place");
  const std::tuple<const char*, int, int> places[] = {
      {"lblTu(0)", 1440, 360},    {"lblTu(1)", 5280, 360},    {"lblS0(0)", 3360, 1200},   {"lblS0(1)", 5280, 1200},
      {"lblS0(2)", 7320, 1200},   {"lblS(0)", 1440, 2040},    {"lblS(1)", 3360, 2040},    {"lblS(2)", 5280, 2040},
      {"lblS(3)", 7320, 2040},    {"lblS(4)", 9360, 2040},    {"lblSinh(0)", 1440, 2880}, {"lblSinh(1)", 3360, 2880},
      {"lblSinh(2)", 5280, 2880}, {"lblSinh(3)", 7320, 2880}, {"lblSinh(4)", 9360, 2880}, {"lblSinh(5)", 1440, 3600},
      {"lblH", 6600, 3600},
  };
  int index = 0;
  for (const auto& [name, left, top] : places) {
    QTest::newRow(name) << index++ << qs(name) << QPoint(left / 15, top / 15);
  }
}

void FrmCalcTest::valueLabelsStandAtTheirPlaces() {
  QFETCH(int, index);
  QFETCH(QString, name);
  QFETCH(QPoint, place);
  CalcLabels record;
  FrmCalc window(record);
  QLabel* label = window.valueLabels()[static_cast<std::size_t>(index)];
  QCOMPARE(label->objectName(), name);
  QCOMPARE(label->pos(), place);
  QCOMPARE(label->height(), 25);
  QVERIFY(label->width() >= 89);  // at least the designed 1335 twips
  QVERIFY(label->geometry().right() < window.width());
}

void FrmCalcTest::valueLabelsStartEmpty() {
  CalcLabels record;
  FrmCalc window(record);
  QCOMPARE(window.valueLabels().size(), std::size_t{17});
  for (QLabel* label : window.valueLabels()) QVERIFY(label->text().isEmpty());
}

void FrmCalcTest::showsTheRecordItIsGiven() {
  CalcLabels record;
  FrmCalc window(record);
  record = workedExample();
  window.showRecord();
  const auto& labels = window.valueLabels();
  QCOMPARE(labels[0]->text(), qs("36524.5"));
  QCOMPARE(labels[1]->text(), qs("0.999986310746064"));
  QCOMPARE(labels[4]->text(), qs("8663992.1932172"));
  QCOMPARE(labels[7]->text(), qs("33360"));
  QCOMPARE(labels[9]->text(), qs("31597.7874733396"));
  QCOMPARE(labels[10]->text(), qs(record.lblSinh[0]));
  QCOMPARE(labels[15]->text(), qs(record.lblSinh[5]));
  QCOMPARE(labels[16]->text(), qs(record.lblH));
}

void FrmCalcTest::valuesFitTheirGapsWithoutCovering_data() {
  QTest::addColumn<bool>("longest");
  QTest::newRow("worked example") << false;
  QTest::newRow("longest texts") << true;
}

void FrmCalcTest::valuesFitTheirGapsWithoutCovering() {
  QFETCH(bool, longest);
  CalcLabels record = longest ? longestTexts() : workedExample();
  FrmCalc window(record);
  const auto rows = window.findChildren<FormulaLabel*>();
  for (QLabel* value : window.valueLabels()) {
    const double drawn = QFontMetricsF(value->font()).horizontalAdvance(value->text());
    const double left = value->x();
    const double right = left + drawn;
    if (!longest) QVERIFY2(drawn <= value->width(), qPrintable(value->objectName() + value->text()));
    // No visible character of a formula row lies under a value.
    for (FormulaLabel* row : rows) {
      if (row->y() != value->y()) continue;
      const QString text = row->text();
      for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i).isSpace()) continue;
        const double glyphLeft = row->x() + row->characterX(i);
        const double glyphRight = row->x() + row->characterX(i + 1);
        const bool covered = glyphLeft < std::min(right, double(value->x() + value->width())) && glyphRight > left;
        QVERIFY2(
            !covered,
            qPrintable(value->objectName() + QStringLiteral(" covers ") + text.at(i) +
                       QStringLiteral(" %1..%2 under %3..%4").arg(glyphLeft).arg(glyphRight).arg(left).arg(right)));
      }
    }
  }
}

void FrmCalcTest::everyValueIsDrawnAtOneSize() {
  CalcLabels record = workedExample();
  FrmCalc window(record);
  const QFont font = window.valueLabels()[0]->font();
  for (QLabel* value : window.valueLabels()) {
    QCOMPARE(value->font().pointSizeF(), font.pointSizeF());
    QCOMPARE(value->font().stretch(), font.stretch());
    // The widest texts a cell can hold fit every gap.
    for (const char* widest : {"-0.000888888888888888", "-8.88888888888888E-06", "-88.8888888888888"}) {
      QVERIFY2(QFontMetricsF(value->font()).horizontalAdvance(qs(widest)) <= value->width(),
               qPrintable(value->objectName()));
    }
    // Short of the window's right border.
    QVERIFY2(value->x() + value->width() <= window.width() - 8, qPrintable(value->objectName()));
  }
  // Short and long values of one row alike.
  QCOMPARE(window.valueLabels()[7]->text(), qs("33360"));
  QCOMPARE(window.valueLabels()[7]->font(), window.valueLabels()[9]->font());
  // New values keep the size.
  record.lblS[1] = "5";
  window.showRecord();
  QCOMPARE(window.valueLabels()[6]->font(), font);
}

void FrmCalcTest::closeButtonHidesAndKeepsTheTexts() {
  CalcLabels record = workedExample();
  FrmCalc window(record);
  window.show();
  QVERIFY(QTest::qWaitForWindowExposed(&window));
  QTest::mouseClick(window.command1(), Qt::LeftButton);
  QVERIFY(!window.isVisible());
  QCOMPARE(window.valueLabels()[0]->text(), qs("36524.5"));
  window.show();
  QVERIFY(window.isVisible());
  QCOMPARE(window.valueLabels()[16]->text(), qs(record.lblH));
}

QTEST_MAIN(FrmCalcTest)
#include "frm_calc_test.moc"
