#include <erfa.h>
#include <erfam.h>

#include <algorithm>
#include <array>
#include <cmath>

#include "sky/sky_frames.h"
#include "sky/sky_place.h"

namespace tenmirel::sky {
namespace {

// The Sun's apparent CIRS direction and the Moon's geocentric position at one node.
struct Node {
  AstrometryAt at;
  double sunCirs[3] = {};
  double sunGeocentric[3] = {};
};

// How far apart the slow parts of the context are computed (at whole UT Julian
// days, noon UT); between, interpolated.
constexpr double kSlowPartsSpanDays = 1;
constexpr std::size_t kSlowPartsKept = 4;

// The slow parts at an anchor, the last few kept per thread: a pure function
// remembered, so a night plans the same whatever was planned before.
const SlowParts& slowPartsOfAnchor(double anchor) {
  struct Kept {
    double anchor = std::nan("");
    SlowParts parts;
  };
  thread_local std::array<Kept, kSlowPartsKept> kept;
  thread_local std::size_t next = 0;
  for (const Kept& k : kept) {
    if (k.anchor == anchor) return k.parts;
  }
  Kept& slot = kept[next];
  next = (next + 1) % kSlowPartsKept;
  slot.anchor = anchor;
  slot.parts = slowPartsAt(anchor);
  return slot.parts;
}

void interpolate(const double a[3], const double b[3], double weight, double out[3]) {
  for (int i = 0; i < 3; ++i) out[i] = a[i] + (b[i] - a[i]) * weight;
}

}  // namespace

struct NightSky::Impl {
  Site site;
  SiteGeometry geometry;
  bool refraction = false;
  double startUt = 0;
  double endUt = 0;
  double stepDays = kNightSkyStepDays;
  std::vector<Node> nodes;

  // The node nearest the instant, and the pair around it with the weight of the second.
  std::size_t nearest(double julianDayUt) const {
    const double position = (julianDayUt - startUt) / stepDays;
    if (!(position > 0)) return 0;
    return std::min(nodes.size() - 1, static_cast<std::size_t>(std::lround(position)));
  }
  std::size_t below(double julianDayUt, double& weight) const {
    const double position = (julianDayUt - startUt) / stepDays;
    if (!(position > 0)) {
      weight = 0;
      return 0;
    }
    std::size_t index = static_cast<std::size_t>(position);
    if (index >= nodes.size() - 1) {
      weight = position >= static_cast<double>(nodes.size() - 1) ? 0 : position - static_cast<double>(index);
      return nodes.size() - 1;
    }
    weight = std::min(1.0, position - static_cast<double>(index));
    return index;
  }
  std::size_t above(std::size_t index) const { return std::min(index + 1, nodes.size() - 1); }

  // The context of the nearest node turned to the instant.
  eraASTROM turned(double julianDayUt, bool airless) const {
    eraASTROM astrom = nodes[nearest(julianDayUt)].at.astrom;
    rotateEarthTo(astrom, julianDayUt);
    if (airless) astrom.refa = astrom.refb = 0;
    return astrom;
  }

  void sunCirs(double julianDayUt, double& ra, double& dec) const {
    double weight = 0;
    const std::size_t i = below(julianDayUt, weight);
    double direction[3];
    interpolate(nodes[i].sunCirs, nodes[above(i)].sunCirs, weight, direction);
    eraC2s(direction, &ra, &dec);
  }

  void moonGeocentric(double julianDayUt, double moon[3]) const {
    double weight = 0;
    const std::size_t i = below(julianDayUt, weight);
    interpolate(nodes[i].at.moonGeocentric, nodes[above(i)].at.moonGeocentric, weight, moon);
  }

  void moonTopocentricCirs(double julianDayUt, const eraASTROM& astrom, double& ra, double& dec,
                           double& distanceAu) const {
    double moon[3];
    moonGeocentric(julianDayUt, moon);
    double observer[3];
    observerGeocentric(astrom, geometry, observer);
    double topocentric[3];
    for (int i = 0; i < 3; ++i) topocentric[i] = moon[i] - observer[i];
    distanceAu = eraPm(topocentric);
    cirsOfNaturalDirection(topocentric, astrom, ra, dec);
  }

  double illumination(double julianDayUt) const {
    double weight = 0;
    const std::size_t i = below(julianDayUt, weight);
    double moon[3];
    double sun[3];
    interpolate(nodes[i].at.moonGeocentric, nodes[above(i)].at.moonGeocentric, weight, moon);
    interpolate(nodes[i].sunGeocentric, nodes[above(i)].sunGeocentric, weight, sun);
    return illuminatedFraction(moon, sun);
  }
};

NightSky::NightSky(const Site& site, double startUt, double endUt, bool refraction, double stepDays)
    : impl_(std::make_unique<Impl>()) {
  impl_->site = site;
  impl_->geometry = siteGeometry(site, refraction);
  impl_->refraction = refraction;
  impl_->startUt = startUt;
  impl_->endUt = std::max(startUt, endUt);
  impl_->stepDays = stepDays;
  const auto intervals = static_cast<std::size_t>(std::ceil((impl_->endUt - startUt) / stepDays - 1e-9));
  impl_->nodes.resize(intervals + 1);
  for (std::size_t i = 0; i <= intervals; ++i) {
    Node& node = impl_->nodes[i];
    const double instant = startUt + static_cast<double>(i) * stepDays;
    // Most of a node's cost is the precession-nutation and the orbits: taken from
    // the whole days around it, which the next night shares.
    const double anchor = std::floor(instant / kSlowPartsSpanDays) * kSlowPartsSpanDays;
    const SlowParts before = slowPartsOfAnchor(anchor);  // a copy: the next call may reuse its slot
    const SlowParts slow = interpolatedSlowParts(before, slowPartsOfAnchor(anchor + kSlowPartsSpanDays),
                                                 kSlowPartsSpanDays, (instant - anchor) / kSlowPartsSpanDays);
    node.at = prepareAstrometry(instant, impl_->geometry, slow);
    for (int k = 0; k < 3; ++k) node.sunGeocentric[k] = -node.at.earthHeliocentric[k];
    double ra = 0;
    double dec = 0;
    cirsOfNaturalDirection(node.sunGeocentric, node.at.astrom, ra, dec);
    eraS2c(ra, dec, node.sunCirs);
  }
}

NightSky::~NightSky() = default;
NightSky::NightSky(NightSky&&) noexcept = default;
NightSky& NightSky::operator=(NightSky&&) noexcept = default;

double NightSky::startUt() const { return impl_->startUt; }
double NightSky::endUt() const { return impl_->endUt; }
const Site& NightSky::site() const { return impl_->site; }
bool NightSky::refraction() const { return impl_->refraction; }

HorizontalPlace NightSky::star(double julianDayUt, double rightAscensionDegrees, double declinationDegrees) const {
  return sample(julianDayUt, true, rightAscensionDegrees, declinationDegrees).star;
}

HorizontalPlace NightSky::sun(double julianDayUt) const {
  const eraASTROM astrom = impl_->turned(julianDayUt, false);
  double ra = 0;
  double dec = 0;
  impl_->sunCirs(julianDayUt, ra, dec);
  const Observed seen = observedFromCirs(ra, dec, astrom);
  return {seen.altitudeDegrees, seen.azimuthDegrees};
}

double NightSky::sunAirlessAltitudeDegrees(double julianDayUt) const {
  const eraASTROM astrom = impl_->turned(julianDayUt, true);
  double ra = 0;
  double dec = 0;
  impl_->sunCirs(julianDayUt, ra, dec);
  return observedFromCirs(ra, dec, astrom).altitudeDegrees;
}

HorizontalPlace NightSky::moon(double julianDayUt) const {
  const eraASTROM astrom = impl_->turned(julianDayUt, false);
  double ra = 0;
  double dec = 0;
  double distance = 0;
  impl_->moonTopocentricCirs(julianDayUt, astrom, ra, dec, distance);
  const Observed seen = observedFromCirs(ra, dec, astrom);
  return {seen.altitudeDegrees, seen.azimuthDegrees};
}

double NightSky::moonAirlessAltitudeDegrees(double julianDayUt) const {
  const eraASTROM astrom = impl_->turned(julianDayUt, true);
  double ra = 0;
  double dec = 0;
  double distance = 0;
  impl_->moonTopocentricCirs(julianDayUt, astrom, ra, dec, distance);
  return observedFromCirs(ra, dec, astrom).altitudeDegrees;
}

double NightSky::moonRiseAltitudeDegrees(double julianDayUt) const {
  const eraASTROM astrom = impl_->turned(julianDayUt, true);
  double ra = 0;
  double dec = 0;
  double distance = 0;
  impl_->moonTopocentricCirs(julianDayUt, astrom, ra, dec, distance);
  return sky::moonRiseAltitudeDegrees(distance);
}

double NightSky::moonAboveRisingDegrees(double julianDayUt) const {
  const eraASTROM astrom = impl_->turned(julianDayUt, true);
  double ra = 0;
  double dec = 0;
  double distance = 0;
  impl_->moonTopocentricCirs(julianDayUt, astrom, ra, dec, distance);
  return observedFromCirs(ra, dec, astrom).altitudeDegrees - sky::moonRiseAltitudeDegrees(distance);
}

double NightSky::moonIlluminatedFraction(double julianDayUt) const { return impl_->illumination(julianDayUt); }

bool NightSky::moonWaxing(double julianDayUt) const {
  constexpr double kHourDays = 1.0 / 24;
  return impl_->illumination(julianDayUt + kHourDays) > impl_->illumination(julianDayUt - kHourDays);
}

SkySample NightSky::sample(double julianDayUt, bool withStar, double rightAscensionDegrees,
                           double declinationDegrees) const {
  eraASTROM astrom = impl_->turned(julianDayUt, false);
  SkySample result;
  double starRa = 0;
  double starDec = 0;
  if (withStar) {
    eraAtciqz(rightAscensionDegrees * ERFA_DD2R, declinationDegrees * ERFA_DD2R, &astrom, &starRa, &starDec);
    const Observed seen = observedFromCirs(starRa, starDec, astrom);
    result.star = {seen.altitudeDegrees, seen.azimuthDegrees};
  }
  double ra = 0;
  double dec = 0;
  impl_->sunCirs(julianDayUt, ra, dec);
  const Observed sun = observedFromCirs(ra, dec, astrom);
  result.sun = {sun.altitudeDegrees, sun.azimuthDegrees};
  double distance = 0;
  impl_->moonTopocentricCirs(julianDayUt, astrom, ra, dec, distance);
  const Observed moon = observedFromCirs(ra, dec, astrom);
  result.moon = {moon.altitudeDegrees, moon.azimuthDegrees};
  result.moonIlluminatedFraction = impl_->illumination(julianDayUt);
  if (withStar) result.moonSeparationDegrees = eraSeps(starRa, starDec, ra, dec) * ERFA_DR2D;
  return result;
}

}  // namespace tenmirel::sky
