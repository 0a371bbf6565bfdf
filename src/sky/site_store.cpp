#include "sky/site_store.h"

#include <toml++/toml.h>

#include <algorithm>
#include <unordered_set>
#include <variant>

#include "common/control_text.h"
#include "sky/config_files.h"
#include "sky/toml_texts.h"

namespace tenmirel::sky {
namespace {

constexpr const char* kSitesFileName = "sites.toml";
constexpr const char* kDefaultKey = "default";
constexpr const char* kSiteArrayKey = "site";

// A problem found in the file, with the line it is on.
struct FileFault {
  long line = 0;
  std::string what;
};

struct ReadSites {
  std::vector<Site> sites;
  std::string defaultName;
};

long lineOf(const toml::node& node) { return static_cast<long>(node.source().begin.line); }

std::variant<ReadSites, FileFault> readSites(const toml::table& root) {
  ReadSites read;
  read.defaultName = kBuiltInSiteName;
  if (const toml::node* node = root.get(kDefaultKey)) {
    const std::optional<std::string> name = node->value<std::string>();
    if (!name) return FileFault{lineOf(*node), "default は文字列で書いてください"};
    read.defaultName = *name;
  }
  std::unordered_set<std::string> names;
  if (const toml::node* node = root.get(kSiteArrayKey)) {
    const toml::array* array = node->as_array();
    if (array == nullptr) return FileFault{lineOf(*node), "site は [[site]] の並びで書いてください"};
    for (const toml::node& entry : *array) {
      const toml::table* table = entry.as_table();
      if (table == nullptr) return FileFault{lineOf(entry), "site の要素が表ではありません"};
      Site site;
      const std::optional<std::string> name = (*table)["name"].value<std::string>();
      const std::optional<double> longitude = (*table)["longitude"].value<double>();
      const std::optional<double> latitude = (*table)["latitude"].value<double>();
      const std::optional<double> height = (*table)["height"].value<double>();
      const std::optional<std::string> zone = (*table)["zone"].value<std::string>();
      if (!name || !longitude || !latitude || !zone || (table->contains("height") && !height)) {
        return FileFault{lineOf(entry), "観測地には name, longitude, latitude, zone（文字列と数）が必要です"};
      }
      site = Site{*name, *longitude, *latitude, height.value_or(0), *zone};
      if (site.name == kBuiltInSiteName) {
        return FileFault{lineOf(entry), "「" + site.name + "」は組み込みの観測地の名前です"};
      }
      // A name with control characters is refused when a site is added, but one
      // already in the file (written by an older version) is still read.
      Site shown = site;
      shown.name = withControlsReplaced(site.name);
      if (const Refusal invalid = validateSite(shown)) return FileFault{lineOf(entry), *invalid};
      if (!names.insert(site.name).second) {
        return FileFault{lineOf(entry), "観測地「" + site.name + "」が二度書かれています"};
      }
      read.sites.push_back(site);
    }
  }
  const bool knownDefault = read.defaultName == kBuiltInSiteName || names.count(read.defaultName) > 0;
  if (!knownDefault) {
    return FileFault{lineOf(*root.get(kDefaultKey)), "既定の観測地「" + read.defaultName + "」が見つかりません"};
  }
  return read;
}

// Written by hand rather than by toml++'s formatter, so that every name reads back
// as it was and coordinates keep their shortest text.
std::string sitesText(const std::vector<Site>& sites, const std::string& defaultName) {
  std::string text = "# Tenmirel の観測地（経度は東が正、緯度は北が正、度。標高 m。時間帯は地域名か UTC+09:00 の形）\n";
  text += std::string(kDefaultKey) + " = " + tomlString(defaultName) + "\n";
  for (const Site& site : sites) {
    if (site.name == kBuiltInSiteName) continue;
    text += "\n[[" + std::string(kSiteArrayKey) + "]]\n";
    text += "name = " + tomlString(site.name) + "\n";
    text += "longitude = " + tomlFloat(site.longitudeDegrees) + "\n";
    text += "latitude = " + tomlFloat(site.latitudeDegrees) + "\n";
    text += "height = " + tomlFloat(site.heightMetres) + "\n";
    text += "zone = " + tomlString(site.zone) + "\n";
  }
  return text;
}

constexpr const char* kSitesFileWhat = "観測地ファイル";

// The file's sites and default, or the message about what is wrong with it.
Checked<ReadSites> readSitesText(const std::filesystem::path& file, const ConfigText& current) {
  if (!current.exists) return Checked<ReadSites>::success(ReadSites{{}, kBuiltInSiteName});
  toml::table root;
  try {
    root = toml::parse(current.text, file.string());
  } catch (const toml::parse_error& fault) {
    return Checked<ReadSites>::failure(std::string(kSitesFileWhat) + " " + shownPath(file) + " の " +
                                       std::to_string(fault.source().begin.line) + " 行目が読めません（" +
                                       tomlFaultWords(fault.description()) + "）");
  }
  const std::variant<ReadSites, FileFault> read = readSites(root);
  if (const FileFault* fault = std::get_if<FileFault>(&read)) {
    return Checked<ReadSites>::failure(std::string(kSitesFileWhat) + " " + shownPath(file) + " の " +
                                       std::to_string(fault->line) + " 行目: " + withControlsReplaced(fault->what));
  }
  return Checked<ReadSites>::success(std::get<ReadSites>(read));
}

}  // namespace

std::filesystem::path SiteStore::defaultFile() { return configFolder() / kSitesFileName; }

SiteStore::SiteStore(std::filesystem::path file) : file_(std::move(file)) { reload(); }

void SiteStore::reload() {
  sites_ = {builtInSite()};
  defaultName_ = kBuiltInSiteName;
  problem_.clear();
  const std::string fallback = "。既定の観測地だけを使います（ファイルは書き換えません）。";
  const Checked<ConfigText> current = readConfigFile(file_, kSitesFileWhat);
  if (!current) {
    problem_ = current.message() + fallback;
    return;
  }
  const Checked<ReadSites> read = readSitesText(file_, *current);
  if (!read) {
    problem_ = read.message() + fallback;
    return;
  }
  sites_.insert(sites_.end(), read->sites.begin(), read->sites.end());
  defaultName_ = read->defaultName;
}

const Site& SiteStore::defaultSite() const {
  const Site* site = find(defaultName_);
  return site != nullptr ? *site : sites_.front();
}

const Site* SiteStore::find(std::string_view name) const {
  const auto found = std::find_if(sites_.begin(), sites_.end(), [&](const Site& site) { return site.name == name; });
  return found == sites_.end() ? nullptr : &*found;
}

Refusal SiteStore::change(const Change& apply) {
  std::vector<Site> sites;
  std::string defaultName;
  const Refusal refused = changeConfigFile(file_, kSitesFileWhat, [&](const ConfigText& current) {
    const Checked<ReadSites> read = readSitesText(file_, current);
    if (!read) {
      return Checked<std::string>::failure(
          "観測地ファイルが壊れているため変更できません。直すか消してからやり直してください。\n" + read.message() +
          "。");
    }
    sites = {builtInSite()};
    sites.insert(sites.end(), read->sites.begin(), read->sites.end());
    defaultName = read->defaultName;
    if (Refusal no = apply(sites, defaultName)) return Checked<std::string>::failure(*no);
    return Checked<std::string>::success(sitesText(sites, defaultName));
  });
  if (refused) return refused;
  sites_ = std::move(sites);
  defaultName_ = std::move(defaultName);
  problem_.clear();
  return std::nullopt;
}

namespace {

bool hasSite(const std::vector<Site>& sites, std::string_view name) {
  return std::any_of(sites.begin(), sites.end(), [&](const Site& site) { return site.name == name; });
}

std::string missing(std::string_view name) { return "観測地「" + withControlsReplaced(name) + "」はありません。"; }

}  // namespace

Refusal SiteStore::add(const Site& site) {
  if (Refusal invalid = validateSite(site)) return invalid;
  return change([&](std::vector<Site>& sites, std::string&) -> Refusal {
    if (hasSite(sites, site.name)) return "観測地「" + site.name + "」はすでにあります。";
    sites.push_back(site);
    return std::nullopt;
  });
}

Refusal SiteStore::replace(std::string_view name, const Site& site) {
  if (name == kBuiltInSiteName) return std::string("既定の観測地は変更できません。");
  return change([&](std::vector<Site>& sites, std::string& defaultName) -> Refusal {
    if (!hasSite(sites, name)) return missing(name);
    if (Refusal invalid = validateSite(site)) return invalid;
    if (site.name != name && hasSite(sites, site.name)) return "観測地「" + site.name + "」はすでにあります。";
    for (Site& entry : sites) {
      if (entry.name == name) entry = site;
    }
    if (defaultName == name) defaultName = site.name;
    return std::nullopt;
  });
}

Refusal SiteStore::remove(std::string_view name) {
  if (name == kBuiltInSiteName) return std::string("既定の観測地は削除できません。");
  return change([&](std::vector<Site>& sites, std::string& defaultName) -> Refusal {
    if (!hasSite(sites, name)) return missing(name);
    sites.erase(std::remove_if(sites.begin(), sites.end(), [&](const Site& site) { return site.name == name; }),
                sites.end());
    if (defaultName == name) defaultName = kBuiltInSiteName;
    return std::nullopt;
  });
}

Refusal SiteStore::setDefault(std::string_view name) {
  return change([&](std::vector<Site>& sites, std::string& defaultName) -> Refusal {
    if (!hasSite(sites, name)) return missing(name);
    defaultName = std::string(name);
    return std::nullopt;
  });
}

}  // namespace tenmirel::sky
