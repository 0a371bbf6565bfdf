// The parts of the plan window: the picture of the night at pixel level, the
// computation off the window thread, the sites dialog, and the event texts.
#include <QComboBox>
#include <QCompleter>
#include <QImage>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QTest>
#include <atomic>

#include "plan_harness.h"
#include "sky/site_store.h"
#include "ui/plan/night_picture_builder.h"
#include "ui/plan/night_picture_painter.h"
#include "ui/plan/night_picture_widget.h"
#include "ui/plan/plan_computation.h"
#include "ui/plan/plan_texts.h"
#include "ui/plan/sites_dialog.h"

namespace tenmirel::testing {
namespace {

QString qs(const char* utf8) { return QString::fromUtf8(utf8); }

constexpr QSize kPictureSize(1000, 400);

sky::NightPlan samplePlan(sky::NightDate date = {2024, 11, 20}) {
  return *sky::planNight(sampleStars(), sky::builtInSite(), date, {});
}

QImage render(const ui::NightPictureData& data) {
  QImage image(kPictureSize, QImage::Format_ARGB32);
  image.fill(Qt::magenta);
  QPainter painter(&image);
  ui::paintNightPicture(painter, QRectF(QPointF(0, 0), QSizeF(kPictureSize)), data);
  return image;
}

bool near(QColor a, QColor b, int tolerance = 24) {
  return std::abs(a.red() - b.red()) <= tolerance && std::abs(a.green() - b.green()) <= tolerance &&
         std::abs(a.blue() - b.blue()) <= tolerance;
}

}  // namespace

class PlanPartsTest : public QObject {
  Q_OBJECT

 private slots:
  void compassPointsAndDegrees();
  void bandsLieWhereTheSunPutsThem();
  void markedExtremumStandsAtItsTime();
  void nowLineOnlyTonightAndTooltipReadsThePointer();
  void partsMergeIntoTheEnginesPlan();
  void newRequestCancelsTheRunningOne();
  void sitesDialogAddsEditsAndRemoves();
  void builtInSiteStaysAndBadInputIsRefused();
  void zonesAreFoundByAnyPartOfTheirName();
};

void PlanPartsTest::compassPointsAndDegrees() {
  const std::pair<double, const char*> points[] = {
      {0, "北"},   {22.4, "北"},  {22.5, "北東"}, {90, "東"},    {135, "南東"}, {180, "南"},     {225, "南西"},
      {270, "西"}, {315, "北西"}, {337.6, "北"},  {359.9, "北"}, {-45, "北西"}, {720 + 90, "東"}};
  for (const auto& [azimuth, name] : points) QCOMPARE(QString::fromUtf8(ui::compassPoint(azimuth)), qs(name));
  QCOMPARE(ui::degreesText(-0.04), std::string("0.0°"));
  QCOMPARE(ui::degreesText(34.56), std::string("34.6°"));
  QCOMPARE(ui::degreesText(std::nan("")), std::string("—"));
  QCOMPARE(ui::azimuthText(182.1), std::string("182.1° 南"));
}

void PlanPartsTest::bandsLieWhereTheSunPutsThem() {
  const sky::NightPlan plan = samplePlan();
  const ui::NightPictureData data = ui::buildNightPicture(plan, {});
  const QImage image = render(data);
  const ui::PictureFrame frame(QRectF(QPointF(0, 0), QSizeF(kPictureSize)), data);
  // The engine's crossings of -0.833°, -6°, -12°, -18° in the evening and the morning.
  std::vector<double> evening, morning;
  for (const sky::TwilightLevel& level : plan.night.twilights) {
    QVERIFY(level.stretch.evening && level.stretch.morning);
    evening.push_back(*level.stretch.evening);
    morning.push_back(*level.stretch.morning);
  }
  const ui::SkyBand bands[] = {ui::SkyBand::civil, ui::SkyBand::nautical, ui::SkyBand::astronomical};
  const double y = frame.yOf(86);  // above every curve and label of this night
  auto colourAt = [&](double ut) { return image.pixelColor(qRound(frame.xOf(ut)), qRound(y)); };
  for (std::size_t i = 0; i + 1 < evening.size(); ++i) {
    const QColor want = ui::skyBandColour(bands[i]);
    QVERIFY2(near(colourAt((evening[i] + evening[i + 1]) / 2), want), qPrintable(QString::number(i)));
    QVERIFY2(near(colourAt((morning[i] + morning[i + 1]) / 2), want), qPrintable(QString::number(i)));
  }
  QVERIFY(near(colourAt(evening.front() - 0.02), ui::skyBandColour(ui::SkyBand::daylight)));
  QVERIFY(near(colourAt(morning.front() + 0.02), ui::skyBandColour(ui::SkyBand::daylight)));
  QVERIFY(near(colourAt((evening.back() + morning.back()) / 2 - 0.1), ui::skyBandColour(ui::SkyBand::night)));
  // A band edge lies within two pixels of the engine's crossing.
  const double edge = frame.xOf(evening[2]);  // -12°
  QVERIFY(near(image.pixelColor(qRound(edge) - 2, qRound(y)), ui::skyBandColour(ui::SkyBand::nautical)));
  QVERIFY(near(image.pixelColor(qRound(edge) + 2, qRound(y)), ui::skyBandColour(ui::SkyBand::astronomical)));
  // The axis runs from an hour before sunset to an hour after sunrise.
  QVERIFY(std::abs(data.startUt - (evening.front() - 1.0 / 24)) < 1e-9);
  QVERIFY(std::abs(data.endUt - (morning.front() + 1.0 / 24)) < 1e-9);
}

void PlanPartsTest::markedExtremumStandsAtItsTime() {
  const sky::NightPlan plan = samplePlan();
  const sky::NightEvent* chosen = nullptr;
  for (const sky::NightEvent& event : plan.events) {
    if (event.altitudeDegrees > 40 && event.altitudeDegrees < 80 && event.sunAltitudeDegrees < -20) chosen = &event;
  }
  QVERIFY(chosen != nullptr);
  ui::PictureChoice choice;
  choice.selected = {chosen};
  const ui::NightPictureData data = ui::buildNightPicture(plan, choice);
  QCOMPARE(data.curves.size(), std::size_t{1});
  const ui::PictureCurve& curve = data.curves.front();
  QVERIFY(!curve.markers.empty());
  const QImage image = render(data);
  const ui::PictureFrame frame(QRectF(QPointF(0, 0), QSizeF(kPictureSize)), data);
  const int x = qRound(frame.xOf(chosen->julianDayUt));
  const int y = qRound(frame.yOf(chosen->altitudeDegrees));
  QVERIFY(near(image.pixelColor(x, y), curve.colour, 8));
  // The marker is at the extremum's time, not at a neighbouring one: 8 px to the
  // side the sky shows again.
  QVERIFY(!near(image.pixelColor(x - 8, y + 8), curve.colour, 8));
  // Every extremum of the star in the night above the horizon is marked and labelled
  // with its local time.
  int marked = 0;
  for (const sky::NightEvent& event : plan.events) {
    if (event.starIndex != chosen->starIndex || event.altitudeDegrees < 0) continue;
    if (event.julianDayUt < data.startUt || event.julianDayUt > data.endUt) continue;
    ++marked;
  }
  QCOMPARE(static_cast<int>(curve.markers.size()), marked);
  bool labelled = false;
  for (const ui::PictureMarker& marker : curve.markers) {
    labelled =
        labelled || marker.label == QString::fromStdString(chosen->name + " " + ui::clockText(chosen->local.minute));
  }
  QVERIFY(labelled);
}

void PlanPartsTest::nowLineOnlyTonightAndTooltipReadsThePointer() {
  const sky::NightPlan plan = samplePlan();
  ui::PictureChoice choice;
  const double nine = plan.night.windowStartUt + 0.1;
  choice.nowUt = nine;
  ui::NightPictureWidget widget;
  widget.resize(kPictureSize);
  widget.setData(ui::buildNightPicture(plan, choice));
  QVERIFY(widget.data().nowUt.has_value());
  const ui::PictureFrame frame(QRectF(widget.rect()), widget.data());
  const QImage image = render(widget.data());
  auto redNear = [&](double x) {
    for (int dx = -1; dx <= 1; ++dx) {
      if (near(image.pixelColor(qRound(x) + dx, qRound(frame.yOf(10))), QColor(0xff, 0x3b, 0x3b), 40)) return true;
    }
    return false;
  };
  QVERIFY(redNear(frame.xOf(nine)));
  QVERIFY(!redNear(frame.xOf(nine) + 10));
  choice.nowUt = plan.night.windowStartUt - 2;  // another night
  QVERIFY(!ui::buildNightPicture(plan, choice).nowUt.has_value());
  // The tooltip: the local time and altitude under the pointer (UT + 9 h here).
  const auto local = sky::SiteZone::fromText("UTC+09:00")->utToLocal(nine).minute;
  const QString tip = widget.toolTipAt(QPointF(frame.xOf(nine) + 0.3, frame.yOf(45)));
  QCOMPARE(tip, QString::fromStdString(ui::clockText(local)) + qs("　高度 45°"));
  QVERIFY(widget.toolTipAt(QPointF(1, 1)).isEmpty());
  // Hours on the axis are whole local hours.
  for (const ui::PictureTick& tick : widget.data().hourTicks) {
    const auto at = sky::SiteZone::fromText("UTC+09:00")->utToLocal(tick.julianDayUt + 1e-7).minute;
    QCOMPARE(at.minute, 0);
    QCOMPARE(at.hour, tick.localHour);
  }
}

void PlanPartsTest::partsMergeIntoTheEnginesPlan() {
  std::vector<sky::NightStar> stars = sampleStars();
  stars.push_back(sky::NightStar{"bad", "", "1", true, 0, 0});
  const std::vector<sky::NightStar> copy = stars;
  stars.insert(stars.end(), copy.begin(), copy.end());
  ui::PlanRequest request{
      std::make_shared<const std::vector<sky::NightStar>>(stars), sky::builtInSite(), {2024, 11, 20}, {}};
  const auto whole = sky::planNight(stars, request.site, request.date, request.options);
  std::atomic<bool> cancelled{false};
  std::vector<std::size_t> progress;
  const auto parts = ui::planNightInParts(request, 7, cancelled, [&](std::size_t done, std::size_t total) {
    QCOMPARE(total, stars.size());
    progress.push_back(done);
  });
  QVERIFY(parts && parts->ok());
  QCOMPARE(progress.back(), stars.size());
  QCOMPARE(progress.size(), (stars.size() + 6) / 7);
  QCOMPARE((*parts)->skippedIndices, whole->skippedIndices);
  QCOMPARE((*parts)->events.size(), whole->events.size());
  for (std::size_t i = 0; i < whole->events.size(); ++i) {
    QCOMPARE((*parts)->events[i].starIndex, whole->events[i].starIndex);
    QCOMPARE((*parts)->events[i].cycle, whole->events[i].cycle);
    QCOMPARE((*parts)->events[i].julianDayUt, whole->events[i].julianDayUt);
    QCOMPARE((*parts)->events[i].altitudeDegrees, whole->events[i].altitudeDegrees);
  }
  cancelled = true;
  QVERIFY(!ui::planNightInParts(request, 7, cancelled, {}));
}

void PlanPartsTest::newRequestCancelsTheRunningOne() {
  ui::PlanComputation computation;
  computation.synchronousLimit = 10;
  computation.partSize = 5;
  std::vector<int> finishedDays;
  std::size_t lastProgress = 0;
  computation.finished = [&](sky::Checked<sky::NightPlan> plan) { finishedDays.push_back(plan->night.date.day); };
  computation.progress = [&](std::size_t done, std::size_t) { lastProgress = done; };
  auto stars = std::make_shared<const std::vector<sky::NightStar>>(sampleStars());
  computation.start({stars, sky::builtInSite(), {2024, 11, 20}, {}});
  QVERIFY(finishedDays.empty());  // not on the window thread
  computation.start({stars, sky::builtInSite(), {2024, 11, 23}, {}});
  QTRY_VERIFY(!computation.running());
  computation.waitForWorker();
  QCoreApplication::processEvents();
  QCOMPARE(finishedDays, std::vector<int>{23});
  QCOMPARE(lastProgress, stars->size());
  // A small catalogue is planned at once.
  computation.synchronousLimit = 1000;
  computation.start({stars, sky::builtInSite(), {2024, 11, 24}, {}});
  QCOMPARE(finishedDays.back(), 24);
  // A refused request reports the engine's message.
  std::string refusal;
  computation.finished = [&](sky::Checked<sky::NightPlan> plan) { refusal = plan.message(); };
  computation.start({stars, sky::builtInSite(), {1500, 1, 1}, {}});
  QVERIFY(refusal.find("1600") != std::string::npos);
}

void PlanPartsTest::sitesDialogAddsEditsAndRemoves() {
  TempDir dir;
  sky::SiteStore store(dir.path() / "sites.toml");
  ui::SitesDialog dialog(store);
  auto edit = [&](const char* name) { return dialog.findChild<QLineEdit*>(qs(name)); };
  auto zone = dialog.findChild<QComboBox*>(QStringLiteral("siteZone"));
  QCOMPARE(dialog.selectedName(), qs(sky::kBuiltInSiteName));
  QCOMPARE(edit("siteLongitude")->text(), QStringLiteral("139"));
  QCOMPARE(zone->currentText(), QStringLiteral("UTC+09:00"));

  edit("siteName")->setText(qs("プラハ"));
  edit("siteLongitude")->setText(QStringLiteral("14 25"));
  edit("siteLatitude")->setText(QStringLiteral("50°05′"));
  edit("siteHeight")->setText(QStringLiteral("250"));
  zone->setCurrentText(QStringLiteral("Europe/Prague"));
  QVERIFY(dialog.addSite());
  const sky::Site* added = store.find("プラハ");
  QVERIFY(added != nullptr);
  QCOMPARE(added->longitudeDegrees, 14 + 25.0 / 60);
  QCOMPARE(added->latitudeDegrees, 50 + 5.0 / 60);
  QCOMPARE(added->zone, std::string("Europe/Prague"));
  QCOMPARE(dialog.selectedName(), qs("プラハ"));
  QVERIFY(dialog.findChild<QPushButton*>(QStringLiteral("removeSite"))->isEnabled());

  // Edit, then choose it; the file holds what the dialog shows.
  edit("siteHeight")->setText(QStringLiteral("300"));
  QVERIFY(dialog.replaceSite());
  QVERIFY(dialog.useSite());
  sky::SiteStore reread(dir.path() / "sites.toml");
  QCOMPARE(reread.defaultSite().name, std::string("プラハ"));
  QCOMPARE(reread.defaultSite().heightMetres, 300.0);

  QVERIFY(dialog.removeSite());
  QVERIFY(store.find("プラハ") == nullptr);
  QCOMPARE(store.defaultSite().name, std::string(sky::kBuiltInSiteName));
}

void PlanPartsTest::builtInSiteStaysAndBadInputIsRefused() {
  TempDir dir;
  sky::SiteStore store(dir.path() / "sites.toml");
  ui::SitesDialog dialog(store);
  dialog.selectSite(qs(sky::kBuiltInSiteName));
  QVERIFY(!dialog.findChild<QPushButton*>(QStringLiteral("removeSite"))->isEnabled());
  QVERIFY(!dialog.findChild<QPushButton*>(QStringLiteral("replaceSite"))->isEnabled());
  QVERIFY(!dialog.removeSite());
  QVERIFY(!dialog.messageText().isEmpty());
  QCOMPARE(store.sites().size(), std::size_t{1});

  auto edit = [&](const char* name) { return dialog.findChild<QLineEdit*>(qs(name)); };
  auto zone = dialog.findChild<QComboBox*>(QStringLiteral("siteZone"));
  struct Bad {
    const char* name;
    const char* longitude;
    const char* latitude;
    const char* height;
    const char* zone;
    const char* says;
  };
  const Bad cases[] = {{"", "10", "10", "0", "UTC", "名前"},       {"a", "10", "95", "0", "UTC", "緯度"},
                       {"b", "181", "10", "0", "UTC", "経度"},     {"c", "10", "10", "abc", "UTC", "標高"},
                       {"d", "10", "10", "0", "Mars/Olympus", ""}, {sky::kBuiltInSiteName, "10", "10", "0", "UTC", ""}};
  for (const Bad& bad : cases) {
    edit("siteName")->setText(qs(bad.name));
    edit("siteLongitude")->setText(qs(bad.longitude));
    edit("siteLatitude")->setText(qs(bad.latitude));
    edit("siteHeight")->setText(qs(bad.height));
    zone->setCurrentText(qs(bad.zone));
    QVERIFY2(!dialog.addSite(), bad.name);
    QVERIFY(dialog.messageText().contains(qs(bad.says)));
    QVERIFY(!dialog.messageText().isEmpty());
    QCOMPARE(store.sites().size(), std::size_t{1});
  }
}

void PlanPartsTest::zonesAreFoundByAnyPartOfTheirName() {
  TempDir dir;
  sky::SiteStore store(dir.path() / "sites.toml");
  ui::SitesDialog dialog(store);
  auto* zone = dialog.findChild<QComboBox*>(QStringLiteral("siteZone"));
  QCOMPARE(zone->count(), static_cast<int>(sky::knownZoneNames().size()));
  QCompleter* completer = zone->completer();
  completer->setCompletionPrefix(QStringLiteral("prag"));
  QCOMPARE(completer->completionCount(), 1);
  QCOMPARE(completer->currentCompletion(), QStringLiteral("Europe/Prague"));
  completer->setCompletionPrefix(QStringLiteral("york"));
  QStringList found;
  for (int i = 0; completer->setCurrentRow(i); ++i) found << completer->currentCompletion();
  QVERIFY(found.contains(QStringLiteral("America/New_York")));
}

}  // namespace tenmirel::testing

QTEST_MAIN(tenmirel::testing::PlanPartsTest)
#include "plan_parts_test.moc"
