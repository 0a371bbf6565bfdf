// Arbitrary element texts: the decimals counted and the ':' found must never
// crash, and the uncertainty from them is a finite, non-negative number of days
// for any cycle the night plan can reach.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "sky/element_uncertainty.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const int decimals = tenmirel::sky::writtenDecimals(text);
  if (decimals < 0) std::abort();
  (void)tenmirel::sky::writtenUncertain(text);
  for (double cycles : {0.0, -0.5, 1e6, -9007199254740992.0}) {
    const double days = tenmirel::sky::digitsUncertaintyDays(cycles, decimals, decimals);
    if (!std::isfinite(days) || days < 0) std::abort();
  }
  return 0;
}
