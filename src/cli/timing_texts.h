#pragma once
// Number texts, the log's opening and an observation's JSON shared by tom, obs and oc.
#include <memory>
#include <nlohmann/json.hpp>
#include <optional>
#include <ostream>
#include <string>

#include "observations/observation_log.h"
#include "sky/elements_time.h"
#include "timing/o_minus_c.h"

namespace tenmirel::cli {

// A fixed number of decimals; the empty text for a value that is not finite.
std::string fixedText(double value, int decimals);

// --time-system jd|hjd|bjd, or jd when absent; nothing after a message when wrong.
std::optional<sky::ElementsTime> timeSystemOption(const std::string& text);

// The log at its usual place, or nothing after saying why on err.
std::shared_ptr<observations::ObservationLog> openObservationLog(const std::string& command, std::ostream& err);

// One observation with the keys of obs list and oc: id, star, time, sigma,
// time_system, kind, cycle, o_c_days, o_c_minutes, outlier, excluded (cycle,
// O − C and outlier null without elements), then method, observer, band,
// source, note, recorded.
nlohmann::ordered_json observationJson(const observations::LogEntry& entry, const timing::OcPoint* point);

}  // namespace tenmirel::cli
