#pragma once
// The observer's sites, kept in sites.toml in the settings folder and shared by the
// window and the command line. The built-in site is always first, cannot be removed
// or changed, and is the default until another is chosen. A damaged file is reported
// with its line and left untouched: the store then holds the built-in site only and
// refuses changes until the file is mended or removed.
#include <filesystem>
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

  // Each change is validated, written atomically and then adopted; a message when
  // refused (nothing changes then).
  Refusal add(const Site& site);
  Refusal replace(std::string_view name, const Site& site);
  Refusal remove(std::string_view name);
  Refusal setDefault(std::string_view name);

 private:
  Refusal checkWritable() const;
  Refusal save(std::vector<Site> sites, std::string defaultName);

  std::filesystem::path file_;
  std::vector<Site> sites_;
  std::string defaultName_;
  std::string problem_;
};

}  // namespace tenmirel::sky
