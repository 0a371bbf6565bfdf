#include "astro/julian_day.h"

#include <array>
#include <cmath>

namespace tenmirel {
namespace {

constexpr double kJulianDayOfYearZeroBase = 1721425.0;  // base term of year 1
constexpr std::array<double, 12> kDaysBeforeMonth = {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334};

// Divisibility as the calendar rule tests it: the quotient equals its own floor.
bool divisible(double value, double by) {
  double quotient = value / by;
  return quotient == std::floor(quotient);
}

bool isLeapYear(double nen) { return divisible(nen, 4) && (!divisible(nen, 100) || divisible(nen, 400)); }

double monthOffset(double tuki) {
  for (std::size_t m = 1; m <= kDaysBeforeMonth.size(); ++m) {
    if (tuki == static_cast<double>(m)) return kDaysBeforeMonth[m - 1];
  }
  return 0;
}

constexpr double kMeanGregorianYearDays = 365.2425;
constexpr double kHoursPerDay = 24;
constexpr double kMinutesPerDay = 1440;

// The last value v in [first, last] with julianDayOf(v) <= limit, or fallback when
// none passes. The candidates' Julian days never decrease with v, so the values
// that pass form a prefix: walking from a good guess to the edge of that prefix
// gives the same answer as the ascending scan, in two or three evaluations.
template <typename JulianDayOf>
int lastNotLater(int first, int last, double guess, double limit, int fallback, JulianDayOf julianDayOf) {
  int v = first;
  if (guess > first) v = guess < last ? static_cast<int>(guess) : last;
  if (julianDayOf(v) <= limit) {
    while (v < last && julianDayOf(v + 1) <= limit) ++v;
    return v;
  }
  while (v > first) {
    --v;
    if (julianDayOf(v) <= limit) return v;
  }
  return fallback;
}

}  // namespace

double js(double nen, double tuki, double hi, double ji, double hun) {
  double y = nen - 1;
  double base = ((std::floor(365.25 * y) - std::floor(y / 100)) + std::floor(y / 400)) + kJulianDayOfYearZeroBase;
  double offset = monthOffset(tuki);
  if (isLeapYear(nen) && tuki > 2) offset += 1;
  double fraction = (hi + ji / 24) + hun / 1440;
  return ((base + offset) + fraction) - 0.5;
}

LocalMinute sj(double& juli) {
  juli = juli + kLocalDaysAheadOfUt;
  const double instant = juli;
  LocalMinute found;
  // Each guess comes from the instant's distance to the start of the enclosing
  // unit; a NaN guess starts the walk at the first candidate.
  const double yearGuess = kSjFirstYear + (instant - js(kSjFirstYear, 1, 1, 0, 0)) / kMeanGregorianYearDays;
  found.year = lastNotLater(kSjFirstYear, kSjLastYear, yearGuess, instant, 0, [](int y) { return js(y, 1, 1, 0, 0); });
  found.yearFound = found.year != 0;
  const double monthGuess = 1 + (instant - js(found.year, 1, 1, 0, 0)) / 31;
  found.month = lastNotLater(1, 12, monthGuess, instant, 0, [&](int m) { return js(found.year, m, 1, 0, 0); });
  const double dayGuess = 1 + (instant - js(found.year, found.month, 1, 0, 0));
  found.day = lastNotLater(1, 31, dayGuess, instant, 0, [&](int d) { return js(found.year, found.month, d, 0, 0); });
  const double hourGuess = (instant - js(found.year, found.month, found.day, 0, 0)) * kHoursPerDay;
  found.hour =
      lastNotLater(0, 23, hourGuess, instant, 0, [&](int h) { return js(found.year, found.month, found.day, h, 0); });
  const double minuteGuess = (instant - js(found.year, found.month, found.day, found.hour, 0)) * kMinutesPerDay;
  found.minute = lastNotLater(0, 59, minuteGuess, instant, 0,
                              [&](int n) { return js(found.year, found.month, found.day, found.hour, n); });
  return found;
}

}  // namespace tenmirel
