#pragma once
// The main window's way into the plan: the one modeless plan window, the sites
// dialog, and the hand-over of an event back to the main window.
#include <QPointer>
#include <filesystem>
#include <functional>

#include "prediction/frm_yohou_model.h"
#include "ui/plan/plan_window.h"

class QWidget;

namespace tenmirel::ui {

class SharedChoice;

class PlanMenu {
 public:
  // showMainWindow redraws the main window from its model; cataloguePath gives the
  // main window's catalogue file (empty when it has none). The choice is shared
  // with the main window.
  PlanMenu(FrmYohouModel& form, QWidget* mainWindow, std::function<void()> showMainWindow, PlanWindowPorts ports,
           SharedChoice& choice, std::function<std::filesystem::path()> cataloguePath);
  ~PlanMenu();
  PlanMenu(const PlanMenu&) = delete;
  PlanMenu& operator=(const PlanMenu&) = delete;

  // Shows the plan window, creating it the first time.
  void openPlanWindow();
  // The dialog "観測地…" over the main window.
  void openSitesDialog();
  // Null until first opened.
  PlanWindow* planWindow() const { return window_.data(); }

  // Selects the star at the list position and shows that cycle's extremum, the
  // reference set to the one given.
  void showExtremum(std::size_t starIndex, std::int64_t cycle, const ReferenceTexts& reference);

 private:
  FrmYohouModel& form_;
  QWidget* mainWindow_;
  std::function<void()> showMainWindow_;
  PlanWindowPorts ports_;
  SharedChoice& choice_;
  std::function<std::filesystem::path()> cataloguePath_;
  QPointer<PlanWindow> window_;
};

}  // namespace tenmirel::ui
