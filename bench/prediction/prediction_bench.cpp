// One prediction start, one next-cycle step, and the local-minute search against
// the literal scan it replaces.
#include <benchmark/benchmark.h>

#include <chrono>
#include <random>
#include <vector>

#include "astro/julian_day.h"
#include "prediction/frm_yohou_model.h"
#include "support/recording_ports.h"
#include "support/sj_reference.h"

namespace {

using namespace tenmirel;

// A catalogued star (Algol's elements and position), so the altitude is computed.
struct BenchForm {
  BenchForm() : form(messages, checkWindow, chooser) {
    form.Form_Load(std::chrono::system_clock::time_point{});
    form.useCatalogue({{"Algol", "2445641.5135", "2.8673043", "3", "8.2", "True", "40", "57", ""}});
    form.typeReference({"2026", "12", "7", "18", "0"});
  }
  testing::RecordingMessages messages;
  testing::RecordingCheckWindow checkWindow;
  testing::ScriptedChooser chooser;
  FrmYohouModel form;
};

void BM_PredictionStart(benchmark::State& state) {
  BenchForm bench;
  for (auto _ : state) {
    benchmark::DoNotOptimize(bench.form.Command2_Click());
    benchmark::DoNotOptimize(bench.form.txtOutputKoudo.data());
  }
}
BENCHMARK(BM_PredictionStart);

void BM_NextCycle(benchmark::State& state) {
  BenchForm bench;
  bench.form.Command2_Click();
  for (auto _ : state) {
    benchmark::DoNotOptimize(bench.form.Command3_Click());
    // Stay within the years the calendar search covers.
    if (bench.form.kaiki > 1e5) bench.form.txtOutputKaiki = "1";
  }
}
BENCHMARK(BM_NextCycle);

std::vector<double> randomJulianDays() {
  std::mt19937_64 random(1);
  std::uniform_real_distribution<double> day(2305448.0, 2816000.0);
  std::vector<double> days(1024);
  for (double& d : days) d = day(random);
  return days;
}

void BM_SjSearch(benchmark::State& state) {
  const auto days = randomJulianDays();
  std::size_t i = 0;
  for (auto _ : state) {
    double juli = days[i++ & 1023];
    benchmark::DoNotOptimize(sj(juli));
  }
}
BENCHMARK(BM_SjSearch);

void BM_SjLiteralScan(benchmark::State& state) {
  const auto days = randomJulianDays();
  std::size_t i = 0;
  for (auto _ : state) {
    double juli = days[i++ & 1023];
    benchmark::DoNotOptimize(testing::literalScanSj(juli));
  }
}
BENCHMARK(BM_SjLiteralScan);

}  // namespace
