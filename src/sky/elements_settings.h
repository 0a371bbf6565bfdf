#pragma once
// Which time system each catalogue's elements are in, remembered in settings.toml
// beside the sites (the catalogue format has no field for it), keyed by the
// catalogue's canonical path. Same rules as the sites: atomic writes, and a damaged
// file is reported with its line, read as "all JD" and left untouched.
#include <filesystem>
#include <map>
#include <string>

#include "sky/checked.h"
#include "sky/elements_time.h"

namespace tenmirel::sky {

class ElementsSettings {
 public:
  // settings.toml in configFolder().
  static std::filesystem::path defaultFile();

  explicit ElementsSettings(std::filesystem::path file = defaultFile());
  void reload();

  // JD for a catalogue never set.
  ElementsTime timeSystemOf(const std::filesystem::path& catalogue) const;
  // Remembers the choice (JD removes the entry); other contents of the file are kept.
  Refusal setTimeSystem(const std::filesystem::path& catalogue, ElementsTime system);

  const std::string& problem() const { return problem_; }
  const std::filesystem::path& file() const { return file_; }

  // The key a catalogue is remembered by: its canonical absolute path.
  static std::string catalogueKey(const std::filesystem::path& catalogue);

 private:
  std::filesystem::path file_;
  std::map<std::string, ElementsTime> systems_;
  std::string problem_;
};

}  // namespace tenmirel::sky
