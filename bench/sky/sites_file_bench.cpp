// Reading a sites file grows with its number of sites, not with its square.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "sky/site_store.h"

namespace tenmirel::sky {
namespace {

void BM_ReadSitesFile(benchmark::State& state) {
  char pattern[] = "/tmp/tenmirel-sites-bench-XXXXXX";
  const std::filesystem::path folder = ::mkdtemp(pattern);
  const std::filesystem::path file = folder / "sites.toml";
  {
    std::ofstream out(file);
    for (int i = 0; i < state.range(0); ++i) {
      out << "[[site]]\nname = \"s" << i << "\"\nlongitude = 1.5\nlatitude = 2.5\nzone = \"UTC\"\n";
    }
  }
  for (auto _ : state) {
    const SiteStore store(file);
    benchmark::DoNotOptimize(store.sites().size());
  }
  state.SetComplexityN(state.range(0));
  std::filesystem::remove_all(folder);
}
BENCHMARK(BM_ReadSitesFile)->Arg(5000)->Arg(40000)->Unit(benchmark::kMillisecond)->Complexity();

}  // namespace
}  // namespace tenmirel::sky
