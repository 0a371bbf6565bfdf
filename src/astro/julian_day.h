#pragma once
// Calendar date and time <-> Julian day, proleptic Gregorian calendar.

namespace tenmirel {

// Local time of the observer's site is Universal Time plus this many hours.
inline constexpr double kLocalHoursAheadOfUt = 9.0;
// The same offset in days, added by sj before it splits a Julian day.
inline constexpr double kLocalDaysAheadOfUt = 0.375;
// The year range searched by sj.
inline constexpr int kSjFirstYear = 1600;
inline constexpr int kSjLastYear = 3000;

// Julian day of the calendar instant as given, without any zone shift. The parts
// need not be whole nor within their usual ranges; each is counted into the total.
double js(double nen, double tuki, double hi, double ji, double hun);

// The five whole numbers found by sj: the latest whole local minute not after the
// instant. yearFound is false before local 1600-01-01 00:00: the year text is then
// empty and the other searches ran with year 0.
struct LocalMinute {
  int year = 0;
  int month = 0;
  int day = 0;
  int hour = 0;
  int minute = 0;
  bool yearFound = false;
};

// Adds 0.375 day to juli in place (it then holds the local-time Julian day) and
// searches the local date and time. Gives exactly the result of the literal
// ascending scans over years 1600..3000, months, days, hours and minutes.
LocalMinute sj(double& juli);

}  // namespace tenmirel
