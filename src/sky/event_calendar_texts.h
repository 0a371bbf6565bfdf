#pragma once
// How an extremum of the night is named in a calendar, the same from the window
// and from the command line, so a calendar that imports both keeps one entry.
#include <string>
#include <string_view>

#include "sky/night_plan.h"

namespace tenmirel::sky {

// "RZ Cas 主極小 第1814回帰 高度34°" (without the altitude for a star without a
// place, without the kind for an extremum of an unknown type); control
// characters of the name as U+FFFD, as in every text of a calendar.
std::string eventSummary(const NightEvent& event);

// Stable for the same event wherever and whenever it is planned, and different
// for two catalogue rows of one name: a hash of the row's name, epoch and period
// texts, the cycle and the kind of extremum (none for an extremum of an unknown
// type), "0123456789abcdef-1814@tenmirel": a primary and a secondary minimum of
// one cycle never share one.
std::string eventUid(const NightEvent& event);

// A text for a calendar: control characters (which RFC 5545 forbids, and which a
// NUL would cut short) and bytes that are not UTF-8 as U+FFFD.
std::string calendarText(std::string_view text);

}  // namespace tenmirel::sky
