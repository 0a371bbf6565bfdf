#include "ui/plan/plan_menu.h"

#include "prediction/night_stars.h"
#include "ui/plan/sites_dialog.h"
#include "ui/shared_choice.h"

namespace tenmirel::ui {

PlanMenu::PlanMenu(FrmYohouModel& form, QWidget* mainWindow, std::function<void()> showMainWindow,
                   PlanWindowPorts ports, SharedChoice& choice, std::function<std::filesystem::path()> cataloguePath)
    : form_(form),
      mainWindow_(mainWindow),
      showMainWindow_(std::move(showMainWindow)),
      ports_(std::move(ports)),
      choice_(choice),
      cataloguePath_(std::move(cataloguePath)) {
  ports_.choice = &choice_;
}

PlanMenu::~PlanMenu() { delete window_.data(); }

void PlanMenu::openPlanWindow() {
  if (window_ == nullptr) {
    PlanMainWindowLink link;
    link.catalogue = [this] { return nightStarsOf(form_.starTable, form_.starCount); };
    link.showExtremum = [this](std::size_t starIndex, std::int64_t cycle, const ReferenceTexts& reference) {
      showExtremum(starIndex, cycle, reference);
    };
    link.cataloguePath = cataloguePath_;
    window_ = new PlanWindow(std::move(link), ports_, mainWindow_);
  } else {
    window_->refreshCatalogue();
  }
  window_->show();
  window_->raise();
  window_->activateWindow();
}

void PlanMenu::openSitesDialog() {
  if (window_ != nullptr) {
    window_->openSitesDialog();
    return;
  }
  choice_.editSites([this](sky::SiteStore& store) { runSitesDialog(store, mainWindow_); });
}

void PlanMenu::showExtremum(std::size_t starIndex, std::int64_t cycle, const ReferenceTexts& reference) {
  form_.showCycleFrom(reference, static_cast<int>(starIndex), static_cast<double>(cycle));
  showMainWindow_();
  if (mainWindow_ != nullptr) {
    mainWindow_->raise();
    mainWindow_->activateWindow();
  }
}

}  // namespace tenmirel::ui
