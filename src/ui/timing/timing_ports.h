#pragma once
// What the windows "O−C" and "極小時刻の決定" reach the outside through; an empty
// port gets the real one.
#include <QString>
#include <filesystem>
#include <functional>

#include "common/ui_ports.h"
#include "timing/elements_writer.h"

namespace tenmirel::ui {

struct TimingWindowPorts {
  MessageSink* messages = nullptr;
  FileChooser* chooser = nullptr;  // light-curve files
  // Asks where to save: a path, or empty when cancelled.
  std::function<QString(const QString& caption, const QString& suggestedPath, const QString& filter)> chooseSaveFile;
  // A yes/no question; true for yes.
  std::function<bool(const QString& question)> confirm;
  std::filesystem::path logFile;                     // empty: the usual place of the observations log
  timing::ElementsWriter* elementsWriter = nullptr;  // null: the catalogue editor's save
};

}  // namespace tenmirel::ui
