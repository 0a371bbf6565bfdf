#pragma once
// The catalogue rows as the night engine takes them: the element texts as they
// are, and the J2000 place read as the main window reads it (right ascension hours
// and minutes × 15, declination degrees and minutes, "False" for south).
#include <vector>

#include "catalogue/star_table.h"
#include "sky/night_plan.h"

namespace tenmirel {

sky::NightStar nightStarOf(const StarRecord& record);

// Rows 0..count-1 of the main window's star table.
std::vector<sky::NightStar> nightStarsOf(const StarTable& table, int count);
std::vector<sky::NightStar> nightStarsOf(const std::vector<StarRecord>& records);

}  // namespace tenmirel
