#include "ui/plan/plan_texts.h"

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

}  // namespace tenmirel::ui
