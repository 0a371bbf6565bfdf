#pragma once
// The local-minute search exactly as written out by hand: ascending scans over
// years 1600..3000, months, days, hours and minutes, the last candidate not later
// than the instant winning. The fast search must agree with it for every input.
#include "astro/julian_day.h"

namespace tenmirel::testing {

inline LocalMinute literalScanSj(double& juli) {
  juli = juli + kLocalDaysAheadOfUt;
  LocalMinute found;
  for (int y = kSjFirstYear; y <= kSjLastYear; ++y) {
    if (js(y, 1, 1, 0, 0) <= juli) {
      found.year = y;
      found.yearFound = true;
    }
  }
  for (int m = 1; m <= 12; ++m) {
    if (js(found.year, m, 1, 0, 0) <= juli) found.month = m;
  }
  for (int d = 1; d <= 31; ++d) {
    if (js(found.year, found.month, d, 0, 0) <= juli) found.day = d;
  }
  for (int h = 0; h <= 23; ++h) {
    if (js(found.year, found.month, found.day, h, 0) <= juli) found.hour = h;
  }
  for (int n = 0; n <= 59; ++n) {
    if (js(found.year, found.month, found.day, found.hour, n) <= juli) found.minute = n;
  }
  return found;
}

}  // namespace tenmirel::testing
