// The night plan over the whole GCVS extract: every extremum of 21,381 stars in one
// night, with the star's apparent altitude, the Sun and the Moon.
#include <benchmark/benchmark.h>

#include "gcvs_stars.h"
#include "sky/night_plan.h"
#include "sky/season_plan.h"

namespace tenmirel::sky {
namespace {

const std::vector<NightStar>& gcvsStars() {
  static const std::vector<NightStar> stars = bench::readGcvsStars(TENMIREL_DATA_DIR "/gcvs-elements.tsv");
  return stars;
}

void BM_NightOverGcvs(benchmark::State& state) {
  const std::vector<NightStar>& stars = gcvsStars();
  NightOptions options;
  std::size_t events = 0;
  for (auto _ : state) {
    const Checked<NightPlan> plan = planNight(stars, builtInSite(), NightDate{2024, 1, 15}, options);
    events = plan->events.size();
    benchmark::DoNotOptimize(plan);
  }
  state.counters["stars"] = static_cast<double>(stars.size());
  state.counters["events"] = static_cast<double>(events);
}
BENCHMARK(BM_NightOverGcvs)->Unit(benchmark::kMillisecond);

// What the plan window does when the date, the site or the Sun limit changes for
// a catalogue of the main window's size (the first 1001 GCVS stars)...
void BM_NightOf1001Stars(benchmark::State& state) {
  const std::vector<NightStar> stars(gcvsStars().begin(), gcvsStars().begin() + 1001);
  for (auto _ : state) {
    const Checked<NightPlan> plan = planNight(stars, builtInSite(), NightDate{2026, 12, 7}, NightOptions{});
    benchmark::DoNotOptimize(plan);
  }
}
BENCHMARK(BM_NightOf1001Stars)->Unit(benchmark::kMillisecond);

// ...and when only the minimum altitude or the Moon distance changes: the night
// stays, its events are judged again.
void BM_FiltersJudgedAgainFor1001Stars(benchmark::State& state) {
  const std::vector<NightStar> stars(gcvsStars().begin(), gcvsStars().begin() + 1001);
  Checked<NightPlan> planned = planNight(stars, builtInSite(), NightDate{2026, 12, 7}, NightOptions{});
  NightPlan plan = *planned;
  NightOptions filters;
  double minimum = 0;
  for (auto _ : state) {
    filters.minimumAltitudeDegrees = minimum;
    filters.moonDistanceDegrees = 30;
    applyFilters(plan, filters);
    minimum = minimum > 40 ? 0 : minimum + 5;
    benchmark::DoNotOptimize(plan.events.data());
  }
}
BENCHMARK(BM_FiltersJudgedAgainFor1001Stars)->Unit(benchmark::kMicrosecond);

// A season of 365 nights for a catalogue of the main window's size, secondaries included.
void BM_Season365NightsOf1001Stars(benchmark::State& state) {
  const std::vector<NightStar> stars(gcvsStars().begin(), gcvsStars().begin() + 1001);
  NightOptions options;
  options.secondaryMinima = true;
  std::size_t events = 0;
  for (auto _ : state) {
    const Checked<SeasonPlan> season = planSeason(stars, builtInSite(), NightDate{2026, 1, 1}, 365, options);
    events = 0;
    for (const NightPlan& night : season->nights) events += night.events.size();
    benchmark::DoNotOptimize(season);
  }
  state.counters["events"] = static_cast<double>(events);
}
BENCHMARK(BM_Season365NightsOf1001Stars)->Unit(benchmark::kMillisecond);

void BM_NightSkyPreparedNoonToNoon(benchmark::State& state) {
  for (auto _ : state) {
    NightSky sky(builtInSite(), 2460325.625, 2460326.625, false);
    benchmark::DoNotOptimize(sky);
  }
}
BENCHMARK(BM_NightSkyPreparedNoonToNoon)->Unit(benchmark::kMillisecond);

void BM_EventSample(benchmark::State& state) {
  const NightSky sky(builtInSite(), 2460325.625, 2460326.625, false);
  double t = 2460325.9;
  for (auto _ : state) {
    benchmark::DoNotOptimize(sky.sample(t, true, 83.6, 22.0));
    t += 1e-4;
    if (t > 2460326.4) t = 2460325.9;
  }
}
BENCHMARK(BM_EventSample);

}  // namespace
}  // namespace tenmirel::sky
