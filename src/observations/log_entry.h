#pragma once
// One row of the observations log: a time of extremum of a star, as recorded.
#include <optional>
#include <string>

#include "sky/elements_time.h"
#include "timing/observed_extremum.h"

namespace tenmirel::observations {

struct LogEntry {
  long long id = 0;  // given by the log; 0 before it is recorded
  std::string star;
  double time = 0;                  // Julian day in `system`
  std::optional<double> sigmaDays;  // unknown when missing
  sky::ElementsTime system = sky::ElementsTime::jd;
  timing::ExtremumKind kind = timing::ExtremumKind::primary;
  std::string method;  // "KvW", "polynomial", "visual", "imported", …
  std::string observer;
  std::string band;
  std::string source;  // the light curve's file name
  std::string note;
  std::string recorded;   // UTC, "2026-12-07T18:40:12Z"; filled in by the log when empty
  bool excluded = false;  // left out of the O−C fit by the user
};

// The observation as the O−C diagram takes it.
timing::ObservedExtremum observedOf(const LogEntry& entry);

// The present moment as `recorded` holds it.
std::string recordedNow();

}  // namespace tenmirel::observations
