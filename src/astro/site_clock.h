#pragma once
// The site's clock: at the built-in site local time is Universal Time plus a
// fixed nine hours, whatever time zone the computer is set to.
#include <chrono>

#include "astro/julian_day.h"

namespace tenmirel {

struct SiteClockReading {
  std::chrono::year_month_day date;
  std::chrono::hh_mm_ss<std::chrono::seconds> time;
};

// The clock of a site whose local time is offsetFromUt ahead of Universal Time.
inline SiteClockReading siteLocalTime(std::chrono::system_clock::time_point now, std::chrono::seconds offsetFromUt) {
  using namespace std::chrono;
  const auto local = time_point_cast<seconds>(now) + offsetFromUt;
  const auto day = floor<days>(local);
  return {year_month_day{day}, hh_mm_ss<seconds>{local - day}};
}

inline SiteClockReading siteLocalTime(std::chrono::system_clock::time_point now) {
  return siteLocalTime(now, std::chrono::hours(static_cast<int>(kLocalHoursAheadOfUt)));
}

}  // namespace tenmirel
