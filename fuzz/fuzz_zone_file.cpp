// Arbitrary bytes as a zone file: the tail reader must never read outside them, and
// whatever footer it finds must be safe to hand to the rule reader.
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
      (void)rule->infoAt(date::sys_seconds{std::chrono::seconds{tail->lastTransition}});
      (void)rule->infoAt(date::local_seconds{std::chrono::seconds{tail->lastTransition}});
    }
  }
  return 0;
}
