#pragma once
// Where a catalogued star stands, read from its table row as every prediction
// reads it: right ascension (hours + minutes / 60) × 15 and declination degrees +
// minutes / 60, south when the sign text is exactly "False".
#include "catalogue/star_table.h"

namespace tenmirel {

struct StarPlace {
  double alphaDegrees = 0;
  double deltaDegrees = 0;  // south negative
};

StarPlace starPlaceOf(const StarRecord& row);

// Whether the row gives a place at all: some coordinate text, and a place that is
// a number. A row without one is read as 0h, 0° by the designed JD prediction;
// heliocentric and barycentric elements cannot be used without a place.
bool rowHasPlace(const StarRecord& row);

}  // namespace tenmirel
