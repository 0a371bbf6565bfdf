#pragma once
// Which night "tonight" is at a site: the evening's date. Before local noon the
// night still running (or just ended) is the previous evening's.
#include <chrono>

#include "sky/night_plan.h"
#include "sky/site_zone.h"

namespace tenmirel::cli {

// The UT Julian day of a clock reading.
double julianDayOf(std::chrono::system_clock::time_point now);

// The evening date of the night at the instant, in the zone's local time.
sky::NightDate eveningDateAt(const sky::SiteZone& zone, double julianDayUt);

}  // namespace tenmirel::cli
