// Arbitrary bytes as a zone file: the tail reader must never read outside them, and
// whatever footer it finds must be safe to hand to the rule reader.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "sky/zone_file_tail.h"
#include "sky/zone_footer_rule.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tenmirel::sky;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  if (const std::optional<ZoneFileTail> tail = readZoneFileTail(bytes)) {
    if (tail->rule.find('\n') != std::string::npos) std::abort();
    if (const auto rule = ZoneFooterRule::fromText(tail->rule, tail->lastTransition)) {
      // Zones are asked only within about years -1000 to 5000 (SiteZone clamps to this).
      constexpr std::int64_t kLargestZoneSeconds = 100000000000;
      const std::int64_t at = std::clamp(tail->lastTransition, -kLargestZoneSeconds, kLargestZoneSeconds);
      (void)rule->infoAt(date::sys_seconds{std::chrono::seconds{at}});
      (void)rule->infoAt(date::local_seconds{std::chrono::seconds{at}});
    }
  }
  return 0;
}
