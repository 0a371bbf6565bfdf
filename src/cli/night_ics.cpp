// The night plan as an iCalendar file through libical: one VEVENT per extremum,
// its span in UTC, its UID the same for the same row and cycle whenever and
// wherever the plan is made, so a calendar program updates rather than doubles it.
#include <libical/ical.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <memory>

#include "cli/night_report.h"
#include "common/number_text.h"
#include "sky/event_calendar_texts.h"

namespace tenmirel::cli {
namespace {

constexpr double kUnixEpochJulianDay = 2440587.5;
constexpr double kSecondsPerDay = 86400;
constexpr std::time_t kSecondsPerMinute = 60;
constexpr double kPercent = 100;
constexpr const char* kProductId = "-//Tenmirel//Night plan//JA";

std::time_t unixSecondsOf(double julianDayUt, double plusSeconds) {
  return static_cast<std::time_t>(std::llround((julianDayUt - kUnixEpochJulianDay) * kSecondsPerDay + plusSeconds));
}

icaltimetype utcTime(std::time_t seconds) {
  return icaltime_from_timet_with_zone(seconds, 0, icaltimezone_get_utc_timezone());
}

std::string descriptionOf(const NightReport& report, const sky::NightEvent& event) {
  std::string extra;
  if (event.durationMinutes) extra += "\n食の継続 " + durationText(event) + " 分";
  if (!uncertaintyText(event).empty()) extra += "\n予報の不確かさ " + uncertaintyText(event) + " 分";
  return std::string(sky::eventKindWord(event.kind)) + " " + localTimeOfEvent(report, event) +
         "（地方時）、ユリウス日 " + numberToText(event.julianDayUt) + "（世界時）\n高度 " +
         oneDecimal(event.altitudeDegrees) + "°、方位 " + oneDecimal(event.azimuthDegrees) + "°、太陽高度 " +
         oneDecimal(event.sunAltitudeDegrees) + "°\n月高度 " + oneDecimal(event.moonAltitudeDegrees) + "°、月の輝面 " +
         oneDecimal(event.moonIlluminatedFraction * kPercent) + "%、月との角距離 " +
         oneDecimal(event.moonSeparationDegrees) + "°" + extra;
}

struct ComponentFree {
  void operator()(icalcomponent* component) const { icalcomponent_free(component); }
};

}  // namespace

std::string nightCalendar(const NightReport& report, std::string& error) {
  std::vector<ReportedEvent> events;
  for (const sky::NightEvent* event : report.shown) events.push_back({&report, event});
  return eventsCalendar(events, report.plan.night.site.name, error);
}

std::string eventsCalendar(const std::vector<ReportedEvent>& events, const std::string& location, std::string& error) {
  icalerror_set_errors_are_fatal(0);
  std::unique_ptr<icalcomponent, ComponentFree> calendar(icalcomponent_new_vcalendar());
  if (!calendar) {
    error = "カレンダーを作れませんでした（メモリが足りません）。";
    return {};
  }
  icalcomponent_add_property(calendar.get(), icalproperty_new_version("2.0"));
  icalcomponent_add_property(calendar.get(), icalproperty_new_prodid(kProductId));
  icalcomponent_add_property(calendar.get(), icalproperty_new_calscale("GREGORIAN"));
  const icaltimetype stamp = utcTime(std::time(nullptr));
  for (const ReportedEvent& shown : events) {
    const sky::NightEvent* event = shown.event;
    icalcomponent* vevent = icalcomponent_new_vevent();
    // The span checked: the chosen around, or the whole eclipse.
    const double aroundSeconds = event->checkedHalfMinutes * static_cast<double>(kSecondsPerMinute);
    std::time_t start = unixSecondsOf(event->julianDayUt, -aroundSeconds);
    std::time_t end = unixSecondsOf(event->julianDayUt, aroundSeconds);
    // Without minutes around, or so few that the span is under a minute: the minute
    // the tables show, so that every event lasts at least one minute.
    if (end - start < kSecondsPerMinute) {
      const std::time_t at = unixSecondsOf(event->julianDayUt, 0);
      start = at - ((at % kSecondsPerMinute) + kSecondsPerMinute) % kSecondsPerMinute;
      end = start + kSecondsPerMinute;
    }
    icalcomponent_add_property(vevent, icalproperty_new_uid(sky::eventUid(*event).c_str()));
    icalcomponent_add_property(vevent, icalproperty_new_dtstamp(stamp));
    icalcomponent_add_property(vevent, icalproperty_new_dtstart(utcTime(start)));
    icalcomponent_add_property(vevent, icalproperty_new_dtend(utcTime(end)));
    icalcomponent_add_property(vevent, icalproperty_new_summary(sky::eventSummary(*event).c_str()));
    icalcomponent_add_property(vevent, icalproperty_new_description(descriptionOf(*shown.report, *event).c_str()));
    icalcomponent_add_property(vevent, icalproperty_new_location(sky::calendarText(location).c_str()));
    icalcomponent_add_component(calendar.get(), vevent);
  }
  char* text = icalcomponent_as_ical_string_r(calendar.get());
  if (text == nullptr) {
    error = "カレンダーを書き出せませんでした。";
    return {};
  }
  std::string result(text);
  std::free(text);
  return result;
}

}  // namespace tenmirel::cli
