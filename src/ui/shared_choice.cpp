#include "ui/shared_choice.h"

namespace tenmirel::ui {

SharedChoice::SharedChoice(std::filesystem::path sitesFile, std::filesystem::path elementsSettingsFile, QObject* parent)
    : QObject(parent), choice_(std::move(sitesFile), std::move(elementsSettingsFile)) {}

sky::Refusal SharedChoice::chooseSite(std::string_view name) {
  const sky::Site before = choice_.site();
  sky::Refusal refused = choice_.chooseSite(name);
  if (!(choice_.site() == before)) emit siteChanged();
  return refused;
}

sky::Refusal SharedChoice::setElementsTime(const std::filesystem::path& catalogue, sky::ElementsTime system) {
  const sky::ElementsTime before = choice_.elementsTimeOf(catalogue);
  sky::Refusal refused = choice_.setElementsTime(catalogue, system);
  if (choice_.elementsTimeOf(catalogue) != before) emit elementsTimeChanged();
  return refused;
}

}  // namespace tenmirel::ui
