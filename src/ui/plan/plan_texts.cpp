#include "ui/plan/plan_texts.h"

#include "common/number_text.h"
#include "sky/site_zone.h"

#include <cmath>
#include <cstdio>

namespace tenmirel::ui {
namespace {

constexpr double kFullCircleDegrees = 360;
constexpr double kCompassStepDegrees = 45;
constexpr const char* kCompassPoints[] = {"北", "北東", "東", "南東", "南", "南西", "西", "北西"};

}  // namespace

const char* compassPoint(double azimuthDegrees) {
  if (!std::isfinite(azimuthDegrees)) return "";
  double turned = std::fmod(azimuthDegrees + kCompassStepDegrees / 2, kFullCircleDegrees);
  if (turned < 0) turned += kFullCircleDegrees;
  const auto index = static_cast<std::size_t>(turned / kCompassStepDegrees) % std::size(kCompassPoints);
  return kCompassPoints[index];
}

std::string degreesText(double degrees) {
  if (!std::isfinite(degrees)) return "—";
  char text[32];
  // Rounding to one decimal must not show "-0.0".
  const double rounded = std::round(degrees * 10) / 10;
  std::snprintf(text, sizeof text, "%.1f°", rounded == 0 ? 0.0 : rounded);
  return text;
}

std::string azimuthText(double azimuthDegrees) {
  return degreesText(azimuthDegrees) + " " + compassPoint(azimuthDegrees);
}

std::string clockText(const LocalMinute& minute) {
  char text[16];
  std::snprintf(text, sizeof text, "%02d:%02d", minute.hour, minute.minute);
  return text;
}

std::string failedFiltersText(const sky::NightEvent& event) {
  std::string text;
  auto add = [&text](const char* reason) {
    if (!text.empty()) text += "、";
    text += reason;
  };
  if (!event.hasPlace) {
    add("座標がありません");
  } else if (!event.passesAltitude) {
    add("高度が最低高度より低い");
  }
  if (!event.passesMoonDistance) add("月に近すぎる");
  if (!event.passesAround) add("前後の時間に低いか明るい");
  return text;
}

namespace {
// A limit as the window's boxes show it: "30°", "−12°".
std::string limitText(double degrees) {
  std::string text = numberToText(degrees);
  if (!text.empty() && text[0] == '-') text = "−" + text.substr(1);
  return text + "°";
}
}  // namespace

std::string failedFiltersTooltip(const sky::NightEvent& event, const sky::NightPlan& plan) {
  const sky::NightOptions& filters = plan.night.options;
  std::string text = event.localText + "（" + plan.night.site.name + "の地方時）";
  auto add = [&text](const std::string& line) { text += "\n" + line; };
  if (!event.hasPlace) {
    add("座標がないため高度を判定できません");
  } else if (!event.passesAltitude) {
    add("高度 " + degreesText(event.altitudeDegrees) + "：最低高度 " + limitText(filters.minimumAltitudeDegrees) +
        " より " + degreesText(filters.minimumAltitudeDegrees - event.altitudeDegrees) + " 低い");
  }
  if (!event.passesMoonDistance && filters.moonDistanceDegrees && event.hasPlace) {
    add("月との距離 " + degreesText(event.moonSeparationDegrees) + "：" + limitText(*filters.moonDistanceDegrees) +
        " より " + degreesText(*filters.moonDistanceDegrees - event.moonSeparationDegrees) + " 近い");
  }
  if (!event.passesAround && plan.sky) {
    if (const auto failure = sky::aroundFailure(*plan.sky, event, filters)) {
      std::string when = numberToText(filters.aroundMinutes) + "分";
      if (const auto zone = sky::SiteZone::fromText(plan.night.site.zone)) {
        when = "前後" + when + "のうち " + clockText(zone->utToLocal(failure->julianDayUt).minute) + " に";
      } else {
        when = "前後" + when + "のうちに";
      }
      add(failure->starTooLow ? when + "高度 " + degreesText(failure->altitudeDegrees) + "（最低高度 " +
                                    limitText(filters.minimumAltitudeDegrees) + "）"
                              : when + "太陽高度 " + degreesText(failure->altitudeDegrees) + "（" +
                                    limitText(filters.sunLimitDegrees) + " より低いこと）");
    }
  }
  return text;
}

}  // namespace tenmirel::ui
