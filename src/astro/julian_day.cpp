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

bool isLeapYear(double nen) {
  return divisible(nen, 4) && (!divisible(nen, 100) || divisible(nen, 400));
}

double monthOffset(double tuki) {
  for (std::size_t m = 1; m <= kDaysBeforeMonth.size(); ++m) {
    if (tuki == static_cast<double>(m)) return kDaysBeforeMonth[m - 1];
  }
  return 0;
}

// The last value v in [first, last] with js(v) <= limit, or fallback when none.
// The candidates' Julian days never decrease with v, so the values that pass form
// a prefix and a binary search finds the same answer as an ascending scan.
template <typename JulianDayOf>
int lastNotLater(int first, int last, double limit, int fallback, JulianDayOf julianDayOf) {
  if (!(julianDayOf(first) <= limit)) return fallback;
  int low = first;  // passes
  int high = last + 1;  // first value known to fail (or past the end)
  while (high - low > 1) {
    int middle = low + (high - low) / 2;
    if (julianDayOf(middle) <= limit) {
      low = middle;
    } else {
      high = middle;
    }
  }
  return low;
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
  int year = lastNotLater(kSjFirstYear, kSjLastYear, instant, 0, [](int y) { return js(y, 1, 1, 0, 0); });
  found.yearFound = year != 0;
  found.year = year;
  found.month = lastNotLater(1, 12, instant, 0, [&](int m) { return js(found.year, m, 1, 0, 0); });
  found.day = lastNotLater(1, 31, instant, 0, [&](int d) { return js(found.year, found.month, d, 0, 0); });
  found.hour = lastNotLater(0, 23, instant, 0, [&](int h) { return js(found.year, found.month, found.day, h, 0); });
  found.minute = lastNotLater(0, 59, instant, 0,
                              [&](int n) { return js(found.year, found.month, found.day, found.hour, n); });
  return found;
}

}  // namespace tenmirel
