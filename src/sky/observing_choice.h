#pragma once
// The program's one current site and the time system of each catalogue's
// elements, shared by every window. The site is kept as the sites file's default
// (so the command line follows it too); the time systems in settings.toml by
// catalogue file. A catalogue without a file (typed in, or not yet loaded) has a
// choice kept for this run only.
#include <filesystem>
#include <map>
#include <string>
#include <string_view>

#include "sky/checked.h"
#include "sky/elements_settings.h"
#include "sky/site_store.h"

namespace tenmirel::sky {

class ObservingChoice {
 public:
  ObservingChoice(std::filesystem::path sitesFile, std::filesystem::path elementsSettingsFile);

  // The sites, for the sites dialog to edit; call storeEdited() afterwards.
  SiteStore& store() { return store_; }
  const SiteStore& store() const { return store_; }

  const Site& site() const { return site_; }
  // Makes the named site current and the sites file's default. The choice holds
  // for this run even when the file cannot take it (the message says why).
  Refusal chooseSite(std::string_view name);
  // After the store's sites were changed elsewhere: the current site takes their
  // new values, or the default when it was removed or the default was chosen anew.
  // True when the current site is now another site or has other values.
  bool storeEdited(const std::string& defaultBefore);

  // JD for a catalogue never set; an empty path is the catalogue without a file.
  ElementsTime elementsTimeOf(const std::filesystem::path& catalogue) const;
  // The choice holds for this run even when the settings file cannot take it.
  Refusal setElementsTime(const std::filesystem::path& catalogue, ElementsTime system);
  // Whether two catalogue paths name one catalogue for the time system.
  static bool sameCatalogue(const std::filesystem::path& a, const std::filesystem::path& b);

 private:
  SiteStore store_;
  ElementsSettings elements_;
  Site site_;
  // Choices the settings file could not take (and the catalogue without a file),
  // by catalogue key: they hold for this run.
  std::map<std::string, ElementsTime> unsaved_;
};

}  // namespace tenmirel::sky
