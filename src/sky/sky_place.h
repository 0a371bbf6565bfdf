#pragma once
// Apparent topocentric places through ERFA (IAU 2006/2000A, UT1 = UTC, no polar
// motion): J2000 catalogue stars, the Sun and the Moon as an observer at a site
// sees them. Refraction (standard atmosphere) only when asked for.
//
// SkyAtInstant computes everything afresh for one instant, as the reference.
// NightSky prepares ERFA's context on a grid across a span (every 20 minutes by
// default), turns the Earth to each asked instant and interpolates the Sun and the
// Moon: the fast path for thousands of events, within 0.01° (stars and Sun) and
// 0.05° (Moon) of the reference.
#include <memory>
#include <vector>

#include "sky/site.h"

namespace tenmirel::sky {

struct HorizontalPlace {
  double altitudeDegrees = 0;
  double azimuthDegrees = 0;  // from north through east, 0 <= azimuth < 360
};

// What an event needs of the sky at one instant.
struct SkySample {
  HorizontalPlace star;                // only when asked with a star
  HorizontalPlace sun;                 // with refraction as the sky was prepared
  HorizontalPlace moon;                // topocentric, with refraction as the sky was prepared
  double moonIlluminatedFraction = 0;  // 0 new .. 1 full
  double moonSeparationDegrees = 0;    // from the star, when asked with one
};

class SkyAtInstant {
 public:
  SkyAtInstant(const Site& site, double julianDayUt, bool refraction);
  ~SkyAtInstant();
  SkyAtInstant(SkyAtInstant&&) noexcept;
  SkyAtInstant& operator=(SkyAtInstant&&) noexcept;

  HorizontalPlace star(double rightAscensionDegrees, double declinationDegrees) const;
  HorizontalPlace sun() const;
  // The Sun's altitude without refraction, as twilight is defined.
  double sunAirlessAltitudeDegrees() const;
  HorizontalPlace moon() const;
  double moonAirlessAltitudeDegrees() const;
  double moonIlluminatedFraction() const;
  double moonSeparationDegrees(double rightAscensionDegrees, double declinationDegrees) const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

inline constexpr double kNightSkyStepDays = 20.0 / 1440;

class NightSky {
 public:
  // A grid from startUt to endUt (Julian days, UT), both included.
  NightSky(const Site& site, double startUt, double endUt, bool refraction, double stepDays = kNightSkyStepDays);
  ~NightSky();
  NightSky(NightSky&&) noexcept;
  NightSky& operator=(NightSky&&) noexcept;

  double startUt() const;
  double endUt() const;
  const Site& site() const;
  bool refraction() const;

  // Instants outside the span are answered from its nearest end's context.
  HorizontalPlace star(double julianDayUt, double rightAscensionDegrees, double declinationDegrees) const;
  HorizontalPlace sun(double julianDayUt) const;
  double sunAirlessAltitudeDegrees(double julianDayUt) const;
  HorizontalPlace moon(double julianDayUt) const;
  double moonAirlessAltitudeDegrees(double julianDayUt) const;
  // The altitude at which the Moon rises or sets at that instant (upper limb, airless).
  double moonRiseAltitudeDegrees(double julianDayUt) const;
  // The two above as one difference, their shared work done once: the same number
  // as moonAirlessAltitudeDegrees(t) - moonRiseAltitudeDegrees(t).
  double moonAboveRisingDegrees(double julianDayUt) const;
  double moonIlluminatedFraction(double julianDayUt) const;
  // True while the lit part grows (new to full).
  bool moonWaxing(double julianDayUt) const;
  // Star, Sun and Moon together, sharing the work; the star's parts only when
  // withStar.
  SkySample sample(double julianDayUt, bool withStar, double rightAscensionDegrees = 0,
                   double declinationDegrees = 0) const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace tenmirel::sky
