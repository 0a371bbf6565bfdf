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

// The sample instants across [from, to]: every kSampleDays, the last at to.
std::vector<double> sampleTimes(double from, double to) {
  const auto samples = static_cast<long>(std::ceil((to - from) / kSampleDays));
  std::vector<double> times = {from};
  for (long i = 1; i <= samples; ++i) times.push_back(i == samples ? to : from + static_cast<double>(i) * kSampleDays);
  return times;
}

// The sign changes of f, given its values at the sample instants (values[i] = f(times[i])).
std::vector<Crossing> crossingsOfSamples(const std::function<double(double)>& f, const std::vector<double>& times,
                                         const std::vector<double>& values) {
  std::vector<Crossing> found;
  for (std::size_t i = 1; i < times.size(); ++i) {
    if ((values[i] < 0) != (values[i - 1] < 0)) found.push_back({bisect(f, times[i - 1], times[i]), values[i] < 0});
  }
  return found;
}

std::vector<Crossing> crossings(const std::function<double(double)>& f, double from, double to) {
  const std::vector<double> times = sampleTimes(from, to);
  std::vector<double> values;
  values.reserve(times.size());
  for (double time : times) values.push_back(f(time));
  return crossingsOfSamples(f, times, values);
}

DarkStretch stretchOf(const std::vector<Crossing>& found, bool darkAtStart, double from, double to) {
  DarkStretch best;
  bool dark = darkAtStart;
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

}  // namespace

DarkStretch darkStretch(const NightSky& sky, double sunLimitDegrees) {
  return darkStretches(sky, {sunLimitDegrees}).front();
}

std::vector<DarkStretch> darkStretches(const NightSky& sky, const std::vector<double>& sunLimitsDegrees) {
  const double from = sky.startUt();
  const double to = sky.endUt();
  // The Sun sampled once for every limit: each limit's values are the same numbers
  // a scan of its own would take.
  const std::vector<double> times = sampleTimes(from, to);
  std::vector<double> altitudes;
  altitudes.reserve(times.size());
  for (double time : times) altitudes.push_back(sky.sunAirlessAltitudeDegrees(time));
  std::vector<DarkStretch> stretches;
  std::vector<double> values(times.size());
  for (double limit : sunLimitsDegrees) {
    const auto f = [&](double t) { return sky.sunAirlessAltitudeDegrees(t) - limit; };
    for (std::size_t i = 0; i < times.size(); ++i) values[i] = altitudes[i] - limit;
    stretches.push_back(stretchOf(crossingsOfSamples(f, times, values), values.front() < 0, from, to));
  }
  return stretches;
}

std::vector<MoonCrossing> moonCrossings(const NightSky& sky, double fromUt, double toUt) {
  const auto f = [&](double t) { return sky.moonAboveRisingDegrees(t); };
  std::vector<MoonCrossing> result;
  if (!(toUt > fromUt)) return result;
  for (const Crossing& crossing : crossings(f, fromUt, toUt)) {
    result.push_back({crossing.julianDayUt, !crossing.downward});
  }
  return result;
}

}  // namespace tenmirel::sky
