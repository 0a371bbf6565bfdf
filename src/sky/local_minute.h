#pragma once
// Universal Time Julian days to the observer's local minute and back, for a given
// offset from UT. With the built-in offset of +9 h these are exactly the designed
// conversions: js with the hour less 9, and sj.
#include <string>

#include "astro/julian_day.h"

namespace tenmirel::sky {

// An offset of local time from Universal Time, east positive.
struct UtOffset {
  int seconds = 0;

  // The offset split as the designed reference conversion uses it: js(..., hour -
  // wholeHours(), minute - remainingMinutes()). For -03:30 these are -3 and -30.
  double wholeHours() const { return static_cast<double>(seconds / 3600); }
  double remainingMinutes() const { return static_cast<double>(seconds % 3600) / 60; }
  double days() const { return static_cast<double>(seconds) / 86400; }
  // "+09:00", "-03:30"; seconds only when there are any ("+09:18:59").
  std::string text() const;

  friend bool operator==(const UtOffset&, const UtOffset&) = default;
};

inline constexpr UtOffset kBuiltInOffset{9 * 3600};

// The UT Julian day of a local calendar time: js(nen, tuki, hi, ji - hours, hun -
// minutes). The parts are counted arithmetically as js counts them.
double utJulianDayOf(double nen, double tuki, double hi, double ji, double hun, UtOffset offset);

// The latest whole local minute not after the instant. For +9 h this is sj itself;
// for any other offset the same search on the local Julian day, unlimited in year.
LocalMinute localMinuteAt(double julianDayUt, UtOffset offset);

// The same search on a Julian day already in local time.
LocalMinute splitLocalJulianDay(double localJulianDay);

// "2024-01-15 21:34".
std::string localMinuteText(const LocalMinute& minute);
// "2024-01-15T21:34+09:00".
std::string isoMinuteText(const LocalMinute& minute, UtOffset offset);

}  // namespace tenmirel::sky
