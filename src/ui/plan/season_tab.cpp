#include "ui/plan/season_tab.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QSplitter>
#include <QTableWidget>
#include <QVBoxLayout>
#include <chrono>

#include "common/utf8_bom.h"
#include "ui/plan/plan_exports.h"
#include "ui/plan/plan_texts.h"
#include "ui/plan/season_computation.h"
#include "ui/plan/season_picture.h"

namespace tenmirel::ui {
namespace {

constexpr double kShownAboveMinutes = 1;
constexpr int kSmallestPictureWidth = 960;
constexpr int kSmallestPictureHeight = 400;
constexpr int kPictureRowPixels = 12;
constexpr int kPictureMarginPixels = 22;
constexpr const char* kColumns[] = {"夜", "時刻", "種類", "回帰", "高度", "食の継続", "±分"};

QString text(const std::string& utf8) { return QString::fromStdString(utf8); }

QString nightText(const sky::NightDate& date) {
  return QStringLiteral("%1-%2-%3")
      .arg(date.year, 4, 10, QLatin1Char('0'))
      .arg(date.month, 2, 10, QLatin1Char('0'))
      .arg(date.day, 2, 10, QLatin1Char('0'));
}

QString uncertaintyText(const sky::NightEvent& e) {
  if (e.uncertainElements) return QStringLiteral("≥±%1").arg(e.uncertaintyMinutes, 0, 'f', 1);
  if (e.uncertaintyMinutes > kShownAboveMinutes) return QStringLiteral("±%1").arg(e.uncertaintyMinutes, 0, 'f', 1);
  return {};
}

}  // namespace

SeasonTab::SeasonTab(MessageSink* messages, QWidget* parent) : QWidget(parent), messages_(messages) {
  star_ = new QComboBox;
  star_->setObjectName(QStringLiteral("seasonStar"));
  star_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
  nights_ = new QSpinBox;
  nights_->setObjectName(QStringLiteral("seasonNights"));
  nights_->setRange(1, sky::kMostSeasonNights);
  nights_->setValue(kDefaultNights);
  nights_->setSuffix(QStringLiteral(" 夜"));
  planButton_ = new QPushButton(QStringLiteral("予報"));
  planButton_->setObjectName(QStringLiteral("seasonPlan"));
  csvButton_ = new QPushButton(QStringLiteral("CSV に書き出し"));
  csvButton_->setObjectName(QStringLiteral("seasonCsv"));
  icsButton_ = new QPushButton(QStringLiteral("カレンダーに書き出し"));
  icsButton_->setObjectName(QStringLiteral("seasonIcs"));
  xlsxButton_ = new QPushButton(QStringLiteral("表計算ファイル (.xlsx)"));
  xlsxButton_->setObjectName(QStringLiteral("seasonXlsx"));
  pngButton_ = new QPushButton(QStringLiteral("図を PNG で"));
  pngButton_->setObjectName(QStringLiteral("seasonPng"));
  svgButton_ = new QPushButton(QStringLiteral("図を SVG で"));
  svgButton_->setObjectName(QStringLiteral("seasonSvg"));
  status_ = new QLabel;
  status_->setObjectName(QStringLiteral("seasonStatus"));
  progress_ = new QProgressBar;
  progress_->setObjectName(QStringLiteral("seasonProgress"));
  progress_->setMaximumWidth(160);
  progress_->setVisible(false);
  computation_ = new SeasonComputation(this);
  computation_->finished = [this](sky::Checked<sky::SeasonPlan> planned) { seasonArrived(std::move(planned)); };
  computation_->progress = [this](int done, int total) {
    progress_->setRange(0, total);
    progress_->setValue(done);
  };
  table_ = new QTableWidget(0, static_cast<int>(std::size(kColumns)));
  table_->setObjectName(QStringLiteral("seasonTable"));
  for (int column = 0; column < table_->columnCount(); ++column) {
    table_->setHorizontalHeaderItem(column, new QTableWidgetItem(QString::fromUtf8(kColumns[column])));
  }
  table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table_->setSelectionBehavior(QAbstractItemView::SelectRows);
  table_->verticalHeader()->setVisible(false);
  table_->horizontalHeader()->setStretchLastSection(true);
  picture_ = new SeasonPictureWidget;
  picture_->setObjectName(QStringLiteral("seasonPicture"));

  auto* controls = new QHBoxLayout;
  controls->addWidget(new QLabel(QStringLiteral("星")));
  controls->addWidget(star_);
  controls->addWidget(new QLabel(QStringLiteral("この夜から")));
  controls->addWidget(nights_);
  controls->addWidget(planButton_);
  controls->addStretch();
  controls->addWidget(csvButton_);
  controls->addWidget(icsButton_);
  controls->addWidget(xlsxButton_);
  controls->addWidget(pngButton_);
  controls->addWidget(svgButton_);
  auto* splitter = new QSplitter(Qt::Vertical);
  splitter->addWidget(picture_);
  splitter->addWidget(table_);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(controls);
  layout->addWidget(splitter, 1);
  auto* statusRow = new QHBoxLayout;
  statusRow->addWidget(status_, 1);
  statusRow->addWidget(progress_);
  layout->addLayout(statusRow);

  connect(planButton_, &QPushButton::clicked, this, [this] { recompute(); });
  connect(star_, &QComboBox::activated, this, [this] { recompute(); });
  connect(csvButton_, &QPushButton::clicked, this, [this] { exportCsv(); });
  connect(icsButton_, &QPushButton::clicked, this, [this] { exportIcs(); });
  connect(xlsxButton_, &QPushButton::clicked, this, [this] { exportXlsx(); });
  connect(pngButton_, &QPushButton::clicked, this, [this] { exportPng(); });
  connect(svgButton_, &QPushButton::clicked, this, [this] { exportSvg(); });
}

void SeasonTab::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  refreshStars();
}

void SeasonTab::refreshStars() {
  if (!request) return;
  const SeasonRequest asked = request();
  QString keep = star_->currentText();
  if (!asked.selectedStar.isEmpty()) keep = asked.selectedStar;
  const QSignalBlocker quiet(star_);
  star_->clear();
  if (asked.stars) {
    for (const sky::NightStar& star : *asked.stars) star_->addItem(text(star.name));
  }
  star_->setCurrentIndex(std::max(0, star_->findText(keep)));
}

void SeasonTab::recompute() {
  if (!request) return;
  const SeasonRequest asked = request();
  const int index = star_->currentIndex();
  if (!asked.stars || index < 0 || static_cast<std::size_t>(index) >= asked.stars->size()) {
    status_->setText(QStringLiteral("星を選んでください。"));
    return;
  }
  SeasonWork work;
  work.stars = {asked.stars->at(static_cast<std::size_t>(index))};
  work.site = asked.site;
  work.from = asked.from;
  work.nights = nights_->value();
  work.options = asked.options;
  pendingStar_ = work.stars.front().name;
  pendingAround_ = asked.options.aroundMinutes;
  if (computation_->inBackground(work)) {
    progress_->setRange(0, work.nights);
    progress_->setValue(0);
    progress_->setVisible(true);
    status_->setText(QStringLiteral("計算中…"));
  }
  computation_->start(std::move(work));
}

void SeasonTab::seasonArrived(sky::Checked<sky::SeasonPlan> planned) {
  progress_->setVisible(false);
  if (!planned) {
    status_->clear();
    if (messages_) messages_->showMessage(planned.message());
    return;
  }
  season_ = std::make_unique<sky::SeasonPlan>(std::move(*planned));
  aroundMinutes_ = pendingAround_;
  starName_ = pendingStar_;
  if (!season_->nights.empty() && !season_->nights.front().memoWarnings.empty() && messages_) {
    messages_->showMessage(season_->nights.front().memoWarnings.front());
  }
  fillTable();
  picture_->setData(buildSeasonPicture(*season_, pendingStar_));
}

void SeasonTab::fillTable() {
  shown_.clear();
  shownEvenings_.clear();
  table_->setRowCount(0);
  std::size_t hidden = 0;
  for (const sky::NightPlan& night : season_->nights) {
    for (const sky::NightEvent& e : night.events) {
      if (!e.passesAll()) {
        ++hidden;
        continue;
      }
      shown_.push_back(&e);
      shownEvenings_.push_back({&night.night, &e});
      const int row = table_->rowCount();
      table_->insertRow(row);
      const QString cells[] = {
          nightText(night.night.date),
          text(e.localText),
          QString::fromUtf8(sky::eventKindWord(e.kind)),
          QString::number(e.cycle),
          e.hasPlace ? text(degreesText(e.altitudeDegrees)) : QStringLiteral("—"),
          e.durationMinutes ? QStringLiteral("%1 分").arg(*e.durationMinutes, 0, 'f', 0) : QString(),
          uncertaintyText(e)};
      for (int column = 0; column < table_->columnCount(); ++column) {
        table_->setItem(row, column, new QTableWidgetItem(cells[column]));
      }
    }
  }
  status_->setText(QStringLiteral("%1 夜で %2 件（条件に合わずに隠した %3 件）")
                       .arg(season_->nights.size())
                       .arg(shown_.size())
                       .arg(hidden));
}

bool SeasonTab::written(const QString& kind, const QString& path) {
  if (exported) exported(kind, path);
  return true;
}

bool SeasonTab::exportCsv() {
  if (!season_ || !askSavePath || !writeText) return false;
  const QString path =
      askSavePath(QStringLiteral("CSV に書き出し"), QStringLiteral("csv"), QStringLiteral("CSV (*.csv)"));
  return !path.isEmpty() && writeText(path, kUtf8ByteOrderMark + planCsv(shown_)) &&
         written(QStringLiteral("csv"), path);
}

bool SeasonTab::exportIcs() {
  if (!season_ || season_->nights.empty() || !askSavePath || !writeText) return false;
  const QString path =
      askSavePath(QStringLiteral("カレンダーに書き出し"), QStringLiteral("ics"), QStringLiteral("iCalendar (*.ics)"));
  if (path.isEmpty()) return false;
  const auto stamp =
      std::chrono::duration_cast<std::chrono::seconds>(std::chrono::system_clock::now().time_since_epoch()).count();
  return writeText(path, planIcs(shown_, season_->nights.front().night, aroundMinutes_, stamp)) &&
         written(QStringLiteral("ics"), path);
}

bool SeasonTab::exportXlsx() {
  if (!season_ || !writeWorkbook) return false;
  return writeWorkbook([this](XlsxFileComponent& files) {
    return writeSeasonWorkbook(files, *season_, {starName_}, shownEvenings_, true);
  });
}

QSize SeasonTab::exportedPictureSize() const {
  const int rows = static_cast<int>(picture_->data().rows.size());
  return picture_->size().expandedTo(
      QSize(kSmallestPictureWidth, std::max(kSmallestPictureHeight, rows * kPictureRowPixels + kPictureMarginPixels)));
}

bool SeasonTab::exportPng() {
  if (!season_ || !askSavePath) return false;
  const QString path =
      askSavePath(QStringLiteral("図を PNG で保存"), QStringLiteral("png"), QStringLiteral("PNG (*.png)"));
  if (path.isEmpty()) return false;
  if (!saveSeasonPicturePng(picture_->data(), exportedPictureSize(), std::max(1.0, picture_->devicePixelRatioF()),
                            path)) {
    if (messages_) messages_->showMessage("図を「" + path.toStdString() + "」に保存できませんでした。");
    return false;
  }
  return written(QStringLiteral("png"), path);
}

bool SeasonTab::exportSvg() {
  if (!season_ || !askSavePath) return false;
  const QString path =
      askSavePath(QStringLiteral("図を SVG で保存"), QStringLiteral("svg"), QStringLiteral("SVG (*.svg)"));
  if (path.isEmpty()) return false;
  if (!saveSeasonPictureSvg(picture_->data(), exportedPictureSize(), path)) {
    if (messages_) messages_->showMessage("図を「" + path.toStdString() + "」に保存できませんでした。");
    return false;
  }
  return written(QStringLiteral("svg"), path);
}

}  // namespace tenmirel::ui
