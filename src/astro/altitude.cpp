#include "astro/altitude.h"

#include <cmath>

#include "common/number_text.h"

namespace tenmirel {
namespace {

// The calculation's own π, to eight decimal places; one degree is this / 180 radians.
constexpr double kPiEightPlaces = 3.14159265;
constexpr double kRadiansPerDegree = kPiEightPlaces / 180;

constexpr double kJulianDayOf1900Epoch = 2415020.5;  // day count = JD(0h UT) - 2415020
constexpr double kDaysPerJulianCentury = 36525;
constexpr double kSiderealAt0hConstantSeconds = 23925.836;
constexpr double kSiderealAt0hLinearSeconds = 8640184.542;  // per century
constexpr double kSiderealAt0hQuadraticSeconds = 0.0929;    // per century squared
constexpr double kSecondsPerDay = 86400;
constexpr double kSiderealGainPerUtSecond = 0.002738;
constexpr const char* kBuiltInLongitudeTimeSecondsText = "33360";  // 139° 00′ east
constexpr double kBuiltInLatitudeDegrees = 35;
constexpr double kTimeSecondsPerDegreeOfLongitude = 240;
constexpr double kDegreesPerSiderealDay = 360;
constexpr double kRightAngleDegrees = 90;

// Each term is written as text and read back, as the check window shows it.
double cell(std::string& label, double value) {
  label = numberToText(value);
  return parseLenient(label);
}

}  // namespace

const CalcSite& builtInCalcSite() {
  static const CalcSite site{kBuiltInLongitudeTimeSecondsText, kBuiltInLatitudeDegrees};
  return site;
}

CalcSite calcSiteAt(double longitudeDegrees, double latitudeDegrees) {
  return {numberToText(longitudeDegrees * kTimeSecondsPerDegreeOfLongitude), latitudeDegrees};
}

double CalcSidereal(const double& julianDayUt, CalcLabels& labels, const CalcSite& site) {
  const double jd = julianDayUt;
  labels.lblTu[0] = numberToText(std::floor(jd + 0.5) - kJulianDayOf1900Epoch);
  labels.lblTu[1] = numberToText(parseLenient(labels.lblTu[0]) / kDaysPerJulianCentury);
  const double t = parseLenient(labels.lblTu[1]);
  labels.lblS0[0] = numberToText(t * kSiderealAt0hLinearSeconds);
  labels.lblS0[1] = numberToText(t * t * kSiderealAt0hQuadraticSeconds);
  labels.lblS0[2] =
      numberToText((parseLenient(labels.lblS0[0]) + kSiderealAt0hConstantSeconds) + parseLenient(labels.lblS0[1]));
  const double thetaAt0h = parseLenient(labels.lblS0[2]);
  labels.lblS[0] = numberToText(thetaAt0h);
  // Taken from the Julian day itself, with its representation error.
  labels.lblS[1] = numberToText(((jd + 0.5) - std::floor(jd + 0.5)) * kSecondsPerDay);
  labels.lblS[2] = site.longitudeTimeSecondsText;
  labels.lblS[3] = numberToText(parseLenient(labels.lblS[1]) * kSiderealGainPerUtSecond);
  labels.lblS[4] =
      numberToText(((parseLenient(labels.lblS[0]) + parseLenient(labels.lblS[1])) + parseLenient(labels.lblS[2])) +
                   parseLenient(labels.lblS[3]));
  double thetaSeconds = parseLenient(labels.lblS[4]);
  thetaSeconds = thetaSeconds - std::floor(thetaSeconds / kSecondsPerDay) * kSecondsPerDay;
  labels.lblS[4] = numberToText(thetaSeconds);
  return (thetaSeconds / kSecondsPerDay) * kDegreesPerSiderealDay;
}

double CalcAltitude(const double& alphaDegrees, const double& deltaDegrees, const double& thetaDegrees,
                    CalcLabels& labels, const CalcSite& site) {
  const double alphaRadians = alphaDegrees * kRadiansPerDegree;
  const double deltaRadians = deltaDegrees * kRadiansPerDegree;
  const double thetaRadians = thetaDegrees * kRadiansPerDegree;
  const double latitudeRadians = site.latitudeDegrees * kRadiansPerDegree;
  const double sinLatitude = cell(labels.lblSinh[0], std::sin(latitudeRadians));
  const double sinDelta = cell(labels.lblSinh[1], std::sin(deltaRadians));
  const double cosLatitude = cell(labels.lblSinh[2], std::cos(latitudeRadians));
  const double cosDelta = cell(labels.lblSinh[3], std::cos(deltaRadians));
  // The hour angle is used unreduced.
  const double cosHourAngle = cell(labels.lblSinh[4], std::cos(thetaRadians - alphaRadians));
  const double s = cell(labels.lblSinh[5], sinLatitude * sinDelta + (cosDelta * cosLatitude) * cosHourAngle);
  double altitudeDegrees;
  if (s >= 1) {
    altitudeDegrees = kRightAngleDegrees;
  } else if (s <= -1) {
    altitudeDegrees = -kRightAngleDegrees;
  } else {
    // The arcsine, written with the arctangent and the square root.
    altitudeDegrees = std::atan(s / std::sqrt((-s) * s + 1)) / kRadiansPerDegree;
  }
  labels.lblH = numberToText(altitudeDegrees);
  return altitudeDegrees;
}

}  // namespace tenmirel
