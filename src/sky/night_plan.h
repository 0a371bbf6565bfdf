#pragma once
// The night plan: every extremum of every star within one night at one site, with
// where the star, the Sun and the Moon stand at that moment.
//
// The extremum of cycle E is E × P + E0 in double precision, E a whole number and
// P, E0 the lenient parses of the element texts, exactly as the main window's
// prediction forms it; its local minute is the zone's (sj itself for the built-in
// site), so the plan and the main window agree to the minute. Elements in HJD or
// BJD_TDB are converted to the instant the observer sees.
//
// A secondary minimum of cycle E is (E + φ) × P + E0, the same expression with
// E + φ (φ = 0.5 unless the star's memo gives it), converted the same way.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "sky/checked.h"
#include "sky/element_uncertainty.h"
#include "sky/elements_time.h"
#include "sky/event_kind.h"
#include "sky/site.h"
#include "sky/site_zone.h"
#include "sky/sky_place.h"
#include "sky/twilight.h"

namespace tenmirel::sky {

struct NightStar {
  std::string name;
  std::string epoch;   // Julian day of one extremum, as text
  std::string period;  // days, as text
  bool hasPlace = false;
  double rightAscensionDegrees = 0;  // J2000
  double declinationDegrees = 0;     // J2000, south negative
  // What its type says of the epoch: primary, maximum or extremum.
  EventKind epochKind = EventKind::extremum;
  bool hasSecondaryMinimum = false;
  double secondaryPhase = 0.5;              // 0 < φ < 1
  std::optional<double> durationPercent{};  // the eclipse's, 0 < D <= 100
  bool elementsFlaggedUncertain = false;    // a ':' on the period or the epoch in the memo
  std::optional<FittedErrors> fittedErrors{};
  // Why its memo cannot be planned from, in Japanese; the star is then skipped.
  std::string memoProblem{};
};

// The evening's calendar date at the site.
struct NightDate {
  int year = 0;
  int month = 0;
  int day = 0;
};

enum class NightWindow {
  sunBelow,  // from the evening's Sun crossing below the limit to the morning's crossing above it
  clock,     // the designed observing night: 07:00 to 06:59 local time
};

struct NightOptions {
  NightWindow window = NightWindow::sunBelow;
  double sunLimitDegrees = kNauticalTwilightDegrees;
  double minimumAltitudeDegrees = 0;
  std::optional<double> moonDistanceDegrees;  // off when empty
  double aroundMinutes = 0;                   // the span checked either side of the extremum
  // A minimum of a star with an eclipse duration is checked over its whole
  // eclipse, ±(D/200) × P, instead of aroundMinutes.
  bool aroundFromDuration = false;
  bool secondaryMinima = false;                 // add the secondary minimum of every cycle
  std::optional<double> maxUncertaintyMinutes;  // off when empty
  ElementsTime elementsTime = ElementsTime::jd;
  bool refraction = false;
  // The Moon's rising and setting for the night's header; a season leaves them out.
  bool moonCrossings = true;
};

struct NightEvent {
  std::size_t starIndex = 0;
  std::string name;
  // The row's element texts as written: with the name they tell two rows of one
  // star apart (a calendar's UID).
  std::string epochText;
  std::string periodText;
  std::int64_t cycle = 0;
  EventKind kind = EventKind::extremum;
  double phase = 0;              // φ for a secondary, 0 otherwise
  double elementsJulianDay = 0;  // (E + φ) × P + E0, in the elements' time system
  double julianDayUt = 0;        // the instant the observer sees it (UT)
  ZonedMinute local;             // its local minute and the offset in force
  std::string localText;         // "2024-01-15 21:34"
  std::string isoText;           // "2024-01-15T21:34+09:00"
  bool hasPlace = false;
  double rightAscensionDegrees = 0;
  double declinationDegrees = 0;
  // Apparent topocentric; 0 when the star has no place.
  double altitudeDegrees = 0;
  double azimuthDegrees = 0;
  double sunAltitudeDegrees = 0;
  double moonAltitudeDegrees = 0;
  double moonIlluminatedFraction = 0;
  double moonSeparationDegrees = 0;
  // Each filter's verdict; an event failing one stays in the list (shown greyed).
  bool passesAltitude = false;
  bool passesMoonDistance = true;
  bool passesAround = true;
  bool passesUncertainty = true;
  bool passesAll() const { return passesAltitude && passesMoonDistance && passesAround && passesUncertainty; }
  // The whole eclipse, first to last contact; only for a minimum of a star with a duration.
  std::optional<double> durationMinutes;
  // At least this far from the true instant (minutes); a lower bound only when
  // uncertainElements.
  double uncertaintyMinutes = 0;
  bool uncertainElements = false;
  bool uncertaintyFromFit = false;  // fitted errors, else the written digits
  // The span the around-check covers either side (minutes): the whole eclipse's
  // half or the chosen around.
  double checkedHalfMinutes = 0;
};

struct TwilightLevel {
  double limitDegrees = 0;
  DarkStretch stretch;
};

struct NightSummary {
  NightDate date;
  Site site;
  NightOptions options;
  // The window searched for extrema (UT) and its local ends.
  double windowStartUt = 0;
  double windowEndUt = 0;
  ZonedMinute windowStartLocal;
  ZonedMinute windowEndLocal;
  // How dark the night gets at the chosen limit; with neverDark there is no window
  // and no event, and darknessMessage says so in Japanese (also set for alwaysDark).
  Darkness darkness = Darkness::normal;
  std::string darknessMessage;
  // Sunset/sunrise and the three twilights (-0.833°, -6°, -12°, -18°) of the
  // evening's noon-to-noon span, for the header and the picture.
  std::vector<TwilightLevel> twilights;
  double moonIlluminatedFraction = 0;  // at the window's middle
  bool moonWaxing = false;
  std::vector<MoonCrossing> moonCrossings;  // within the noon-to-noon span
};

struct NightPlan {
  NightSummary night;
  std::vector<NightEvent> events;  // in time order
  // Stars left out: empty, unreadable or non-positive elements, no place where
  // HJD/BJD needs one, or periods so short the night would hold over 100000 cycles.
  std::size_t skippedStars = 0;
  std::vector<std::size_t> skippedIndices;
  // One Japanese sentence naming each star skipped for its memo.
  std::vector<std::string> memoWarnings;
  // The sky prepared for the night (noon to noon, and the window), for altitude
  // curves and for filtering again.
  std::shared_ptr<const NightSky> sky;
};

// Refused with a Japanese message: an invalid site or unknown zone, a date outside
// 1600-3000 or not in the calendar, an evening or morning local time that does not
// exist. A night without darkness is not refused: see NightSummary::darkness.
Checked<NightPlan> planNight(const std::vector<NightStar>& stars, const Site& site, NightDate date,
                             const NightOptions& options);

// Sets the filter verdicts again for other limits (minimum altitude, Moon distance,
// the span around the extremum and whether eclipses set it, the Sun limit that
// span is checked against, the largest uncertainty); the window and the events
// stay as they are.
void applyFilters(NightPlan& plan, const NightOptions& filters);

// Where the span around an extremum first fails its filter: the instant, and the
// star's altitude there when it is below the minimum, else the Sun's (airless)
// above the limit. Nothing when the span holds, is not asked for, or the star has
// no place.
struct AroundFailure {
  double julianDayUt = 0;
  bool starTooLow = true;
  double altitudeDegrees = 0;
};
std::optional<AroundFailure> aroundFailure(const NightSky& sky, const NightEvent& event, const NightOptions& filters);

// The events that pass every filter.
std::vector<const NightEvent*> passingEvents(const NightPlan& plan);

}  // namespace tenmirel::sky
