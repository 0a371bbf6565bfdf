#include "prediction/star_place.h"

#include <cmath>

#include "common/number_text.h"

namespace tenmirel {
namespace {

constexpr double kMinutesPerUnit = 60;  // of an hour or of a degree
constexpr double kDegreesPerHourOfRightAscension = 15;

bool blank(const std::string& text) { return text.find_first_not_of(" \t\r\n") == std::string::npos; }

}  // namespace

StarPlace starPlaceOf(const StarRecord& row) {
  StarPlace place;
  place.alphaDegrees =
      (parseLenient(row.alphaHour) + parseLenient(row.alphaMin) / kMinutesPerUnit) * kDegreesPerHourOfRightAscension;
  place.deltaDegrees = parseLenient(row.deltaDeg) + parseLenient(row.deltaMin) / kMinutesPerUnit;
  if (row.deltaSign == kSouthSignText) place.deltaDegrees = -place.deltaDegrees;
  return place;
}

bool rowHasPlace(const StarRecord& row) {
  if (blank(row.alphaHour) && blank(row.alphaMin) && blank(row.deltaDeg) && blank(row.deltaMin)) return false;
  // A coordinate text beyond any number ("1e999") gives no place rather than a sky of "nan".
  const StarPlace place = starPlaceOf(row);
  return std::isfinite(place.alphaDegrees) && std::isfinite(place.deltaDegrees);
}

}  // namespace tenmirel
