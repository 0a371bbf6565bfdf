#pragma once
// Light elements given in heliocentric or barycentric time: the moment an extremum
// reaches the Sun or the solar-system barycentre differs from the moment the
// observer sees it by the light time along the star's direction (up to about 8.3
// minutes), and BJD_TDB is moreover counted in TDB rather than UT. Through ERFA's
// Earth ephemeris (eraEpv00), leap-second table (eraDat) and TDB - TT (eraDtdb).
#include "sky/elements_time.h"

namespace tenmirel::sky {

// A star's direction: unit vector of its J2000 (ICRS) right ascension and
// declination in degrees.
struct StarDirection {
  double x = 1, y = 0, z = 0;
};
StarDirection starDirection(double rightAscensionDegrees, double declinationDegrees);

// The elements' time (JD, HJD or BJD_TDB) of the UT instant at the geocentre.
// JD gives the instant itself.
double elementsTimeOf(double julianDayUt, ElementsTime system, const StarDirection& star);

// The inverse: the UT instant at which the observer sees what happened at the
// given elements' time, iterated until it no longer changes. JD gives the time
// itself, untouched.
double observedUtOf(double elementsTime, ElementsTime system, const StarDirection& star);

}  // namespace tenmirel::sky
