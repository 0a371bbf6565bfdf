#include "sky/time_system.h"

#include <erfa.h>
#include <erfam.h>

#include <cmath>

#include "sky/time_scales.h"

namespace tenmirel::sky {
namespace {

constexpr double kLightDaysPerAu = ERFA_AULT / ERFA_DAYSEC;
constexpr int kMostIterations = 8;
constexpr double kConvergedDays = 1e-9;  // 86 µs, below the Julian day's own resolution

double dot(const double position[3], const StarDirection& star) {
  return position[0] * star.x + position[1] * star.y + position[2] * star.z;
}

}  // namespace

StarDirection starDirection(double rightAscensionDegrees, double declinationDegrees) {
  double unit[3];
  eraS2c(rightAscensionDegrees * ERFA_DD2R, declinationDegrees * ERFA_DD2R, unit);
  return {unit[0], unit[1], unit[2]};
}

double elementsTimeOf(double julianDayUt, ElementsTime system, const StarDirection& star) {
  if (system == ElementsTime::jd) return julianDayUt;
  const TwoPartDate tdb = barycentricTimeOf(julianDayUt);
  double heliocentric[2][3];
  double barycentric[2][3];
  eraEpv00(tdb.whole, tdb.part, heliocentric, barycentric);
  if (system == ElementsTime::hjd) return julianDayUt + dot(heliocentric[0], star) * kLightDaysPerAu;
  return tdb.whole + (tdb.part + dot(barycentric[0], star) * kLightDaysPerAu);
}

double observedUtOf(double elementsTime, ElementsTime system, const StarDirection& star) {
  if (system == ElementsTime::jd || !std::isfinite(elementsTime)) return elementsTime;
  double observed = elementsTime;
  for (int i = 0; i < kMostIterations; ++i) {
    const double miss = elementsTimeOf(observed, system, star) - elementsTime;
    observed -= miss;
    if (std::fabs(miss) < kConvergedDays) break;
  }
  return observed;
}

}  // namespace tenmirel::sky
