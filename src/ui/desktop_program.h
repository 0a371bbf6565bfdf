#pragma once
// The desktop program's run: the application object, the main window with the
// clock read once, and the event loop until the main window is closed.
#include <functional>

#include "ui/frm_yohou.h"

namespace tenmirel::ui {

struct DesktopRunOptions {
  FrmYohouPorts ports;
  // Called once the main window's first frame is on screen (measurements and
  // scripted screenshots; the program itself passes nothing).
  std::function<void(FrmYohou&)> whenShown;
  // The clock reading for Form_Load; the current time when not set.
  std::function<std::chrono::system_clock::time_point()> clock;
};

int runDesktopProgram(int& argc, char** argv, DesktopRunOptions options = {});

}  // namespace tenmirel::ui
