#include "prediction/observing_site.h"

namespace tenmirel {

const ObservingSite& ObservingSite::builtIn() {
  static const ObservingSite site = [] {
    const sky::Site builtInSite = sky::builtInSite();
    // The designed texts: "33360" seconds of time and 35°, exactly as always.
    return ObservingSite(builtInSite, *sky::SiteZone::fromText(builtInSite.zone), builtInCalcSite(), true);
  }();
  return site;
}

sky::Checked<ObservingSite> ObservingSite::of(const sky::Site& site) {
  if (sky::isBuiltIn(site)) return sky::Checked<ObservingSite>::success(builtIn());
  if (const sky::Refusal problem = sky::validateSite(site)) return sky::Checked<ObservingSite>::failure(*problem);
  const sky::Checked<sky::SiteZone> zone = sky::SiteZone::fromText(site.zone);
  if (!zone) return sky::Checked<ObservingSite>::failure(zone.message());
  return sky::Checked<ObservingSite>::success(
      ObservingSite(site, *zone, calcSiteAt(site.longitudeDegrees, site.latitudeDegrees), false));
}

}  // namespace tenmirel
