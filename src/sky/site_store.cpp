#include "sky/site_store.h"

#include <toml++/toml.h>

#include <algorithm>
#include <fstream>
#include <sstream>
#include <variant>

#include "sky/config_files.h"

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
      if (const Refusal invalid = validateSite(site)) return FileFault{lineOf(entry), *invalid};
      const bool duplicate = std::any_of(read.sites.begin(), read.sites.end(),
                                         [&](const Site& other) { return other.name == site.name; });
      if (duplicate) return FileFault{lineOf(entry), "観測地「" + site.name + "」が二度書かれています"};
      read.sites.push_back(site);
    }
  }
  const bool knownDefault = read.defaultName == kBuiltInSiteName ||
                            std::any_of(read.sites.begin(), read.sites.end(),
                                        [&](const Site& site) { return site.name == read.defaultName; });
  if (!knownDefault) {
    return FileFault{lineOf(*root.get(kDefaultKey)), "既定の観測地「" + read.defaultName + "」が見つかりません"};
  }
  return read;
}

std::string sitesText(const std::vector<Site>& sites, const std::string& defaultName) {
  toml::array array;
  for (const Site& site : sites) {
    if (site.name == kBuiltInSiteName) continue;
    array.push_back(toml::table{{"name", site.name},
                                {"longitude", site.longitudeDegrees},
                                {"latitude", site.latitudeDegrees},
                                {"height", site.heightMetres},
                                {"zone", site.zone}});
  }
  toml::table root{{kDefaultKey, defaultName}};
  if (!array.empty()) root.insert(kSiteArrayKey, std::move(array));
  std::ostringstream text;
  text << "# Tenmirel の観測地（経度は東が正、緯度は北が正、度。標高 m。時間帯は地域名か UTC+09:00 の形）\n";
  text << toml::toml_formatter(root) << '\n';
  return text.str();
}

}  // namespace

std::filesystem::path SiteStore::defaultFile() { return configFolder() / kSitesFileName; }

SiteStore::SiteStore(std::filesystem::path file) : file_(std::move(file)) { reload(); }

void SiteStore::reload() {
  sites_ = {builtInSite()};
  defaultName_ = kBuiltInSiteName;
  problem_.clear();
  std::error_code error;
  if (!std::filesystem::exists(file_, error)) return;
  const std::string fallback = "。既定の観測地だけを使います（ファイルは書き換えません）。";
  toml::table root;
  try {
    root = toml::parse_file(file_.string());
  } catch (const toml::parse_error& fault) {
    problem_ = "観測地ファイル " + file_.string() + " の " + std::to_string(fault.source().begin.line) +
               " 行目が読めません（" + std::string(fault.description()) + "）" + fallback;
    return;
  }
  const std::variant<ReadSites, FileFault> read = readSites(root);
  if (const FileFault* fault = std::get_if<FileFault>(&read)) {
    problem_ = "観測地ファイル " + file_.string() + " の " + std::to_string(fault->line) + " 行目: " + fault->what +
               fallback;
    return;
  }
  const ReadSites& good = std::get<ReadSites>(read);
  sites_.insert(sites_.end(), good.sites.begin(), good.sites.end());
  defaultName_ = good.defaultName;
}

const Site& SiteStore::defaultSite() const {
  const Site* site = find(defaultName_);
  return site != nullptr ? *site : sites_.front();
}

const Site* SiteStore::find(std::string_view name) const {
  const auto found = std::find_if(sites_.begin(), sites_.end(), [&](const Site& site) { return site.name == name; });
  return found == sites_.end() ? nullptr : &*found;
}

Refusal SiteStore::checkWritable() const {
  if (problem_.empty()) return std::nullopt;
  return "観測地ファイルが壊れているため変更できません。直すか消してからやり直してください。\n" + problem_;
}

Refusal SiteStore::add(const Site& site) {
  if (Refusal refused = checkWritable()) return refused;
  if (Refusal invalid = validateSite(site)) return invalid;
  if (find(site.name) != nullptr) return "観測地「" + site.name + "」はすでにあります。";
  std::vector<Site> sites = sites_;
  sites.push_back(site);
  return save(std::move(sites), defaultName_);
}

Refusal SiteStore::replace(std::string_view name, const Site& site) {
  if (Refusal refused = checkWritable()) return refused;
  if (name == kBuiltInSiteName) return std::string("既定の観測地は変更できません。");
  if (find(name) == nullptr) return "観測地「" + std::string(name) + "」はありません。";
  if (Refusal invalid = validateSite(site)) return invalid;
  if (site.name != name && find(site.name) != nullptr) return "観測地「" + site.name + "」はすでにあります。";
  std::vector<Site> sites = sites_;
  for (Site& entry : sites) {
    if (entry.name == name) entry = site;
  }
  return save(std::move(sites), defaultName_ == name ? site.name : defaultName_);
}

Refusal SiteStore::remove(std::string_view name) {
  if (Refusal refused = checkWritable()) return refused;
  if (name == kBuiltInSiteName) return std::string("既定の観測地は削除できません。");
  if (find(name) == nullptr) return "観測地「" + std::string(name) + "」はありません。";
  std::vector<Site> sites;
  for (const Site& site : sites_) {
    if (site.name != name) sites.push_back(site);
  }
  return save(std::move(sites), defaultName_ == name ? std::string(kBuiltInSiteName) : defaultName_);
}

Refusal SiteStore::setDefault(std::string_view name) {
  if (Refusal refused = checkWritable()) return refused;
  if (find(name) == nullptr) return "観測地「" + std::string(name) + "」はありません。";
  return save(sites_, std::string(name));
}

Refusal SiteStore::save(std::vector<Site> sites, std::string defaultName) {
  if (Refusal failed = writeFileAtomically(file_, sitesText(sites, defaultName))) return failed;
  sites_ = std::move(sites);
  defaultName_ = std::move(defaultName);
  return std::nullopt;
}

}  // namespace tenmirel::sky
