#include "ui/catalogue/catalogue_menu.h"

#include <QWidget>

namespace tenmirel::ui {

CatalogueMenu::CatalogueMenu(QWidget* mainWindow, std::function<void(const std::string&)> loadFile,
                             std::function<std::filesystem::path()> loadedCatalogue, CatalogueWindowPorts ports,
                             ImportDialog::RememberTimeSystem rememberTimeSystem)
    : mainWindow_(mainWindow),
      loadFile_(std::move(loadFile)),
      loadedCatalogue_(std::move(loadedCatalogue)),
      ports_(ports.confirm ? std::move(ports) : qtCatalogueWindowPorts(mainWindow)),
      rememberTimeSystem_(std::move(rememberTimeSystem)) {}

void CatalogueMenu::openImportDialog() {
  if (!importDialog_) importDialog_ = new ImportDialog(ports_, loadFile_, rememberTimeSystem_, mainWindow_);
  importDialog_->show();
  importDialog_->raise();
  importDialog_->activateWindow();
}

void CatalogueMenu::openEditor() {
  if (editor_) {
    editor_->show();
    editor_->raise();
    editor_->activateWindow();
    return;
  }
  const std::filesystem::path file = loadedCatalogue_();
  if (file.empty()) {
    ports_.tell("編集するカタログを先に読み込んでください（ファイル(F) → 開く）。");
    return;
  }
  auto editor = importer::CatalogueEditor::open(file);
  if (!editor) {
    ports_.tell(editor.message());
    return;
  }
  editor_ = new CatalogueEditorWindow(*editor, ports_, loadFile_, mainWindow_);
  editor_->show();
}

}  // namespace tenmirel::ui
