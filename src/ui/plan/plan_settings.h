#pragma once
// What the plan window remembers between runs, in QSettings under "plan/": the
// site, the limits, the failing-events check box, the window's geometry, the
// splitter and the table's columns. Values read back are checked: a damaged or
// foreign value falls back to its default.
#include <QByteArray>
#include <QSettings>
#include <QString>

namespace tenmirel::ui {

enum class SunLimitChoice { sunset, civil, nautical, astronomical, clock };
inline constexpr int kSunLimitChoiceCount = 5;

struct PlanSettings {
  QString siteName;  // empty: the site store's default
  SunLimitChoice sunLimit = SunLimitChoice::nautical;
  double minimumAltitudeDegrees = 0;
  bool moonDistanceOn = false;
  double moonDistanceDegrees = 30;
  int aroundMinutes = 0;
  bool secondaryMinima = false;
  bool maxUncertaintyOn = false;
  int maxUncertaintyMinutes = 10;
  bool showFailing = false;
  QByteArray geometry;
  QByteArray splitter;
  QByteArray tableHeader;
};

PlanSettings loadPlanSettings(QSettings& settings);
void savePlanSettings(QSettings& settings, const PlanSettings& values);

}  // namespace tenmirel::ui
