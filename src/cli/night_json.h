#pragma once
// The night plan's JSON pieces, shared by night and season.
#include <nlohmann/json.hpp>

#include "cli/night_report.h"

namespace tenmirel::cli {

using Json = nlohmann::ordered_json;

// The night: date, site, window, twilights and the Moon.
Json nightSummaryJson(const NightReport& report);
// The filters the events passed.
Json nightFiltersJson(const sky::NightOptions& options);
// One event: star, cycle, kind, phase, times, places, duration and uncertainty.
Json nightEventJson(const sky::NightEvent& event);

}  // namespace tenmirel::cli
