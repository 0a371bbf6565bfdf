#include "cli/site_option.h"

#include "cli/catalogue_option.h"
#include "common/number_text.h"
#include "sky/coordinate_text.h"

namespace tenmirel::cli {
namespace {

template <typename T>
OptionChoice<T> refused(std::string message, bool usage) {
  OptionChoice<T> choice;
  choice.error = std::move(message);
  choice.usageMistake = usage;
  return choice;
}

}  // namespace

const std::set<std::string>& siteOptionNames() {
  static const std::set<std::string> names = {"--site", "--lon", "--lat", "--height", "--tz"};
  return names;
}

OptionChoice<sky::Site> siteFromTexts(const std::string& name, const std::string& longitude,
                                      const std::string& latitude, const std::string& height, const std::string& zone) {
  using Choice = OptionChoice<sky::Site>;
  sky::Site site;
  site.name = name;
  const sky::Checked<double> lon = sky::parseCoordinate(longitude, sky::CoordinateKind::longitude);
  if (!lon) return refused<sky::Site>(lon.message(), true);
  const sky::Checked<double> lat = sky::parseCoordinate(latitude, sky::CoordinateKind::latitude);
  if (!lat) return refused<sky::Site>(lat.message(), true);
  site.longitudeDegrees = *lon;
  site.latitudeDegrees = *lat;
  if (!height.empty()) {
    const std::optional<double> metres = parseStrict(height);
    if (!metres) return refused<sky::Site>("標高「" + height + "」は数ではありません（メートルで指定します）。", true);
    site.heightMetres = *metres;
  }
  site.zone = zone;
  if (sky::Refusal invalid = sky::validateSite(site)) return refused<sky::Site>(*invalid, true);
  Choice choice;
  choice.value = site;
  return choice;
}

namespace {

bool typesASite(const ParsedArgs& parsed) {
  return parsed.has("--lon") || parsed.has("--lat") || parsed.has("--height") || parsed.has("--tz");
}

// The site typed out with --lon --lat [--height] --tz.
OptionChoice<sky::Site> typedSite(const ParsedArgs& parsed) {
  if (parsed.has("--site")) {
    return refused<sky::Site>("--site と --lon / --lat / --height / --tz は同時に指定できません", true);
  }
  if (!parsed.has("--lon") || !parsed.has("--lat") || !parsed.has("--tz")) {
    return refused<sky::Site>("座標で観測地を指定するときは --lon、--lat、--tz をそろえて指定してください", true);
  }
  return siteFromTexts(kOneOffSiteName, parsed.get("--lon"), parsed.get("--lat"), parsed.get("--height"),
                       parsed.get("--tz"));
}

}  // namespace

OptionChoice<sky::Site> siteFromOptions(const ParsedArgs& parsed, const sky::SiteStore& store) {
  if (typesASite(parsed)) return typedSite(parsed);
  OptionChoice<sky::Site> choice;
  if (!store.problem().empty()) choice.warning = store.problem();
  if (parsed.has("--site")) {
    const std::string name = parsed.get("--site");
    const sky::Site* found = store.find(name);
    if (found == nullptr) {
      OptionChoice<sky::Site> unknown = refused<sky::Site>(
          "観測地「" + name + "」は登録されていません（tenmirel-cli sites で一覧を確かめてください）", false);
      unknown.warning = choice.warning;
      return unknown;
    }
    choice.value = *found;
    return choice;
  }
  choice.value = store.defaultSite();
  return choice;
}

OptionChoice<sky::Site> siteFromOptions(const ParsedArgs& parsed) {
  // A site typed out needs no sites file: it is not even opened.
  if (typesASite(parsed)) return typedSite(parsed);
  const sky::SiteStore store;
  return siteFromOptions(parsed, store);
}

namespace {

bool asksSettings(const ParsedArgs& parsed, const std::string& cataloguePath) {
  return !parsed.has(kElementsOption) && !cataloguePath.empty() && cataloguePath != kStandardInputArgument;
}

OptionChoice<sky::ElementsTime> elementsWithoutSettings(const ParsedArgs& parsed) {
  OptionChoice<sky::ElementsTime> choice;
  if (!parsed.has(kElementsOption)) {
    choice.value = sky::ElementsTime::jd;
    return choice;
  }
  choice.value = sky::parseElementsTime(parsed.get(kElementsOption));
  if (!choice.value) return refused<sky::ElementsTime>("--elements は jd、hjd、bjd のどれかで指定してください", true);
  return choice;
}

}  // namespace

OptionChoice<sky::ElementsTime> elementsFromOptions(const ParsedArgs& parsed, const std::string& cataloguePath,
                                                    const sky::ElementsSettings& settings) {
  if (!asksSettings(parsed, cataloguePath)) return elementsWithoutSettings(parsed);
  OptionChoice<sky::ElementsTime> choice;
  if (!settings.problem().empty()) choice.warning = settings.problem();
  choice.value = settings.timeSystemOf(cataloguePath);
  return choice;
}

OptionChoice<sky::ElementsTime> elementsFromOptions(const ParsedArgs& parsed, const std::string& cataloguePath) {
  // Only a catalogue file without --elements needs the settings file.
  if (!asksSettings(parsed, cataloguePath)) return elementsWithoutSettings(parsed);
  const sky::ElementsSettings settings;
  return elementsFromOptions(parsed, cataloguePath, settings);
}

std::set<std::string> withSiteOptions(std::set<std::string> names) {
  names.insert(siteOptionNames().begin(), siteOptionNames().end());
  names.insert(kElementsOption);
  return names;
}

std::optional<int> chooseSiteOptions(const ParsedArgs& parsed, const std::string& cataloguePath,
                                     const std::string& command, std::ostream& err, SiteChoice& chosen) {
  const OptionChoice<sky::Site> site = siteFromOptions(parsed);
  if (!site.warning.empty())
    err << "tenmirel-cli " << command << ": " << site.warning << "\n（既定の観測地を使います）\n";
  if (!site.value) {
    if (site.usageMistake) return usageError(err, command, site.error);
    err << "tenmirel-cli " << command << ": " << site.error << '\n';
    return 1;
  }
  const OptionChoice<sky::ElementsTime> elements = elementsFromOptions(parsed, cataloguePath);
  if (!elements.value) return usageError(err, command, elements.error);
  if (!elements.warning.empty()) err << "tenmirel-cli " << command << ": " << elements.warning << "\n（JD とします）\n";
  chosen = {*site.value, *elements.value};
  return std::nullopt;
}

std::optional<int> useSiteOptions(const ParsedArgs& parsed, const std::string& cataloguePath, FrmYohouModel& form,
                                  const std::string& command, std::ostream& err) {
  SiteChoice chosen;
  if (const std::optional<int> status = chooseSiteOptions(parsed, cataloguePath, command, err, chosen)) return status;
  if (const sky::Refusal refused = form.useSite(chosen.site)) {
    err << "tenmirel-cli " << command << ": " << *refused << '\n';
    return 1;
  }
  form.useElementsTime(chosen.elements);
  return std::nullopt;
}

const char* siteOptionsHelp() {
  return "  --site NAME         登録した観測地（tenmirel-cli sites）。既定は既定にした観測地\n"
         "  --lon DEG           その場かぎりの観測地の経度（東が正。\"139.5\"、\"139 00\"、\"139°00′\"）\n"
         "  --lat DEG           その場かぎりの観測地の緯度（北が正）\n"
         "  --height M          その場かぎりの観測地の標高（m、既定 0）\n"
         "  --tz ZONE           その場かぎりの観測地の時間帯（\"Asia/Tokyo\" や \"UTC+09:00\"）\n"
         "  --elements SYSTEM   元期の時刻系：jd（地心ユリウス日、既定）、hjd（日心）、bjd（太陽系重心 TDB）。\n"
         "                      省くとカタログごとに覚えた設定、なければ jd\n";
}

}  // namespace tenmirel::cli
