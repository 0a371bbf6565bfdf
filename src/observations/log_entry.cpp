#include "observations/log_entry.h"

#include <chrono>
#include <ctime>

namespace tenmirel::observations {

timing::ObservedExtremum observedOf(const LogEntry& entry) {
  timing::ObservedExtremum observed;
  observed.id = entry.id;
  observed.time = entry.time;
  observed.sigmaDays = entry.sigmaDays;
  observed.system = entry.system;
  observed.kind = entry.kind;
  observed.excluded = entry.excluded;
  return observed;
}

std::string recordedNow() {
  const std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
  std::tm utc{};
  gmtime_r(&now, &utc);
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &utc);
  return text;
}

}  // namespace tenmirel::observations
