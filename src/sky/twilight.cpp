#include "sky/twilight.h"

#include <cmath>
#include <functional>

namespace tenmirel::sky {
namespace {

constexpr double kSampleDays = 5.0 / 1440;
constexpr double kRootToleranceDays = 1.0 / 86400;

// Bisects a sign change of f between a and b (f(a) and f(b) of opposite signs).
double bisect(const std::function<double(double)>& f, double a, double b) {
  double fa = f(a);
  while (b - a > kRootToleranceDays) {
    const double middle = a + (b - a) / 2;
    const double fm = f(middle);
    if ((fm < 0) == (fa < 0)) {
      a = middle;
      fa = fm;
    } else {
      b = middle;
    }
  }
  return a + (b - a) / 2;
}

struct Crossing {
  double julianDayUt;
  bool downward;  // from >= 0 to < 0
};

std::vector<Crossing> crossings(const std::function<double(double)>& f, double from, double to) {
  std::vector<Crossing> found;
  const auto samples = static_cast<long>(std::ceil((to - from) / kSampleDays));
  double previousTime = from;
  double previous = f(from);
  for (long i = 1; i <= samples; ++i) {
    const double time = i == samples ? to : from + static_cast<double>(i) * kSampleDays;
    const double value = f(time);
    if ((value < 0) != (previous < 0)) found.push_back({bisect(f, previousTime, time), value < 0});
    previousTime = time;
    previous = value;
  }
  return found;
}

}  // namespace

DarkStretch darkStretch(const NightSky& sky, double sunLimitDegrees) {
  const auto f = [&](double t) { return sky.sunAirlessAltitudeDegrees(t) - sunLimitDegrees; };
  const double from = sky.startUt();
  const double to = sky.endUt();
  const std::vector<Crossing> found = crossings(f, from, to);
  DarkStretch best;
  bool dark = f(from) < 0;
  double stretchStart = from;
  std::optional<double> stretchEvening;
  double longest = -1;
  auto consider = [&](double end, std::optional<double> morning) {
    if (end - stretchStart > longest) {
      longest = end - stretchStart;
      best.startUt = stretchStart;
      best.endUt = end;
      best.evening = stretchEvening;
      best.morning = morning;
    }
  };
  for (const Crossing& crossing : found) {
    if (crossing.downward) {
      dark = true;
      stretchStart = crossing.julianDayUt;
      stretchEvening = crossing.julianDayUt;
    } else if (dark) {
      consider(crossing.julianDayUt, crossing.julianDayUt);
      dark = false;
    }
  }
  if (dark) consider(to, std::nullopt);
  if (longest < 0) {
    best = DarkStretch{};
    best.darkness = Darkness::neverDark;
    best.startUt = best.endUt = from;
  } else if (!best.evening && !best.morning) {
    best.darkness = Darkness::alwaysDark;
  }
  return best;
}

std::vector<MoonCrossing> moonCrossings(const NightSky& sky, double fromUt, double toUt) {
  const auto f = [&](double t) { return sky.moonAirlessAltitudeDegrees(t) - sky.moonRiseAltitudeDegrees(t); };
  std::vector<MoonCrossing> result;
  if (!(toUt > fromUt)) return result;
  for (const Crossing& crossing : crossings(f, fromUt, toUt)) {
    result.push_back({crossing.julianDayUt, !crossing.downward});
  }
  return result;
}

}  // namespace tenmirel::sky
