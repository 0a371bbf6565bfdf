#pragma once
// ERFA's astrometry context for one instant and site, and the steps shared by the
// per-instant and the gridded sky: the Sun and the Moon taken from the geocentre to
// the observer's apparent direction. Internal to the sky layer.
#include <erfa.h>
#include <erfam.h>

#include "sky/site.h"

namespace tenmirel::sky {

struct SiteGeometry {
  double longitudeRadians = 0;
  double latitudeRadians = 0;
  double heightMetres = 0;
  // Refraction constants of the standard atmosphere at the site's height, or zero.
  double refractionA = 0;
  double refractionB = 0;
};

SiteGeometry siteGeometry(const Site& site, bool refraction);

// The standard atmosphere at a height (pressure zero when refraction is off), in the
// units eraRefco and eraApco13 take.
struct Atmosphere {
  double pressureHpa = 0;
  double temperatureCelsius = 0;
  double relativeHumidity = 0;
  double wavelengthMicrometres = 0;
};
Atmosphere standardAtmosphere(double heightMetres, bool refraction);

// Everything prepared for one instant: ERFA's context plus the Earth's and the
// Moon's positions that the context does not keep (au, GCRS/BCRS axes).
struct AstrometryAt {
  double julianDayUt = 0;
  eraASTROM astrom{};
  double earthHeliocentric[3] = {};
  double earthBarycentric[3] = {};
  double moonGeocentric[3] = {};
  double tdbMinusUtDays = 0;
};

// What of the context is smooth over hours: the CIP (X, Y) and CIO locator s of
// the IAU 2006/2000A precession-nutation, the Earth's heliocentric and
// barycentric and the Moon's geocentric position and velocity (au, au/day), and
// TDB - TT. Nearly all of a context's cost: long trigonometric series.
struct SlowParts {
  double cipX = 0;
  double cipY = 0;
  double cioLocator = 0;
  double heliocentric[2][3] = {};
  double barycentric[2][3] = {};
  double moon[2][3] = {};
  double tdbMinusTtDays = 0;
};
SlowParts slowPartsAt(double julianDayUt);

// Between two instants up to a day apart: X, Y, s and TDB - TT linearly (their
// fastest terms have periods of days), the Earth's and the Moon's positions by
// the cubic through both ends' positions and velocities, the velocities
// linearly. A day apart, the CIP is off by under 0.01", the Sun's direction by
// far less, and the Moon's position by under 3 km (1.5" seen from the Earth).
SlowParts interpolatedSlowParts(const SlowParts& a, const SlowParts& b, double spanDays, double weight);

// The IAU 2006/2000A context (as eraApco13 builds it, with UT1 = UTC and no polar
// motion), keeping the Earth's and the Moon's positions.
AstrometryAt prepareAstrometry(double julianDayUt, const SiteGeometry& site);
// The same with the slow parts given.
AstrometryAt prepareAstrometry(double julianDayUt, const SiteGeometry& site, const SlowParts& slow);

// Turns the Earth to the instant: ERA only, the rest of the context kept.
void rotateEarthTo(eraASTROM& astrom, double julianDayUt);

// Observed place from CIRS; refraction as set in the context.
struct Observed {
  double altitudeDegrees = 0;
  double azimuthDegrees = 0;
};
Observed observedFromCirs(double cirsRa, double cirsDec, const eraASTROM& astrom);

// A natural (astrometric, geometric) direction in GCRS to CIRS through annual and
// diurnal-velocity aberration and the bias-precession-nutation matrix.
void cirsOfNaturalDirection(const double gcrs[3], const eraASTROM& astrom, double& ra, double& dec);
// The same direction as observed: the two steps above in one.
Observed observedOfNaturalDirection(const double gcrs[3], const eraASTROM& astrom);

// The observer's geocentric position in GCRS (au) at the context's Earth rotation.
void observerGeocentric(const eraASTROM& astrom, const SiteGeometry& site, double gcrs[3]);

// Fraction of the Moon's disc lit, from geocentric Moon and Sun vectors (au).
double illuminatedFraction(const double moon[3], const double sun[3]);

// The altitude at which the Moon's upper limb touches the horizon (airless), for
// a topocentric distance in au.
double moonRiseAltitudeDegrees(double distanceAu);

}  // namespace tenmirel::sky
