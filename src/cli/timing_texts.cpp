#include "cli/timing_texts.h"
#include "timing/day_units.h"

#include <cmath>
#include <cstdio>

namespace tenmirel::cli {

std::string fixedText(double value, int decimals) {
  if (!std::isfinite(value)) return {};
  char text[64];
  std::snprintf(text, sizeof text, "%.*f", decimals, value);
  return text;
}

std::optional<sky::ElementsTime> timeSystemOption(const std::string& text) {
  if (text.empty()) return sky::ElementsTime::jd;
  return sky::parseElementsTime(text);
}

std::shared_ptr<observations::ObservationLog> openObservationLog(const std::string& command, std::ostream& err) {
  auto log = observations::ObservationLog::open(observations::defaultLogPath());
  if (!log) {
    err << "tenmirel-cli " << command << ": " << log.message() << '\n';
    return nullptr;
  }
  return *log;
}

nlohmann::ordered_json observationJson(const observations::LogEntry& entry, const timing::OcPoint* point) {
  using Json = nlohmann::ordered_json;
  Json row;
  row["id"] = entry.id;
  row["star"] = entry.star;
  row["time"] = entry.time;
  row["sigma"] = entry.sigmaDays ? Json(*entry.sigmaDays) : Json(nullptr);
  row["time_system"] = sky::elementsTimeName(entry.system);
  row["kind"] = timing::extremumKindName(entry.kind);
  row["cycle"] = point ? Json(point->cycle) : Json(nullptr);
  row["o_c_days"] = point ? Json(point->oMinusCDays) : Json(nullptr);
  row["o_c_minutes"] = point ? Json(point->oMinusCDays * timing::kMinutesPerDay) : Json(nullptr);
  row["outlier"] = point ? Json(point->outlier) : Json(nullptr);
  row["excluded"] = entry.excluded;
  row["method"] = entry.method;
  row["observer"] = entry.observer;
  row["band"] = entry.band;
  row["source"] = entry.source;
  row["note"] = entry.note;
  row["recorded"] = entry.recorded;
  return row;
}

}  // namespace tenmirel::cli
