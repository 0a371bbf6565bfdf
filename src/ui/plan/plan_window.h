#pragma once
// The window "今夜の観測計画": every extremum of the night at the chosen site, in a
// sortable, filterable table and in a picture of the night, with exports. The
// night engine's plan is shown as it is; the filters only grey or hide events.
#include <QDate>
#include <QWidget>
#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "common/ui_ports.h"
#include "prediction/extremum_prediction.h"
#include "sheet/file_delivery.h"
#include "sheet/xlsx_component.h"
#include "sky/night_plan.h"
#include "sky/site_store.h"

class QCheckBox;
class QComboBox;
class QDateEdit;
class QDoubleSpinBox;
class QLabel;
class QLineEdit;
class QModelIndex;
class QProgressBar;
class QPushButton;
class QSettings;
class QSpinBox;
class QSplitter;
class QTabWidget;
class QTableView;
class QToolButton;

namespace tenmirel::ui {

class NightPictureWidget;
class PlanComputation;
class SeasonTab;
struct SeasonRequest;
class PlanFilterProxy;
class PlanTableModel;
class QtMessageSink;
class SharedChoice;

// What the window reaches the outside through; an empty port gets the real one.
struct PlanWindowPorts {
  MessageSink* messages = nullptr;
  FileChooser* chooser = nullptr;  // "開く…"
  // Asks where to save: a path, or empty when cancelled.
  std::function<QString(const QString& caption, const QString& suggestedPath, const QString& filter)> chooseSaveFile;
  FileOpener* fileOpener = nullptr;            // shows a written .xlsx
  std::filesystem::path documentsFolder;       // the .xlsx go to its Tenmirel folder
  std::filesystem::path sitesFile;             // sites.toml
  std::filesystem::path elementsSettingsFile;  // settings.toml
  QString settingsFile;                        // an INI file instead of the program's settings
  std::function<std::chrono::system_clock::time_point()> clock;
  // The program's one site and time systems; null: one of its own on the two files above.
  SharedChoice* choice = nullptr;
};

// The main window's side.
struct PlanMainWindowLink {
  // The main window's catalogue, in its list order.
  std::function<std::vector<sky::NightStar>()> catalogue;
  // Shows the extremum of the cycle of the star at that list position, from the
  // reference given (the start of the plan's night).
  std::function<void(std::size_t starIndex, std::int64_t cycle, const ReferenceTexts& reference)> showExtremum;
  // The main window's catalogue file, when known (its elements' time system is
  // remembered by it); may be empty.
  std::function<std::filesystem::path()> cataloguePath;
  // Opens the O−C window of the star at that list position; may be empty.
  std::function<void(std::size_t starIndex)> openOc;
};

class PlanWindow : public QWidget {
 public:
  PlanWindow(PlanMainWindowLink link, PlanWindowPorts ports, QWidget* parent = nullptr);
  ~PlanWindow() override;

  // Reads the main window's catalogue again (unless one was opened here) and plans
  // anew when it changed.
  void refreshCatalogue();
  // Plans the night of the current settings now.
  void recompute();
  void setNight(const QDate& eveningDate);
  QDate night() const;
  // The evening date at the site for the current clock reading.
  QDate tonight() const;

  void openSitesDialog();
  // Opens a catalogue of its own; false when cancelled or refused (with a message).
  bool openCatalogue();
  bool openCatalogueFile(const std::string& path);

  // Hands the event at a row of the table to the main window.
  void handOver(const QModelIndex& tableIndex);
  // The table's context action "O−C・極小時刻…" (when the main window links one).
  void openOc(const QModelIndex& tableIndex);

  // Exports of the rows the table shows, in its order; false when nothing was
  // written (cancelled or failed, with a message).
  bool exportXlsx();
  bool exportCsv();
  bool exportIcs();
  bool exportPng();
  bool exportSvg();

  void saveSettings();

  const sky::NightPlan* plan() const { return plan_.get(); }
  PlanTableModel& model() { return *model_; }
  PlanFilterProxy& proxy() { return *proxy_; }
  QTableView& table() { return *table_; }
  NightPictureWidget& picture() { return *picture_; }
  SeasonTab& season() { return *season_; }
  PlanComputation& computation() { return *computation_; }
  const sky::SiteStore& siteStore() const;
  // The current settings as the engine takes them.
  sky::NightOptions options() const;
  sky::Site site() const;
  // What the season tab plans from: the stars, the site, this night as the first
  // and these conditions, and the star chosen in the table.
  SeasonRequest seasonRequest() const;

 protected:
  void closeEvent(class QCloseEvent* event) override;
  bool event(QEvent* event) override;

 private:
  // The event's star in the main window's list; nothing (said in the status line) when absent.
  std::optional<std::size_t> mainWindowIndexOf(const sky::NightEvent& event);
  void buildControls();
  void connectControls();
  void applySettings();
  void fillSites();
  void loadElementsTime();
  void followElementsTime();
  void refilter();
  void planArrived(sky::Checked<sky::NightPlan> plan);
  void updatePicture();
  void showSummary();
  std::vector<const sky::NightEvent*> shownEvents() const;
  std::filesystem::path cataloguePath() const;
  // The save dialog of an export kind ("csv", ...), starting where the last one went.
  // The dialog starts where the last file of this kind went, with the night's date
  // and listName (the plan's name when empty) as the file's name.
  QString askSavePath(const QString& caption, const QString& kind, const QString& filter, const QString& listName = {});
  // A workbook into the documents folder's Tenmirel/, shown; a message when it fails.
  bool writeWorkbookFile(const std::function<SavedFile(XlsxFileComponent&)>& write);
  bool writeText(const QString& path, const std::string& text);
  // Remembers where an export of the kind went and says so.
  bool exported(const QString& kind, const QString& path);
  std::chrono::system_clock::time_point now() const;

  PlanMainWindowLink link_;
  PlanWindowPorts ports_;
  std::unique_ptr<QtMessageSink> ownMessages_;
  MessageSink* messages_ = nullptr;
  std::unique_ptr<QSettings> settings_;
  std::unique_ptr<SharedChoice> ownChoice_;
  SharedChoice* choice_ = nullptr;

  std::shared_ptr<const std::vector<sky::NightStar>> stars_;
  std::optional<std::filesystem::path> ownCatalogue_;
  std::shared_ptr<sky::NightPlan> plan_;
  sky::ElementsTime plannedElements_ = sky::ElementsTime::jd;  // of the plan last asked for

  PlanTableModel* model_ = nullptr;
  PlanFilterProxy* proxy_ = nullptr;
  PlanComputation* computation_ = nullptr;

  QPushButton* previousNight_ = nullptr;
  QDateEdit* date_ = nullptr;
  QPushButton* nextNight_ = nullptr;
  QComboBox* site_ = nullptr;
  QPushButton* sitesButton_ = nullptr;
  QPushButton* openButton_ = nullptr;
  QLabel* catalogueLabel_ = nullptr;
  QComboBox* sunLimit_ = nullptr;
  QDoubleSpinBox* minimumAltitude_ = nullptr;
  QCheckBox* moonDistanceOn_ = nullptr;
  QDoubleSpinBox* moonDistance_ = nullptr;
  QSpinBox* around_ = nullptr;
  QCheckBox* secondary_ = nullptr;
  QCheckBox* maxUncertaintyOn_ = nullptr;
  QSpinBox* maxUncertainty_ = nullptr;
  QComboBox* elementsTime_ = nullptr;
  QTabWidget* tabs_ = nullptr;
  SeasonTab* season_ = nullptr;
  QLabel* summary_ = nullptr;
  QSplitter* splitter_ = nullptr;
  NightPictureWidget* picture_ = nullptr;
  QLineEdit* starFilter_ = nullptr;
  QCheckBox* showFailing_ = nullptr;
  QToolButton* exportButton_ = nullptr;
  QProgressBar* progress_ = nullptr;
  QLabel* status_ = nullptr;
  QTableView* table_ = nullptr;
};

}  // namespace tenmirel::ui
