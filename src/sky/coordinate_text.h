#pragma once
// Reading a longitude or latitude typed by an observer: decimal degrees ("139.5",
// "-33.87") or degrees, minutes and seconds ("139 00", "139°00′", "-33 52 10",
// "35°30'15\""), with an optional sign in front or a compass letter (N S E W) at
// either end. Anything else is refused with a message.
#include <string_view>

#include "sky/checked.h"

namespace tenmirel::sky {

enum class CoordinateKind { longitude, latitude };

// Degrees, east and north positive. The range is checked too: |latitude| <= 90,
// |longitude| <= 180.
Checked<double> parseCoordinate(std::string_view text, CoordinateKind kind);

// The Japanese name of the coordinate, for messages: "経度" or "緯度".
const char* coordinateName(CoordinateKind kind);

}  // namespace tenmirel::sky
