#include "prediction/extremum_prediction.h"

#include <cmath>
#include <utility>

#include "astro/julian_day.h"
#include "common/number_text.h"
#include "sky/time_system.h"

namespace tenmirel {
namespace {

void refuse(PredictionResult& result, PredictionRefusal why, std::string message) {
  result.refusal = why;
  result.message = std::move(message);
}

// The local-minute search covers local 1600-01-01 00:00 up to the end of 3000.
bool withinCalendar(double julianDayUt, const sky::SiteZone& zone) {
  static const double first = js(kSjFirstYear, 1, 1, 0, 0);
  static const double afterLast = js(kSjLastYear + 1, 1, 1, 0, 0);
  const double local = julianDayUt + zone.offsetAtUt(julianDayUt).days();
  return local >= first && local < afterLast;
}

PredictionResult refused(PredictionRefusal why, std::string message) {
  PredictionResult result;
  refuse(result, why, std::move(message));
  return result;
}

std::optional<sky::StarDirection> directionFor(const PredictionSetting& setting) {
  if (setting.elementsTime == sky::ElementsTime::jd || !setting.hasPlace()) return std::nullopt;
  return sky::starDirection(*setting.alphaDegrees, *setting.deltaDegrees);
}

// The extremum of the cycle, given in the elements' time, as the observer sees it:
// its local minute at the site, and the altitude where the star has a place. The
// reference, when there is one, bounds where the extremum may lie.
// Filled in place: the result's many texts are written once, never copied.
void completeExtremum(PredictionResult& result, const PredictionSetting& setting, double period,
                      const std::optional<double>& referenceInElementsTime) {
  PredictedExtremum& extremum = result.extremum;
  const std::optional<sky::StarDirection> direction = directionFor(setting);
  extremum.julianDay =
      direction ? sky::observedUtOf(extremum.elementsTime, setting.elementsTime, *direction) : extremum.elementsTime;
  bool finite = std::isfinite(extremum.cycle) && std::isfinite(extremum.elementsTime) &&
                std::isfinite(extremum.julianDay) &&
                (!referenceInElementsTime || std::isfinite(extremum.referenceJulianDay));
  if (finite && setting.hasPlace()) {
    const CalcSite& calcSite = setting.site->calc();
    extremum.siderealDegrees = CalcSidereal(extremum.julianDay, extremum.calc, calcSite);
    extremum.altitudeDegrees =
        CalcAltitude(*setting.alphaDegrees, *setting.deltaDegrees, extremum.siderealDegrees, extremum.calc, calcSite);
    finite = std::isfinite(extremum.siderealDegrees) && std::isfinite(extremum.altitudeDegrees) &&
             allCalcCellsWritten(extremum.calc);
  }
  if (!finite) return refuse(result, PredictionRefusal::kTooLarge, kNotFiniteMessage);
  // The first extremum after the reference lies within one period after it; when
  // cycle x period + epoch says otherwise, the digits cancelled away.
  if (referenceInElementsTime &&
      (extremum.elementsTime < *referenceInElementsTime - kPrecisionToleranceDays ||
       extremum.elementsTime > *referenceInElementsTime + period + kPrecisionToleranceDays)) {
    return refuse(result, PredictionRefusal::kTooLarge, kNotFiniteMessage);
  }
  const sky::SiteZone& zone = setting.site->zone();
  if (!withinCalendar(extremum.julianDay, zone)) {
    return refuse(result, PredictionRefusal::kOutsideCalendar, kOutsideCalendarMessage);
  }

  extremum.cycleText = numberToText(extremum.cycle);
  if (referenceInElementsTime) extremum.referenceJulianDayText = numberToText(extremum.referenceJulianDay);
  extremum.julianDayText = numberToText(extremum.julianDay);
  if (direction) {
    extremum.elementsTimeText =
        std::string(sky::elementsTimeName(setting.elementsTime)) + " " + numberToText(extremum.elementsTime);
  }
  const LocalMinute local = zone.utToLocal(extremum.julianDay).minute;
  extremum.year = local.yearFound ? std::to_string(local.year) : std::string();
  extremum.month = std::to_string(local.month);
  extremum.day = std::to_string(local.day);
  extremum.hour = std::to_string(local.hour);
  extremum.minute = std::to_string(local.minute);
  extremum.altitudeText = setting.hasPlace() ? numberToText(extremum.altitudeDegrees) : kNoCoordinatesText;
}

bool needsPlace(const PredictionSetting& setting) {
  return setting.elementsTime != sky::ElementsTime::jd && !setting.hasPlace();
}

}  // namespace

PredictionResult predictFirstAfter(const ReferenceTexts& reference, const std::string& epochText,
                                   const std::string& periodText, const PredictionSetting& setting) {
  const double year = parseLenient(reference.year);
  const double month = parseLenient(reference.month);
  const double day = parseLenient(reference.day);
  const double hour = parseLenient(reference.hour);
  const double minute = parseLenient(reference.minute);
  const double epoch = parseLenient(epochText);
  const double period = parseLenient(periodText);
  if (period == 0) return refused(PredictionRefusal::kZeroPeriod, kZeroPeriodMessage);
  // A period beyond the double range is refused below as too large.
  if (std::isfinite(period) && period < 0) return refused(PredictionRefusal::kNegativePeriod, kNegativePeriodMessage);
  if (needsPlace(setting)) return refused(PredictionRefusal::kNeedsCoordinates, kElementsNeedCoordinatesMessage);
  const sky::Checked<double> referenceUt = setting.site->zone().localToUt(year, month, day, hour, minute);
  if (!referenceUt) return refused(PredictionRefusal::kNoSuchLocalTime, referenceUt.message());

  PredictionResult result;
  PredictedExtremum& extremum = result.extremum;
  extremum.referenceJulianDay = *referenceUt;
  const std::optional<sky::StarDirection> direction = directionFor(setting);
  const double referenceInElementsTime =
      direction ? sky::elementsTimeOf(*referenceUt, setting.elementsTime, *direction) : *referenceUt;
  extremum.cycle = floorTowardMinusInfinity((referenceInElementsTime - epoch) / period) + 1;
  extremum.elementsTime = extremum.cycle * period + epoch;
  completeExtremum(result, setting, period, referenceInElementsTime);
  return result;
}

PredictionResult predictNextCycle(const std::string& cycleText, const std::string& epochText,
                                  const std::string& periodText, const PredictionSetting& setting) {
  const double epoch = parseLenient(epochText);
  const double period = parseLenient(periodText);
  // A zero period is stepped (every cycle is the epoch itself); a negative one would walk backwards.
  if (std::isfinite(period) && period < 0) return refused(PredictionRefusal::kNegativePeriod, kNegativePeriodMessage);
  if (needsPlace(setting)) return refused(PredictionRefusal::kNeedsCoordinates, kElementsNeedCoordinatesMessage);
  PredictionResult result;
  PredictedExtremum& extremum = result.extremum;
  extremum.cycle = parseLenient(cycleText) + 1;
  extremum.elementsTime = period * extremum.cycle + epoch;
  completeExtremum(result, setting, period, std::nullopt);
  return result;
}

}  // namespace tenmirel
