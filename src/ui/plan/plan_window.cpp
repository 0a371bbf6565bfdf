#include "ui/plan/plan_window.h"

#include <QAction>

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QDoubleSpinBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QSettings>
#include <QSpinBox>
#include <QSplitter>
#include <QStandardPaths>
#include <QStyle>
#include <QTabWidget>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>
#include <fstream>

#include "catalogue/star_file.h"
#include "common/utf8_bom.h"
#include "lists/night_workbook.h"
#include "prediction/night_stars.h"
#include "sheet/sheet_files.h"
#include "ui/catalogue_folder.h"
#include "ui/excel_menu.h"
#include "ui/plan/night_picture_builder.h"
#include "ui/plan/night_picture_widget.h"
#include "ui/plan/plan_computation.h"
#include "ui/plan/plan_exports.h"
#include "ui/plan/plan_filter_proxy.h"
#include "ui/plan/plan_settings.h"
#include "ui/plan/plan_table_model.h"
#include "ui/plan/season_tab.h"
#include "ui/plan/sites_dialog.h"
#include "ui/program_settings.h"
#include "ui/qt_ports.h"
#include "ui/shared_choice.h"

namespace tenmirel::ui {
namespace {

constexpr double kUnixEpochJulianDay = 2440587.5;
constexpr double kSecondsPerDay = 86400;
constexpr int kEveningStartHour = 12;  // before local noon the night asked for is the last one
constexpr double kHighestAltitudeDegrees = 90;
constexpr double kWidestMoonDistanceDegrees = 180;
constexpr int kLongestAroundMinutes = 720;
constexpr int kLargestUncertaintyMinutes = 14400;
const QSize kSmallestExportedPicture(960, 400);

struct SunLimitEntry {
  const char* caption;
  double degrees;
};
constexpr SunLimitEntry kSunLimits[kSunLimitChoiceCount] = {
    {"日没 −0.833°", sky::kSunsetAltitudeDegrees},
    {"市民薄明 −6°", sky::kCivilTwilightDegrees},
    {"航海薄明 −12°", sky::kNauticalTwilightDegrees},
    {"天文薄明 −18°", sky::kAstronomicalTwilightDegrees},
    {"07:00–06:59", 0},
};
constexpr sky::ElementsTime kElementsTimes[] = {sky::ElementsTime::jd, sky::ElementsTime::hjd,
                                                sky::ElementsTime::bjdTdb};

QString text(const std::string& utf8) { return QString::fromStdString(utf8); }
QString text(const char* utf8) { return QString::fromUtf8(utf8); }

template <typename Widget>
Widget* named(Widget* widget, const char* name) {
  widget->setObjectName(text(name));
  return widget;
}

bool sameStars(const std::vector<sky::NightStar>& a, const std::vector<sky::NightStar>& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    const sky::NightStar& x = a[i];
    const sky::NightStar& y = b[i];
    if (x.name != y.name || x.epoch != y.epoch || x.period != y.period || x.hasPlace != y.hasPlace ||
        x.rightAscensionDegrees != y.rightAscensionDegrees || x.declinationDegrees != y.declinationDegrees ||
        x.epochKind != y.epochKind || x.hasSecondaryMinimum != y.hasSecondaryMinimum ||
        x.secondaryPhase != y.secondaryPhase || x.durationPercent != y.durationPercent ||
        x.elementsFlaggedUncertain != y.elementsFlaggedUncertain || x.memoProblem != y.memoProblem ||
        x.fittedErrors.has_value() != y.fittedErrors.has_value()) {
      return false;
    }
  }
  return true;
}

}  // namespace

PlanWindow::PlanWindow(PlanMainWindowLink link, PlanWindowPorts ports, QWidget* parent)
    : QWidget(parent, Qt::Window),
      link_(std::move(link)),
      ports_(std::move(ports)),
      ownMessages_(ports_.messages ? nullptr : std::make_unique<QtMessageSink>(this)),
      messages_(ports_.messages ? ports_.messages : ownMessages_.get()),
      settings_(ports_.settingsFile.isEmpty()
                    ? std::make_unique<QSettings>(QStringLiteral("Tenmirel"), QStringLiteral("Tenmirel"))
                    : std::make_unique<QSettings>(ports_.settingsFile, QSettings::IniFormat)),
      ownChoice_(ports_.choice ? nullptr
                               : std::make_unique<SharedChoice>(
                                     ports_.sitesFile.empty() ? sky::SiteStore::defaultFile() : ports_.sitesFile,
                                     ports_.elementsSettingsFile.empty() ? sky::ElementsSettings::defaultFile()
                                                                         : ports_.elementsSettingsFile)),
      choice_(ports_.choice ? ports_.choice : ownChoice_.get()) {
  setObjectName(QStringLiteral("PlanWindow"));
  setWindowTitle(text("今夜の観測計画"));
  model_ = new PlanTableModel(this);
  proxy_ = new PlanFilterProxy(this);
  proxy_->setSourceModel(model_);
  computation_ = new PlanComputation(this);
  computation_->finished = [this](sky::Checked<sky::NightPlan> plan) { planArrived(std::move(plan)); };
  computation_->progress = [this](std::size_t done, std::size_t total) {
    progress_->setRange(0, static_cast<int>(total));
    progress_->setValue(static_cast<int>(done));
  };
  buildControls();
  applySettings();
  date_->setDate(tonight());
  if (link_.catalogue) stars_ = std::make_shared<const std::vector<sky::NightStar>>(link_.catalogue());
  loadElementsTime();
  connectControls();
  recompute();
}

PlanWindow::~PlanWindow() = default;

void PlanWindow::buildControls() {
  previousNight_ = named(new QPushButton(text("◀")), "previousNight");
  nextNight_ = named(new QPushButton(text("▶")), "nextNight");
  previousNight_->setToolTip(text("前の夜"));
  nextNight_->setToolTip(text("次の夜"));
  for (QPushButton* button : {previousNight_, nextNight_}) button->setFixedWidth(button->sizeHint().height() + 8);
  date_ = named(new QDateEdit, "nightDate");
  date_->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
  date_->setCalendarPopup(true);
  date_->setDateRange(QDate(1600, 1, 1), QDate(3000, 12, 31));
  date_->setToolTip(text("夕方の日付（その夜の観測地の日付）"));
  site_ = named(new QComboBox, "siteChoice");
  site_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
  sitesButton_ = named(new QPushButton(text("観測地…")), "sitesButton");
  openButton_ = named(new QPushButton(text("開く…")), "openCatalogue");
  catalogueLabel_ = named(new QLabel, "catalogueLabel");

  sunLimit_ = named(new QComboBox, "sunLimit");
  for (const SunLimitEntry& entry : kSunLimits) sunLimit_->addItem(text(entry.caption));
  minimumAltitude_ = named(new QDoubleSpinBox, "minimumAltitude");
  minimumAltitude_->setRange(-kHighestAltitudeDegrees, kHighestAltitudeDegrees);
  minimumAltitude_->setDecimals(0);
  minimumAltitude_->setSuffix(text("°"));
  moonDistanceOn_ = named(new QCheckBox(text("月との距離")), "moonDistanceOn");
  moonDistance_ = named(new QDoubleSpinBox, "moonDistance");
  moonDistance_->setRange(0, kWidestMoonDistanceDegrees);
  moonDistance_->setDecimals(0);
  moonDistance_->setSuffix(text("° 以上"));
  around_ = named(new QSpinBox, "aroundMinutes");
  around_->setRange(0, kLongestAroundMinutes);
  around_->setSingleStep(10);
  around_->setSuffix(text(" 分"));
  around_->setToolTip(text("極の前後この時間も星が最低高度より高く、空が暗いこと"));
  secondary_ = named(new QCheckBox(text("副極小も")), "secondaryMinima");
  secondary_->setToolTip(text("食変光星などの副極小（位相 0.5、メモの II= があればその位相）も加える"));
  maxUncertaintyOn_ = named(new QCheckBox(text("予報の不確かさ")), "maxUncertaintyOn");
  maxUncertainty_ = named(new QSpinBox, "maxUncertainty");
  maxUncertainty_->setRange(0, kLargestUncertaintyMinutes);
  maxUncertainty_->setSuffix(text(" 分以内"));
  maxUncertainty_->setToolTip(
      text("元期・周期の桁（または当てはめの誤差）から見た予報の不確かさ。"
           "要素に「:」の付いた星は上限が分からないので外す"));
  elementsTime_ = named(new QComboBox, "elementsTime");
  for (sky::ElementsTime system : kElementsTimes) elementsTime_->addItem(text(sky::elementsTimeName(system)));
  elementsTime_->setToolTip(text("この星表の元期の時刻系"));

  summary_ = named(new QLabel, "nightSummary");
  summary_->setWordWrap(true);
  summary_->setTextFormat(Qt::PlainText);

  picture_ = new NightPictureWidget;
  starFilter_ = named(new QLineEdit, "starFilter");
  starFilter_->setPlaceholderText(text("星名で絞り込み"));
  starFilter_->setClearButtonEnabled(true);
  showFailing_ = named(new QCheckBox(text("条件外も表示（灰色）")), "showFailing");
  exportButton_ = named(new QToolButton, "exportButton");
  exportButton_->setText(text("書き出し"));
  exportButton_->setPopupMode(QToolButton::InstantPopup);
  auto* exportMenu = new QMenu(exportButton_);
  struct ExportEntry {
    const char* name;
    const char* caption;
    bool (PlanWindow::*run)();
  };
  const ExportEntry exports[] = {{"exportXlsx", "Excel (.xlsx)", &PlanWindow::exportXlsx},
                                 {"exportCsv", "CSV (.csv)", &PlanWindow::exportCsv},
                                 {"exportIcs", "カレンダー (.ics)", &PlanWindow::exportIcs},
                                 {"exportPng", "図を PNG で", &PlanWindow::exportPng},
                                 {"exportSvg", "図を SVG で", &PlanWindow::exportSvg}};
  for (const ExportEntry& entry : exports) {
    QAction* action = exportMenu->addAction(text(entry.caption));
    action->setObjectName(text(entry.name));
    connect(action, &QAction::triggered, this, [this, run = entry.run] { (this->*run)(); });
  }
  exportButton_->setMenu(exportMenu);
  // The menu's arrow gets room of its own beside the text, at every scale.
  exportButton_->setMinimumWidth(
      exportButton_->sizeHint().width() +
      exportButton_->style()->pixelMetric(QStyle::PM_MenuButtonIndicator, nullptr, exportButton_));
  progress_ = named(new QProgressBar, "planProgress");
  progress_->setMaximumWidth(160);
  progress_->setVisible(false);
  status_ = named(new QLabel, "planStatus");

  table_ = named(new QTableView, "planTable");
  table_->setModel(proxy_);
  table_->setSortingEnabled(true);
  table_->sortByColumn(PlanTableModel::kTime, Qt::AscendingOrder);
  table_->setSelectionBehavior(QAbstractItemView::SelectRows);
  table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table_->setAlternatingRowColors(true);
  table_->verticalHeader()->setVisible(false);
  table_->verticalHeader()->setDefaultSectionSize(table_->fontMetrics().height() + 6);
  table_->horizontalHeader()->setStretchLastSection(true);
  table_->setColumnWidth(PlanTableModel::kTime,
                         table_->fontMetrics().horizontalAdvance(QStringLiteral("0000-00-00 00:00")) + 16);
  table_->setColumnWidth(PlanTableModel::kStar, table_->fontMetrics().horizontalAdvance(QStringLiteral("M")) * 14);

  auto* firstRow = new QHBoxLayout;
  firstRow->addWidget(previousNight_);
  firstRow->addWidget(date_);
  firstRow->addWidget(nextNight_);
  firstRow->addSpacing(12);
  firstRow->addWidget(new QLabel(text("観測地")));
  firstRow->addWidget(site_);
  firstRow->addWidget(sitesButton_);
  firstRow->addSpacing(12);
  firstRow->addWidget(openButton_);
  firstRow->addWidget(catalogueLabel_, 1);
  auto* secondRow = new QHBoxLayout;
  secondRow->addWidget(new QLabel(text("太陽")));
  secondRow->addWidget(sunLimit_);
  secondRow->addSpacing(8);
  secondRow->addWidget(new QLabel(text("最低高度")));
  secondRow->addWidget(minimumAltitude_);
  secondRow->addSpacing(8);
  secondRow->addWidget(moonDistanceOn_);
  secondRow->addWidget(moonDistance_);
  secondRow->addSpacing(8);
  secondRow->addWidget(new QLabel(text("極の前後")));
  secondRow->addWidget(around_);
  secondRow->addWidget(secondary_);
  secondRow->addWidget(maxUncertaintyOn_);
  secondRow->addWidget(maxUncertainty_);
  secondRow->addSpacing(8);
  secondRow->addWidget(new QLabel(text("元期の時刻系")));
  secondRow->addWidget(elementsTime_);
  secondRow->addStretch();

  auto* tableArea = new QWidget;
  auto* tableLayout = new QVBoxLayout(tableArea);
  tableLayout->setContentsMargins(0, 0, 0, 0);
  auto* filterRow = new QHBoxLayout;
  filterRow->addWidget(starFilter_, 1);
  filterRow->addWidget(showFailing_);
  filterRow->addWidget(exportButton_);
  tableLayout->addLayout(filterRow);
  tableLayout->addWidget(table_);
  auto* statusRow = new QHBoxLayout;
  statusRow->addWidget(status_, 1);
  statusRow->addWidget(progress_);
  tableLayout->addLayout(statusRow);

  splitter_ = named(new QSplitter(Qt::Vertical), "planSplitter");
  splitter_->addWidget(picture_);
  splitter_->addWidget(tableArea);
  splitter_->setStretchFactor(0, 2);
  splitter_->setStretchFactor(1, 3);
  splitter_->setChildrenCollapsible(false);

  // The night on the first tab; one star across many nights on the second, with
  // the same site and conditions.
  auto* nightTab = new QWidget;
  auto* nightLayout = new QVBoxLayout(nightTab);
  nightLayout->setContentsMargins(0, 0, 0, 0);
  nightLayout->addWidget(summary_);
  nightLayout->addWidget(splitter_, 1);
  season_ = named(new SeasonTab(messages_), "seasonTab");
  season_->request = [this] { return seasonRequest(); };
  season_->askSavePath = [this](const QString& caption, const QString& kind, const QString& filter) {
    return askSavePath(caption, kind, filter, text(kSeasonWorkbookName));
  };
  season_->writeText = [this](const QString& path, const std::string& written) { return writeText(path, written); };
  season_->exported = [this](const QString& kind, const QString& path) { exported(kind, path); };
  season_->writeWorkbook = [this](const std::function<SavedFile(XlsxFileComponent&)>& write) {
    return writeWorkbookFile(write);
  };
  tabs_ = named(new QTabWidget, "planTabs");
  tabs_->addTab(nightTab, text("今夜の計画"));
  tabs_->addTab(season_, text("星ごとの予報"));
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(firstRow);
  layout->addLayout(secondRow);
  layout->addWidget(tabs_, 1);
  resize(980, 720);
}

void PlanWindow::connectControls() {
  const auto replan = [this] { recompute(); };
  connect(previousNight_, &QPushButton::clicked, this, [this] { setNight(night().addDays(-1)); });
  connect(nextNight_, &QPushButton::clicked, this, [this] { setNight(night().addDays(1)); });
  connect(date_, &QDateEdit::dateChanged, this, replan);
  // The site and the time systems are the program's: choosing here changes every
  // window, and a choice made elsewhere is followed here.
  connect(site_, &QComboBox::currentIndexChanged, this, [this] {
    if (sky::Refusal refused = choice_->chooseSite(site_->currentText().toStdString())) {
      messages_->showMessage(*refused);
    }
  });
  connect(choice_, &SharedChoice::siteChanged, this, [this] {
    fillSites();
    recompute();
  });
  connect(choice_, &SharedChoice::sitesChanged, this, [this] { fillSites(); });
  connect(choice_, &SharedChoice::elementsTimeChanged, this, [this] { followElementsTime(); });
  connect(sunLimit_, &QComboBox::currentIndexChanged, this, replan);
  connect(around_, &QSpinBox::valueChanged, this, replan);
  connect(secondary_, &QCheckBox::toggled, this, replan);
  connect(maxUncertainty_, &QSpinBox::valueChanged, this, [this] { refilter(); });
  connect(maxUncertaintyOn_, &QCheckBox::toggled, this, [this](bool on) {
    maxUncertainty_->setEnabled(on);
    refilter();
  });
  connect(elementsTime_, &QComboBox::activated, this, [this] {
    const sky::ElementsTime chosen = kElementsTimes[std::max(elementsTime_->currentIndex(), 0)];
    if (sky::Refusal refused = choice_->setElementsTime(cataloguePath(), chosen)) messages_->showMessage(*refused);
  });
  connect(minimumAltitude_, &QDoubleSpinBox::valueChanged, this, [this] { refilter(); });
  connect(moonDistance_, &QDoubleSpinBox::valueChanged, this, [this] { refilter(); });
  connect(moonDistanceOn_, &QCheckBox::toggled, this, [this](bool on) {
    moonDistance_->setEnabled(on);
    refilter();
  });
  connect(sitesButton_, &QPushButton::clicked, this, [this] { openSitesDialog(); });
  connect(openButton_, &QPushButton::clicked, this, [this] { openCatalogue(); });
  connect(starFilter_, &QLineEdit::textChanged, this, [this](const QString& typed) {
    proxy_->setNameFilter(typed);
    showSummary();
    updatePicture();
  });
  connect(showFailing_, &QCheckBox::toggled, this, [this](bool show) {
    proxy_->setShowFailing(show);
    updatePicture();
  });
  connect(table_->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] { updatePicture(); });
  connect(table_, &QTableView::doubleClicked, this, [this](const QModelIndex& index) { handOver(index); });
  if (link_.openOc) {
    auto* oc = new QAction(text("O−C・極小時刻…"), table_);
    oc->setObjectName(QStringLiteral("planOpenOc"));
    table_->addAction(oc);
    table_->setContextMenuPolicy(Qt::ActionsContextMenu);
    connect(oc, &QAction::triggered, this, [this] { openOc(table_->currentIndex()); });
  }
}

void PlanWindow::applySettings() {
  const PlanSettings values = loadPlanSettings(*settings_);
  fillSites();
  sunLimit_->setCurrentIndex(static_cast<int>(values.sunLimit));
  minimumAltitude_->setValue(values.minimumAltitudeDegrees);
  moonDistanceOn_->setChecked(values.moonDistanceOn);
  moonDistance_->setValue(values.moonDistanceDegrees);
  moonDistance_->setEnabled(values.moonDistanceOn);
  around_->setValue(values.aroundMinutes);
  secondary_->setChecked(values.secondaryMinima);
  maxUncertaintyOn_->setChecked(values.maxUncertaintyOn);
  maxUncertainty_->setValue(values.maxUncertaintyMinutes);
  maxUncertainty_->setEnabled(values.maxUncertaintyOn);
  showFailing_->setChecked(values.showFailing);
  proxy_->setShowFailing(values.showFailing);
  if (!values.geometry.isEmpty()) restoreGeometry(values.geometry);
  if (!values.splitter.isEmpty()) splitter_->restoreState(values.splitter);
  QHeaderView* header = table_->horizontalHeader();
  if (!values.tableHeader.isEmpty() && header->restoreState(values.tableHeader)) {
    table_->sortByColumn(header->sortIndicatorSection(), header->sortIndicatorOrder());
  }
}

void PlanWindow::saveSettings() {
  PlanSettings values;
  values.siteName = site_->currentText();
  values.sunLimit = static_cast<SunLimitChoice>(sunLimit_->currentIndex());
  values.minimumAltitudeDegrees = minimumAltitude_->value();
  values.moonDistanceOn = moonDistanceOn_->isChecked();
  values.moonDistanceDegrees = moonDistance_->value();
  values.aroundMinutes = around_->value();
  values.secondaryMinima = secondary_->isChecked();
  values.maxUncertaintyOn = maxUncertaintyOn_->isChecked();
  values.maxUncertaintyMinutes = maxUncertainty_->value();
  values.showFailing = showFailing_->isChecked();
  values.geometry = saveGeometry();
  values.splitter = splitter_->saveState();
  values.tableHeader = table_->horizontalHeader()->saveState();
  savePlanSettings(*settings_, values);
}

void PlanWindow::fillSites() {
  const QSignalBlocker quiet(site_);
  site_->clear();
  for (const sky::Site& site : choice_->store().sites()) site_->addItem(text(site.name));
  site_->setCurrentIndex(std::max(site_->findText(text(choice_->site().name)), 0));
}

sky::Site PlanWindow::site() const { return choice_->site(); }

const sky::SiteStore& PlanWindow::siteStore() const { return choice_->store(); }

sky::NightOptions PlanWindow::options() const {
  sky::NightOptions options;
  const int limit = sunLimit_->currentIndex();
  if (limit == static_cast<int>(SunLimitChoice::clock)) {
    options.window = sky::NightWindow::clock;
  } else {
    options.sunLimitDegrees = kSunLimits[std::max(limit, 0)].degrees;
  }
  options.minimumAltitudeDegrees = minimumAltitude_->value();
  if (moonDistanceOn_->isChecked()) options.moonDistanceDegrees = moonDistance_->value();
  options.aroundMinutes = around_->value();
  // No span chosen: a minimum of a star whose memo gives its eclipse's duration is
  // checked over the whole eclipse.
  options.aroundFromDuration = around_->value() == 0;
  options.secondaryMinima = secondary_->isChecked();
  if (maxUncertaintyOn_->isChecked()) options.maxUncertaintyMinutes = maxUncertainty_->value();
  options.elementsTime = kElementsTimes[std::max(elementsTime_->currentIndex(), 0)];
  return options;
}

SeasonRequest PlanWindow::seasonRequest() const {
  SeasonRequest request;
  request.stars = stars_;
  request.site = site();
  const QDate first = night();
  request.from = sky::NightDate{first.year(), first.month(), first.day()};
  request.options = options();
  if (const QModelIndex current = table_->currentIndex(); current.isValid()) {
    request.selectedStar = text(model_->event(proxy_->mapToSource(current).row()).name);
  }
  return request;
}

std::chrono::system_clock::time_point PlanWindow::now() const {
  return ports_.clock ? ports_.clock() : std::chrono::system_clock::now();
}

namespace {
double julianDayOf(std::chrono::system_clock::time_point at) {
  const double seconds = std::chrono::duration<double>(at.time_since_epoch()).count();
  return seconds / kSecondsPerDay + kUnixEpochJulianDay;
}
}  // namespace

QDate PlanWindow::tonight() const {
  const auto zone = sky::SiteZone::fromText(site().zone);
  if (!zone) return QDate::currentDate();
  const LocalMinute local = zone->utToLocal(julianDayOf(now())).minute;
  QDate date(local.year, local.month, local.day);
  if (local.hour < kEveningStartHour) date = date.addDays(-1);
  return date;
}

void PlanWindow::setNight(const QDate& eveningDate) { date_->setDate(eveningDate); }

QDate PlanWindow::night() const { return date_->date(); }

std::filesystem::path PlanWindow::cataloguePath() const {
  if (ownCatalogue_) return *ownCatalogue_;
  return link_.cataloguePath ? link_.cataloguePath() : std::filesystem::path();
}

void PlanWindow::loadElementsTime() {
  const std::filesystem::path path = cataloguePath();
  const sky::ElementsTime system = choice_->elementsTimeOf(path);
  for (std::size_t i = 0; i < std::size(kElementsTimes); ++i) {
    if (kElementsTimes[i] == system) elementsTime_->setCurrentIndex(static_cast<int>(i));
  }
  const std::size_t count = stars_ ? stars_->size() : 0;
  catalogueLabel_->setText(ownCatalogue_ ? text(ownCatalogue_->filename().string()) + text("（%1 個）").arg(count)
                                         : text("主ウィンドウの星表（%1 個）").arg(count));
}

void PlanWindow::followElementsTime() {
  loadElementsTime();
  if (options().elementsTime != plannedElements_) recompute();
}

void PlanWindow::refreshCatalogue() {
  if (ownCatalogue_ || !link_.catalogue) return;
  std::vector<sky::NightStar> stars = link_.catalogue();
  if (stars_ && sameStars(*stars_, stars)) return;
  stars_ = std::make_shared<const std::vector<sky::NightStar>>(std::move(stars));
  loadElementsTime();
  recompute();
}

bool PlanWindow::openCatalogue() {
  std::unique_ptr<QtFileChooser> ownChooser;
  FileChooser* chooser = ports_.chooser;
  if (chooser == nullptr) {
    ownChooser = std::make_unique<QtFileChooser>(this, [] {
      return catalogueStartFolder(savedCatalogueFolder(), installedSampleFolder(),
                                  QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
    });
    chooser = ownChooser.get();
  }
  const std::optional<std::string> chosen = chooser->chooseFileToOpen(kCatalogueFilterDescription, kCataloguePattern);
  return chosen && openCatalogueFile(*chosen);
}

bool PlanWindow::openCatalogueFile(const std::string& path) {
  // The plan has no table to fill: a catalogue of any size is read.
  const StarFileReadResult read = readStarFile(path, kPipeWriterWait, RecordLimit::none);
  if (!read.ok()) {
    messages_->showMessage(describeStarFileFailure(path, read));
    return false;
  }
  stars_ = std::make_shared<const std::vector<sky::NightStar>>(nightStarsOf(read.records));
  ownCatalogue_ = std::filesystem::path(path);
  loadElementsTime();
  recompute();
  return true;
}

void PlanWindow::openSitesDialog() {
  // The dialog's choice is the program's; the windows follow it through the choice.
  choice_->editSites([this](sky::SiteStore& store) { runSitesDialog(store, this); });
}

void PlanWindow::recompute() {
  PlanRequest request;
  request.stars = stars_;
  request.site = site();
  const QDate date = night();
  request.date = sky::NightDate{date.year(), date.month(), date.day()};
  request.options = options();
  plannedElements_ = request.options.elementsTime;
  const bool background = stars_ && stars_->size() > computation_->synchronousLimit;
  if (background) {
    progress_->setRange(0, static_cast<int>(stars_->size()));
    progress_->setValue(0);
    progress_->setVisible(true);
    status_->setText(text("計算中…"));
  }
  computation_->start(std::move(request));
}

void PlanWindow::planArrived(sky::Checked<sky::NightPlan> planned) {
  progress_->setVisible(false);
  if (!planned) {
    plan_.reset();
    model_->setPlan(nullptr);
    summary_->setText(text(planned.message()));
    status_->clear();
    updatePicture();
    return;
  }
  auto plan = std::make_shared<sky::NightPlan>(*planned);
  // Filters changed while the plan was being made apply to it as well.
  sky::applyFilters(*plan, options());
  plan_ = plan;
  model_->setPlan(plan_);
  showSummary();
  updatePicture();
}

void PlanWindow::refilter() {
  if (!plan_) return;
  sky::applyFilters(*plan_, options());
  model_->verdictsChanged();
  proxy_->invalidate();
  showSummary();
  updatePicture();
}

void PlanWindow::showSummary() {
  if (!plan_) return;
  summary_->setText(text(nightSummaryText(plan_->night)));
  // Counted as the table shows them: the name filter applies.
  std::size_t events = 0;
  std::size_t passing = 0;
  for (int row = 0; row < model_->rowCount(); ++row) {
    if (!proxy_->matchesName(row)) continue;
    ++events;
    if (model_->event(row).passesAll()) ++passing;
  }
  QString status = text("%1 件の極（条件に合うもの %2 件）").arg(events).arg(passing);
  if (!proxy_->nameFilter().isEmpty()) status += text("　星名「%1」で絞り込み").arg(proxy_->nameFilter());
  if (plan_->skippedStars > 0) status += text("　要素を読めない星 %1 個を除きました").arg(plan_->skippedStars);
  status_->setText(status);
}

std::vector<const sky::NightEvent*> PlanWindow::shownEvents() const {
  std::vector<const sky::NightEvent*> rows;
  for (int row = 0; row < proxy_->rowCount(); ++row) {
    rows.push_back(&model_->event(proxy_->mapToSource(proxy_->index(row, 0)).row()));
  }
  return rows;
}

void PlanWindow::updatePicture() {
  if (!plan_) {
    picture_->setData({});
    return;
  }
  PictureChoice choice;
  for (const QModelIndex& index : table_->selectionModel()->selectedRows()) {
    choice.selected.push_back(&model_->event(proxy_->mapToSource(index).row()));
  }
  std::sort(choice.selected.begin(), choice.selected.end(),
            [](const sky::NightEvent* a, const sky::NightEvent* b) { return a->julianDayUt < b->julianDayUt; });
  for (const sky::NightEvent* event : shownEvents()) {
    if (event->passesAll()) choice.shown.push_back(event);
  }
  if (night() == tonight()) choice.nowUt = julianDayOf(now());
  picture_->setData(buildNightPicture(*plan_, choice));
}

void PlanWindow::handOver(const QModelIndex& tableIndex) {
  if (!tableIndex.isValid() || !plan_ || !link_.showExtremum) return;
  const sky::NightEvent& event = model_->event(proxy_->mapToSource(tableIndex).row());
  const auto mainIndex = mainWindowIndexOf(event);
  if (!mainIndex) return;
  // The main window predicts from the start of this night, so its result is never
  // earlier than its reference.
  const LocalMinute& start = plan_->night.windowStartLocal.minute;
  const ReferenceTexts reference{std::to_string(start.year), std::to_string(start.month), std::to_string(start.day),
                                 std::to_string(start.hour), std::to_string(start.minute)};
  link_.showExtremum(*mainIndex, event.cycle, reference);
}

void PlanWindow::openOc(const QModelIndex& tableIndex) {
  if (!tableIndex.isValid() || !plan_ || !link_.openOc) return;
  const sky::NightEvent& event = model_->event(proxy_->mapToSource(tableIndex).row());
  if (const auto mainIndex = mainWindowIndexOf(event)) link_.openOc(*mainIndex);
}

std::optional<std::size_t> PlanWindow::mainWindowIndexOf(const sky::NightEvent& event) {
  std::optional<std::size_t> mainIndex;
  if (!ownCatalogue_) {
    mainIndex = event.starIndex;
  } else if (link_.catalogue) {
    // A star of a catalogue opened here is found in the main window by its name and elements.
    const sky::NightStar& star = stars_->at(event.starIndex);
    const std::vector<sky::NightStar> main = link_.catalogue();
    for (std::size_t i = 0; i < main.size() && !mainIndex; ++i) {
      if (main[i].name == star.name && main[i].epoch == star.epoch && main[i].period == star.period) mainIndex = i;
    }
  }
  if (!mainIndex) status_->setText(text("「") + text(event.name) + text("」は主ウィンドウの星表にありません。"));
  return mainIndex;
}

QString PlanWindow::askSavePath(const QString& caption, const QString& kind, const QString& filter,
                                const QString& listName) {
  const QString folder = exportStartFolder(*settings_, kind, programDocumentsFolder(ports_.documentsFolder));
  const QString name = night().toString(QStringLiteral("yyyy-MM-dd")) + QStringLiteral("_") +
                       (listName.isEmpty() ? text(kPlanListName) : listName) + QStringLiteral(".") + kind;
  QDir().mkpath(folder);
  const QString suggested = QDir(folder).filePath(name);
  if (ports_.chooseSaveFile) return ports_.chooseSaveFile(caption, suggested, filter);
  return QFileDialog::getSaveFileName(this, caption, suggested, filter);
}

bool PlanWindow::exported(const QString& kind, const QString& path) {
  rememberExportFolder(*settings_, kind, path);
  status_->setText(text("書き出しました: ") + path);
  return true;
}

bool PlanWindow::writeText(const QString& path, const std::string& contents) {
  std::ofstream out(path.toStdString(), std::ios::binary | std::ios::trunc);
  out << contents;
  out.close();
  if (!out) {
    messages_->showMessage("ファイル「" + path.toStdString() + "」に書き込めませんでした。");
    return false;
  }
  return true;
}

bool PlanWindow::writeWorkbookFile(const std::function<SavedFile(XlsxFileComponent&)>& write) {
  XlsxFileSettings settings;
  settings.documentsFolder = programDocumentsFolder(ports_.documentsFolder);
  QtFileOpener desktopOpener;
  settings.opener = ports_.fileOpener ? ports_.fileOpener : &desktopOpener;
  settings.clock = [this] { return now(); };
  XlsxFileComponent files(std::move(settings));
  const SavedFile saved = write(files);
  if (!saved.saved) {
    messages_->showMessage(saveFailedMessage(saved));
    return false;
  }
  status_->setText(text("書き出しました: ") + text(saved.path));
  return true;
}

bool PlanWindow::exportXlsx() {
  if (!plan_) return false;
  return writeWorkbookFile(
      [this](XlsxFileComponent& files) { return writeNightWorkbook(files, plan_->night, shownEvents(), true); });
}

bool PlanWindow::exportCsv() {
  if (!plan_) return false;
  const QString path = askSavePath(text("CSV に書き出し"), QStringLiteral("csv"), text("CSV (*.csv)"));
  return !path.isEmpty() && writeText(path, kUtf8ByteOrderMark + planCsv(shownEvents())) &&
         exported(QStringLiteral("csv"), path);
}

bool PlanWindow::exportIcs() {
  if (!plan_) return false;
  const QString path = askSavePath(text("カレンダーに書き出し"), QStringLiteral("ics"), text("iCalendar (*.ics)"));
  if (path.isEmpty()) return false;
  const auto stamp = std::chrono::duration_cast<std::chrono::seconds>(now().time_since_epoch()).count();
  return writeText(path, planIcs(shownEvents(), plan_->night, around_->value(), stamp)) &&
         exported(QStringLiteral("ics"), path);
}

bool PlanWindow::exportPng() {
  const QString path = askSavePath(text("図を PNG で保存"), QStringLiteral("png"), text("PNG (*.png)"));
  if (path.isEmpty()) return false;
  const QSize size = picture_->size().expandedTo(kSmallestExportedPicture);
  if (!savePicturePng(picture_->data(), size, std::max(1.0, picture_->devicePixelRatioF()), path)) {
    messages_->showMessage("図を「" + path.toStdString() + "」に保存できませんでした。");
    return false;
  }
  return exported(QStringLiteral("png"), path);
}

bool PlanWindow::exportSvg() {
  const QString path = askSavePath(text("図を SVG で保存"), QStringLiteral("svg"), text("SVG (*.svg)"));
  if (path.isEmpty()) return false;
  const QSize size = picture_->size().expandedTo(kSmallestExportedPicture);
  if (!savePictureSvg(picture_->data(), size, path)) {
    messages_->showMessage("図を「" + path.toStdString() + "」に保存できませんでした。");
    return false;
  }
  return exported(QStringLiteral("svg"), path);
}

void PlanWindow::closeEvent(QCloseEvent* event) {
  saveSettings();
  QWidget::closeEvent(event);
}

bool PlanWindow::event(QEvent* event) {
  if (event->type() == QEvent::WindowActivate) refreshCatalogue();
  if (event->type() == QEvent::Hide) saveSettings();
  return QWidget::event(event);
}

}  // namespace tenmirel::ui
