#include "ui/frm_yohou.h"

#include <algorithm>

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QStandardPaths>
#include <QTimer>

#include "catalogue/star_file.h"
#include "sky/elements_settings.h"
#include "sky/site_store.h"
#include "ui/catalogue/catalogue_menu.h"
#include "ui/catalogue_folder.h"
#include "ui/excel_menu.h"
#include "ui/frm_calc.h"
#include "ui/frm_excel.h"
#include "ui/gothic_fonts.h"
#include "ui/number_box.h"
#include "ui/plan/plan_menu.h"
#include "ui/program_settings.h"
#include "ui/shared_choice.h"
#include "ui/timing/timing_menu.h"
#include "ui/twips.h"
#include "ui/window_placement.h"

namespace tenmirel::ui {
namespace {

constexpr int kInnerWidthTwips = 8040;
constexpr int kInnerHeightTwips = 7725;
constexpr int kRuleLengthTwips = 7920;
constexpr int kRuleThicknessTwips = 15;
constexpr double kWindowPoints = 11.25;
constexpr double kButtonPoints = 9;
constexpr double kMenuPoints = 9;
constexpr double kSmallestMemoPoints = 9;
constexpr double kMemoShrinkStepPoints = 0.75;

// Unit labels follow their 855-twip boxes; the two date rows share one grid.
constexpr int kDateBoxWidthTwips = 855;
constexpr int kBoxHeightTwips = 375;
constexpr int kLabelHeightTwips = 255;
constexpr int kDateColumnLefts[] = {240, 1500, 2760, 4020, 5280};
constexpr int kUnitGapTwips = 60;
constexpr int kUnitWidthTwips = 285;
constexpr int kLastUnitWidthTwips = 1200;  // "分　以降", "分　頃"

struct FrameLayout {
  const char* name;
  const char* caption;
  TwipsRect place;
};
constexpr FrameLayout kFrame1{"Frame1", "変光星データ入力欄", {120, 240, 7815, 2655}};
constexpr FrameLayout kFrame2{"Frame2", "予報データ", {120, 3120, 7815, 1935}};
constexpr FrameLayout kFrame3{"Frame3", "ユリウス日", {120, 5280, 7815, 1575}};

struct DateField {
  const char* box;
  std::string FrmYohouModel::*field;
  const char* unitLabel;
  const char* unit;
};
constexpr int kInputRowTop = 1320;
constexpr DateField kInputRow[] = {
    {"txtInputYear", &FrmYohouModel::txtInputYear, "Label9", "年"},
    {"txtInputMonth", &FrmYohouModel::txtInputMonth, "Label10", "月"},
    {"txtInputDay", &FrmYohouModel::txtInputDay, "Label11", "日"},
    {"txtInputHour", &FrmYohouModel::txtInputHour, "Label12", "時"},
    {"txtInputMin", &FrmYohouModel::txtInputMin, "Label13", "分　以降"},
};
constexpr int kOutputRowTop = 420;
constexpr DateField kOutputRow[] = {
    {"txtOutputYear", &FrmYohouModel::txtOutputYear, "Label4", "年"},
    {"txtOutputMonth", &FrmYohouModel::txtOutputMonth, "Label5", "月"},
    {"txtOutputDay", &FrmYohouModel::txtOutputDay, "Label6", "日"},
    {"txtOutputHour", &FrmYohouModel::txtOutputHour, "Label7", "時"},
    {"txtOutputMin", &FrmYohouModel::txtOutputMin, "Label8", "分　頃"},
};

// Label14 frames the altitude and cycle boxes, which sit in its blank stretches.
constexpr const char* kLabel14Text = "高度角　　 　　°         第　　　　　回帰　";
constexpr qsizetype kKoudoGapFirst = 3;   // after "高度角"
constexpr qsizetype kKoudoGapEnd = 8;     // at "°"
constexpr qsizetype kKaikiGapFirst = 19;  // after "第"
constexpr qsizetype kKaikiGapEnd = 24;    // at "回帰"
constexpr int kLabel14Left = 240;
constexpr int kLabel14BoxTop = 1080;
constexpr int kGapInsetPixels = 1;
// The widest texts the two boxes must show whole. An altitude between -90° and
// 90° in the number text's 15 digits is widest just above its exponent form's
// threshold ("-0.0000123456789012345", 22 characters) or in it
// ("-1.23456789012345E-06"); each written in the face's widest digit. The cycle:
// eleven digits (year 1E9 with a period of days).
constexpr int kSignificantDigits = 15;
constexpr const char* kSmallestPlainAltitudePrefix = "-0.0000";
constexpr const char* kExponentAltitudeSuffix = "E-06";
constexpr const char* kWidestCycleText = "-88888888888";
constexpr double kBoxTextMarginPixels = 10;  // frame and inner margins of a line edit
constexpr double kRunSpacingPixels = 24;

struct ButtonLayout {
  const char* name;
  const char* caption;
  TwipsRect place;
};
constexpr int kButtonTop = 7080;
constexpr int kButtonHeight = 495;
constexpr ButtonLayout kButtons[] = {
    {"Command1", "変光星データ読み込み", {120, kButtonTop, 2175, kButtonHeight}},
    {"Command2", "予報開始", {2475, kButtonTop, 1575, kButtonHeight}},
    {"Command3", "次の回帰の予報", {4230, kButtonTop, 1935, kButtonHeight}},
    {"Command4", "閉じる", {6345, kButtonTop, 1575, kButtonHeight}},
};

QString text(const char* utf8) { return QString::fromUtf8(utf8); }
QString text(const std::string& utf8) { return QString::fromStdString(utf8); }

QLabel* makeLabel(QWidget* parent, const char* name, const char* caption, const TwipsRect& place, const Twips& twips) {
  auto* label = new QLabel(text(caption), parent);
  label->setObjectName(text(name));
  placeInTwips(*label, place, twips);
  return label;
}

// One half of the etched rule: a line of one palette colour.
QWidget* makeRuleLine(QWidget* parent, const char* name, QPalette::ColorRole colour, int topTwips, const Twips& twips) {
  auto* line = new QWidget(parent);
  line->setObjectName(text(name));
  line->setBackgroundRole(colour);
  line->setAutoFillBackground(true);
  line->setGeometry(0, twips.px(topTwips), twips.px(kRuleLengthTwips), std::max(1, twips.px(kRuleThicknessTwips)));
  return line;
}

bool anyCellWritten(const CalcLabels& labels) {
  bool written = false;
  forEachCalcCell(labels, [&written](const std::string&, const std::string& cell) { written |= !cell.empty(); });
  return written;
}

void showBoxText(QLineEdit& box, const QString& value) {
  if (box.text() == value) return;
  box.setText(value);
  box.setCursorPosition(0);  // a long number shows its first digits
}

// Whether the box's whole text fits between its frame and margins.
bool showsWhole(const QLineEdit& box) {
  return QFontMetricsF(box.font()).horizontalAdvance(box.text()) + kBoxTextMarginPixels <= box.width();
}

// The longest prefix of text that, with an ellipsis, fits the room when wrapped.
QString elidedToFit(const QString& text, const QFont& font, const QRectF& room) {
  const QFontMetricsF metrics(font);
  auto fits = [&](const QString& candidate) {
    return metrics.boundingRect(room, Qt::TextWordWrap, candidate).height() <= room.height();
  };
  if (fits(text)) return text;
  const QString ellipsis(QChar(0x2026));
  qsizetype shortest = 0;
  qsizetype longest = text.size();
  while (shortest < longest) {
    const qsizetype middle = (shortest + longest + 1) / 2;
    if (fits(text.left(middle) + ellipsis)) {
      shortest = middle;
    } else {
      longest = middle - 1;
    }
  }
  return text.left(shortest) + ellipsis;
}

}  // namespace

FrmYohou::FrmYohou(FrmYohouPorts ports, std::chrono::system_clock::time_point now)
    : ownMessages_(ports.messages ? nullptr : std::make_unique<QtMessageSink>(this)),
      ownChooser_(ports.chooser ? nullptr
                                : std::make_unique<QtFileChooser>(
                                      this,
                                      [] {
                                        return catalogueStartFolder(
                                            savedCatalogueFolder(), installedSampleFolder(),
                                            QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
                                      })),
      checkTrigger_([this] { showCheckWindow(); }),
      messages_(ports.messages ? *ports.messages : *ownMessages_),
      showStateFirst_(
          [this] {
            showModel();
            if (excelMenu_ && excelMenu_->frmExcel()) excelMenu_->frmExcel()->showModel();
          },
          messages_),
      messageGate_(showStateFirst_),
      chooser_(ports.chooser ? *ports.chooser : *ownChooser_),
      rememberingChooser_(chooser_),
      endProgram_(ports.endProgram ? std::move(ports.endProgram) : [] { QCoreApplication::exit(0); }),
      askYesNo_(ports.askYesNo ? std::move(ports.askYesNo)
                               : [this](const std::string& question) {
                                   showModel();
                                   return ui::askYesNo(this, QString::fromStdString(question));
                                 }),
      model_(messageGate_, checkTrigger_, rememberingChooser_),
      excelMenu_(std::make_unique<ExcelMenu>(model_, messageGate_, this, [this] { showModel(); }, ports.fileOpener,
                                             ports.documentsFolder)),
      sitesFile_(ports.plan.sitesFile.empty() ? sky::SiteStore::defaultFile() : ports.plan.sitesFile),
      elementsSettingsFile_(ports.plan.elementsSettingsFile.empty() ? sky::ElementsSettings::defaultFile()
                                                                    : ports.plan.elementsSettingsFile),
      choice_(new SharedChoice(sitesFile_, elementsSettingsFile_, this)),
      planMenu_(std::make_unique<PlanMenu>(
          model_, this, [this] { showModel(); }, std::move(ports.plan), *choice_, [this] { return cataloguePath_; })),
      catalogueMenu_(std::make_unique<CatalogueMenu>(
          this,
          [this](const std::string& path) {
            rememberingChooser_.answerNextWith(path);
            runAndShow([this] { loadCatalogue(); });
          },
          [this] { return cataloguePath_; }, std::move(ports.catalogue),
          [this](const std::filesystem::path& file, sky::ElementsTime system) {
            return choice_->setElementsTime(file, system);
          })) {
  if (!ports.timing.messages) ports.timing.messages = &messages_;
  timingMenu_ = std::make_unique<TimingMenu>(
      model_, this, [this] { return cataloguePath_; }, std::move(ports.timing));
  planMenu_->setOpenOc([this](std::size_t starIndex) {
    runAndShow([this, starIndex] { model_.setCombo1ListIndex(static_cast<int>(starIndex)); });
    timingMenu_->openOcWindow();
  });
  setObjectName(QStringLiteral("FrmYohou"));
  buildControls();
  buildMenus();
  connectControls();
  connectMenuActions();
  setFocusOrder();

  // The site first, so the clock is read in its zone; a damaged sites file is
  // reported once the window is up.
  if (model_.useSite(choice_->site())) model_.useSite(sky::builtInSite());
  if (!choice_->store().problem().empty()) QTimer::singleShot(0, this, [this] { applyDefaultSite(); });
  connect(choice_, &SharedChoice::siteChanged, this, [this] { followSite(); });
  connect(choice_, &SharedChoice::elementsTimeChanged, this, [this] { followElementsTime(); });
  model_.Form_Load(now);
  showModel();

  const Twips twips = Twips::of(*this);
  resize(twips.px(kInnerWidthTwips), twips.px(kInnerHeightTwips) + menuBar()->sizeHint().height());
}

FrmYohou::~FrmYohou() = default;

void FrmYohou::buildControls() {
  auto* inner = new QWidget(this);
  inner->setObjectName(QStringLiteral("innerArea"));
  inner->setFont(gothicFont(GothicPitch::kProportional, kWindowPoints));
  setCentralWidget(inner);
  inner->installEventFilter(this);
  const Twips twips = Twips::of(*this);
  const QFont fixedFont = gothicFont(GothicPitch::kFixed, kWindowPoints);
  const QFont buttonFont = gothicFont(GothicPitch::kProportional, kButtonPoints);

  line1_ = makeRuleLine(inner, "Line1", QPalette::Dark, 0, twips);
  line2_ = makeRuleLine(inner, "Line2", QPalette::Light, kRuleThicknessTwips, twips);

  auto makeFrame = [&](const FrameLayout& layout) {
    auto* frame = new QGroupBox(text(layout.caption), inner);
    frame->setObjectName(text(layout.name));
    placeInTwips(*frame, layout.place, twips);
    return frame;
  };
  auto makeBox = [&](QWidget* parent, const char* name, std::string FrmYohouModel::*field, const TwipsRect& place) {
    auto* box = new QLineEdit(parent);
    box->setObjectName(text(name));
    makeNumberBox(*box);
    placeInTwips(*box, place, twips);
    textBoxes_.push_back({box, field});
    return box;
  };
  auto makeDateRow = [&](QWidget* parent, const DateField(&row)[5], int top) {
    for (std::size_t i = 0; i < std::size(row); ++i) {
      const int left = kDateColumnLefts[i];
      makeBox(parent, row[i].box, row[i].field, {left, top, kDateBoxWidthTwips, kBoxHeightTwips});
      const int unitWidth = i + 1 == std::size(row) ? kLastUnitWidthTwips : kUnitWidthTwips;
      const int unitTop = top + (kBoxHeightTwips - kLabelHeightTwips) / 2;
      makeLabel(parent, row[i].unitLabel, row[i].unit,
                {left + kDateBoxWidthTwips + kUnitGapTwips, unitTop, unitWidth, kLabelHeightTwips}, twips);
    }
  };

  // Star selection, light elements and the reference date.
  QGroupBox* frame1 = makeFrame(kFrame1);
  makeLabel(frame1, "Label1", "変光星を選択してください", {240, 360, 3375, kLabelHeightTwips}, twips);
  combo1_ = new QComboBox(frame1);
  combo1_->setObjectName(QStringLiteral("Combo1"));
  combo1_->setFont(buttonFont);
  combo1_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  placeInTwips(*combo1_, {240, 720, 3375, 345}, twips);
  makeLabel(frame1, "Label2", "元期：", {3840, 360, 720, kLabelHeightTwips}, twips)->setFont(fixedFont);
  makeBox(frame1, "txtGanki", &FrmYohouModel::txtGanki, {4560, 300, 3015, kBoxHeightTwips})->setFont(fixedFont);
  makeLabel(frame1, "Label3", "周期：", {3840, 780, 720, kLabelHeightTwips}, twips)->setFont(fixedFont);
  makeBox(frame1, "txtSyuki", &FrmYohouModel::txtSyuki, {4560, 720, 3015, kBoxHeightTwips})->setFont(fixedFont);
  makeDateRow(frame1, kInputRow, kInputRowTop);
  // Three lines of room: the memos of real catalogues run long.
  lblMemo_ = makeLabel(frame1, "lblMemo", "", {240, 1800, 7335, 780}, twips);
  lblMemo_->setTextFormat(Qt::PlainText);
  lblMemo_->setWordWrap(true);
  lblMemo_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  lblMemo_->setTextInteractionFlags(Qt::TextSelectableByMouse);

  // The predicted extremum.
  QGroupBox* frame2 = makeFrame(kFrame2);
  makeDateRow(frame2, kOutputRow, kOutputRowTop);
  label14_ = new GappedCaption(text(kLabel14Text), frame2);
  label14_->setObjectName(QStringLiteral("Label14"));
  label14_->setFont(fixedFont);
  txtOutputKoudo_ = makeBox(frame2, "txtOutputKoudo", &FrmYohouModel::txtOutputKoudo, {0, 0, 0, 0});
  txtOutputKaiki_ = makeBox(frame2, "txtOutputKaiki", &FrmYohouModel::txtOutputKaiki, {0, 0, 0, 0});
  placeBoxesInLabel14Gaps();

  // The two Julian days.
  QGroupBox* frame3 = makeFrame(kFrame3);
  makeLabel(frame3, "Label16", "予測基準のユリウス日（世界時）", {240, 420, 4095, kLabelHeightTwips}, twips);
  makeLabel(frame3, "Label17", "予測結果のユリウス日（世界時）", {240, 960, 4095, kLabelHeightTwips}, twips);
  auto makeJulianDay = [&](const char* name, std::string FrmYohouModel::*field, int top) {
    QLabel* label = makeLabel(frame3, name, "", {4440, top, 3135, kBoxHeightTwips}, twips);
    label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    label->setTextFormat(Qt::PlainText);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    labels_.push_back({label, field});
    return label;
  };
  makeJulianDay("lblJulKijun", &FrmYohouModel::lblJulKijun, 360);
  lblJulKekka_ = makeJulianDay("lblJulKekka", &FrmYohouModel::lblJulKekka, 900);

  QPushButton** buttons[] = {&command1_, &command2_, &command3_, &command4_};
  for (std::size_t i = 0; i < std::size(kButtons); ++i) {
    auto* button = new QPushButton(text(kButtons[i].caption), inner);
    button->setObjectName(text(kButtons[i].name));
    button->setFont(buttonFont);
    placeInTwips(*button, kButtons[i].place, twips);
    *buttons[i] = button;
  }
}

void FrmYohou::placeBoxesInLabel14Gaps() {
  // The boxes take the caption's blank stretches, widened where a whole value
  // needs more room; the symbols after a box move along with it. Measured in the
  // faces actually in use, whichever Gothic face stood in for the one asked for.
  const Twips twips = Twips::of(*this);
  const QFontMetricsF metrics(label14_->font());
  const QString caption = label14_->text();
  auto advance = [&](qsizetype characters) { return metrics.horizontalAdvance(caption.left(characters)); };
  auto fitting = [&](const QLineEdit& box, const char* widest) {
    return QFontMetricsF(box.font()).horizontalAdvance(text(widest)) + kBoxTextMarginPixels;
  };
  auto fittingAltitude = [&](const QLineEdit& box) {
    const QFontMetricsF boxMetrics(box.font());
    double widest = 0;
    for (QChar digit = u'0'; digit <= u'9'; digit = QChar(digit.unicode() + 1)) {
      const QString plain = text(kSmallestPlainAltitudePrefix) + QString(kSignificantDigits, digit);
      const QString exponent = QStringLiteral("-") + digit + QStringLiteral(".") +
                               QString(kSignificantDigits - 1, digit) + text(kExponentAltitudeSuffix);
      widest = std::max({widest, boxMetrics.horizontalAdvance(plain), boxMetrics.horizontalAdvance(exponent)});
    }
    return widest + kBoxTextMarginPixels;
  };
  const int labelLeft = twips.px(kLabel14Left);
  const int boxHeight = twips.px(kBoxHeightTwips);
  const int boxTop = twips.px(kLabel14BoxTop);
  const auto runs = label14_->runs();  // 高度角, °, 第, 回帰
  std::vector<double> runLefts{0};

  const double koudoLeft = qCeil(advance(kKoudoGapFirst)) + kGapInsetPixels;
  const double koudoWidth =
      std::max(advance(kKoudoGapEnd) - kGapInsetPixels - koudoLeft, fittingAltitude(*txtOutputKoudo_));
  txtOutputKoudo_->setGeometry(labelLeft + qRound(koudoLeft), boxTop, qCeil(koudoWidth), boxHeight);
  const double degreeLeft = koudoLeft + qCeil(koudoWidth) + kGapInsetPixels;
  runLefts.push_back(degreeLeft);

  // "第" keeps its place unless the altitude box pushed it along.
  const double daiLeft = std::max(advance(runs.at(2).first), degreeLeft + label14_->runWidth(1) + kRunSpacingPixels);
  runLefts.push_back(daiLeft);
  const double kaikiLeft = qCeil(daiLeft + label14_->runWidth(2)) + kGapInsetPixels;
  const double kaikiWidth = std::max(advance(kKaikiGapEnd) - advance(kKaikiGapFirst) - 2 * kGapInsetPixels,
                                     fitting(*txtOutputKaiki_, kWidestCycleText));
  txtOutputKaiki_->setGeometry(labelLeft + qRound(kaikiLeft), boxTop, qCeil(kaikiWidth), boxHeight);
  runLefts.push_back(kaikiLeft + qCeil(kaikiWidth) + kGapInsetPixels);

  label14_->setRunLefts(std::move(runLefts));
  label14_->setGeometry(labelLeft, boxTop + (boxHeight - twips.px(kLabelHeightTwips)) / 2, label14_->sizeHint().width(),
                        twips.px(kLabelHeightTwips));
}

void FrmYohou::buildMenus() {
  QMenuBar* bar = menuBar();
  const QFont menuFont = gothicFont(GothicPitch::kProportional, kMenuPoints);
  bar->setFont(menuFont);
  auto addMenu = [&](const char* name, const char* caption) {
    QMenu* menu = bar->addMenu(text(caption));
    menu->setObjectName(text(name));
    menu->setFont(menuFont);
    return menu;
  };
  auto addItem = [&](QMenu* menu, const char* name, const char* caption, QKeyCombination shortcut) {
    QAction* action = menu->addAction(text(caption));
    action->setObjectName(text(name));
    if (shortcut.key() != Qt::Key_unknown) action->setShortcut(QKeySequence(shortcut));
    return action;
  };
  const QKeyCombination none(Qt::Key_unknown);

  QMenu* file = addMenu("MenuFile", "ﾌｧｲﾙ(&F)");
  menuOpen_ = addItem(file, "MenuOpen", "開く(&O)", Qt::CTRL | Qt::Key_O);
  mnuImport_ = addItem(file, "mnuImport", "取り込み…", none);
  mnuEditCatalogue_ = addItem(file, "mnuEditCatalogue", "カタログの編集…", none);
  file->addSeparator()->setObjectName(QStringLiteral("MenuDummy1"));
  menuEnd_ = addItem(file, "MenuEnd", "終了(&Q)", Qt::CTRL | Qt::Key_Q);

  QMenu* yohou = addMenu("MenuYohou", "予報(&E)");
  menuYohouStart_ = addItem(yohou, "MenuYohouStart", "予報開始(&S)", Qt::CTRL | Qt::Key_S);
  menuNext_ = addItem(yohou, "MenuNext", "次の回帰の予報(&N)", Qt::CTRL | Qt::Key_N);
  mnuPlan_ = addItem(yohou, "mnuPlan", "今夜の観測計画…", Qt::CTRL | Qt::Key_T);
  mnuOc_ = addItem(yohou, "mnuOc", "O−C・極小時刻…", none);

  QMenu* excel = addMenu("mnuExcel", "Excel");
  mnuExcelNtime_ = addItem(excel, "mnuExcelNtime", "指定回数予報", none);
  mnuExcelToday_ = addItem(excel, "mnuExcelToday", "今日の変光星", none);

  QMenu* settings = addMenu("mnuSettings", "設定(&S)");
  mnuSites_ = addItem(settings, "mnuSites", "観測地(&L)…", none);
  QMenu* elements = settings->addMenu(text("元期の時刻系(&T)"));
  elements->setObjectName(QStringLiteral("mnuElementsTime"));
  elements->setFont(menuFont);
  auto* group = new QActionGroup(this);
  const struct {
    sky::ElementsTime system;
    const char* name;
    const char* caption;
  } systems[] = {{sky::ElementsTime::jd, "mnuElementsJd", "JD（地心ユリウス日）"},
                 {sky::ElementsTime::hjd, "mnuElementsHjd", "HJD（日心ユリウス日）"},
                 {sky::ElementsTime::bjdTdb, "mnuElementsBjd", "BJD_TDB（太陽系重心ユリウス日）"}};
  for (const auto& system : systems) {
    QAction* action = addItem(elements, system.name, system.caption, none);
    action->setCheckable(true);
    group->addAction(action);
    mnuElementsTimes_[static_cast<std::size_t>(system.system)] = action;
  }
  showElementsTimeChoice();
}

void FrmYohou::connectControls() {
  for (const TextBinding& binding : textBoxes_) {
    connect(binding.box, &QLineEdit::textEdited, this,
            [this, field = binding.field](const QString& typed) { model_.*field = typed.toStdString(); });
  }
  connect(combo1_, &QComboBox::activated, this,
          [this](int index) { runAndShow([this, index] { model_.setCombo1ListIndex(index); }); });
  connect(command1_, &QPushButton::clicked, this, [this] { runAndShow([this] { loadCatalogue(); }); });
  connect(command2_, &QPushButton::clicked, this, [this] { runAndShow([this] { model_.Command2_Click(); }); });
  connect(command3_, &QPushButton::clicked, this, [this] { runAndShow([this] { model_.Command3_Click(); }); });
  connect(command4_, &QPushButton::clicked, this, [this] { close(); });
}

void FrmYohou::connectMenuActions() {
  connect(menuOpen_, &QAction::triggered, this, [this] { runAndShow([this] { loadCatalogue(); }); });
  connect(menuEnd_, &QAction::triggered, this, [this] { close(); });
  connect(mnuImport_, &QAction::triggered, this, [this] { catalogueMenu_->openImportDialog(); });
  connect(mnuEditCatalogue_, &QAction::triggered, this, [this] { catalogueMenu_->openEditor(); });
  connect(menuYohouStart_, &QAction::triggered, this,
          [this] { runAndShow([this] { model_.MenuYohouStart_Click(); }); });
  connect(menuNext_, &QAction::triggered, this, [this] { runAndShow([this] { model_.MenuNext_Click(); }); });
  connect(mnuExcelNtime_, &QAction::triggered, this, [this] { excelMenu_->mnuExcelNtime_Click(); });
  connect(mnuExcelToday_, &QAction::triggered, this, [this] { excelMenu_->mnuExcelToday_Click(); });
  connect(mnuPlan_, &QAction::triggered, this, [this] { planMenu_->openPlanWindow(); });
  connect(mnuOc_, &QAction::triggered, this, [this] { timingMenu_->openOcWindow(); });
  connect(mnuSites_, &QAction::triggered, this, [this] { planMenu_->openSitesDialog(); });
  for (std::size_t i = 0; i < mnuElementsTimes_.size(); ++i) {
    connect(mnuElementsTimes_[i], &QAction::triggered, this,
            [this, i] { chooseElementsTime(static_cast<sky::ElementsTime>(i)); });
  }
}

void FrmYohou::setFocusOrder() {
  const char* order[] = {"Combo1",       "txtGanki",      "txtSyuki",     "txtInputYear",   "txtInputMonth",
                         "txtInputDay",  "txtInputHour",  "txtInputMin",  "txtOutputYear",  "txtOutputMonth",
                         "txtOutputDay", "txtOutputHour", "txtOutputMin", "txtOutputKaiki", "Command1",
                         "Command2",     "Command3",      "Command4",     "txtOutputKoudo"};
  QWidget* previous = nullptr;
  for (const char* name : order) {
    auto* widget = findChild<QWidget*>(text(name));
    if (previous) QWidget::setTabOrder(previous, widget);
    previous = widget;
  }
}

void FrmYohou::loadCatalogue() {
  if (!model_.Command1_Click()) {
    offerPlanForLargeCatalogue();
    return;
  }
  if (!rememberingChooser_.lastChosen()) return;
  const QString chosen = QFile::decodeName(rememberingChooser_.lastChosen()->c_str());
  saveCatalogueFolder(QFileInfo(chosen).absolutePath());
  // The catalogue format has no field for its elements' time system: it is remembered per file.
  std::error_code ignored;
  cataloguePath_ = std::filesystem::weakly_canonical(*rememberingChooser_.lastChosen(), ignored);
  model_.useElementsTime(choice_->elementsTimeOf(cataloguePath_));
  showElementsTimeChoice();
}

void FrmYohou::offerPlanForLargeCatalogue() {
  const StarFileReadResult& load = model_.lastLoad();
  if (load.failure != StarFileFailure::tooManyRecords || !rememberingChooser_.lastChosen()) return;
  const std::string path = *rememberingChooser_.lastChosen();
  // The reading's own sentence gives the count and the limit.
  const std::string question = describeStarFileFailure(path, load) +
                               "\n今夜の観測計画なら星の数にかかわらず予報できます。"
                               "今夜の観測計画でこの星表を開きますか？";
  if (!askYesNo_(question)) return;
  planMenu_->openPlanWindow();
  if (PlanWindow* plan = planMenu_->planWindow()) plan->openCatalogueFile(path);
}

QAction* FrmYohou::mnuElementsTime(sky::ElementsTime system) const {
  return mnuElementsTimes_[static_cast<std::size_t>(system)];
}

void FrmYohou::showElementsTimeChoice() {
  for (std::size_t i = 0; i < mnuElementsTimes_.size(); ++i) {
    mnuElementsTimes_[i]->setChecked(static_cast<sky::ElementsTime>(i) == model_.elementsTime());
  }
}

void FrmYohou::chooseElementsTime(sky::ElementsTime system) {
  // The choice holds for this run even when the settings file refuses it.
  if (const sky::Refusal refused = choice_->setElementsTime(cataloguePath_, system)) {
    messageGate_.showMessage(*refused);
  }
  showElementsTimeChoice();
}

void FrmYohou::applyDefaultSite() {
  const std::string& problem = choice_->store().problem();
  if (!problem.empty() && problem != reportedSiteProblem_) {
    reportedSiteProblem_ = problem;
    messageGate_.showMessage(problem);
  }
  followSite();
}

void FrmYohou::followSite() {
  const bool builtInBefore = model_.site().isBuiltIn();
  const sky::Site before = model_.site().site();
  if (const sky::Refusal refused = model_.useSite(choice_->site())) {
    messageGate_.showMessage(*refused);
    model_.useSite(sky::builtInSite());
  }
  if (model_.site().isBuiltIn() != builtInBefore || !(model_.site().site() == before)) model_.predictAgain();
  showModel();
}

void FrmYohou::followElementsTime() {
  const sky::ElementsTime system = choice_->elementsTimeOf(cataloguePath_);
  if (system != model_.elementsTime()) {
    model_.useElementsTime(system);
    model_.predictAgain();
  }
  showElementsTimeChoice();
  showModel();
}

void FrmYohou::runAndShow(const std::function<void()>& operation) {
  operation();
  showModel();
}

void FrmYohou::showModel() {
  // Another site than the built-in one and elements other than JD are named in
  // the title, beside the caption.
  QStringList beside;
  if (!model_.site().isBuiltIn()) beside << text(model_.site().site().name);
  if (model_.elementsTime() != sky::ElementsTime::jd) beside << text(sky::elementsTimeName(model_.elementsTime()));
  setWindowTitle(text(model_.caption) +
                 (beside.isEmpty() ? QString() : QStringLiteral(" — ") + beside.join(QStringLiteral(" · "))));
  if (lblJulKekka_ != nullptr) lblJulKekka_->setToolTip(text(model_.lblJulKekkaElements));
  showCombo1();
  for (const TextBinding& binding : textBoxes_) showBoxText(*binding.box, text(model_.*binding.field));
  for (const LabelBinding& binding : labels_) binding.label->setText(text(model_.*binding.field));
  showMemo();
  showCycleBox();
  // Very long typed cycle numbers still show whole on hovering.
  txtOutputKoudo_->setToolTip(txtOutputKoudo_->text());
  txtOutputKaiki_->setToolTip(txtOutputKaiki_->text());
  // How far the result can be trusted is said on its minute only, so the window's texts stay as designed.
  for (const TextBinding& binding : textBoxes_) {
    if (binding.field == &FrmYohouModel::txtOutputMin) binding.box->setToolTip(text(model_.txtOutputMinTip));
  }
  if (frmCalc_) {
    frmCalc_->showRecord();
  } else if (anyCellWritten(model_.calc)) {
    checkWindow();  // the first calculation creates it, hidden
  }
}

void FrmYohou::showMemo() {
  const QString memo = text(model_.lblMemo);
  if (lblMemo_->toolTip() == memo) return;
  // A memo longer than its three lines is drawn smaller, down to a size still
  // easy to read, and then cut with an ellipsis; the tooltip holds it whole.
  QFont font = lblMemo_->parentWidget()->font();
  font.setPointSizeF(kWindowPoints);
  const QRectF room(0, 0, lblMemo_->width(), lblMemo_->height());
  while (font.pointSizeF() - kMemoShrinkStepPoints >= kSmallestMemoPoints &&
         QFontMetricsF(font).boundingRect(room, Qt::TextWordWrap, memo).height() > room.height()) {
    font.setPointSizeF(font.pointSizeF() - kMemoShrinkStepPoints);
  }
  lblMemo_->setFont(font);
  lblMemo_->setText(elidedToFit(memo, font, room));
  lblMemo_->setToolTip(memo);
}

void FrmYohou::showCycleBox() {
  // A cycle number too long for its box shows its last digits, which tell the
  // cycles apart; the tooltip and the cursor reach the rest.
  if (!showsWhole(*txtOutputKaiki_)) txtOutputKaiki_->setCursorPosition(txtOutputKaiki_->text().size());
}

void FrmYohou::showCombo1() {
  QStringList items;
  for (const std::string& item : model_.combo1Items) items.push_back(text(item));
  const QSignalBlocker quiet(combo1_);
  bool same = combo1_->count() == items.size();
  for (int i = 0; same && i < combo1_->count(); ++i) same = combo1_->itemText(i) == items[i];
  if (!same) {
    combo1_->clear();
    combo1_->addItems(items);
  }
  combo1_->setCurrentIndex(model_.combo1ListIndex());
}

FrmCalc& FrmYohou::checkWindow() {
  if (!frmCalc_) frmCalc_ = new FrmCalc(model_.calc, this);
  return *frmCalc_;
}

void FrmYohou::showCheckWindow() {
  FrmCalc& window = checkWindow();
  window.showRecord();
  // Opened beside the main window, and where the user left it after that.
  if (!frmCalcPlaced_ || !wholeOnAScreen(window.pos(), window.frameGeometry().size())) {
    placeBeside(window, *this);
    frmCalcPlaced_ = true;
  }
  window.show();
  window.raise();
  window.activateWindow();
}

void FrmYohou::Form_Resize() {
  const int innerWidth = centralWidget()->width();
  line1_->resize(innerWidth, line1_->height());
  line2_->resize(innerWidth, line2_->height());
}

bool FrmYohou::eventFilter(QObject* watched, QEvent* event) {
  if (watched == centralWidget() && event->type() == QEvent::Resize) Form_Resize();
  return QMainWindow::eventFilter(watched, event);
}

void FrmYohou::closeEvent(QCloseEvent* event) {
  // Ending the program closes every window at once; nothing is asked.
  event->accept();
  for (QWidget* window : QApplication::topLevelWidgets()) {
    if (window != this) window->hide();
  }
  endProgram_();
}

}  // namespace tenmirel::ui
