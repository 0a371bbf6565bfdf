#include "sky/local_minute.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace tenmirel::sky {
namespace {

constexpr double kJulianDayOfUnixEpoch = 2440587.5;
constexpr int kHoursPerDay = 24;
constexpr int kMinutesPerHour = 60;

// The latest value v in [first, last] with julianDayOf(v) <= limit, starting the
// walk from guess; first when none passes.
template <typename JulianDayOf>
int lastNotLater(int first, int last, int guess, double limit, JulianDayOf julianDayOf) {
  int v = guess < first ? first : (guess > last ? last : guess);
  while (v > first && julianDayOf(v) > limit) --v;
  while (v < last && julianDayOf(v + 1) <= limit) ++v;
  return v;
}

}  // namespace

std::string UtOffset::text() const {
  const int magnitude = std::abs(seconds);
  char buffer[16];
  if (magnitude % 60 == 0) {
    std::snprintf(buffer, sizeof buffer, "%c%02d:%02d", seconds < 0 ? '-' : '+', magnitude / 3600, magnitude / 60 % 60);
  } else {
    std::snprintf(buffer, sizeof buffer, "%c%02d:%02d:%02d", seconds < 0 ? '-' : '+', magnitude / 3600,
                  magnitude / 60 % 60, magnitude % 60);
  }
  return buffer;
}

double utJulianDayOf(double nen, double tuki, double hi, double ji, double hun, UtOffset offset) {
  const double minutes = offset.remainingMinutes();
  return js(nen, tuki, hi, ji - offset.wholeHours(), minutes == 0 ? hun : hun - minutes);
}

LocalMinute localMinuteAt(double julianDayUt, UtOffset offset) {
  if (offset == kBuiltInOffset) {
    double copy = julianDayUt;
    return sj(copy);
  }
  return splitLocalJulianDay(julianDayUt + offset.days());
}

LocalMinute splitLocalJulianDay(double localJulianDay) {
  LocalMinute found;
  if (!std::isfinite(localJulianDay) || std::fabs(localJulianDay) > 1e9) return found;
  using namespace std::chrono;
  const auto dayNumber = static_cast<long>(std::floor(localJulianDay - kJulianDayOfUnixEpoch));
  year_month_day date{sys_days{days{dayNumber}}};
  auto dayStart = [&](const year_month_day& d) {
    return js(static_cast<int>(d.year()), static_cast<unsigned>(d.month()), static_cast<unsigned>(d.day()), 0, 0);
  };
  // The calendar guess may sit one day off where js rounds; js decides.
  while (dayStart(date) > localJulianDay) date = year_month_day{sys_days{date} - days{1}};
  while (dayStart(year_month_day{sys_days{date} + days{1}}) <= localJulianDay) {
    date = year_month_day{sys_days{date} + days{1}};
  }
  found.year = static_cast<int>(date.year());
  found.month = static_cast<int>(static_cast<unsigned>(date.month()));
  found.day = static_cast<int>(static_cast<unsigned>(date.day()));
  found.yearFound = true;
  const double start = js(found.year, found.month, found.day, 0, 0);
  found.hour = lastNotLater(0, kHoursPerDay - 1, static_cast<int>((localJulianDay - start) * kHoursPerDay),
                            localJulianDay, [&](int h) { return js(found.year, found.month, found.day, h, 0); });
  const double hourStart = js(found.year, found.month, found.day, found.hour, 0);
  found.minute = lastNotLater(
      0, kMinutesPerHour - 1, static_cast<int>((localJulianDay - hourStart) * kHoursPerDay * kMinutesPerHour),
      localJulianDay, [&](int n) { return js(found.year, found.month, found.day, found.hour, n); });
  return found;
}

std::string localMinuteText(const LocalMinute& minute) {
  char buffer[48];
  std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d %02d:%02d", minute.year, minute.month, minute.day, minute.hour,
                minute.minute);
  return buffer;
}

std::string isoMinuteText(const LocalMinute& minute, UtOffset offset) {
  char buffer[48];
  std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02dT%02d:%02d", minute.year, minute.month, minute.day, minute.hour,
                minute.minute);
  return buffer + offset.text();
}

}  // namespace tenmirel::sky
