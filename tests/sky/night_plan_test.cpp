#include "sky/night_plan.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <set>
#include <tuple>

#include "astro/julian_day.h"
#include "common/number_text.h"
#include "sky/time_system.h"

namespace tenmirel::sky {
namespace {

constexpr double kMinuteDays = 1.0 / 1440;

const Site kPrague{"Praha", 14.4167, 50.0833, 250, "Europe/Prague"};
const Site kTromso{"Tromsø", 18.9553, 69.6492, 0, "Europe/Oslo"};
const Site kSantiago{"Santiago", -70.6693, -33.4489, 570, "America/Santiago"};

NightStar star(std::string name, double epoch, double period, double ra, double dec) {
  return NightStar{std::move(name), numberToText(epoch), numberToText(period), true, ra, dec};
}

std::vector<NightStar> randomStars(std::mt19937_64& random, int count, double around) {
  std::uniform_real_distribution<double> period(0.04, 12);
  std::uniform_real_distribution<double> offset(-4000, 4000);
  std::uniform_real_distribution<double> ra(0, 360);
  std::uniform_real_distribution<double> dec(-85, 85);
  std::vector<NightStar> stars;
  for (int i = 0; i < count; ++i) {
    stars.push_back(star("V" + std::to_string(i), around + offset(random), period(random), ra(random), dec(random)));
  }
  return stars;
}

using EventKey = std::tuple<std::size_t, std::int64_t>;

// Every cycle whose extremum falls inside the window, by trying cycles one by one
// over a wide range around it.
std::set<EventKey> bruteForce(const std::vector<NightStar>& stars, double start, double end, ElementsTime system) {
  std::set<EventKey> found;
  for (std::size_t i = 0; i < stars.size(); ++i) {
    const double epoch = parseLenient(stars[i].epoch);
    const double period = parseLenient(stars[i].period);
    const StarDirection direction = starDirection(stars[i].rightAscensionDegrees, stars[i].declinationDegrees);
    const double middle = std::floor((start - epoch) / period);
    for (double cycle = middle - 3; cycle * period + epoch <= end + 0.1; cycle += 1) {
      const double seen = observedUtOf(cycle * period + epoch, system, direction);
      if (seen >= start && seen <= end) found.insert({i, static_cast<std::int64_t>(cycle)});
    }
  }
  return found;
}

std::set<EventKey> keysOf(const NightPlan& plan) {
  std::set<EventKey> keys;
  for (const NightEvent& event : plan.events) keys.insert({event.starIndex, event.cycle});
  return keys;
}

TEST(NightPlan, FindsEveryExtremumOfTheNightOnceInTimeOrder) {
  std::mt19937_64 random(41);
  for (const Site& site : {builtInSite(), kPrague, kSantiago}) {
    for (ElementsTime system : {ElementsTime::jd, ElementsTime::hjd, ElementsTime::bjdTdb}) {
      std::vector<NightStar> stars = randomStars(random, 150, js(2024, 3, 10, 0, 0));
      NightOptions options;
      options.elementsTime = system;
      const Checked<NightPlan> plan = planNight(stars, site, NightDate{2024, 3, 10}, options);
      ASSERT_TRUE(plan.ok()) << plan.message();
      const NightSummary& night = plan->night;
      ASSERT_EQ(night.darkness, Darkness::normal);
      // Extrema exactly on the window's edges belong to the night.
      stars.push_back(star("edge start", night.windowStartUt, 0.37, 10, 10));
      stars.push_back(star("edge end", night.windowEndUt - 2 * 0.29, 0.29, 10, 10));
      const Checked<NightPlan> withEdges = planNight(stars, site, NightDate{2024, 3, 10}, options);
      ASSERT_TRUE(withEdges.ok());
      EXPECT_EQ(keysOf(*withEdges), bruteForce(stars, night.windowStartUt, night.windowEndUt, system))
          << site.name << ' ' << elementsTimeName(system);
      EXPECT_EQ(keysOf(*withEdges).size(), withEdges->events.size());  // no duplicates
      EXPECT_TRUE(
          std::is_sorted(withEdges->events.begin(), withEdges->events.end(),
                         [](const NightEvent& a, const NightEvent& b) { return a.julianDayUt < b.julianDayUt; }));
      for (const NightEvent& event : withEdges->events) {
        const double epoch = parseLenient(stars[event.starIndex].epoch);
        const double period = parseLenient(stars[event.starIndex].period);
        EXPECT_EQ(event.elementsJulianDay, static_cast<double>(event.cycle) * period + epoch);
        if (system == ElementsTime::jd) {
          EXPECT_EQ(event.julianDayUt, event.elementsJulianDay);
        }
      }
    }
  }
}

// With the built-in site, JD elements and the designed 07:00-06:59 night, every
// event's local minute is the one sj gives, and the first extremum after local
// midnight that the main window predicts is listed when it falls in that night.
TEST(NightPlan, BuiltInClockNightAgreesWithTheDesignedPrediction) {
  std::mt19937_64 random(42);
  const NightDate date{2024, 1, 15};
  std::vector<NightStar> stars = randomStars(random, 400, js(2024, 1, 15, 0, 0));
  NightOptions options;
  options.window = NightWindow::clock;
  const Checked<NightPlan> plan = planNight(stars, builtInSite(), date, options);
  ASSERT_TRUE(plan.ok());
  for (const NightEvent& event : plan->events) {
    double copy = event.julianDayUt;
    const LocalMinute designed = sj(copy);
    EXPECT_EQ(std::tie(event.local.minute.year, event.local.minute.month, event.local.minute.day,
                       event.local.minute.hour, event.local.minute.minute),
              std::tie(designed.year, designed.month, designed.day, designed.hour, designed.minute));
    EXPECT_EQ(event.isoText.substr(16), "+09:00");
  }
  int listed = 0;
  for (std::size_t i = 0; i < stars.size(); ++i) {
    const double epoch = parseLenient(stars[i].epoch);
    const double period = parseLenient(stars[i].period);
    const double reference = js(date.year, date.month, date.day, 0 - 9, 0);
    const double kaiki = std::floor((reference - epoch) / period) + 1;
    double julKekka = kaiki * period + epoch;
    const LocalMinute minute = sj(julKekka);
    const bool inNight =
        (minute.day == date.day && minute.hour >= 7) || (minute.day == date.day + 1 && minute.hour < 7);
    const auto found = std::find_if(plan->events.begin(), plan->events.end(), [&](const NightEvent& event) {
      return event.starIndex == i && event.cycle == static_cast<std::int64_t>(kaiki);
    });
    EXPECT_EQ(found != plan->events.end(), inNight) << stars[i].name;
    if (found != plan->events.end()) {
      ++listed;
      EXPECT_EQ(found->local.minute.minute, minute.minute);
      EXPECT_EQ(found->local.minute.hour, minute.hour);
    }
  }
  EXPECT_GT(listed, 20);
}

TEST(NightPlan, SkipsAndCountsStarsWithoutUsableElements) {
  std::vector<NightStar> stars = {
      star("good", js(2024, 1, 1, 0, 0), 0.5, 10, 20),
      NightStar{"no epoch", "", "1.5", true, 10, 20},
      NightStar{"blank period", "2460000", "  ", true, 10, 20},
      NightStar{"letters", "2460000", "abc", true, 10, 20},
      NightStar{"negative", "2460000", "-2", true, 10, 20},
      NightStar{"too short", "2460000", "1E-09", true, 10, 20},
      NightStar{"no place", "2460000", "0.3", false, 0, 0},
  };
  const Checked<NightPlan> plan = planNight(stars, kPrague, NightDate{2024, 1, 15}, NightOptions{});
  ASSERT_TRUE(plan.ok());
  EXPECT_EQ(plan->skippedStars, 5u);
  EXPECT_EQ(plan->skippedIndices, (std::vector<std::size_t>{1, 2, 3, 4, 5}));
  // A star without a place is listed but fails the altitude filter.
  bool sawPlaceless = false;
  for (const NightEvent& event : plan->events) {
    if (event.starIndex == 6) {
      sawPlaceless = true;
      EXPECT_FALSE(event.passesAltitude);
    }
  }
  EXPECT_TRUE(sawPlaceless);
  // HJD needs the star's direction: the star without a place is skipped then.
  NightOptions heliocentric;
  heliocentric.elementsTime = ElementsTime::hjd;
  EXPECT_EQ(planNight(stars, kPrague, NightDate{2024, 1, 15}, heliocentric)->skippedStars, 6u);
}

TEST(NightPlan, RefusesBadInputWithAMessage) {
  const std::vector<NightStar> none;
  EXPECT_NE(planNight(none, kPrague, NightDate{1599, 12, 31}, {}).message().find("1600"), std::string::npos);
  EXPECT_NE(planNight(none, kPrague, NightDate{3001, 1, 1}, {}).message().find("3000"), std::string::npos);
  EXPECT_FALSE(planNight(none, kPrague, NightDate{2023, 2, 29}, {}).ok());
  Site nowhere = kPrague;
  nowhere.zone = "Europe/Nowhere";
  EXPECT_NE(planNight(none, nowhere, NightDate{2024, 1, 1}, {}).message().find("Europe/Nowhere"), std::string::npos);
  Site tooFarNorth = kPrague;
  tooFarNorth.latitudeDegrees = 91;
  EXPECT_FALSE(planNight(none, tooFarNorth, NightDate{2024, 1, 1}, {}).ok());
  NightOptions nan;
  nan.minimumAltitudeDegrees = std::nan("");
  EXPECT_FALSE(planNight(none, kPrague, NightDate{2024, 1, 1}, nan).ok());
}

NightOptions sunBelow(double limit) {
  NightOptions options;
  options.sunLimitDegrees = limit;
  return options;
}

TEST(NightPlan, NightsWithoutDarknessSaySo) {
  const std::vector<NightStar> stars = {star("V1", js(2024, 6, 1, 0, 0), 0.1, 10, 60)};
  const Checked<NightPlan> prague = planNight(stars, kPrague, NightDate{2024, 6, 21}, sunBelow(-18));
  ASSERT_TRUE(prague.ok());
  EXPECT_EQ(prague->night.darkness, Darkness::neverDark);
  EXPECT_TRUE(prague->events.empty());
  EXPECT_NE(prague->night.darknessMessage.find("暗い時間がありません"), std::string::npos);
  const Checked<NightPlan> tromso = planNight(stars, kTromso, NightDate{2024, 6, 21}, sunBelow(kSunsetAltitudeDegrees));
  EXPECT_NE(tromso->night.darknessMessage.find("白夜"), std::string::npos);
  // The polar night is one long night from noon to noon.
  const Checked<NightPlan> winter =
      planNight(stars, kTromso, NightDate{2024, 12, 21}, sunBelow(kSunsetAltitudeDegrees));
  EXPECT_EQ(winter->night.darkness, Darkness::alwaysDark);
  EXPECT_NEAR(winter->night.windowEndUt - winter->night.windowStartUt, 1, 1e-9);
  EXPECT_EQ(winter->events.size(), 10u);
}

TEST(NightPlan, FiltersMarkEventsButKeepThem) {
  std::mt19937_64 random(43);
  const std::vector<NightStar> stars = randomStars(random, 300, js(2024, 1, 15, 0, 0));
  NightOptions options;
  options.minimumAltitudeDegrees = 30;
  options.moonDistanceDegrees = 40;
  Checked<NightPlan> checked = planNight(stars, kPrague, NightDate{2024, 1, 15}, options);
  ASSERT_TRUE(checked.ok());
  NightPlan plan = *checked;
  const std::size_t all = plan.events.size();
  for (const NightEvent& event : plan.events) {
    EXPECT_EQ(event.passesAltitude, event.altitudeDegrees >= 30);
    EXPECT_EQ(event.passesMoonDistance, event.moonSeparationDegrees >= 40);
    EXPECT_LT(event.sunAltitudeDegrees, -11.9);
  }
  const std::size_t passing = passingEvents(plan).size();
  EXPECT_LT(passing, all);
  EXPECT_GT(passing, 0u);

  // Around ±60 minutes: an event passes only if the star stays high and the Sun low
  // for the whole two hours, so none within an hour of dusk or dawn passes.
  NightOptions around = options;
  around.moonDistanceDegrees.reset();
  around.aroundMinutes = 60;
  applyFilters(plan, around);
  EXPECT_EQ(plan.events.size(), all);
  for (const NightEvent& event : plan.events) {
    const bool nearEdge = event.julianDayUt - plan.night.windowStartUt < 59 * kMinuteDays ||
                          plan.night.windowEndUt - event.julianDayUt < 59 * kMinuteDays;
    if (nearEdge) {
      EXPECT_FALSE(event.passesAround) << event.localText;
    }
    if (event.passesAround) {
      for (double minutes : {-60.0, -30.0, 0.0, 30.0, 60.0}) {
        const double t = event.julianDayUt + minutes * kMinuteDays;
        EXPECT_GE(plan.sky->star(t, event.rightAscensionDegrees, event.declinationDegrees).altitudeDegrees, 30);
      }
    }
    EXPECT_TRUE(event.passesMoonDistance);
  }
}

TEST(NightPlan, SummaryGivesTheNightAndTheMoon) {
  const std::vector<NightStar> stars;
  const Checked<NightPlan> plan = planNight(stars, kPrague, NightDate{2024, 1, 25}, NightOptions{});
  ASSERT_TRUE(plan.ok());
  const NightSummary& night = plan->night;
  EXPECT_EQ(night.twilights.size(), 4u);
  EXPECT_GT(night.moonIlluminatedFraction, 0.98);  // full Moon that night
  // Nautical dusk in Prague in late January is a little after 17:30 local time.
  EXPECT_EQ(night.windowStartLocal.minute.hour, 17);
  EXPECT_EQ(night.windowStartLocal.offset.seconds, 3600);
  EXPECT_EQ(night.windowEndLocal.minute.day, 26);
  EXPECT_FALSE(night.moonCrossings.empty());
}

}  // namespace
}  // namespace tenmirel::sky

namespace tenmirel::sky {
namespace {

// Evenings before a day the zone skipped when it moved across the date line: a
// real night each, running into the morning of the day after the skipped one.
TEST(NightPlanZoneEdges, TheEveningBeforeASkippedDayIsAWholeNight) {
  struct Case {
    const char* label;
    Site site;
    NightDate evening;
    int morningDay;
  };
  for (const Case& c : {Case{"Apia", {"Apia", -171.75, -13.83, 0, "Pacific/Apia"}, {2011, 12, 29}, 31},
                        Case{"Kwajalein", {"Kwajalein", 167.73, 9.19, 0, "Pacific/Kwajalein"}, {1993, 8, 20}, 22},
                        Case{"Kiritimati", {"Kiritimati", -157.4, 1.87, 0, "Pacific/Kiritimati"}, {1994, 12, 30}, 1}}) {
    const Checked<NightPlan> plan = planNight({star("V1", 2451545.0, 0.37, 30, 0)}, c.site, c.evening, {});
    ASSERT_TRUE(plan.ok()) << c.label << ": " << plan.message();
    const NightSummary& night = plan->night;
    EXPECT_EQ(night.darkness, Darkness::normal) << c.label;
    EXPECT_EQ(night.windowStartLocal.minute.day, c.evening.day) << c.label;
    EXPECT_EQ(night.windowEndLocal.minute.day, c.morningDay) << c.label;
    // Dusk to dawn in the tropics: about ten hours of dark, not a cut half-night.
    EXPECT_GT(night.windowEndUt - night.windowStartUt, 0.35) << c.label;
    EXPECT_LT(night.windowEndUt - night.windowStartUt, 0.5) << c.label;
    EXPECT_FALSE(plan->events.empty()) << c.label;
  }
}

TEST(NightPlanZoneEdges, ASkippedDayIsRefusedWithoutCallingItSummerTime) {
  const Site apia{"Apia", -171.75, -13.83, 0, "Pacific/Apia"};
  const Checked<NightPlan> plan = planNight({}, apia, {2011, 12, 30}, {});
  ASSERT_FALSE(plan.ok());
  EXPECT_NE(plan.message().find("存在しない時刻"), std::string::npos) << plan.message();
  EXPECT_EQ(plan.message().find("夏時間"), std::string::npos) << plan.message();
  // A spring-forward gap is still named as one.
  const Checked<double> gap = SiteZone::fromText("Europe/Prague")->localToUt(2024, 3, 31, 2, 30);
  ASSERT_FALSE(gap.ok());
  EXPECT_NE(gap.message().find("夏時間への切り替えで存在しない時刻"), std::string::npos) << gap.message();
}

}  // namespace
}  // namespace tenmirel::sky

namespace tenmirel::sky {
namespace {

// The designed main window reads "abc" as 0; the night skips such a star and counts it.
TEST(NightPlanElements, EpochsAndPeriodsThatAreNotNumbersAreSkippedAndCounted) {
  const std::vector<NightStar> stars = {
      star("good", js(2024, 1, 1, 0, 0), 0.5, 10, 20),
      NightStar{"letters", "abc", "0.5", true, 10, 20},
      NightStar{"nan", "nan", "0.5", true, 10, 20},
      NightStar{"infinity", "inf", "0.5", true, 10, 20},
      NightStar{"trailing letters", "2460000", "0.5 days", true, 10, 20},
      NightStar{"nan period", "2460000", "NaN", true, 10, 20},
      NightStar{"blanks around", " 2460000\t", " 0.5 ", true, 10, 20},
  };
  const Checked<NightPlan> plan = planNight(stars, kPrague, NightDate{2024, 1, 15}, NightOptions{});
  ASSERT_TRUE(plan.ok()) << plan.message();
  EXPECT_EQ(plan->skippedIndices, (std::vector<std::size_t>{1, 2, 3, 4, 5}));
  EXPECT_EQ(plan->skippedStars, 5u);
  std::set<std::size_t> planned;
  for (const NightEvent& event : plan->events) planned.insert(event.starIndex);
  EXPECT_EQ(planned, (std::set<std::size_t>{0, 6}));
}

}  // namespace
}  // namespace tenmirel::sky
