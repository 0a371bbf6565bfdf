// The night plan as one JSON object: the night, the filters, and the events that
// pass them; numbers as numbers, times as ISO 8601 with the offset in force.
#include <nlohmann/json.hpp>

#include "cli/night_json.h"
#include "sky/twilight.h"

namespace tenmirel::cli {
namespace {

const char* darknessName(sky::Darkness darkness) {
  switch (darkness) {
    case sky::Darkness::normal:
      return "normal";
    case sky::Darkness::neverDark:
      return "never_dark";
    case sky::Darkness::alwaysDark:
      return "always_dark";
  }
  return "normal";
}

Json instant(const NightReport& report, const std::optional<double>& julianDayUt) {
  return julianDayUt ? Json(isoTimeAt(report, *julianDayUt)) : Json(nullptr);
}

}  // namespace

Json nightSummaryJson(const NightReport& report) {
  const sky::NightSummary& night = report.plan.night;
  Json site;
  site["name"] = night.site.name;
  site["longitude_deg"] = night.site.longitudeDegrees;
  site["latitude_deg"] = night.site.latitudeDegrees;
  site["height_m"] = night.site.heightMetres;
  site["zone"] = night.site.zone;
  Json twilights = Json::array();
  for (const sky::TwilightLevel& level : night.twilights) {
    twilights.push_back(Json{{"sun_altitude_deg", level.limitDegrees},
                             {"evening", instant(report, level.stretch.evening)},
                             {"morning", instant(report, level.stretch.morning)}});
  }
  Json crossings = Json::array();
  for (const sky::MoonCrossing& crossing : night.moonCrossings) {
    crossings.push_back(Json{{"event", crossing.rising ? "rise" : "set"},
                             {"time", isoTimeAt(report, crossing.julianDayUt)},
                             {"jd", crossing.julianDayUt}});
  }
  const bool dark = night.darkness != sky::Darkness::neverDark;
  Json result;
  char date[16];
  std::snprintf(date, sizeof date, "%04d-%02d-%02d", night.date.year, night.date.month, night.date.day);
  result["date"] = date;
  result["site"] = std::move(site);
  result["elements"] = sky::elementsTimeName(report.elements);
  result["window"] = night.options.window == sky::NightWindow::clock ? "clock" : "sun_below";
  result["sun_limit_deg"] = night.options.sunLimitDegrees;
  result["darkness"] = darknessName(night.darkness);
  result["message"] = night.darknessMessage.empty() ? Json(nullptr) : Json(night.darknessMessage);
  result["start"] = dark ? Json(isoTimeAt(report, night.windowStartUt)) : Json(nullptr);
  result["end"] = dark ? Json(isoTimeAt(report, night.windowEndUt)) : Json(nullptr);
  result["start_jd"] = dark ? Json(night.windowStartUt) : Json(nullptr);
  result["end_jd"] = dark ? Json(night.windowEndUt) : Json(nullptr);
  result["twilights"] = std::move(twilights);
  result["moon"] = Json{{"illumination", night.moonIlluminatedFraction},
                        {"waxing", night.moonWaxing},
                        {"rise_set", std::move(crossings)}};
  return result;
}

Json nightFiltersJson(const sky::NightOptions& options) {
  return Json{
      {"min_altitude_deg", options.minimumAltitudeDegrees},
      {"moon_distance_deg", options.moonDistanceDegrees ? Json(*options.moonDistanceDegrees) : Json(nullptr)},
      {"around_min", options.aroundMinutes},
      {"around_whole_eclipse", options.aroundFromDuration},
      {"secondary", options.secondaryMinima},
      {"max_uncertainty_min", options.maxUncertaintyMinutes ? Json(*options.maxUncertaintyMinutes) : Json(nullptr)},
      {"refraction", options.refraction}};
}

Json nightEventJson(const sky::NightEvent& event) {
  Json item;
  item["star"] = event.name;
  item["cycle"] = event.cycle;
  item["kind"] = sky::eventKindKey(event.kind);
  item["phase"] = event.phase;
  item["local_time"] = event.isoText;
  item["jd"] = event.julianDayUt;
  item["jd_elements"] = event.elementsJulianDay;
  item["altitude_deg"] = event.altitudeDegrees;
  item["azimuth_deg"] = event.azimuthDegrees;
  item["sun_altitude_deg"] = event.sunAltitudeDegrees;
  item["moon_altitude_deg"] = event.moonAltitudeDegrees;
  item["moon_illumination"] = event.moonIlluminatedFraction;
  item["moon_separation_deg"] = event.moonSeparationDegrees;
  item["duration_minutes"] = event.durationMinutes ? Json(*event.durationMinutes) : Json(nullptr);
  item["uncertainty_minutes"] = event.uncertaintyMinutes;
  item["uncertain_elements"] = event.uncertainElements;
  item["uncertainty_source"] = event.uncertaintyFromFit ? "fit" : "digits";
  return item;
}

void printNightJson(const NightReport& report, std::ostream& out) {
  Json result;
  result["night"] = nightSummaryJson(report);
  result["filters"] = nightFiltersJson(report.plan.night.options);
  Json events = Json::array();
  for (const sky::NightEvent* event : report.shown) events.push_back(nightEventJson(*event));
  result["events"] = std::move(events);
  result["hidden_events"] = report.hiddenEvents;
  result["skipped_stars"] = report.skippedStars();
  out << result.dump(1, ' ', false, nlohmann::json::error_handler_t::replace) << '\n';
}

}  // namespace tenmirel::cli
