// The night plan for eclipse observers: secondary minima against a scan of every
// cycle, whole eclipses at the dark window's edges, and how far the elements can
// be trusted.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <random>
#include <set>
#include <tuple>

#include "astro/julian_day.h"
#include "common/number_text.h"
#include "sky/element_uncertainty.h"
#include "sky/night_plan.h"
#include "sky/time_system.h"

namespace tenmirel::sky {
namespace {

constexpr double kMinuteDays = 1.0 / 1440;
constexpr double kSecondDays = 1.0 / 86400;

const Site kPrague{"Praha", 14.4167, 50.0833, 250, "Europe/Prague"};
const Site kSantiago{"Santiago", -70.6693, -33.4489, 570, "America/Santiago"};

NightStar eclipsing(std::string name, double epoch, double period, double ra, double dec) {
  NightStar star;
  star.name = std::move(name);
  star.epoch = numberToText(epoch);
  star.period = numberToText(period);
  star.hasPlace = true;
  star.rightAscensionDegrees = ra;
  star.declinationDegrees = dec;
  star.epochKind = EventKind::primary;
  star.hasSecondaryMinimum = true;
  return star;
}

using EventKey = std::tuple<std::size_t, std::int64_t, EventKind>;

// Every primary and secondary inside the window, trying cycles one by one.
std::set<EventKey> bruteForce(const std::vector<NightStar>& stars, double start, double end, ElementsTime system) {
  std::set<EventKey> found;
  for (std::size_t i = 0; i < stars.size(); ++i) {
    const double epoch = parseLenient(stars[i].epoch);
    const double period = parseLenient(stars[i].period);
    const StarDirection direction = starDirection(stars[i].rightAscensionDegrees, stars[i].declinationDegrees);
    const double middle = std::floor((start - epoch) / period);
    for (double cycle = middle - 3; cycle * period + epoch <= end + 0.1; cycle += 1) {
      const double primary = observedUtOf(cycle * period + epoch, system, direction);
      if (primary >= start && primary <= end) found.insert({i, static_cast<std::int64_t>(cycle), EventKind::primary});
      if (!stars[i].hasSecondaryMinimum) continue;
      const double secondary = observedUtOf((cycle + stars[i].secondaryPhase) * period + epoch, system, direction);
      if (secondary >= start && secondary <= end) {
        found.insert({i, static_cast<std::int64_t>(cycle), EventKind::secondary});
      }
    }
  }
  return found;
}

TEST(SecondaryMinima, AreEveryHalfCycleOrTheGivenPhaseLikeAScanFinds) {
  std::mt19937_64 random(51);
  std::uniform_real_distribution<double> period(0.05, 6);
  std::uniform_real_distribution<double> offset(-4000, 4000);
  std::uniform_real_distribution<double> ra(0, 360);
  std::uniform_real_distribution<double> dec(-85, 85);
  std::uniform_real_distribution<double> phase(0.05, 0.95);
  for (const Site& site : {builtInSite(), kPrague, kSantiago}) {
    for (ElementsTime system : {ElementsTime::jd, ElementsTime::hjd, ElementsTime::bjdTdb}) {
      std::vector<NightStar> stars;
      for (int i = 0; i < 120; ++i) {
        stars.push_back(eclipsing("E" + std::to_string(i), js(2024, 3, 10, 0, 0) + offset(random), period(random),
                                  ra(random), dec(random)));
        // A third at an eccentric system's phase, a third without a secondary (RS CVn alone).
        if (i % 3 == 1) stars.back().secondaryPhase = phase(random);
        if (i % 3 == 2) stars.back().hasSecondaryMinimum = false;
      }
      NightOptions options;
      options.elementsTime = system;
      options.secondaryMinima = true;
      const Checked<NightPlan> plan = planNight(stars, site, NightDate{2024, 3, 10}, options);
      ASSERT_TRUE(plan.ok()) << plan.message();
      std::set<EventKey> keys;
      for (const NightEvent& event : plan->events) {
        keys.insert({event.starIndex, event.cycle, event.kind});
        const NightStar& star = stars[event.starIndex];
        const double phaseOf = event.kind == EventKind::secondary ? star.secondaryPhase : 0;
        EXPECT_EQ(event.phase, phaseOf);
        EXPECT_EQ(event.elementsJulianDay,
                  (static_cast<double>(event.cycle) + phaseOf) * parseLenient(star.period) + parseLenient(star.epoch));
      }
      EXPECT_EQ(keys, bruteForce(stars, plan->night.windowStartUt, plan->night.windowEndUt, system))
          << site.name << ' ' << elementsTimeName(system);
      EXPECT_EQ(keys.size(), plan->events.size());

      // Without the option the plan holds the primaries alone.
      options.secondaryMinima = false;
      const Checked<NightPlan> primaries = planNight(stars, site, NightDate{2024, 3, 10}, options);
      for (const NightEvent& event : primaries->events) {
        EXPECT_EQ(event.kind, EventKind::primary);
      }
    }
  }
}

// A star near the pole, high all night in Prague, with a two-hour eclipse placed
// so it starts just before or just after dusk, or ends just before or after dawn.
TEST(WholeEclipse, PassesOnlyWhenFirstToLastContactIsDark) {
  const NightDate date{2024, 1, 15};
  const NightStar probe = eclipsing("probe", js(2024, 1, 1, 0, 0), 1, 0, 89);
  const Checked<NightPlan> night = planNight({probe}, kPrague, date, NightOptions{});
  ASSERT_TRUE(night.ok());
  const double start = night->night.windowStartUt;
  const double end = night->night.windowEndUt;
  const double period = 10;                                      // days, so one minimum a night
  const double durationPercent = 120.0 / (period * 1440) * 100;  // two hours
  const double half = 60 * kMinuteDays;
  struct Case {
    const char* name;
    double middle;
    bool whole;
  };
  const Case cases[] = {{"starts 5 min before dusk", start + half - 5 * kMinuteDays, false},
                        {"starts 5 min after dusk", start + half + 5 * kMinuteDays, true},
                        {"ends 5 min before dawn", end - half - 5 * kMinuteDays, true},
                        {"ends 5 min after dawn", end - half + 5 * kMinuteDays, false}};
  for (const Case& c : cases) {
    NightStar star = eclipsing(c.name, c.middle, period, 0, 89);
    star.durationPercent = durationPercent;
    NightOptions options;
    options.aroundFromDuration = true;
    const Checked<NightPlan> plan = planNight({star}, kPrague, date, options);
    ASSERT_TRUE(plan.ok());
    ASSERT_EQ(plan->events.size(), 1u) << c.name;
    const NightEvent& event = plan->events.front();
    ASSERT_TRUE(event.durationMinutes.has_value());
    EXPECT_NEAR(*event.durationMinutes, 120, 1e-6);
    EXPECT_EQ(event.passesAround, c.whole) << c.name;
    // Mid-eclipse alone, or an around given on the command line (0 included), decides as before.
    NightPlan atMiddle = *plan;
    options.aroundFromDuration = false;
    applyFilters(atMiddle, options);
    EXPECT_TRUE(atMiddle.events.front().passesAround) << c.name;
  }
  // An eclipse longer than the night never passes; a maximum has no eclipse to span.
  NightStar longEclipse = eclipsing("long", start + (end - start) / 2, period, 0, 89);
  longEclipse.durationPercent = 100;
  NightStar maximum = longEclipse;
  maximum.epochKind = EventKind::maximum;
  maximum.hasSecondaryMinimum = false;
  NightOptions options;
  options.aroundFromDuration = true;
  const Checked<NightPlan> plan = planNight({longEclipse, maximum}, kPrague, date, options);
  ASSERT_EQ(plan->events.size(), 2u);
  for (const NightEvent& event : plan->events) {
    EXPECT_EQ(event.passesAround, event.kind == EventKind::maximum) << eventKindKey(event.kind);
    EXPECT_EQ(event.durationMinutes.has_value(), event.kind == EventKind::primary);
  }
}

TEST(ElementUncertainty, FromTheWrittenDigits) {
  struct Case {
    const char* name;
    double cycles;
    int periodDecimals;
    double expectedSeconds;
  };
  // The period's term alone: the epoch's ½·10^-kE comes on top.
  const Case cases[] = {{"0.6289216 d, 15800 cycles: ±68 s", 15800, 7, 68.256},
                        {"6 decimals, 10000 cycles: ±7.2 min", 10000, 6, 7.2 * 60},
                        {"4 decimals, 10000 cycles: ±12 h", 10000, 4, 12 * 3600},
                        {"before the epoch counts the same", -10000, 6, 7.2 * 60}};
  for (const Case& c : cases) {
    const double epochTerm = 0.5e-4;
    EXPECT_NEAR((digitsUncertaintyDays(c.cycles, c.periodDecimals, 4) - epochTerm) / kSecondDays, c.expectedSeconds,
                1e-6)
        << c.name;
  }
  EXPECT_EQ(writtenDecimals("0.6289216"), 7);
  EXPECT_EQ(writtenDecimals("2452501.7271"), 4);
  EXPECT_EQ(writtenDecimals(" 2 4525 01.72 "), 2);
  EXPECT_EQ(writtenDecimals("3"), 0);
  EXPECT_EQ(writtenDecimals("1.25E-3"), 5);
  EXPECT_EQ(writtenDecimals("1.5D2"), 0);
  EXPECT_EQ(writtenDecimals("短い"), 0);
  EXPECT_TRUE(writtenUncertain("0.6289:"));
  EXPECT_TRUE(writtenUncertain("2452501.72 ："));
  EXPECT_FALSE(writtenUncertain("0.6289"));
  EXPECT_FALSE(writtenUncertain(":"));
}

TEST(ElementUncertainty, FromFittedErrors) {
  const FittedErrors errors{0.0002, 0.000001, -1e-10};
  // sqrt(σE0² + E²σP² + 2E·cov) by hand at E = 1000: sqrt(4e-8 + 1e-6 - 2e-7).
  EXPECT_NEAR(*fittedUncertaintyDays(1000, errors), std::sqrt(8.4e-7), 1e-15);
  EXPECT_NEAR(*fittedUncertaintyDays(0, errors), 0.0002, 1e-15);
  // A covariance that makes the variance negative is not an answer.
  EXPECT_FALSE(fittedUncertaintyDays(1000, FittedErrors{0, 0, -1e-6}).has_value());
}

TEST(ElementUncertainty, TravelsWithEachEventAndFilters) {
  const NightDate date{2024, 1, 15};
  const Checked<NightPlan> probe = planNight({}, kPrague, date, NightOptions{});
  const double middle = (probe->night.windowStartUt + probe->night.windowEndUt) / 2;
  // Each star has one minimum mid-night, 15800 cycles after its epoch.
  const double period = 0.6289216;
  const auto star = [&](const char* name, const std::string& periodText) {
    NightStar s = eclipsing(name, 0, period, 0, 89);
    char epoch[32];
    std::snprintf(epoch, sizeof epoch, "%.4f", middle - 15800 * period);  // four decimals, trailing zeros kept
    s.epoch = epoch;
    s.period = periodText;
    return s;
  };
  NightStar digits = star("digits", "0.6289216");
  NightStar flagged = star("flagged", "0.6289216");
  flagged.elementsFlaggedUncertain = true;
  NightStar colon = star("colon", "0.6289216:");
  NightStar fitted = star("fitted", "0.6289216");
  fitted.elementsFlaggedUncertain = true;
  fitted.fittedErrors = FittedErrors{0.0001, 1e-8, 0};
  NightStar coarse = star("coarse", "0.62892");
  NightOptions options;
  options.secondaryMinima = true;
  options.maxUncertaintyMinutes = 5;
  const Checked<NightPlan> plan = planNight({digits, flagged, colon, fitted, coarse}, kPrague, date, options);
  ASSERT_TRUE(plan.ok());
  std::set<std::string> passing;
  for (const NightEvent& event : plan->events) {
    const double cycles = static_cast<double>(event.cycle) + event.phase;
    if (event.name == "fitted") {
      EXPECT_TRUE(event.uncertaintyFromFit);
      EXPECT_FALSE(event.uncertainElements);
      EXPECT_NEAR(event.uncertaintyMinutes, std::hypot(0.0001, cycles * 1e-8) / kMinuteDays, 1e-9);
    } else {
      EXPECT_FALSE(event.uncertaintyFromFit);
      const int decimals = event.name == "coarse" ? 5 : 7;
      EXPECT_NEAR(event.uncertaintyMinutes, digitsUncertaintyDays(cycles, decimals, 4) / kMinuteDays, 1e-9);
      EXPECT_EQ(event.uncertainElements, event.name == "flagged" || event.name == "colon") << event.name;
    }
    if (event.passesUncertainty && event.kind == EventKind::primary) passing.insert(event.name);
  }
  // ±1.2 min for the digits and the fit; ±113 min for five decimals; unknown bounds never pass.
  EXPECT_EQ(passing, (std::set<std::string>{"digits", "fitted"}));
}

TEST(MemoProblems, CostOnlyTheirStar) {
  NightStar good = eclipsing("good", js(2024, 1, 1, 0, 0), 0.3, 0, 89);
  NightStar bad = good;
  bad.name = "RZ Cas";
  bad.memoProblem = "メモの食の継続時間「D=250」は 0 より大きく 100 以下の百分率で書いてください。";
  const Checked<NightPlan> plan = planNight({bad, good}, kPrague, NightDate{2024, 1, 15}, NightOptions{});
  ASSERT_TRUE(plan.ok());
  EXPECT_EQ(plan->skippedStars, 1u);
  EXPECT_EQ(plan->skippedIndices, std::vector<std::size_t>{0});
  ASSERT_EQ(plan->memoWarnings.size(), 1u);
  EXPECT_NE(plan->memoWarnings[0].find("RZ Cas"), std::string::npos);
  EXPECT_NE(plan->memoWarnings[0].find("D=250"), std::string::npos);
  EXPECT_FALSE(plan->events.empty());
  for (const NightEvent& event : plan->events) EXPECT_EQ(event.name, "good");
}

}  // namespace
}  // namespace tenmirel::sky
