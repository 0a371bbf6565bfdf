#include "ui/plan/plan_settings.h"

#include <cmath>

namespace tenmirel::ui {
namespace {

constexpr double kHighestAltitudeDegrees = 90;
constexpr double kWidestMoonDistanceDegrees = 180;
constexpr int kLongestAroundMinutes = 720;
constexpr int kLargestUncertaintyMinutes = 14400;

double boundedNumber(const QVariant& value, double low, double high, double fallback) {
  bool ok = false;
  const double number = value.toDouble(&ok);
  if (!ok || !std::isfinite(number) || number < low || number > high) return fallback;
  return number;
}

}  // namespace

PlanSettings loadPlanSettings(QSettings& settings) {
  PlanSettings values;
  settings.beginGroup(QStringLiteral("plan"));
  values.siteName = settings.value(QStringLiteral("site")).toString();
  const int limit = static_cast<int>(boundedNumber(settings.value(QStringLiteral("sunLimit")), 0,
                                                   kSunLimitChoiceCount - 1, static_cast<int>(values.sunLimit)));
  values.sunLimit = static_cast<SunLimitChoice>(limit);
  values.minimumAltitudeDegrees = boundedNumber(settings.value(QStringLiteral("minimumAltitude")),
                                                -kHighestAltitudeDegrees, kHighestAltitudeDegrees, 0);
  values.moonDistanceOn = settings.value(QStringLiteral("moonDistanceOn"), false).toBool();
  values.moonDistanceDegrees = boundedNumber(settings.value(QStringLiteral("moonDistance")), 0,
                                             kWidestMoonDistanceDegrees, values.moonDistanceDegrees);
  values.aroundMinutes =
      static_cast<int>(boundedNumber(settings.value(QStringLiteral("aroundMinutes")), 0, kLongestAroundMinutes, 0));
  values.secondaryMinima = settings.value(QStringLiteral("secondaryMinima"), false).toBool();
  values.maxUncertaintyOn = settings.value(QStringLiteral("maxUncertaintyOn"), false).toBool();
  values.maxUncertaintyMinutes = static_cast<int>(boundedNumber(
      settings.value(QStringLiteral("maxUncertainty")), 0, kLargestUncertaintyMinutes, values.maxUncertaintyMinutes));
  values.showFailing = settings.value(QStringLiteral("showFailing"), false).toBool();
  values.geometry = settings.value(QStringLiteral("geometry")).toByteArray();
  values.splitter = settings.value(QStringLiteral("splitter")).toByteArray();
  values.tableHeader = settings.value(QStringLiteral("tableHeader")).toByteArray();
  settings.endGroup();
  return values;
}

void savePlanSettings(QSettings& settings, const PlanSettings& values) {
  settings.beginGroup(QStringLiteral("plan"));
  settings.setValue(QStringLiteral("site"), values.siteName);
  settings.setValue(QStringLiteral("sunLimit"), static_cast<int>(values.sunLimit));
  settings.setValue(QStringLiteral("minimumAltitude"), values.minimumAltitudeDegrees);
  settings.setValue(QStringLiteral("moonDistanceOn"), values.moonDistanceOn);
  settings.setValue(QStringLiteral("moonDistance"), values.moonDistanceDegrees);
  settings.setValue(QStringLiteral("aroundMinutes"), values.aroundMinutes);
  settings.setValue(QStringLiteral("secondaryMinima"), values.secondaryMinima);
  settings.setValue(QStringLiteral("maxUncertaintyOn"), values.maxUncertaintyOn);
  settings.setValue(QStringLiteral("maxUncertainty"), values.maxUncertaintyMinutes);
  settings.setValue(QStringLiteral("showFailing"), values.showFailing);
  settings.setValue(QStringLiteral("geometry"), values.geometry);
  settings.setValue(QStringLiteral("splitter"), values.splitter);
  settings.setValue(QStringLiteral("tableHeader"), values.tableHeader);
  settings.endGroup();
  settings.sync();
}

}  // namespace tenmirel::ui
