#include "prediction/night_stars.h"

#include <algorithm>
#include <cmath>

#include "prediction/star_place.h"

namespace tenmirel {

sky::NightStar nightStarOf(const StarRecord& record) {
  sky::NightStar star;
  star.name = record.starName;
  star.epoch = record.ganki;
  star.period = record.syuki;
  // A row without any coordinate text has no place; the altitude is then unknown.
  star.hasPlace = rowHasPlace(record);
  // The place exactly as the main window reads it, so both see the star at the same spot.
  const StarPlace place = starPlaceOf(record);
  star.rightAscensionDegrees = place.alphaDegrees;
  star.declinationDegrees = place.deltaDegrees;
  return star;
}

std::vector<sky::NightStar> nightStarsOf(const StarTable& table, int count) {
  std::vector<sky::NightStar> stars;
  const int rows = std::clamp(count, 0, kStarTableRows);
  stars.reserve(static_cast<std::size_t>(rows));
  for (int i = 0; i < rows; ++i) stars.push_back(nightStarOf(table[i]));
  return stars;
}

std::vector<sky::NightStar> nightStarsOf(const std::vector<StarRecord>& records) {
  std::vector<sky::NightStar> stars;
  stars.reserve(records.size());
  for (const StarRecord& record : records) stars.push_back(nightStarOf(record));
  return stars;
}

}  // namespace tenmirel
