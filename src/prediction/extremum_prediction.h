#pragma once
// The prediction arithmetic without the window: texts in, the output texts out.
// The first extremum after a reference time, or the extremum of a given cycle,
// with its local minute, Julian days and altitude. Every value that the window
// passes from one step to the next goes through the 15-digit number text.
#include <optional>
#include <string>

#include "astro/altitude.h"
#include "prediction/observing_site.h"
#include "sky/elements_time.h"

namespace tenmirel {

inline constexpr const char* kNoCoordinatesText = "？？？";
inline constexpr const char* kZeroPeriodMessage = "周期が０です。０でない周期を入力してください。";
inline constexpr const char* kNotFiniteMessage =
    "予報を計算できません。元期・周期・基準日時（または回帰数）の値が大きすぎます。";
inline constexpr const char* kNegativePeriodMessage = "周期は正の値を入力してください。";
inline constexpr const char* kOutsideCalendarMessage =
    "予報した極の日時が、計算できる範囲（1600年1月1日から3000年12月31日まで）の外になります。";
inline constexpr const char* kElementsNeedCoordinatesMessage =
    "日心または太陽系重心の元期で予報するには星の座標が必要です。カタログの星を選んでください。";
// How far (in days) a computed extremum may stray outside its expected place
// before rounding is taken for loss of precision: one minute.
inline constexpr double kPrecisionToleranceDays = 1.0 / 1440.0;

// Why a prediction showed a message instead of a result.
enum class PredictionRefusal {
  kNone,
  kNoStar,
  kNoElements,
  kZeroPeriod,
  kNegativePeriod,
  kTooLarge,          // not finite, or lost to rounding
  kOutsideCalendar,   // the extremum lies outside the years the calendar search covers
  kNoSuchLocalTime,   // the reference falls into a clock change's gap
  kNeedsCoordinates,  // heliocentric or barycentric elements for a star without a place
};

// The reference date and time as typed, local time of the site.
struct ReferenceTexts {
  std::string year, month, day, hour, minute;
};

// What the prediction works from besides the element texts.
struct PredictionSetting {
  const ObservingSite* site = &ObservingSite::builtIn();
  sky::ElementsTime elementsTime = sky::ElementsTime::jd;
  // The star's place in degrees; nothing for the manual-input entry (no altitude).
  std::optional<double> alphaDegrees;
  std::optional<double> deltaDegrees;
  bool hasPlace() const { return alphaDegrees.has_value() && deltaDegrees.has_value(); }
};

// The texts and values of one predicted extremum.
struct PredictedExtremum {
  double cycle = 0;
  double referenceJulianDay = 0;  // UT; only from a reference
  double julianDay = 0;           // UT, the instant the observer sees
  double elementsTime = 0;        // cycle × period + epoch, in the elements' time system
  double siderealDegrees = 0;
  double altitudeDegrees = 0;
  std::string cycleText;
  std::string referenceJulianDayText;  // empty when predicted from a cycle
  std::string julianDayText;
  std::string elementsTimeText;  // "HJD 2461382.51234"; empty for JD elements
  std::string year, month, day, hour, minute;
  std::string altitudeText;  // "？？？" without a place
  CalcLabels calc;           // filled when there is a place
};

struct PredictionResult {
  PredictionRefusal refusal = PredictionRefusal::kNone;
  std::string message;  // the Japanese reason when refused
  PredictedExtremum extremum;
  bool ok() const { return refusal == PredictionRefusal::kNone; }
};

// The first extremum strictly after the reference: cycle floor((reference -
// epoch) / period) + 1, the reference read in the elements' time system.
PredictionResult predictFirstAfter(const ReferenceTexts& reference, const std::string& epochText,
                                   const std::string& periodText, const PredictionSetting& setting);

// The extremum of the cycle after the one in cycleText: cycle + 1. A zero period
// gives the epoch for every cycle.
PredictionResult predictNextCycle(const std::string& cycleText, const std::string& epochText,
                                  const std::string& periodText, const PredictionSetting& setting);

}  // namespace tenmirel
