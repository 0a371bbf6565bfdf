#pragma once
// The site's clock: local time is Universal Time plus a fixed nine hours,
// whatever time zone the computer is set to.
#include <chrono>

#include "astro/julian_day.h"

namespace tenmirel {

struct SiteClockReading {
  std::chrono::year_month_day date;
  std::chrono::hh_mm_ss<std::chrono::seconds> time;
};

inline SiteClockReading siteLocalTime(std::chrono::system_clock::time_point now) {
  using namespace std::chrono;
  const auto local = time_point_cast<seconds>(now) + hours(static_cast<int>(kLocalHoursAheadOfUt));
  const auto day = floor<days>(local);
  return {year_month_day{day}, hh_mm_ss<seconds>{local - day}};
}

}  // namespace tenmirel
