#pragma once
// An observer's site: where on Earth, and which clock the observer reads.
#include <string>

#include "sky/checked.h"

namespace tenmirel::sky {

struct Site {
  std::string name;
  double longitudeDegrees = 0;  // east positive
  double latitudeDegrees = 0;   // north positive
  double heightMetres = 0;
  // An IANA zone name ("Asia/Tokyo") or a fixed offset ("UTC+09:00", "UTC-03:30").
  std::string zone;

  friend bool operator==(const Site&, const Site&) = default;
};

inline constexpr const char* kBuiltInSiteName = "既定の観測地";

// 139° 00′ E, 35° 00′ N, 0 m, UTC+09:00: the site of the designed calculation.
Site builtInSite();
bool isBuiltIn(const Site& site);

// Nothing when the site is usable; otherwise the first problem, in Japanese: an
// empty name, a name with control characters or bytes that are not UTF-8, |latitude| > 90, |longitude| > 180, a height
// that is not a number, or a zone that is neither a known IANA name nor a fixed offset.
Refusal validateSite(const Site& site);

}  // namespace tenmirel::sky
