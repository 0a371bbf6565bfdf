#pragma once
// The observer's sites, kept in sites.toml in the settings folder and shared by the
// window and the command line. The built-in site is always first, cannot be removed
// or changed, and is the default until another is chosen. A damaged file is reported
// with its line and left untouched: the store then holds the built-in site only and
// refuses changes until the file is mended or removed. Every change reads the file
// afresh under its lock and writes it back before the lock is let go, so changes
// from several windows and commands at once are each kept or refused.
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "sky/checked.h"
#include "sky/site.h"

namespace tenmirel::sky {

class SiteStore {
 public:
  // The file sites.toml in configFolder().
  static std::filesystem::path defaultFile();

  // Reads the file at once; a file that does not exist yet is an empty list.
  explicit SiteStore(std::filesystem::path file = defaultFile());

  void reload();

  const std::filesystem::path& file() const { return file_; }
  // Built-in site first, then the file's sites in their order.
  const std::vector<Site>& sites() const { return sites_; }
  const Site& defaultSite() const;
  // Nothing when no site has that name.
  const Site* find(std::string_view name) const;
  // Empty, or the message about a damaged file (naming its line).
  const std::string& problem() const { return problem_; }

  // Each change is validated against the file as it is now, written atomically and
  // then adopted (with the other changes the file has seen); a message when refused
  // (nothing changes then).
  Refusal add(const Site& site);
  Refusal replace(std::string_view name, const Site& site);
  Refusal remove(std::string_view name);
  Refusal setDefault(std::string_view name);

 private:
  // Applies a change to the sites (built-in first) and the default name as the file
  // holds them now.
  using Change = std::function<Refusal(std::vector<Site>& sites, std::string& defaultName)>;
  Refusal change(const Change& apply);

  std::filesystem::path file_;
  std::vector<Site> sites_;
  std::string defaultName_;
  std::string problem_;
};

}  // namespace tenmirel::sky
