#include "prediction/star_place.h"

#include "common/number_text.h"

namespace tenmirel {
namespace {

constexpr double kMinutesPerUnit = 60;  // of an hour or of a degree
constexpr double kDegreesPerHourOfRightAscension = 15;

}  // namespace

StarPlace starPlaceOf(const StarRecord& row) {
  StarPlace place;
  place.alphaDegrees =
      (parseLenient(row.alphaHour) + parseLenient(row.alphaMin) / kMinutesPerUnit) * kDegreesPerHourOfRightAscension;
  place.deltaDegrees = parseLenient(row.deltaDeg) + parseLenient(row.deltaMin) / kMinutesPerUnit;
  if (row.deltaSign == kSouthSignText) place.deltaDegrees = -place.deltaDegrees;
  return place;
}

}  // namespace tenmirel
