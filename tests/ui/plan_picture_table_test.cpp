// The plan's picture and table: for the sample's busiest night with every star
// chosen no label of an extremum covers another and none leaves the plot (at the
// exported picture's size, 1× and 2×, and wider); a greyed row says which filter
// failed and by how much; the count line counts what the table shows.
#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QFontMetricsF>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpression>
#include <QSpinBox>
#include <QStyle>
#include <QTableView>
#include <QTest>
#include <QToolButton>

#include "plan_harness.h"
#include "ui/plan/night_picture_painter.h"
#include "ui/plan/night_picture_widget.h"
#include "ui/plan/plan_filter_proxy.h"
#include "ui/plan/plan_table_model.h"

namespace tenmirel::testing {

class PlanPictureTableTest : public QObject {
  Q_OBJECT

 private slots:
  void labelsOfTheBusiestNightNeitherOverlapNorLeaveThePlot_data();
  void labelsOfTheBusiestNightNeitherOverlapNorLeaveThePlot();
  void aCrowdedPlotLeavesLabelsOutRatherThanOverlapping();
  void aGreyedRowSaysWhichFilterFailedAndByHowMuch();
  void theCountLineCountsWhatTheTableShows();
  void theExportButtonsArrowHasRoomOfItsOwn();
};

namespace {

// The night of December 2026 with the most extrema of the sample.
QDate busiestNight() {
  const std::vector<sky::NightStar> stars = sampleStars();
  QDate busiest;
  std::size_t most = 0;
  for (int day = 1; day <= 31; ++day) {
    const auto plan = sky::planNight(stars, sky::builtInSite(), {2026, 12, day}, sky::NightOptions{});
    if (plan.ok() && plan->events.size() > most) {
      most = plan->events.size();
      busiest = QDate(2026, 12, day);
    }
  }
  return busiest;
}

void expectApart(const std::vector<ui::PlacedLabel>& labels, const QRectF& plot) {
  for (std::size_t i = 0; i < labels.size(); ++i) {
    if (!labels[i].placed) continue;
    QVERIFY2(plot.contains(labels[i].box), qPrintable(QStringLiteral("label %1 leaves the plot").arg(i)));
    for (std::size_t j = i + 1; j < labels.size(); ++j) {
      if (labels[j].placed) {
        QVERIFY2(!labels[i].box.intersects(labels[j].box),
                 qPrintable(QStringLiteral("labels %1 and %2").arg(i).arg(j)));
      }
    }
  }
}

}  // namespace

void PlanPictureTableTest::labelsOfTheBusiestNightNeitherOverlapNorLeaveThePlot_data() {
  QTest::addColumn<QSize>("size");
  QTest::addColumn<qreal>("ratio");
  QTest::newRow("exported, 1x") << QSize(960, 400) << 1.0;
  QTest::newRow("exported, 2x") << QSize(960, 400) << 2.0;
  QTest::newRow("wide") << QSize(1400, 520) << 1.0;
}

void PlanPictureTableTest::labelsOfTheBusiestNightNeitherOverlapNorLeaveThePlot() {
  QFETCH(QSize, size);
  QFETCH(qreal, ratio);
  PlanHarness h;
  h.loadSample();
  ui::PlanWindow& plan = h.openPlan();
  plan.setNight(busiestNight());
  plan.table().selectAll();
  const ui::NightPictureData& data = plan.picture().data();
  QVERIFY(data.curves.size() >= 9);
  std::size_t markers = 0;
  for (const ui::PictureCurve& curve : data.curves) markers += curve.markers.size();
  QVERIFY(markers >= 20);

  QImage image(size * ratio, QImage::Format_ARGB32_Premultiplied);
  image.setDevicePixelRatio(ratio);
  const QRectF area(QPointF(0, 0), QSizeF(size));
  const std::vector<ui::PlacedLabel> labels = ui::pictureLabelLayout(area, data, &image);
  QCOMPARE(labels.size(), markers);
  expectApart(labels, ui::PictureFrame(area, data).plot());
  const auto shown = std::count_if(labels.begin(), labels.end(), [](const ui::PlacedLabel& l) { return l.placed; });
  QVERIFY2(shown * 10 >= static_cast<long>(markers) * 9,
           qPrintable(QStringLiteral("%1 of %2").arg(shown).arg(markers)));
  // The curves are told apart: no two of one colour and one line style.
  for (std::size_t i = 0; i < data.curves.size(); ++i) {
    for (std::size_t j = i + 1; j < data.curves.size(); ++j) {
      QVERIFY(data.curves[i].colour != data.curves[j].colour || data.curves[i].dashed != data.curves[j].dashed);
    }
  }
}

void PlanPictureTableTest::aCrowdedPlotLeavesLabelsOutRatherThanOverlapping() {
  // Fifty labels on one spot of a small plot: those that fit are apart, near the edge too.
  const QRectF plot(0, 0, 300, 120);
  std::vector<ui::LabelRequest> requests;
  for (int i = 0; i < 50; ++i) requests.push_back({QPointF(295, 5 + i % 3), QSizeF(70, 16), {}});
  const std::vector<ui::PlacedLabel> labels = ui::placeLabels(plot, requests);
  expectApart(labels, plot);
  const auto shown = std::count_if(labels.begin(), labels.end(), [](const ui::PlacedLabel& l) { return l.placed; });
  QVERIFY(shown >= 10);
  QVERIFY(shown < 50);
  QVERIFY(labels[0].placed && !labels[0].leader);  // the first beside its marker
}

void PlanPictureTableTest::aGreyedRowSaysWhichFilterFailedAndByHowMuch() {
  PlanHarness h;
  h.loadSample();
  ui::PlanWindow& plan = h.openPlan();
  plan.findChild<QCheckBox*>(QStringLiteral("showFailing"))->setChecked(true);
  plan.findChild<QDoubleSpinBox*>(QStringLiteral("minimumAltitude"))->setValue(30);
  plan.findChild<QSpinBox*>(QStringLiteral("aroundMinutes"))->setValue(120);
  const QRegularExpression around(QStringLiteral("前後120分のうち (\\d\\d):(\\d\\d) に(高度|太陽高度) -?[0-9.]+°"));
  int lowRows = 0;
  int aroundRows = 0;
  for (int row = 0; row < plan.model().rowCount(); ++row) {
    const sky::NightEvent& event = plan.model().event(row);
    const QString tip = plan.model().index(row, ui::PlanTableModel::kStar).data(Qt::ToolTipRole).toString();
    if (event.passesAll()) {
      QCOMPARE(tip, QString::fromStdString(event.isoText));  // as it was
      continue;
    }
    QVERIFY2(tip.startsWith(QString::fromStdString(event.localText)), qPrintable(tip));  // the local time, not ISO
    if (!event.passesAltitude) {
      ++lowRows;
      QVERIFY2(tip.contains(QStringLiteral("最低高度 30° より")) && tip.contains(QStringLiteral("低い")),
               qPrintable(tip));
    } else {
      ++aroundRows;
      const QRegularExpressionMatch match = around.match(tip);
      QVERIFY2(match.hasMatch(), qPrintable(tip));
      // The instant named lies within the two hours either side of the extremum.
      const int named = match.captured(1).toInt() * 60 + match.captured(2).toInt();
      const int at = event.local.minute.hour * 60 + event.local.minute.minute;
      const int apart = std::min((named - at + 1440) % 1440, (at - named + 1440) % 1440);
      QVERIFY2(apart <= 120, qPrintable(tip));
    }
  }
  QVERIFY(lowRows > 0);
  QVERIFY(aroundRows > 0);
  // The altitude's title says why it differs from the main window's.
  QVERIFY(plan.model()
              .headerData(ui::PlanTableModel::kAltitude, Qt::Horizontal, Qt::ToolTipRole)
              .toString()
              .contains(QStringLiteral("歳差")));
}

void PlanPictureTableTest::theCountLineCountsWhatTheTableShows() {
  PlanHarness h;
  h.loadSample();
  ui::PlanWindow& plan = h.openPlan();
  auto* status = plan.findChild<QLabel*>(QStringLiteral("planStatus"));
  const QString before = status->text();
  plan.findChild<QLineEdit*>(QStringLiteral("starFilter"))->setText(QStringLiteral("cy aqr"));
  const int shown = plan.proxy().rowCount();
  QVERIFY(shown > 0);
  QVERIFY(shown < plan.model().rowCount());
  QVERIFY2(status->text().contains(QStringLiteral("条件に合うもの %1 件").arg(shown)), qPrintable(status->text()));
  plan.findChild<QLineEdit*>(QStringLiteral("starFilter"))->clear();
  QCOMPARE(status->text(), before);
  QCOMPARE(plan.findChild<QLabel*>(QStringLiteral("catalogueLabel"))->text(),
           QStringLiteral("主ウィンドウの星表（39 個）"));
}

void PlanPictureTableTest::theExportButtonsArrowHasRoomOfItsOwn() {
  PlanHarness h;
  h.loadSample();
  ui::PlanWindow& plan = h.openPlan();
  auto* button = plan.findChild<QToolButton*>(QStringLiteral("exportButton"));
  QVERIFY(button != nullptr);
  const double text = QFontMetricsF(button->font()).horizontalAdvance(button->text());
  const int arrow = button->style()->pixelMetric(QStyle::PM_MenuButtonIndicator, nullptr, button);
  QVERIFY2(button->width() >= text + arrow + 8,
           qPrintable(QStringLiteral("%1 < %2 + %3").arg(button->width()).arg(text).arg(arrow)));
}

}  // namespace tenmirel::testing

QTEST_MAIN(tenmirel::testing::PlanPictureTableTest)
#include "plan_picture_table_test.moc"
