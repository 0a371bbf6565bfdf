#pragma once
// The program's one site and elements' time systems as the windows see them: the
// choice itself lives below (sky::ObservingChoice); this object tells every open
// window at once when it changes, whichever window changed it.
#include <QObject>
#include <filesystem>
#include <string_view>

#include "sky/observing_choice.h"

namespace tenmirel::ui {

class SharedChoice : public QObject {
  Q_OBJECT

 public:
  SharedChoice(std::filesystem::path sitesFile, std::filesystem::path elementsSettingsFile, QObject* parent = nullptr);

  const sky::SiteStore& store() const { return choice_.store(); }
  const sky::Site& site() const { return choice_.site(); }
  // Signals siteChanged when the site is another one.
  sky::Refusal chooseSite(std::string_view name);
  // Runs an edit of the sites (the sites dialog) and then signals sitesChanged,
  // and siteChanged when the current site moved or changed.
  template <typename Edit>
  void editSites(Edit&& edit) {
    const std::string defaultBefore = choice_.store().defaultSite().name;
    edit(choice_.store());
    const bool moved = choice_.storeEdited(defaultBefore);
    emit sitesChanged();
    if (moved) emit siteChanged();
  }

  sky::ElementsTime elementsTimeOf(const std::filesystem::path& catalogue) const {
    return choice_.elementsTimeOf(catalogue);
  }
  // Signals elementsTimeChanged when the catalogue's system is another one.
  sky::Refusal setElementsTime(const std::filesystem::path& catalogue, sky::ElementsTime system);

 signals:
  void siteChanged();
  void sitesChanged();
  void elementsTimeChanged();

 private:
  sky::ObservingChoice choice_;
};

}  // namespace tenmirel::ui
