#include <benchmark/benchmark.h>

#include <unistd.h>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <sstream>

#include "cli/cli.h"
#include "observations/observation_log.h"
#include "timing/kwee_van_woerden.h"
#include "timing/o_minus_c.h"

namespace {

using namespace tenmirel;

// A noisy dip of 10,000 points, all in the span.
void KweeVanWoerden10000Points(benchmark::State& state) {
  std::mt19937 random(1);
  std::normal_distribution<double> noise(0, 0.01);
  std::vector<timing::SpanPoint> points;
  for (int i = 0; i < 10000; ++i) {
    const double t = -0.05 + 0.1 * i / 9999;
    points.push_back({t, 10 + std::exp(-t * t / (2 * 0.02 * 0.02)) + noise(random)});
  }
  for (auto _ : state) benchmark::DoNotOptimize(timing::kweeVanWoerden(points));
}
BENCHMARK(KweeVanWoerden10000Points)->Unit(benchmark::kMillisecond);

std::vector<timing::OcPoint> ocPoints(int count) {
  std::mt19937 random(2);
  std::normal_distribution<double> noise(0, 0.0005);
  std::vector<timing::OcPoint> points;
  for (int i = 0; i < count; ++i) {
    timing::OcPoint p;
    p.cycle = i - count / 2;
    p.time = 2450000 + 1.2 * p.cycle + noise(random);
    p.observed.sigmaDays = 0.0003 + 0.0001 * (i % 4);
    points.push_back(p);
  }
  return points;
}

void OcLinearFit10000Observations(benchmark::State& state) {
  std::vector<timing::OcPoint> points = ocPoints(10000);
  for (auto _ : state) benchmark::DoNotOptimize(timing::fitElements(points, timing::FitKind::linear));
}
BENCHMARK(OcLinearFit10000Observations)->Unit(benchmark::kMicrosecond);

void OcQuadraticFit10000Observations(benchmark::State& state) {
  std::vector<timing::OcPoint> points = ocPoints(10000);
  for (auto _ : state) benchmark::DoNotOptimize(timing::fitElements(points, timing::FitKind::quadratic));
}
BENCHMARK(OcQuadraticFit10000Observations)->Unit(benchmark::kMicrosecond);

// A log of 1,000,000 observations of 2,000 stars, made once in a temporary folder.
class MillionRowLog {
 public:
  MillionRowLog() {
    folder_ = std::filesystem::temp_directory_path() / ("tenmirel-bench-log-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder_ / "Tenmirel");
    auto log = *observations::ObservationLog::open(folder_ / "Tenmirel" / "observations.sqlite");
    std::vector<observations::LogEntry> batch;
    for (int i = 0; i < 1'000'000; ++i) {
      observations::LogEntry e;
      e.star = "V" + std::to_string(i % 2000) + " Cyg";
      e.time = 2440000 + i * 0.02;
      e.sigmaDays = 0.0002;
      e.method = "KvW";
      e.recorded = "2026-12-07T00:00:00Z";
      batch.push_back(std::move(e));
    }
    log->addAll(batch);
    ::setenv("XDG_DATA_HOME", folder_.c_str(), 1);
  }
  ~MillionRowLog() { std::filesystem::remove_all(folder_); }

 private:
  std::filesystem::path folder_;
};

// tenmirel-cli obs list --star: opening the log, the indexed query, the table.
void ObsListOneStarOfAMillionRows(benchmark::State& state) {
  static MillionRowLog log;
  for (auto _ : state) {
    std::ostringstream out, err;
    benchmark::DoNotOptimize(cli::run({"obs", "list", "--star", "V1234 Cyg"}, out, err));
  }
}
BENCHMARK(ObsListOneStarOfAMillionRows)->Unit(benchmark::kMillisecond);

}  // namespace
