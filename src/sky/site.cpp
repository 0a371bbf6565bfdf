#include "sky/site.h"

#include <cmath>

#include "common/control_text.h"
#include "sky/site_zone.h"

namespace tenmirel::sky {
namespace {

constexpr double kBuiltInLongitudeDegrees = 139.0;  // 139° 00′ east
constexpr double kBuiltInLatitudeDegrees = 35.0;
constexpr const char* kBuiltInZone = "UTC+09:00";
constexpr double kLatitudeLimitDegrees = 90;
constexpr double kLongitudeLimitDegrees = 180;
// Lower than the Dead Sea shore, higher than any observatory.
constexpr double kLowestHeightMetres = -500;
constexpr double kHighestHeightMetres = 10000;

}  // namespace

Site builtInSite() {
  return Site{kBuiltInSiteName, kBuiltInLongitudeDegrees, kBuiltInLatitudeDegrees, 0, kBuiltInZone};
}

bool isBuiltIn(const Site& site) { return site == builtInSite(); }

Refusal validateSite(const Site& site) {
  if (site.name.empty()) return "観測地の名前を入力してください。";
  if (!isPlainText(site.name)) {
    return "観測地の名前「" + withControlsReplaced(site.name) +
           "」には制御文字（改行、タブなど）や UTF-8 でない文字は使えません。";
  }
  if (!std::isfinite(site.latitudeDegrees) || std::fabs(site.latitudeDegrees) > kLatitudeLimitDegrees) {
    return "観測地「" + site.name + "」の緯度は -90° から 90° の範囲で指定してください。";
  }
  if (!std::isfinite(site.longitudeDegrees) || std::fabs(site.longitudeDegrees) > kLongitudeLimitDegrees) {
    return "観測地「" + site.name + "」の経度は -180° から 180° の範囲で指定してください。";
  }
  if (!std::isfinite(site.heightMetres) || site.heightMetres < kLowestHeightMetres ||
      site.heightMetres > kHighestHeightMetres) {
    return "観測地「" + site.name + "」の標高は -500 m から 10000 m の範囲で指定してください。";
  }
  if (const Checked<SiteZone> zone = SiteZone::fromText(site.zone); !zone) return zone.message();
  return std::nullopt;
}

}  // namespace tenmirel::sky
