#pragma once
// When the Sun crosses a given altitude in the evening and the morning, and when the
// Moon rises and sets: sampled every few minutes across the sky's span, then
// bisected to well under ten seconds. Altitudes are airless, as twilight and rising
// are defined (-0.833° for sunset and sunrise takes refraction and the Sun's radius
// into account).
#include <optional>
#include <vector>

#include "sky/sky_place.h"

namespace tenmirel::sky {

inline constexpr double kSunsetAltitudeDegrees = -0.833;
inline constexpr double kCivilTwilightDegrees = -6;
inline constexpr double kNauticalTwilightDegrees = -12;
inline constexpr double kAstronomicalTwilightDegrees = -18;

enum class Darkness {
  normal,      // the Sun goes below the limit and comes back
  neverDark,   // the Sun stays above the limit the whole span (midnight sun, white nights)
  alwaysDark,  // the Sun stays below the limit the whole span (polar night)
};

// The longest stretch of the span with the Sun below the limit. evening and morning
// are the crossings; one is missing when the stretch runs into an end of the span.
struct DarkStretch {
  Darkness darkness = Darkness::normal;
  std::optional<double> evening;
  std::optional<double> morning;
  double startUt = 0;  // the evening crossing, or the span's start
  double endUt = 0;    // the morning crossing, or the span's end
};

DarkStretch darkStretch(const NightSky& sky, double sunLimitDegrees);
// The same for several limits at once, the Sun sampled once for all.
std::vector<DarkStretch> darkStretches(const NightSky& sky, const std::vector<double>& sunLimitsDegrees);

struct MoonCrossing {
  double julianDayUt = 0;
  bool rising = false;
};

// Every moonrise and moonset within [fromUt, toUt], in time order.
std::vector<MoonCrossing> moonCrossings(const NightSky& sky, double fromUt, double toUt);

}  // namespace tenmirel::sky
