#pragma once
// The main window's way into the plan: the one modeless plan window, the sites
// dialog, and the hand-over of an event back to the main window.
#include <QPointer>
#include <functional>

#include "prediction/frm_yohou_model.h"
#include "ui/plan/plan_window.h"

class QWidget;

namespace tenmirel::ui {

class PlanMenu {
 public:
  // showMainWindow redraws the main window from its model.
  PlanMenu(FrmYohouModel& form, QWidget* mainWindow, std::function<void()> showMainWindow, PlanWindowPorts ports);
  ~PlanMenu();
  PlanMenu(const PlanMenu&) = delete;
  PlanMenu& operator=(const PlanMenu&) = delete;

  // Shows the plan window, creating it the first time.
  void openPlanWindow();
  // The dialog "観測地…" over the main window.
  void openSitesDialog();
  // Null until first opened.
  PlanWindow* planWindow() const { return window_.data(); }

  // What the plan table's "O−C・極小時刻…" runs, for the star at a list position.
  void setOpenOc(std::function<void(std::size_t starIndex)> openOc) { openOc_ = std::move(openOc); }

  // Selects the star at the list position and shows that cycle's extremum.
  void showExtremum(std::size_t starIndex, std::int64_t cycle);

 private:
  FrmYohouModel& form_;
  QWidget* mainWindow_;
  std::function<void()> showMainWindow_;
  PlanWindowPorts ports_;
  QPointer<PlanWindow> window_;
  std::function<void(std::size_t)> openOc_;
};

}  // namespace tenmirel::ui
