#pragma once
// The plan window's second tab, "星ごとの予報": one star's passing events over
// many nights from the window's night on, with the window's site and conditions,
// as a table and as a picture of one row per night; exported as CSV, iCalendar,
// the night's workbook with each evening's date, or the picture as PNG or SVG.
// A long season is planned off the window thread with its progress shown.
#include <QWidget>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "common/ui_ports.h"
#include "lists/night_workbook.h"
#include "sky/season_plan.h"

class QComboBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QSpinBox;
class QTableWidget;

namespace tenmirel::ui {

class SeasonComputation;
class SeasonPictureWidget;

struct SeasonRequest {
  std::shared_ptr<const std::vector<sky::NightStar>> stars;
  sky::Site site;
  sky::NightDate from;
  sky::NightOptions options;
  QString selectedStar;  // the star chosen in the night's table, if any
};

class SeasonTab : public QWidget {
 public:
  explicit SeasonTab(MessageSink* messages, QWidget* parent = nullptr);

  // Set by the window: what to plan from, where to save and how to write. kind is
  // the file's extension without its dot ("csv"); exported is told each file written.
  std::function<SeasonRequest()> request;
  std::function<QString(const QString& caption, const QString& kind, const QString& filter)> askSavePath;
  std::function<bool(const QString& path, const std::string& text)> writeText;
  std::function<void(const QString& kind, const QString& path)> exported;
  // Writes a workbook through the window's file component (the documents folder).
  std::function<bool(const std::function<SavedFile(XlsxFileComponent&)>& write)> writeWorkbook;

  inline static constexpr int kDefaultNights = 60;

  // Fills the star selector again from the request, keeping or taking the table's star.
  void refreshStars();
  // Plans the chosen star over the nights (a long season on a worker, replacing
  // any season still being planned); a Japanese message when it cannot.
  void recompute();
  bool exportCsv();
  bool exportIcs();
  bool exportXlsx();
  bool exportPng();
  bool exportSvg();

  QComboBox& starChoice() { return *star_; }
  QSpinBox& nights() { return *nights_; }
  QTableWidget& table() { return *table_; }
  SeasonPictureWidget& picture() { return *picture_; }
  SeasonComputation& computation() { return *computation_; }
  QProgressBar& progress() { return *progress_; }
  const sky::SeasonPlan* season() const { return season_.get(); }
  // The events shown, in time order.
  const std::vector<const sky::NightEvent*>& shown() const { return shown_; }

 protected:
  void showEvent(class QShowEvent* event) override;

 private:
  void fillTable();
  bool written(const QString& kind, const QString& path);
  QSize exportedPictureSize() const;
  void seasonArrived(sky::Checked<sky::SeasonPlan> planned);

  MessageSink* messages_ = nullptr;
  std::unique_ptr<sky::SeasonPlan> season_;
  std::vector<const sky::NightEvent*> shown_;
  std::vector<SeasonWorkbookEvent> shownEvenings_;
  std::string starName_;
  double aroundMinutes_ = 0;
  // What the season being planned was asked for, taken when it arrives.
  std::string pendingStar_;
  double pendingAround_ = 0;
  SeasonComputation* computation_ = nullptr;
  QProgressBar* progress_ = nullptr;
  QComboBox* star_ = nullptr;
  QSpinBox* nights_ = nullptr;
  QPushButton* planButton_ = nullptr;
  QPushButton* csvButton_ = nullptr;
  QPushButton* icsButton_ = nullptr;
  QPushButton* xlsxButton_ = nullptr;
  QPushButton* pngButton_ = nullptr;
  QPushButton* svgButton_ = nullptr;
  QLabel* status_ = nullptr;
  QTableWidget* table_ = nullptr;
  SeasonPictureWidget* picture_ = nullptr;
};

}  // namespace tenmirel::ui
