#pragma once
// The site a prediction is made for: its clock (time zone) for local <-> UT, and
// its longitude and latitude for the sidereal time and the altitude. The built-in
// site keeps the designed arithmetic to the last bit.
#include "astro/altitude.h"
#include "sky/checked.h"
#include "sky/site.h"
#include "sky/site_zone.h"

namespace tenmirel {

class ObservingSite {
 public:
  // The built-in site: 139° 00′ E, 35° N, UTC+09:00.
  static const ObservingSite& builtIn();
  // Refused with the reason when the site is not usable (range, unknown zone).
  static sky::Checked<ObservingSite> of(const sky::Site& site);

  const sky::Site& site() const { return site_; }
  const sky::SiteZone& zone() const { return zone_; }
  const CalcSite& calc() const { return calc_; }
  bool isBuiltIn() const { return builtIn_; }

 private:
  ObservingSite(sky::Site site, sky::SiteZone zone, CalcSite calc, bool builtIn)
      : site_(std::move(site)), zone_(std::move(zone)), calc_(std::move(calc)), builtIn_(builtIn) {}
  sky::Site site_;
  sky::SiteZone zone_;
  CalcSite calc_;
  bool builtIn_ = false;
};

}  // namespace tenmirel
