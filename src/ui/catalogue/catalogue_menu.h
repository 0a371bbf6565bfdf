#pragma once
// The main window's way into the importer: ファイル(F) → "取り込み…" (the one
// import dialog) and "カタログの編集…" (the editor of the loaded catalogue).
// Both hand a written file back to the main window to load.
#include <QPointer>
#include <filesystem>
#include <functional>
#include <string>

#include "ui/catalogue/catalogue_editor_window.h"
#include "ui/catalogue/catalogue_ports.h"
#include "ui/catalogue/import_dialog.h"

class QWidget;

namespace tenmirel::ui {

class CatalogueMenu {
 public:
  // loadFile loads a catalogue file into the main window; loadedCatalogue names
  // the file loaded there (empty before a load).
  CatalogueMenu(QWidget* mainWindow, std::function<void(const std::string&)> loadFile,
                std::function<std::filesystem::path()> loadedCatalogue, CatalogueWindowPorts ports,
                ImportDialog::RememberTimeSystem rememberTimeSystem = {});

  void openImportDialog();
  // The loaded catalogue in the editor; without one, says so.
  void openEditor();

  ImportDialog* importDialog() const { return importDialog_.data(); }
  CatalogueEditorWindow* editorWindow() const { return editor_.data(); }

 private:
  QWidget* mainWindow_;
  std::function<void(const std::string&)> loadFile_;
  std::function<std::filesystem::path()> loadedCatalogue_;
  CatalogueWindowPorts ports_;
  ImportDialog::RememberTimeSystem rememberTimeSystem_;
  QPointer<ImportDialog> importDialog_;
  QPointer<CatalogueEditorWindow> editor_;
};

}  // namespace tenmirel::ui
