#include "sky/night_plan.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <tuple>

#include "common/number_text.h"
#include "sky/time_system.h"

namespace tenmirel::sky {
namespace {

constexpr int kFirstYear = 1600;
constexpr int kLastYear = 3000;
constexpr double kNoonHour = 12;
constexpr double kClockNightStartHour = 7;  // the designed night runs 07:00 to 06:59
constexpr double kMinuteDays = 1.0 / 1440;
constexpr double kPercent = 100;
constexpr double kMostCyclesPerStar = 100000;
// Wider than any light time plus TDB - UT, so the elements' window contains every
// cycle the observer can see inside the night.
constexpr double kElementsWindowMarginDays = 0.02;
constexpr double kAroundSampleDays = 5.0 / 1440;
const double kLargestExactWholeNumber = std::ldexp(1.0, 53);

const std::vector<double> kTwilightLimits = {kSunsetAltitudeDegrees, kCivilTwilightDegrees, kNauticalTwilightDegrees,
                                             kAstronomicalTwilightDegrees};

std::string dateText(NightDate date) {
  return std::to_string(date.year) + "年" + std::to_string(date.month) + "月" + std::to_string(date.day) + "日";
}

std::string degreesText(double degrees) { return numberToText(degrees) + "°"; }

std::string darknessMessage(Darkness darkness, const Site& site, NightDate date, double limit) {
  const std::string where = dateText(date) + "の夜、" + site.name + "では";
  if (darkness == Darkness::neverDark) {
    if (limit == kSunsetAltitudeDegrees) return where + "太陽が沈みません（白夜）。観測できる暗い時間がありません。";
    return where + "太陽が " + degreesText(limit) + " より下に沈まず、暗い時間がありません。";
  }
  if (darkness == Darkness::alwaysDark) {
    return where + "太陽が一日中 " + degreesText(limit) +
           " より下にあり、昇りません。正午から翌日の正午までを夜とします。";
  }
  return {};
}

// Local minutes compared as one number: year, month, day, hour, minute.
std::int64_t minuteKey(const LocalMinute& m) {
  return ((((static_cast<std::int64_t>(m.year) * 13 + m.month) * 32 + m.day) * 24 + m.hour) * 60) + m.minute;
}

struct ParsedStar {
  double epoch = 0;
  double period = 0;
  StarDirection direction;
  int periodDecimals = 0;
  int epochDecimals = 0;
  bool uncertain = false;
};

// An element's number, strictly read; a ':' after it (the catalogue's mark of an
// uncertain value, ASCII or full width) is allowed and judged by writtenUncertain.
std::optional<double> elementValue(std::string_view text) {
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  constexpr std::string_view kFullWidthColon = "\uFF1A";
  if (text.size() >= kFullWidthColon.size() && text.substr(text.size() - kFullWidthColon.size()) == kFullWidthColon) {
    text.remove_suffix(kFullWidthColon.size());
  } else if (!text.empty() && text.back() == ':') {
    text.remove_suffix(1);
  }
  return parseStrict(text);
}

std::optional<ParsedStar> parseStar(const NightStar& star, ElementsTime system) {
  // Elements that are not numbers ("abc", "nan") are skipped, not read as 0 as the
  // designed main window reads them.
  const std::optional<double> epoch = elementValue(star.epoch);
  const std::optional<double> period = elementValue(star.period);
  if (!epoch || !period || !(*period > 0)) return std::nullopt;
  ParsedStar parsed;
  parsed.epoch = *epoch;
  parsed.period = *period;
  parsed.periodDecimals = writtenDecimals(star.period);
  parsed.epochDecimals = writtenDecimals(star.epoch);
  parsed.uncertain = star.elementsFlaggedUncertain || writtenUncertain(star.period) || writtenUncertain(star.epoch);
  if (system != ElementsTime::jd) {
    if (!star.hasPlace) return std::nullopt;
    parsed.direction = starDirection(star.rightAscensionDegrees, star.declinationDegrees);
  }
  return parsed;
}

// The whole cycles E with lo <= (E + φ) × P + E0 <= hi, formed exactly as the
// prediction forms them (φ = 0 for the epoch's own extremum). Nothing when there
// would be too many.
std::optional<std::pair<double, double>> cycleRange(double epoch, double period, double phase, double lo, double hi) {
  if ((hi - lo) / period > kMostCyclesPerStar) return std::nullopt;
  double first = std::ceil((lo - epoch) / period - phase);
  double last = std::floor((hi - epoch) / period - phase);
  if (!(std::fabs(first) < kLargestExactWholeNumber) || !(std::fabs(last) < kLargestExactWholeNumber)) {
    return std::nullopt;
  }
  const auto at = [&](double cycle) { return (cycle + phase) * period + epoch; };
  // The quotient may round across a whole number: let the instants decide.
  while (at(first - 1) >= lo) first -= 1;
  while (at(first) < lo) first += 1;
  while (at(last + 1) <= hi) last += 1;
  while (at(last) > hi) last -= 1;
  return std::make_pair(first, last);
}

// The half span the around-check covers for this event, in minutes.
double checkedHalfMinutes(const NightEvent& event, const NightOptions& filters) {
  if (filters.aroundFromDuration && event.durationMinutes) return *event.durationMinutes / 2;
  return filters.aroundMinutes;
}

bool withinUncertainty(const NightEvent& event, const NightOptions& filters) {
  if (!filters.maxUncertaintyMinutes) return true;
  // Elements uncertain beyond their digits have no known bound: never within one.
  return !event.uncertainElements && event.uncertaintyMinutes <= *filters.maxUncertaintyMinutes;
}

bool aroundHolds(const NightSky& sky, const NightEvent& event, const NightOptions& filters) {
  if (event.checkedHalfMinutes <= 0) return true;
  if (!event.hasPlace) return false;
  return !aroundFailure(sky, event, filters);
}

void describeUncertainty(NightEvent& event, const NightStar& star, const ParsedStar& parsed, double cycles) {
  std::optional<double> days;
  if (star.fittedErrors) days = fittedUncertaintyDays(cycles, *star.fittedErrors);
  event.uncertaintyFromFit = days.has_value();
  if (!days) days = digitsUncertaintyDays(cycles, parsed.periodDecimals, parsed.epochDecimals);
  event.uncertaintyMinutes = *days / kMinuteDays;
  // Fitted errors bound the elements the fit gave; a catalogue's ':' no longer applies.
  event.uncertainElements = parsed.uncertain && !event.uncertaintyFromFit;
}

void judge(const NightSky& sky, NightEvent& event, const NightOptions& filters) {
  event.checkedHalfMinutes = checkedHalfMinutes(event, filters);
  event.passesUncertainty = withinUncertainty(event, filters);
  event.passesAltitude = event.hasPlace && event.altitudeDegrees >= filters.minimumAltitudeDegrees;
  event.passesMoonDistance =
      !filters.moonDistanceDegrees || (event.hasPlace && event.moonSeparationDegrees >= *filters.moonDistanceDegrees);
  event.passesAround = aroundHolds(sky, event, filters);
}

}  // namespace

Checked<NightPlan> planNight(const std::vector<NightStar>& stars, const Site& site, NightDate date,
                             const NightOptions& options) {
  if (Refusal invalid = validateSite(site)) return Checked<NightPlan>::failure(*invalid);
  const Checked<SiteZone> zone = SiteZone::fromText(site.zone);
  if (!zone) return Checked<NightPlan>::failure(zone.message());
  const std::chrono::year_month_day calendar{std::chrono::year{date.year}, std::chrono::month(date.month),
                                             std::chrono::day(date.day)};
  if (date.year < kFirstYear || date.year > kLastYear || !calendar.ok()) {
    return Checked<NightPlan>::failure("日付は 1600年1月1日から 3000年12月31日までの暦にある日で指定してください。");
  }
  if (!std::isfinite(options.sunLimitDegrees) || !std::isfinite(options.minimumAltitudeDegrees) ||
      !std::isfinite(options.aroundMinutes) || options.aroundMinutes < 0 ||
      (options.moonDistanceDegrees && !std::isfinite(*options.moonDistanceDegrees)) ||
      (options.maxUncertaintyMinutes && !(*options.maxUncertaintyMinutes >= 0))) {
    return Checked<NightPlan>::failure("条件の数値が正しくありません。");
  }

  const Checked<double> noon = zone->localToUt(date.year, date.month, date.day, kNoonHour, 0);
  if (!noon) return Checked<NightPlan>::failure(noon.message());
  // A next day the zone skipped (Samoa's 2011-12-30) has no noon: the night then ends
  // at the instant a day after the evening's.
  const Checked<double> nextNoonLocal = zone->localToUt(date.year, date.month, date.day + 1, kNoonHour, 0);
  const double nextNoon = nextNoonLocal ? *nextNoonLocal : *noon + 1;
  double windowStart = *noon;
  double windowEnd = nextNoon;
  if (options.window == NightWindow::clock) {
    const Checked<double> start = zone->localToUt(date.year, date.month, date.day, kClockNightStartHour, 0);
    if (!start) return Checked<NightPlan>::failure(start.message());
    const Checked<double> end = zone->localToUt(date.year, date.month, date.day + 1, kClockNightStartHour, 0);
    windowStart = *start;
    windowEnd = end ? *end : *start + 1;
  }
  const double aroundDays = options.aroundMinutes * kMinuteDays;
  auto sky =
      std::make_shared<NightSky>(site, std::min(*noon, windowStart) - aroundDays - kNightSkyStepDays,
                                 std::max(nextNoon, windowEnd) + aroundDays + kNightSkyStepDays, options.refraction);

  NightPlan plan;
  NightSummary& night = plan.night;
  night.date = date;
  night.site = site;
  night.options = options;
  // The Sun's twilights once a night, the chosen limit with them.
  std::vector<double> limits = kTwilightLimits;
  limits.push_back(options.sunLimitDegrees);
  const std::vector<DarkStretch> stretches = darkStretches(*sky, limits);
  for (std::size_t i = 0; i < kTwilightLimits.size(); ++i) night.twilights.push_back({limits[i], stretches[i]});
  if (options.window == NightWindow::sunBelow) {
    const DarkStretch& stretch = stretches.back();
    night.darkness = stretch.darkness;
    night.darknessMessage = darknessMessage(stretch.darkness, site, date, options.sunLimitDegrees);
    if (stretch.darkness == Darkness::alwaysDark) {
      windowStart = *noon;
      windowEnd = nextNoon;
    } else {
      windowStart = stretch.startUt;
      windowEnd = stretch.endUt;
    }
  }
  night.windowStartUt = windowStart;
  night.windowEndUt = windowEnd;
  night.windowStartLocal = zone->utToLocal(windowStart);
  night.windowEndLocal = zone->utToLocal(windowEnd);
  night.moonIlluminatedFraction = sky->moonIlluminatedFraction((windowStart + windowEnd) / 2);
  night.moonWaxing = sky->moonWaxing((windowStart + windowEnd) / 2);
  if (options.moonCrossings) night.moonCrossings = moonCrossings(*sky, *noon, nextNoon);
  plan.sky = sky;
  if (night.darkness == Darkness::neverDark) return Checked<NightPlan>::success(std::move(plan));

  // The clock window is decided by the local minute, exactly as the designed list reads it.
  LocalMinute firstMinute;
  firstMinute.year = date.year;
  firstMinute.month = date.month;
  firstMinute.day = date.day;
  firstMinute.hour = static_cast<int>(kClockNightStartHour);
  const std::chrono::year_month_day nextDay{std::chrono::sys_days{calendar} + std::chrono::days{1}};
  LocalMinute endMinute = firstMinute;
  endMinute.year = static_cast<int>(nextDay.year());
  endMinute.month = static_cast<int>(static_cast<unsigned>(nextDay.month()));
  endMinute.day = static_cast<int>(static_cast<unsigned>(nextDay.day()));
  const std::int64_t firstKey = minuteKey(firstMinute);
  const std::int64_t endKey = minuteKey(endMinute);
  const bool byClock = options.window == NightWindow::clock;
  const double margin =
      (options.elementsTime == ElementsTime::jd ? 0 : kElementsWindowMarginDays) + (byClock ? kMinuteDays : 0);

  for (std::size_t index = 0; index < stars.size(); ++index) {
    const NightStar& star = stars[index];
    if (!star.memoProblem.empty()) {
      ++plan.skippedStars;
      plan.skippedIndices.push_back(index);
      plan.memoWarnings.push_back("星「" + star.name + "」を飛ばしました: " + star.memoProblem);
      continue;
    }
    const std::optional<ParsedStar> parsed = parseStar(star, options.elementsTime);
    const std::optional<std::pair<double, double>> cycles =
        parsed ? cycleRange(parsed->epoch, parsed->period, 0, windowStart - margin, windowEnd + margin) : std::nullopt;
    if (!cycles) {
      ++plan.skippedStars;
      plan.skippedIndices.push_back(index);
      continue;
    }
    struct Series {
      EventKind kind;
      double phase;
      std::pair<double, double> cycles;
    };
    std::vector<Series> series = {{star.epochKind, 0, *cycles}};
    if (options.secondaryMinima && star.hasSecondaryMinimum) {
      const double phase = star.secondaryPhase;
      if (const auto secondaries =
              cycleRange(parsed->epoch, parsed->period, phase, windowStart - margin, windowEnd + margin)) {
        series.push_back({EventKind::secondary, phase, *secondaries});
      }
    }
    const bool minimum = star.epochKind == EventKind::primary;
    for (const Series& each : series) {
      for (double cycle = each.cycles.first; cycle <= each.cycles.second; cycle += 1) {
        NightEvent event;
        event.elementsJulianDay = (cycle + each.phase) * parsed->period + parsed->epoch;
        event.julianDayUt = observedUtOf(event.elementsJulianDay, options.elementsTime, parsed->direction);
        event.local = zone->utToLocal(event.julianDayUt);
        if (byClock) {
          const std::int64_t key = minuteKey(event.local.minute);
          if (key < firstKey || key >= endKey) continue;
        } else if (event.julianDayUt < windowStart || event.julianDayUt > windowEnd) {
          continue;
        }
        event.starIndex = index;
        event.name = star.name;
        event.epochText = star.epoch;
        event.periodText = star.period;
        event.cycle = static_cast<std::int64_t>(cycle);
        event.kind = each.kind;
        event.phase = each.phase;
        if (minimum && star.durationPercent) {
          event.durationMinutes = *star.durationPercent / kPercent * parsed->period / kMinuteDays;
        }
        describeUncertainty(event, star, *parsed, cycle + each.phase);
        event.localText = localMinuteText(event.local.minute);
        event.isoText = isoMinuteText(event.local.minute, event.local.offset);
        event.hasPlace = star.hasPlace;
        event.rightAscensionDegrees = star.rightAscensionDegrees;
        event.declinationDegrees = star.declinationDegrees;
        const SkySample sample =
            sky->sample(event.julianDayUt, star.hasPlace, star.rightAscensionDegrees, star.declinationDegrees);
        if (star.hasPlace) {
          event.altitudeDegrees = sample.star.altitudeDegrees;
          event.azimuthDegrees = sample.star.azimuthDegrees;
          event.moonSeparationDegrees = sample.moonSeparationDegrees;
        }
        event.sunAltitudeDegrees = sample.sun.altitudeDegrees;
        event.moonAltitudeDegrees = sample.moon.altitudeDegrees;
        event.moonIlluminatedFraction = sample.moonIlluminatedFraction;
        judge(*sky, event, options);
        plan.events.push_back(std::move(event));
      }
    }
  }
  std::sort(plan.events.begin(), plan.events.end(), [](const NightEvent& a, const NightEvent& b) {
    return std::tie(a.julianDayUt, a.starIndex, a.cycle, a.phase) <
           std::tie(b.julianDayUt, b.starIndex, b.cycle, b.phase);
  });
  return Checked<NightPlan>::success(std::move(plan));
}

void applyFilters(NightPlan& plan, const NightOptions& filters) {
  NightOptions kept = plan.night.options;
  kept.minimumAltitudeDegrees = filters.minimumAltitudeDegrees;
  kept.moonDistanceDegrees = filters.moonDistanceDegrees;
  kept.aroundMinutes = filters.aroundMinutes;
  kept.sunLimitDegrees = filters.sunLimitDegrees;
  kept.aroundFromDuration = filters.aroundFromDuration;
  kept.maxUncertaintyMinutes = filters.maxUncertaintyMinutes;
  for (NightEvent& event : plan.events) judge(*plan.sky, event, kept);
  plan.night.options = kept;
}

std::optional<AroundFailure> aroundFailure(const NightSky& sky, const NightEvent& event, const NightOptions& filters) {
  const double halfMinutes = checkedHalfMinutes(event, filters);
  if (halfMinutes <= 0 || !event.hasPlace) return std::nullopt;
  const double half = halfMinutes * kMinuteDays;
  // An eclipse reaching beyond the sky prepared for the night is longer than the
  // night: it fails where the prepared sky ends, the Sun being up there.
  const bool wholeEclipse = filters.aroundFromDuration && event.durationMinutes;
  if (wholeEclipse && event.julianDayUt - half < sky.startUt()) {
    return AroundFailure{sky.startUt(), false, sky.sunAirlessAltitudeDegrees(sky.startUt())};
  }
  if (wholeEclipse && event.julianDayUt + half > sky.endUt()) {
    return AroundFailure{sky.endUt(), false, sky.sunAirlessAltitudeDegrees(sky.endUt())};
  }
  const auto samples = static_cast<int>(std::ceil(2 * half / kAroundSampleDays));
  for (int i = 0; i <= samples; ++i) {
    const double t = event.julianDayUt - half + 2 * half * i / samples;
    const double star = sky.star(t, event.rightAscensionDegrees, event.declinationDegrees).altitudeDegrees;
    if (star < filters.minimumAltitudeDegrees) return AroundFailure{t, true, star};
    if (filters.window == NightWindow::sunBelow) {
      const double sun = sky.sunAirlessAltitudeDegrees(t);
      if (!(sun < filters.sunLimitDegrees)) return AroundFailure{t, false, sun};
    }
  }
  return std::nullopt;
}

std::vector<const NightEvent*> passingEvents(const NightPlan& plan) {
  std::vector<const NightEvent*> passing;
  for (const NightEvent& event : plan.events) {
    if (event.passesAll()) passing.push_back(&event);
  }
  return passing;
}

}  // namespace tenmirel::sky
