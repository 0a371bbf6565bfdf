#include <erfa.h>
#include <erfam.h>

#include <cmath>

#include "sky/sky_frames.h"
#include "sky/sky_place.h"
#include "sky/time_scales.h"

namespace tenmirel::sky {

struct SkyAtInstant::Impl {
  double julianDayUt = 0;
  SiteGeometry site;
  bool refraction = false;
  eraASTROM astrom{};
  eraASTROM airless{};
  double sunGeocentric[3] = {};
  double moonGeocentric[3] = {};
  double moonTopocentric[3] = {};
};

namespace {

// ERFA's own one-call context for the instant.
eraASTROM contextOf(double julianDayUt, const SiteGeometry& site, bool refraction) {
  eraASTROM astrom{};
  double eo = 0;
  const TwoPartDate utc = twoPart(julianDayUt);
  const Atmosphere air = standardAtmosphere(site.heightMetres, refraction);
  eraApco13(utc.whole, utc.part, 0, site.longitudeRadians, site.latitudeRadians, site.heightMetres, 0, 0,
            air.pressureHpa, air.temperatureCelsius, air.relativeHumidity, air.wavelengthMicrometres, &astrom, &eo);
  return astrom;
}

}  // namespace

SkyAtInstant::SkyAtInstant(const Site& site, double julianDayUt, bool refraction) : impl_(std::make_unique<Impl>()) {
  impl_->julianDayUt = julianDayUt;
  impl_->site = siteGeometry(site, refraction);
  impl_->refraction = refraction;
  impl_->astrom = contextOf(julianDayUt, impl_->site, refraction);
  impl_->airless = contextOf(julianDayUt, impl_->site, false);
  const TwoPartDate tt = terrestrialTimeOf(julianDayUt);
  double heliocentric[2][3];
  double barycentric[2][3];
  eraEpv00(tt.whole, tt.part, heliocentric, barycentric);
  double moon[2][3];
  eraMoon98(tt.whole, tt.part, moon);
  for (int i = 0; i < 3; ++i) {
    impl_->sunGeocentric[i] = -heliocentric[0][i];
    impl_->moonGeocentric[i] = moon[0][i];
    // The observer's geocentric offset is what the context adds to the Earth's
    // barycentric position.
    impl_->moonTopocentric[i] = moon[0][i] - (impl_->astrom.eb[i] - barycentric[0][i]);
  }
}

SkyAtInstant::~SkyAtInstant() = default;
SkyAtInstant::SkyAtInstant(SkyAtInstant&&) noexcept = default;
SkyAtInstant& SkyAtInstant::operator=(SkyAtInstant&&) noexcept = default;

HorizontalPlace SkyAtInstant::star(double rightAscensionDegrees, double declinationDegrees) const {
  const TwoPartDate utc = twoPart(impl_->julianDayUt);
  double azimuth = 0;
  double zenithDistance = 0;
  double hourAngle = 0;
  double dec = 0;
  double ra = 0;
  double eo = 0;
  const Atmosphere air = standardAtmosphere(impl_->site.heightMetres, impl_->refraction);
  eraAtco13(rightAscensionDegrees * ERFA_DD2R, declinationDegrees * ERFA_DD2R, 0, 0, 0, 0, utc.whole, utc.part, 0,
            impl_->site.longitudeRadians, impl_->site.latitudeRadians, impl_->site.heightMetres, 0, 0, air.pressureHpa,
            air.temperatureCelsius, air.relativeHumidity, air.wavelengthMicrometres, &azimuth, &zenithDistance,
            &hourAngle, &dec, &ra, &eo);
  return {90 - zenithDistance * ERFA_DR2D, eraAnp(azimuth) * ERFA_DR2D};
}

HorizontalPlace SkyAtInstant::sun() const {
  const Observed seen = observedOfNaturalDirection(impl_->sunGeocentric, impl_->astrom);
  return {seen.altitudeDegrees, seen.azimuthDegrees};
}

double SkyAtInstant::sunAirlessAltitudeDegrees() const {
  return observedOfNaturalDirection(impl_->sunGeocentric, impl_->airless).altitudeDegrees;
}

HorizontalPlace SkyAtInstant::moon() const {
  const Observed seen = observedOfNaturalDirection(impl_->moonTopocentric, impl_->astrom);
  return {seen.altitudeDegrees, seen.azimuthDegrees};
}

double SkyAtInstant::moonAirlessAltitudeDegrees() const {
  return observedOfNaturalDirection(impl_->moonTopocentric, impl_->airless).altitudeDegrees;
}

double SkyAtInstant::moonIlluminatedFraction() const {
  return illuminatedFraction(impl_->moonGeocentric, impl_->sunGeocentric);
}

double SkyAtInstant::moonSeparationDegrees(double rightAscensionDegrees, double declinationDegrees) const {
  double starRa = 0;
  double starDec = 0;
  eraAtciq(rightAscensionDegrees * ERFA_DD2R, declinationDegrees * ERFA_DD2R, 0, 0, 0, 0, &impl_->astrom, &starRa,
           &starDec);
  double moonRa = 0;
  double moonDec = 0;
  cirsOfNaturalDirection(impl_->moonTopocentric, impl_->astrom, moonRa, moonDec);
  return eraSeps(starRa, starDec, moonRa, moonDec) * ERFA_DR2D;
}

}  // namespace tenmirel::sky
