#pragma once
// How the plan shows an event's values, shared by the table, the exports and the
// picture's labels.
#include <string>

#include "sky/night_plan.h"

namespace tenmirel::ui {

// The eight compass points from north through east: 北 北東 東 南東 南 南西 西 北西.
const char* compassPoint(double azimuthDegrees);

// "34.5°", "-0.8°": one decimal, a degree sign.
std::string degreesText(double degrees);
// "123.4° 南東".
std::string azimuthText(double azimuthDegrees);
// "21:34".
std::string clockText(const LocalMinute& minute);
// Which filters an event fails, for the exports; empty when it passes.
std::string failedFiltersText(const sky::NightEvent& event);
// The tooltip of an event that fails a filter: its local time, then each filter
// it fails and by how much ("前後30分のうち 21:52 に高度 28.3°（最低高度 30°）").
std::string failedFiltersTooltip(const sky::NightEvent& event, const sky::NightPlan& plan);

}  // namespace tenmirel::ui
