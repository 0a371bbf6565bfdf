#include "sky/sky_frames.h"

#include <cmath>

#include "sky/time_scales.h"

namespace tenmirel::sky {
namespace {

// The standard atmosphere used when refraction is asked for.
constexpr double kSeaLevelPressureHpa = 1013.25;
constexpr double kSeaLevelTemperatureCelsius = 15;
constexpr double kTemperatureLapseKelvinPerMetre = 0.0065;
constexpr double kCelsiusZeroKelvin = 273.15;
constexpr double kScaleHeightMetresPerKelvin = 29.3;
constexpr double kRelativeHumidity = 0.5;
constexpr double kVisualWavelengthMicrometres = 0.55;

constexpr double kMoonRadiusKm = 1737.4;
constexpr double kHorizonRefractionDegrees = 34.0 / 60;

}  // namespace

Atmosphere standardAtmosphere(double heightMetres, bool refraction) {
  const double seaLevelKelvin = kSeaLevelTemperatureCelsius + kCelsiusZeroKelvin;
  Atmosphere air;
  air.pressureHpa =
      refraction ? kSeaLevelPressureHpa * std::exp(-heightMetres / (kScaleHeightMetresPerKelvin * seaLevelKelvin)) : 0;
  air.temperatureCelsius = kSeaLevelTemperatureCelsius - kTemperatureLapseKelvinPerMetre * heightMetres;
  air.relativeHumidity = kRelativeHumidity;
  air.wavelengthMicrometres = kVisualWavelengthMicrometres;
  return air;
}

SiteGeometry siteGeometry(const Site& site, bool refraction) {
  SiteGeometry geometry;
  geometry.longitudeRadians = site.longitudeDegrees * ERFA_DD2R;
  geometry.latitudeRadians = site.latitudeDegrees * ERFA_DD2R;
  geometry.heightMetres = site.heightMetres;
  if (refraction) {
    const Atmosphere air = standardAtmosphere(site.heightMetres, true);
    eraRefco(air.pressureHpa, air.temperatureCelsius, air.relativeHumidity, air.wavelengthMicrometres,
             &geometry.refractionA, &geometry.refractionB);
  }
  return geometry;
}

SlowParts slowPartsAt(double julianDayUt) {
  const TwoPartDate tt = terrestrialTimeOf(julianDayUt);
  SlowParts slow;
  eraEpv00(tt.whole, tt.part, slow.heliocentric, slow.barycentric);
  double npb[3][3];
  eraPnm06a(tt.whole, tt.part, npb);
  eraBpn2xy(npb, &slow.cipX, &slow.cipY);
  slow.cioLocator = eraS06(tt.whole, tt.part, slow.cipX, slow.cipY);
  eraMoon98(tt.whole, tt.part, slow.moon);
  const TwoPartDate tdb = barycentricTimeOf(julianDayUt);
  slow.tdbMinusTtDays = (tdb.whole - tt.whole) + (tdb.part - tt.part);
  return slow;
}

SlowParts interpolatedSlowParts(const SlowParts& a, const SlowParts& b, double spanDays, double weight) {
  const double w = weight;
  const auto linear = [w](double from, double to) { return from + (to - from) * w; };
  // Cubic Hermite basis on [0, 1].
  const double h00 = (1 + 2 * w) * (1 - w) * (1 - w);
  const double h10 = w * (1 - w) * (1 - w);
  const double h01 = w * w * (3 - 2 * w);
  const double h11 = w * w * (w - 1);
  const auto cubic = [&](const double(&from)[2][3], const double(&to)[2][3], int k) {
    return h00 * from[0][k] + h10 * spanDays * from[1][k] + h01 * to[0][k] + h11 * spanDays * to[1][k];
  };
  SlowParts slow;
  slow.cipX = linear(a.cipX, b.cipX);
  slow.cipY = linear(a.cipY, b.cipY);
  slow.cioLocator = linear(a.cioLocator, b.cioLocator);
  slow.tdbMinusTtDays = linear(a.tdbMinusTtDays, b.tdbMinusTtDays);
  for (int k = 0; k < 3; ++k) {
    slow.heliocentric[0][k] = cubic(a.heliocentric, b.heliocentric, k);
    slow.barycentric[0][k] = cubic(a.barycentric, b.barycentric, k);
    slow.moon[0][k] = cubic(a.moon, b.moon, k);
    slow.heliocentric[1][k] = linear(a.heliocentric[1][k], b.heliocentric[1][k]);
    slow.barycentric[1][k] = linear(a.barycentric[1][k], b.barycentric[1][k]);
    slow.moon[1][k] = linear(a.moon[1][k], b.moon[1][k]);
  }
  return slow;
}

AstrometryAt prepareAstrometry(double julianDayUt, const SiteGeometry& site) {
  return prepareAstrometry(julianDayUt, site, slowPartsAt(julianDayUt));
}

AstrometryAt prepareAstrometry(double julianDayUt, const SiteGeometry& site, const SlowParts& slow) {
  AstrometryAt at;
  at.julianDayUt = julianDayUt;
  const TwoPartDate ut = twoPart(julianDayUt);
  const TwoPartDate tt = terrestrialTimeOf(julianDayUt);
  const double era = eraEra00(ut.whole, ut.part);
  const double sp = eraSp00(tt.whole, tt.part);
  // ERFA takes the vectors without const; a copy keeps the given parts as they are.
  SlowParts copy = slow;
  eraApco(tt.whole, tt.part, copy.barycentric, copy.heliocentric[0], slow.cipX, slow.cipY, slow.cioLocator, era,
          site.longitudeRadians, site.latitudeRadians, site.heightMetres, 0, 0, sp, site.refractionA, site.refractionB,
          &at.astrom);
  for (int i = 0; i < 3; ++i) {
    at.earthHeliocentric[i] = slow.heliocentric[0][i];
    at.earthBarycentric[i] = slow.barycentric[0][i];
    at.moonGeocentric[i] = slow.moon[0][i];
  }
  at.tdbMinusUtDays = (tt.whole - ut.whole) + (tt.part - ut.part) + slow.tdbMinusTtDays;
  return at;
}

void rotateEarthTo(eraASTROM& astrom, double julianDayUt) {
  const TwoPartDate ut = twoPart(julianDayUt);
  eraAper13(ut.whole, ut.part, &astrom);
}

Observed observedOfNaturalDirection(const double gcrs[3], const eraASTROM& astrom) {
  double ra = 0;
  double dec = 0;
  cirsOfNaturalDirection(gcrs, astrom, ra, dec);
  return observedFromCirs(ra, dec, astrom);
}

Observed observedFromCirs(double cirsRa, double cirsDec, const eraASTROM& astrom) {
  double azimuth = 0;
  double zenithDistance = 0;
  double hourAngle = 0;
  double dec = 0;
  double ra = 0;
  eraAtioq(cirsRa, cirsDec, const_cast<eraASTROM*>(&astrom), &azimuth, &zenithDistance, &hourAngle, &dec, &ra);
  return {90 - zenithDistance * ERFA_DR2D, eraAnp(azimuth) * ERFA_DR2D};
}

void cirsOfNaturalDirection(const double gcrs[3], const eraASTROM& astrom, double& ra, double& dec) {
  double natural[3];
  eraPn(const_cast<double*>(gcrs), &ra, natural);
  double proper[3];
  eraAb(natural, const_cast<double*>(astrom.v), astrom.em, astrom.bm1, proper);
  double cirs[3];
  eraRxp(const_cast<double(*)[3]>(astrom.bpn), proper, cirs);
  eraC2s(cirs, &ra, &dec);
  ra = eraAnp(ra);
}

void observerGeocentric(const eraASTROM& astrom, const SiteGeometry& site, double gcrs[3]) {
  const double era = astrom.eral - astrom.along;
  double pv[2][3];
  eraPvtob(site.longitudeRadians, site.latitudeRadians, site.heightMetres, 0, 0, 0, era, pv);
  double metres[3];
  eraTrxp(const_cast<double(*)[3]>(astrom.bpn), pv[0], metres);
  for (int i = 0; i < 3; ++i) gcrs[i] = metres[i] / ERFA_DAU;
}

double illuminatedFraction(const double moon[3], const double sun[3]) {
  double moonToSun[3];
  double moonToEarth[3];
  for (int i = 0; i < 3; ++i) {
    moonToSun[i] = sun[i] - moon[i];
    moonToEarth[i] = -moon[i];
  }
  const double phaseAngle = eraSepp(moonToSun, moonToEarth);
  return (1 + std::cos(phaseAngle)) / 2;
}

double moonRiseAltitudeDegrees(double distanceAu) {
  const double semidiameterDegrees = std::asin(kMoonRadiusKm * 1000 / (distanceAu * ERFA_DAU)) * ERFA_DR2D;
  return -(kHorizonRefractionDegrees + semidiameterDegrees);
}

}  // namespace tenmirel::sky
