#pragma once
// The O−C diagram's points as CSV, one writer for the command line and the
// window: id,star,time,sigma,time_system,kind,cycle,o_c_days,o_c_minutes,outlier,excluded
// with the times in the elements' time system and numbers as their shortest
// exact texts.
#include <string>
#include <vector>

#include "observations/log_entry.h"
#include "timing/o_minus_c.h"

namespace tenmirel::observations {

inline constexpr const char* kOcCsvHeader =
    "id,star,time,sigma,time_system,kind,cycle,o_c_days,o_c_minutes,outlier,excluded";

// entries[i] is the log row of diagram.points[i].
std::string ocCsvText(const std::vector<LogEntry>& entries, const timing::OcDiagram& diagram,
                      sky::ElementsTime elementsSystem);

}  // namespace tenmirel::observations
