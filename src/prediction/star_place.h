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

}  // namespace tenmirel
