#pragma once
// How an extremum of the night is named in a calendar, the same from the window
// and from the command line, so a calendar that imports both keeps one entry.
#include <string>

#include "sky/night_plan.h"

namespace tenmirel::sky {

// "RZ Cas 主極小 第1814回帰 高度34°" (without the altitude for a star without a
// place, without the kind for an extremum of an unknown type).
std::string eventSummary(const NightEvent& event);

// Stable for the same star and cycle, wherever and whenever it is planned:
// a hash of the name and the cycle, "0123456789abcdef-1814@tenmirel".
std::string eventUid(const NightEvent& event);

}  // namespace tenmirel::sky
