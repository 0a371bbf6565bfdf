#include "ui/plan/night_picture_builder.h"

#include <QString>
#include <algorithm>
#include <cmath>
#include <map>

#include "ui/plan/plan_texts.h"

namespace tenmirel::ui {
namespace {

constexpr double kHourDays = 1.0 / 24;
constexpr double kSampleDays = 5.0 / 1440;
constexpr double kMidnightFraction = 0.5;  // Julian days begin at noon
constexpr int kMostCurves = 12;

// Paul Tol's "light" scheme: told apart by colour-blind eyes too, and light
// enough for the night's dark blue. Beyond it the colours come again dashed.
const QColor kCurveColours[] = {QColor(0x77, 0xaa, 0xdd), QColor(0xee, 0x88, 0x66), QColor(0xee, 0xdd, 0x88),
                                QColor(0xff, 0xaa, 0xbb), QColor(0x99, 0xdd, 0xff), QColor(0x44, 0xbb, 0x99),
                                QColor(0xbb, 0xcc, 0x33), QColor(0xaa, 0xaa, 0x00), QColor(0xdd, 0xdd, 0xdd)};

QString text(const std::string& utf8) { return QString::fromStdString(utf8); }

std::pair<double, double> timeAxis(const sky::NightPlan& plan) {
  const sky::NightSummary& night = plan.night;
  const double spanStart = plan.sky->startUt();
  const double spanEnd = plan.sky->endUt();
  double start = night.windowStartUt;
  double end = night.windowEndUt;
  if (night.options.window == sky::NightWindow::sunBelow) {
    for (const sky::TwilightLevel& level : night.twilights) {
      if (level.limitDegrees != sky::kSunsetAltitudeDegrees) continue;
      if (level.stretch.evening) start = std::min(start, *level.stretch.evening - kHourDays);
      if (level.stretch.morning) end = std::max(end, *level.stretch.morning + kHourDays);
    }
    if (night.darkness != sky::Darkness::normal) {
      start = spanStart;
      end = spanEnd;
    }
  }
  start = std::max(start, spanStart);
  end = std::min(end, spanEnd);
  if (!(end > start)) end = start + kHourDays;
  return {start, end};
}

std::vector<PictureTick> hourTicks(const sky::SiteZone& zone, double start, double end) {
  std::vector<PictureTick> ticks;
  sky::UtOffset offset = zone.offsetAtUt(start);
  const double firstHour = std::ceil((start + offset.days() - kMidnightFraction) * 24);
  for (double hour = firstHour;; hour += 1) {
    const double local = hour * kHourDays + kMidnightFraction;
    offset = zone.offsetAtUt(local - offset.days());
    const double ut = local - offset.days();
    if (ut > end) break;
    if (ut < start) continue;
    ticks.push_back({ut, static_cast<int>(std::fmod(std::fmod(hour, 24) + 24, 24))});
  }
  return ticks;
}

}  // namespace

NightPictureData buildNightPicture(const sky::NightPlan& plan, const PictureChoice& choice) {
  NightPictureData data;
  if (!plan.sky) return data;
  const sky::NightSky& sky = *plan.sky;
  const auto [start, end] = timeAxis(plan);
  data.startUt = start;
  data.endUt = end;
  data.minimumAltitudeDegrees = plan.night.options.minimumAltitudeDegrees;
  const sky::NightDate& date = plan.night.date;
  data.caption =
      QStringLiteral("%1年%2月%3日の夜　").arg(date.year).arg(date.month).arg(date.day) + text(plan.night.site.name);
  if (const auto zone = sky::SiteZone::fromText(plan.night.site.zone)) data.hourTicks = hourTicks(*zone, start, end);
  if (choice.nowUt && *choice.nowUt >= start && *choice.nowUt <= end) data.nowUt = choice.nowUt;

  const auto samples = static_cast<int>(std::ceil((end - start) / kSampleDays));
  auto sampleTimes = [&](auto&& visit) {
    for (int i = 0; i <= samples; ++i) visit(start + (end - start) * i / samples);
  };
  sampleTimes([&](double t) {
    data.sun.push_back({t, sky.sunAirlessAltitudeDegrees(t)});
    data.moon.push_back({t, sky.moon(t).altitudeDegrees});
  });

  // One curve a star, in the order the stars were chosen.
  std::map<std::size_t, std::size_t> curveOfStar;
  for (const sky::NightEvent* event : choice.selected) {
    if (event == nullptr || !event->hasPlace || curveOfStar.count(event->starIndex) != 0) continue;
    if (static_cast<int>(data.curves.size()) >= kMostCurves) break;
    PictureCurve curve;
    curve.starName = text(event->name);
    curve.colour = kCurveColours[data.curves.size() % std::size(kCurveColours)];
    curve.dashed = data.curves.size() >= std::size(kCurveColours);
    sampleTimes([&](double t) {
      curve.samples.push_back(
          {t, sky.star(t, event->rightAscensionDegrees, event->declinationDegrees).altitudeDegrees});
    });
    curveOfStar[event->starIndex] = data.curves.size();
    data.curves.push_back(std::move(curve));
  }
  for (const sky::NightEvent& event : plan.events) {
    const auto found = curveOfStar.find(event.starIndex);
    if (found == curveOfStar.end() || event.julianDayUt < start || event.julianDayUt > end) continue;
    if (event.durationMinutes) {
      constexpr double kMinuteDays = 1.0 / 1440;
      const double half = *event.durationMinutes / 2 * kMinuteDays;
      data.curves[found->second].eclipses.push_back({event.julianDayUt - half, event.julianDayUt + half});
    }
    if (event.altitudeDegrees < 0) continue;  // below the horizon: nothing to mark
    data.curves[found->second].markers.push_back(
        {event.julianDayUt, event.altitudeDegrees, text(event.name + " " + clockText(event.local.minute))});
  }
  for (const sky::NightEvent* event : choice.shown) {
    if (event == nullptr || !event->hasPlace || curveOfStar.count(event->starIndex) != 0) continue;
    data.otherEvents.push_back({event->julianDayUt, event->altitudeDegrees});
  }
  return data;
}

}  // namespace tenmirel::ui
