#include "sky/observing_choice.h"

namespace tenmirel::sky {

ObservingChoice::ObservingChoice(std::filesystem::path sitesFile, std::filesystem::path elementsSettingsFile)
    : store_(std::move(sitesFile)), elements_(std::move(elementsSettingsFile)), site_(store_.defaultSite()) {}

Refusal ObservingChoice::chooseSite(std::string_view name) {
  const Site* chosen = store_.find(name);
  if (chosen == nullptr) return "観測地「" + std::string(name) + "」はありません。";
  site_ = *chosen;
  // A damaged file was reported when it was read; the choice then lasts this run.
  if (!store_.problem().empty() || store_.defaultSite().name == name) return std::nullopt;
  return store_.setDefault(name);
}

bool ObservingChoice::storeEdited(const std::string& defaultBefore) {
  const Site before = site_;
  const Site* same = store_.find(site_.name);
  if (store_.defaultSite().name != defaultBefore || same == nullptr) {
    site_ = store_.defaultSite();
  } else {
    site_ = *same;
  }
  return !(site_ == before);
}

namespace {
std::string keyOf(const std::filesystem::path& catalogue) {
  return catalogue.empty() ? std::string() : ElementsSettings::catalogueKey(catalogue);
}
}  // namespace

ElementsTime ObservingChoice::elementsTimeOf(const std::filesystem::path& catalogue) const {
  if (const auto kept = unsaved_.find(keyOf(catalogue)); kept != unsaved_.end()) return kept->second;
  return catalogue.empty() ? ElementsTime::jd : elements_.timeSystemOf(catalogue);
}

Refusal ObservingChoice::setElementsTime(const std::filesystem::path& catalogue, ElementsTime system) {
  const std::string key = keyOf(catalogue);
  unsaved_.erase(key);
  Refusal refused = catalogue.empty() ? Refusal("") : elements_.setTimeSystem(catalogue, system);
  if (refused) unsaved_[key] = system;
  if (catalogue.empty()) return std::nullopt;
  return refused;
}

bool ObservingChoice::sameCatalogue(const std::filesystem::path& a, const std::filesystem::path& b) {
  return keyOf(a) == keyOf(b);
}

}  // namespace tenmirel::sky
