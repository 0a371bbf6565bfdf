#pragma once
// The window "O−C": one star's observations from the log as a table (add, edit,
// exclude, remove), its O−C diagram, the fit's numbers, "この要素を使う" and the
// exports. The engine is timing::ocDiagram; the window only shows it and passes
// the user's changes to the log.
#include <QPointer>
#include <QWidget>
#include <filesystem>
#include <memory>

#include "catalogue/star_table.h"
#include "observations/observation_log.h"
#include "timing/o_minus_c.h"
#include "ui/timing/timing_ports.h"

class QComboBox;
class QLabel;
class QPushButton;
class QTableWidget;

namespace tenmirel::ui {

class OcDiagramWidget;
class QtMessageSink;
class MinimumWindow;

// The star the window is about: its catalogue row, the elements' time system and
// the catalogue file the fit may be written into.
struct OcStar {
  StarRecord record;
  sky::ElementsTime system = sky::ElementsTime::jd;
  std::filesystem::path catalogue;
};

class OcWindow : public QWidget {
 public:
  OcWindow(OcStar star, TimingWindowPorts ports, QWidget* parent = nullptr);
  ~OcWindow() override;

  // Reads the star's observations from the log again and redraws.
  void reload();
  void setFitKind(timing::FitKind kind);
  const timing::OcDiagram& diagram() const { return diagram_; }
  const std::vector<observations::LogEntry>& entries() const { return entries_; }

  // What the buttons do, for the dialogs' answers and the tests.
  bool addObservation(const observations::LogEntry& entry);
  bool editObservation(const observations::LogEntry& entry);
  // The rows selected in the table (positions in entries()).
  void selectRows(const std::vector<int>& rows);
  void toggleExcludedOfSelection();
  void removeSelection();
  // "この要素を使う": asks, then writes the linear fit into the catalogue.
  bool useFit();
  bool exportCsv(const QString& path);
  bool exportSvg(const QString& path);
  bool exportPng(const QString& path);
  // "極小時刻の決定…": the light-curve window for this star.
  MinimumWindow* openMinimumWindow();

  QTableWidget* table() const { return table_; }
  OcDiagramWidget* diagramWidget() const { return diagramWidget_; }
  QLabel* fitLabel() const { return fitText_; }

 private:
  void build();
  void recompute();
  void showTable();
  void showFit();
  void say(const std::string& text);
  std::vector<int> selectedRows() const;
  void runAddDialog(const observations::LogEntry* editing);
  QString saveFileName(const QString& caption, const QString& suggested, const QString& filter);

  OcStar star_;
  TimingWindowPorts ports_;
  std::unique_ptr<QtMessageSink> ownMessages_;
  std::unique_ptr<timing::ElementsWriter> ownWriter_;
  std::shared_ptr<observations::ObservationLog> log_;
  std::optional<timing::StarElements> elements_;
  std::vector<observations::LogEntry> entries_;
  timing::OcDiagram diagram_;
  timing::FitKind fitKind_ = timing::FitKind::linear;

  QLabel* elementsText_ = nullptr;
  QComboBox* fitChoice_ = nullptr;
  QTableWidget* table_ = nullptr;
  OcDiagramWidget* diagramWidget_ = nullptr;
  QLabel* fitText_ = nullptr;
  QLabel* readout_ = nullptr;
  QPointer<MinimumWindow> minimumWindow_;
};

}  // namespace tenmirel::ui
