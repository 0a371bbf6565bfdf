#pragma once
// ファイル(F) → "カタログの編集…": the loaded catalogue's stars in a table to
// add, edit, delete and reorder, with the importer's checks; "保存" writes the
// file atomically and keeps the former one as NAME.vsd~, then the main window
// loads the saved file as it loads any. Closing with unsaved changes asks first.
#include <QWidget>
#include <functional>
#include <string>

#include "importer/catalogue_editor.h"
#include "ui/catalogue/catalogue_ports.h"

class QTableView;

namespace tenmirel::ui {

class CatalogueEditorModel;

class CatalogueEditorWindow : public QWidget {
 public:
  // loadFile loads the saved catalogue into the main window.
  CatalogueEditorWindow(importer::CatalogueEditor editor, CatalogueWindowPorts ports,
                        std::function<void(const std::string&)> loadFile, QWidget* parent = nullptr);

  CatalogueEditorModel& model() { return *model_; }
  QTableView* table() const { return table_; }
  bool save();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  int currentRow() const;
  void showTitle();
  CatalogueWindowPorts ports_;
  std::function<void(const std::string&)> loadFile_;
  CatalogueEditorModel* model_;
  QTableView* table_;
};

}  // namespace tenmirel::ui
