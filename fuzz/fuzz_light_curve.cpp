// Arbitrary bytes as a light-curve table: the reader and the time of minimum must
// never crash, and what they return must hold together.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "timing/extremum_time.h"
#include "timing/light_curve.h"

namespace {

void require(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tenmirel::timing;
  const std::string text(reinterpret_cast<const char*>(data), size);
  const auto curve = readLightCurve(text);
  if (!curve) {
    require(!curve.message().empty());
    return 0;
  }
  require(!curve->points.empty());
  require(std::is_sorted(curve->points.begin(), curve->points.end(),
                         [](const LightPoint& a, const LightPoint& b) { return a.julianDay < b.julianDay; }));
  for (const LightPoint& p : curve->points) {
    require(std::isfinite(p.julianDay) && std::isfinite(p.magnitude) && p.sigma >= 0);
    require(p.julianDay >= 2'000'000);
  }
  for (bool maximum : {false, true}) {
    const auto found = findExtremum(*curve, {std::nullopt, std::nullopt, maximum});
    if (!found) {
      require(!found.message().empty());
      continue;
    }
    require(std::isfinite(found->julianDay) && std::isfinite(found->sigmaDays) && found->sigmaDays >= 0);
    require(found->julianDay >= found->from && found->julianDay <= found->to);
    require(found->points >= kMinSpanPoints);
  }
  return 0;
}
