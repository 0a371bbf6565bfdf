#pragma once
// One observed time of extremum as the O−C diagram takes it.
#include <optional>
#include <string_view>

#include "sky/elements_time.h"

namespace tenmirel::timing {

enum class ExtremumKind { primary, secondary, maximum };

// "primary", "secondary", "maximum": the names on the command line and in the log.
const char* extremumKindName(ExtremumKind kind);
std::optional<ExtremumKind> parseExtremumKind(std::string_view text);

struct ObservedExtremum {
  long long id = 0;                 // the log's id; 0 when the observation is not in the log
  double time = 0;                  // Julian day in its own time system
  std::optional<double> sigmaDays;  // unknown when missing
  sky::ElementsTime system = sky::ElementsTime::jd;
  ExtremumKind kind = ExtremumKind::primary;
  bool excluded = false;  // left out of the fit by the user
};

}  // namespace tenmirel::timing
