#pragma once
// The time system in which a catalogue's light elements are given.
#include <optional>
#include <string_view>

namespace tenmirel::sky {

enum class ElementsTime {
  jd,      // geocentric Julian day, UT: the designed reading
  hjd,     // heliocentric Julian day, UT
  bjdTdb,  // barycentric Julian day, TDB
};

// "JD", "HJD", "BJD_TDB": the names in the settings file and in tooltips.
const char* elementsTimeName(ElementsTime system);
// Case-insensitive "jd", "hjd", "bjd" or "bjd_tdb".
std::optional<ElementsTime> parseElementsTime(std::string_view text);

}  // namespace tenmirel::sky
