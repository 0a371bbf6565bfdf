// The built-in site's local time <-> UT must stay as cheap as the designed js and sj.
#include <benchmark/benchmark.h>

#include "astro/julian_day.h"
#include "sky/site.h"
#include "sky/site_zone.h"

namespace tenmirel::sky {
namespace {

void BM_DesignedJs(benchmark::State& state) {
  double hour = 21;
  for (auto _ : state) benchmark::DoNotOptimize(js(2024, 1, 15, hour - 9, 30));
}
BENCHMARK(BM_DesignedJs);

void BM_BuiltInSiteLocalToUt(benchmark::State& state) {
  const SiteZone zone = *SiteZone::fromText(builtInSite().zone);
  double hour = 21;
  for (auto _ : state) benchmark::DoNotOptimize(zone.localToUt(2024, 1, 15, hour, 30));
}
BENCHMARK(BM_BuiltInSiteLocalToUt);

void BM_BuiltInSiteUtToLocal(benchmark::State& state) {
  const SiteZone zone = *SiteZone::fromText(builtInSite().zone);
  double jd = 2460325.3;
  for (auto _ : state) {
    benchmark::DoNotOptimize(zone.utToLocal(jd));
    jd += 1e-3;
  }
}
BENCHMARK(BM_BuiltInSiteUtToLocal);

void BM_IanaZoneUtToLocal(benchmark::State& state) {
  const SiteZone zone = *SiteZone::fromText("Europe/Prague");
  double jd = 2460325.3;
  for (auto _ : state) {
    benchmark::DoNotOptimize(zone.utToLocal(jd));
    jd += 1e-3;
  }
}
BENCHMARK(BM_IanaZoneUtToLocal);

// After the zone file's last transition, where its footer rule decides.
void BM_IanaZoneUtToLocalAfter2037(benchmark::State& state) {
  const SiteZone zone = *SiteZone::fromText("Europe/Prague");
  double jd = 2475000.3;  // 2063
  for (auto _ : state) {
    benchmark::DoNotOptimize(zone.utToLocal(jd));
    jd += 1e-3;
  }
}
BENCHMARK(BM_IanaZoneUtToLocalAfter2037);

}  // namespace
}  // namespace tenmirel::sky
