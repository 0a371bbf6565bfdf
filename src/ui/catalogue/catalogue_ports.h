#pragma once
// How the import dialog and the catalogue editor reach the user: choosing the
// file to import or to write, a yes-or-no question and a message. The program
// uses Qt's dialogs; tests answer with callbacks.
#include <functional>
#include <optional>
#include <string>

#include <QString>

class QWidget;

namespace tenmirel::ui {

struct CatalogueWindowPorts {
  std::function<std::optional<std::string>()> chooseCatalogueToImport;
  std::function<std::optional<std::string>(const std::string& suggested)> chooseFileToWrite;
  std::function<bool(const std::string& question)> confirm;
  std::function<void(const std::string& text)> tell;
};

// Qt's file dialogs and message boxes over the parent.
CatalogueWindowPorts qtCatalogueWindowPorts(QWidget* parent);

inline QString qs(const std::string& text) { return QString::fromStdString(text); }

}  // namespace tenmirel::ui
