#pragma once
// ファイル(F) → "取り込み…": choose a catalogue, see its detected format and
// every star with its parsed values (or why it is left out), choose with the
// command line's filters, and "保存…" the chosen stars as a catalogue file,
// then load it if the user wishes. The work is the importer's.
#include <QDialog>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "common/checked.h"
#include "importer/catalogue_import.h"
#include "sky/elements_time.h"
#include "ui/catalogue/catalogue_ports.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QTableView;

namespace tenmirel::ui {

class ImportPreviewModel;

class ImportDialog : public QDialog {
 public:
  // Remembers the time system of a written file's elements, as the program's
  // one choice of time systems does (null: the settings file directly).
  using RememberTimeSystem = std::function<Refusal(const std::filesystem::path&, sky::ElementsTime)>;
  // loadFile loads a written catalogue into the main window.
  ImportDialog(CatalogueWindowPorts ports, std::function<void(const std::string&)> loadFile,
               RememberTimeSystem rememberTimeSystem = {}, QWidget* parent = nullptr);

  // Reads the file into the preview with the filters as they stand; false (and
  // a message) when the file cannot be read or a filter is not a number.
  bool preview(const std::string& file);
  // Writes the chosen stars to a file the user names; false when nothing was written.
  bool save();

  ImportPreviewModel& model() { return *model_; }
  const importer::ImportReport& report() const { return report_; }

 private:
  std::optional<importer::ImportSettings> settingsFromFields();
  void showSummary();

  CatalogueWindowPorts ports_;
  std::function<void(const std::string&)> loadFile_;
  RememberTimeSystem rememberTimeSystem_;
  std::string file_;
  importer::ImportReport report_;
  ImportPreviewModel* model_;
  QLineEdit* path_;
  QComboBox* format_;
  QLabel* detected_;
  QLineEdit* types_;
  QLineEdit* brighter_;
  QLineEdit* decAbove_;
  QLineEdit* periodBelow_;
  QLineEdit* names_;
  QLineEdit* columns_;
  QTableView* table_;
  QLabel* summary_;
};

}  // namespace tenmirel::ui
