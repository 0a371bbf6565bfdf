#include "sky/time_scales.h"

#include <erfa.h>
#include <erfam.h>

#include <cmath>

namespace tenmirel::sky {

TwoPartDate twoPart(double julianDay) { return {ERFA_DJM0, julianDay - ERFA_DJM0}; }

TwoPartDate terrestrialTimeOf(double julianDayUt) {
  const TwoPartDate utc = twoPart(julianDayUt);
  TwoPartDate tai;
  TwoPartDate tt;
  // Before 1960 the table has no entry: TAI is then taken equal to UTC.
  if (eraUtctai(utc.whole, utc.part, &tai.whole, &tai.part) < 0) tai = utc;
  eraTaitt(tai.whole, tai.part, &tt.whole, &tt.part);
  return tt;
}

TwoPartDate barycentricTimeOf(double julianDayUt) {
  const TwoPartDate tt = terrestrialTimeOf(julianDayUt);
  const double dayFraction = julianDayUt + 0.5 - std::floor(julianDayUt + 0.5);
  const double tdbMinusTtSeconds = eraDtdb(tt.whole, tt.part, dayFraction, 0, 0, 0);
  return {tt.whole, tt.part + tdbMinusTtSeconds / ERFA_DAYSEC};
}

}  // namespace tenmirel::sky
