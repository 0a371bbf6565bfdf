#pragma once
// The main window's way into the O−C window: 予報(E) → "O−C・極小時刻…" opens it
// for the star chosen in the main window, with the loaded catalogue's file and
// elements' time system.
#include <QPointer>
#include <filesystem>
#include <functional>

#include "prediction/frm_yohou_model.h"
#include "ui/timing/oc_window.h"
#include "ui/timing/timing_ports.h"

class QWidget;

namespace tenmirel::ui {

class TimingMenu {
 public:
  TimingMenu(FrmYohouModel& form, QWidget* mainWindow, std::function<std::filesystem::path()> cataloguePath,
             TimingWindowPorts ports);
  TimingMenu(const TimingMenu&) = delete;
  TimingMenu& operator=(const TimingMenu&) = delete;

  // Shows the O−C window of the chosen star; a message when no catalogue star is chosen.
  OcWindow* openOcWindow();
  // Null until first opened.
  OcWindow* ocWindow() const { return window_.data(); }

 private:
  FrmYohouModel& form_;
  QWidget* mainWindow_;
  std::function<std::filesystem::path()> cataloguePath_;
  TimingWindowPorts ports_;
  QPointer<OcWindow> window_;
};

}  // namespace tenmirel::ui
