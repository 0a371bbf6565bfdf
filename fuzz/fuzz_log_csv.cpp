// Arbitrary bytes as an observations CSV to import: refused with a message or
// read into entries that write back to a text reading the same.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "observations/log_csv.h"

namespace {

void require(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tenmirel::observations;
  const std::string text(reinterpret_cast<const char*>(data), size);
  const auto entries = readLogCsv(text);
  if (!entries) {
    require(!entries.message().empty());
    return 0;
  }
  for (const LogEntry& e : *entries) {
    require(!e.star.empty() && std::isfinite(e.time));
    require(!e.sigmaDays || (*e.sigmaDays >= 0 && std::isfinite(*e.sigmaDays)));
  }
  // What was read writes back to a text that reads to the same entries.
  const auto again = readLogCsv(logCsvText(*entries));
  require(again.ok() && again->size() == entries->size());
  for (std::size_t i = 0; i < entries->size(); ++i) {
    const LogEntry& a = (*entries)[i];
    const LogEntry& b = (*again)[i];
    require(a.star == b.star && a.time == b.time && a.sigmaDays == b.sigmaDays && a.system == b.system &&
            a.kind == b.kind && a.method == b.method && a.observer == b.observer && a.band == b.band &&
            a.source == b.source && a.note == b.note && a.recorded == b.recorded && a.excluded == b.excluded);
  }
  return 0;
}
