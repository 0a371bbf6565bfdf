#include "cli/night_report.h"

#include <cmath>
#include <cstdio>

namespace tenmirel::cli {

NightReport::NightReport(const sky::NightPlan& nightPlan, const sky::SiteZone& siteZone, sky::ElementsTime system)
    : plan(nightPlan), zone(siteZone), elements(system), shown(sky::passingEvents(nightPlan)) {
  hiddenEvents = plan.events.size() - shown.size();
}

std::string oneDecimal(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.1f", value);
  const std::string shown = text;
  return shown == "-0.0" ? "0.0" : shown;
}

namespace {

std::string withOffset(const NightReport& report, const sky::ZonedMinute& local) {
  const std::string text = sky::localMinuteText(local.minute);
  return report.zone.fixedOffset() ? text : text + " " + local.offset.text();
}

}  // namespace

std::string localTimeOfEvent(const NightReport& report, const sky::NightEvent& event) {
  return withOffset(report, event.local);
}

std::string localTimeAt(const NightReport& report, double julianDayUt) {
  return withOffset(report, report.zone.utToLocal(julianDayUt));
}

std::string isoTimeAt(const NightReport& report, double julianDayUt) {
  const sky::ZonedMinute local = report.zone.utToLocal(julianDayUt);
  return sky::isoMinuteText(local.minute, local.offset);
}

std::string nightDateText(const sky::NightDate& date) {
  return std::to_string(date.year) + "年" + std::to_string(date.month) + "月" + std::to_string(date.day) + "日";
}

std::string uncertaintyText(const sky::NightEvent& event) {
  constexpr double kShownAboveMinutes = 1;
  if (event.uncertainElements) return "≥±" + oneDecimal(event.uncertaintyMinutes);
  return event.uncertaintyMinutes > kShownAboveMinutes ? "±" + oneDecimal(event.uncertaintyMinutes) : std::string();
}

std::string durationText(const sky::NightEvent& event) {
  return event.durationMinutes ? oneDecimal(*event.durationMinutes) : std::string();
}

std::string shownCountLine(const NightReport& report) {
  return "極 " + std::to_string(report.shown.size()) + " 件を表示しました（条件に合わずに隠した極 " +
         std::to_string(report.hiddenEvents) + " 件）。";
}

std::string skippedCountLine(const NightReport& report) {
  return "元期・周期が空か正の数でないなどで予報できず、飛ばした星 " + std::to_string(report.skippedStars()) + " 個。";
}

}  // namespace tenmirel::cli
