#pragma once
// The log as CSV, for export and import: one header line, then one line per
// observation (RFC 4180 quoting, CR LF not required, UTF-8).
//
//   id,star,time,sigma,time_system,kind,method,observer,band,source,note,recorded,excluded
//
// Numbers are written as the shortest text that reads back to the same double,
// an unknown sigma as an empty field, excluded as 0 or 1. Reading it back gives
// every field exactly (the ids are given anew by the log).
#include <string>
#include <string_view>
#include <vector>

#include "common/checked.h"
#include "observations/log_entry.h"

namespace tenmirel::observations {

inline constexpr const char* kLogCsvHeader =
    "id,star,time,sigma,time_system,kind,method,observer,band,source,note,recorded,excluded";

std::string logCsvText(const std::vector<LogEntry>& entries);

// Refuses the whole text when one line is wrong, naming the line.
Checked<std::vector<LogEntry>> readLogCsv(std::string_view text);

// One CSV field, quoted when it must be.
std::string csvField(std::string_view text);

}  // namespace tenmirel::observations
