// Placing the labels of the picture's extrema, which the plan window does on every
// paint: twelve stars' curves with five extrema each on the exported picture's plot.
#include <benchmark/benchmark.h>

#include <cmath>
#include <numbers>

#include "ui/plan/night_picture_labels.h"

namespace {

std::vector<tenmirel::ui::LabelRequest> crowdedNight() {
  const QRectF plot(46, 26, 900, 350);
  std::vector<tenmirel::ui::LabelRequest> requests;
  for (int star = 0; star < 12; ++star) {
    QPolygonF curve;
    const double phase = star * 0.5;
    for (int i = 0; i <= 180; ++i) {
      const double x = plot.left() + plot.width() * i / 180.0;
      curve << QPointF(x, plot.center().y() + 0.4 * plot.height() * std::sin(i / 180.0 * 2 * std::numbers::pi + phase));
    }
    for (int marker = 0; marker < 5; ++marker) {
      requests.push_back({curve[20 + marker * 30 + star * 2], QSizeF(96, 18), curve});
    }
  }
  return requests;
}

void BM_LabelsOfACrowdedNight(benchmark::State& state) {
  const QRectF plot(46, 26, 900, 350);
  const auto requests = crowdedNight();
  for (auto _ : state) benchmark::DoNotOptimize(tenmirel::ui::placeLabels(plot, requests));
}
BENCHMARK(BM_LabelsOfACrowdedNight)->Unit(benchmark::kMillisecond);

}  // namespace
