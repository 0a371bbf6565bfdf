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
constexpr double kMostCyclesPerStar = 100000;
// Wider than any light time plus TDB - UT, so the elements' window contains every
// cycle the observer can see inside the night.
constexpr double kElementsWindowMarginDays = 0.02;
constexpr double kAroundSampleDays = 5.0 / 1440;
const double kLargestExactWholeNumber = std::ldexp(1.0, 53);

const std::vector<double> kTwilightLimits = {kSunsetAltitudeDegrees, kCivilTwilightDegrees,
                                             kNauticalTwilightDegrees, kAstronomicalTwilightDegrees};

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
    return where + "太陽が一日中 " + degreesText(limit) + " より下にあり、昇りません。正午から翌日の正午までを夜とします。";
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
};

std::optional<ParsedStar> parseStar(const NightStar& star, ElementsTime system) {
  // Elements that are not numbers ("abc", "nan") are skipped, not read as 0 as the
  // designed main window reads them.
  const std::optional<double> epoch = parseStrict(star.epoch);
  const std::optional<double> period = parseStrict(star.period);
  if (!epoch || !period || !(*period > 0)) return std::nullopt;
  ParsedStar parsed;
  parsed.epoch = *epoch;
  parsed.period = *period;
  if (system != ElementsTime::jd) {
    if (!star.hasPlace) return std::nullopt;
    parsed.direction = starDirection(star.rightAscensionDegrees, star.declinationDegrees);
  }
  return parsed;
}

// The whole cycles E with lo <= E × P + E0 <= hi, formed exactly as the prediction
// forms them. Nothing when there would be too many.
std::optional<std::pair<double, double>> cycleRange(double epoch, double period, double lo, double hi) {
  if ((hi - lo) / period > kMostCyclesPerStar) return std::nullopt;
  double first = std::ceil((lo - epoch) / period);
  double last = std::floor((hi - epoch) / period);
  if (!(std::fabs(first) < kLargestExactWholeNumber) || !(std::fabs(last) < kLargestExactWholeNumber)) {
    return std::nullopt;
  }
  // The quotient may round across a whole number: let the instants decide.
  while ((first - 1) * period + epoch >= lo) first -= 1;
  while (first * period + epoch < lo) first += 1;
  while ((last + 1) * period + epoch <= hi) last += 1;
  while (last * period + epoch > hi) last -= 1;
  return std::make_pair(first, last);
}

bool aroundHolds(const NightSky& sky, const NightEvent& event, const NightOptions& filters) {
  if (filters.aroundMinutes <= 0) return true;
  if (!event.hasPlace) return false;
  return !aroundFailure(sky, event, filters);
}

void judge(const NightSky& sky, NightEvent& event, const NightOptions& filters) {
  event.passesAltitude = event.hasPlace && event.altitudeDegrees >= filters.minimumAltitudeDegrees;
  event.passesMoonDistance = !filters.moonDistanceDegrees ||
                             (event.hasPlace && event.moonSeparationDegrees >= *filters.moonDistanceDegrees);
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
      (options.moonDistanceDegrees && !std::isfinite(*options.moonDistanceDegrees))) {
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
  auto sky = std::make_shared<NightSky>(site, std::min(*noon, windowStart) - aroundDays - kNightSkyStepDays,
                                        std::max(nextNoon, windowEnd) + aroundDays + kNightSkyStepDays,
                                        options.refraction);

  NightPlan plan;
  NightSummary& night = plan.night;
  night.date = date;
  night.site = site;
  night.options = options;
  for (double limit : kTwilightLimits) night.twilights.push_back({limit, darkStretch(*sky, limit)});
  if (options.window == NightWindow::sunBelow) {
    const auto level = std::find_if(night.twilights.begin(), night.twilights.end(), [&](const TwilightLevel& t) {
      return t.limitDegrees == options.sunLimitDegrees;
    });
    const DarkStretch stretch =
        level != night.twilights.end() ? level->stretch : darkStretch(*sky, options.sunLimitDegrees);
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
  night.moonCrossings = moonCrossings(*sky, *noon, nextNoon);
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
  const double margin = (options.elementsTime == ElementsTime::jd ? 0 : kElementsWindowMarginDays) +
                        (byClock ? kMinuteDays : 0);

  for (std::size_t index = 0; index < stars.size(); ++index) {
    const NightStar& star = stars[index];
    const std::optional<ParsedStar> parsed = parseStar(star, options.elementsTime);
    const std::optional<std::pair<double, double>> cycles =
        parsed ? cycleRange(parsed->epoch, parsed->period, windowStart - margin, windowEnd + margin) : std::nullopt;
    if (!cycles) {
      ++plan.skippedStars;
      plan.skippedIndices.push_back(index);
      continue;
    }
    for (double cycle = cycles->first; cycle <= cycles->second; cycle += 1) {
      NightEvent event;
      event.elementsJulianDay = cycle * parsed->period + parsed->epoch;
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
  std::sort(plan.events.begin(), plan.events.end(), [](const NightEvent& a, const NightEvent& b) {
    return std::tie(a.julianDayUt, a.starIndex, a.cycle) < std::tie(b.julianDayUt, b.starIndex, b.cycle);
  });
  return Checked<NightPlan>::success(std::move(plan));
}

void applyFilters(NightPlan& plan, const NightOptions& filters) {
  NightOptions kept = plan.night.options;
  kept.minimumAltitudeDegrees = filters.minimumAltitudeDegrees;
  kept.moonDistanceDegrees = filters.moonDistanceDegrees;
  kept.aroundMinutes = filters.aroundMinutes;
  kept.sunLimitDegrees = filters.sunLimitDegrees;
  for (NightEvent& event : plan.events) judge(*plan.sky, event, kept);
  plan.night.options = kept;
}

std::optional<AroundFailure> aroundFailure(const NightSky& sky, const NightEvent& event, const NightOptions& filters) {
  if (filters.aroundMinutes <= 0 || !event.hasPlace) return std::nullopt;
  const double half = filters.aroundMinutes * kMinuteDays;
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
