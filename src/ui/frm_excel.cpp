#include "ui/frm_excel.h"

#include <QButtonGroup>
#include <QCloseEvent>
#include <QComboBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "ui/gothic_fonts.h"
#include "ui/number_box.h"
#include "ui/program_settings.h"
#include "ui/window_placement.h"

namespace tenmirel::ui {
namespace {

constexpr double kDialogPoints = 9;
// The controls' captions, as designed.
constexpr const char* kFrame1Caption = "以後何回帰分の極予報を送信しますか？";
constexpr const char* kLabel1Caption = "回分";
constexpr const char* kFrame2Caption = "時間制限";
constexpr const char* kOption1Caption = "つけない";
constexpr const char* kOption2Caption = "つける";
constexpr const char* kLabel2Caption = "以降";
constexpr const char* kLabel3Caption = "までは表示しない";
constexpr const char* kFrame3Caption = "高度制限";
constexpr const char* kOption3Caption = "つけない";
constexpr const char* kOption4Caption = "つける";
constexpr const char* kLabel5Caption = "高度　　　　　　　　　　°以下は表示しない";
constexpr const char* kCommand1Caption = "予報開始";
constexpr const char* kCommand2Caption = "キャンセル";
// Label5 leaves ten full-width spaces after "高度" for Text2.
constexpr const char* kLabel5Lead = "高度";
constexpr const char* kLabel5Gap = "　　　　　　　　　　";
constexpr int kTimesBoxChars = 6;

QString text(const std::string& utf8) { return QString::fromStdString(utf8); }
QString text(const char* utf8) { return QString::fromUtf8(utf8); }

template <typename T>
T* named(T* widget, const char* name) {
  widget->setObjectName(QString::fromUtf8(name));
  return widget;
}

}  // namespace

FrmExcel::FrmExcel(FrmExcelModel& model, std::function<void()> afterRun, QWidget* parent)
    : QDialog(parent), model_(model), afterRun_(std::move(afterRun)) {
  setObjectName(QStringLiteral("FrmExcel"));
  setAttribute(Qt::WA_DeleteOnClose);
  setModal(false);
  setFont(gothicFont(GothicPitch::kProportional, kDialogPoints));
  buildControls();
  connectControls();
  setFocusOrder();
  showModel();
}

void FrmExcel::buildControls() {
  auto* layout = new QVBoxLayout(this);

  auto* frame1 = named(new QGroupBox(text(kFrame1Caption), this), "Frame1");
  auto* row1 = new QHBoxLayout(frame1);
  txtTimes_ = named(new QLineEdit(frame1), "txtTimes");
  makeNumberBox(*txtTimes_);
  txtTimes_->setFixedWidth(QFontMetrics(font()).horizontalAdvance(QLatin1Char('0')) * kTimesBoxChars +
                           txtTimes_->sizeHint().height() / 2);
  row1->addWidget(txtTimes_);
  row1->addWidget(named(new QLabel(text(kLabel1Caption), frame1), "Label1"));
  row1->addStretch();
  layout->addWidget(frame1);

  auto* frame2 = named(new QGroupBox(text(kFrame2Caption), this), "Frame2");
  auto* column2 = new QVBoxLayout(frame2);
  auto* options2 = new QHBoxLayout;
  option1_ = named(new QRadioButton(text(kOption1Caption), frame2), "Option1");
  option2_ = named(new QRadioButton(text(kOption2Caption), frame2), "Option2");
  options2->addWidget(option1_);
  options2->addWidget(option2_);
  options2->addStretch();
  column2->addLayout(options2);
  auto* hours = new QHBoxLayout;
  combo1_ = named(new QComboBox(frame2), "Combo1");
  combo2_ = named(new QComboBox(frame2), "Combo2");
  hours->addWidget(combo1_);
  hours->addWidget(named(new QLabel(text(kLabel2Caption), frame2), "Label2"));
  hours->addWidget(combo2_);
  hours->addWidget(named(new QLabel(text(kLabel3Caption), frame2), "Label3"));
  hours->addStretch();
  column2->addLayout(hours);
  layout->addWidget(frame2);
  auto* group2 = new QButtonGroup(frame2);
  group2->addButton(option1_);
  group2->addButton(option2_);

  auto* frame3 = named(new QGroupBox(text(kFrame3Caption), this), "Frame3");
  auto* column3 = new QVBoxLayout(frame3);
  auto* options3 = new QHBoxLayout;
  option3_ = named(new QRadioButton(text(kOption3Caption), frame3), "Option3");
  option4_ = named(new QRadioButton(text(kOption4Caption), frame3), "Option4");
  options3->addWidget(option3_);
  options3->addWidget(option4_);
  options3->addStretch();
  column3->addLayout(options3);
  // Text2 sits in the blank stretch of Label5, as the caption was written for it.
  auto* label5Area = new QWidget(frame3);
  auto* label5 = named(new QLabel(text(kLabel5Caption), label5Area), "Label5");
  text2_ = named(new QLineEdit(label5Area), "Text2");
  makeNumberBox(*text2_);
  const QFontMetrics metrics(label5->font());
  const int gapLeft = metrics.horizontalAdvance(QString::fromUtf8(kLabel5Lead));
  const int gapWidth = metrics.horizontalAdvance(QString::fromUtf8(kLabel5Gap));
  const int boxHeight = text2_->sizeHint().height();
  const QSize labelSize = label5->sizeHint();
  label5->setGeometry(0, (boxHeight - labelSize.height()) / 2, labelSize.width(), labelSize.height());
  text2_->setGeometry(gapLeft, 0, gapWidth, boxHeight);
  text2_->raise();
  label5Area->setMinimumSize(labelSize.width(), boxHeight);
  column3->addWidget(label5Area);
  layout->addWidget(frame3);
  auto* group3 = new QButtonGroup(frame3);
  group3->addButton(option3_);
  group3->addButton(option4_);

  auto* buttons = new QHBoxLayout;
  command1_ = named(new QPushButton(text(kCommand1Caption), this), "Command1");
  command2_ = named(new QPushButton(text(kCommand2Caption), this), "Command2");
  command1_->setAutoDefault(false);
  command2_->setAutoDefault(false);
  buttons->addStretch();
  buttons->addWidget(command1_);
  buttons->addWidget(command2_);
  layout->addLayout(buttons);
}

void FrmExcel::connectControls() {
  connect(txtTimes_, &QLineEdit::textEdited, this,
          [this](const QString& typed) { model_.txtTimes = typed.toStdString(); });
  connect(text2_, &QLineEdit::textEdited, this, [this](const QString& typed) { model_.text2 = typed.toStdString(); });
  connect(option1_, &QRadioButton::toggled, this, [this](bool on) {
    if (on) model_.selectOption1();
  });
  connect(option2_, &QRadioButton::toggled, this, [this](bool on) {
    if (on) model_.selectOption2();
  });
  connect(option3_, &QRadioButton::toggled, this, [this](bool on) {
    if (on) model_.selectOption3();
  });
  connect(option4_, &QRadioButton::toggled, this, [this](bool on) {
    if (on) model_.selectOption4();
  });
  connect(combo1_, &QComboBox::currentIndexChanged, this, [this](int index) { model_.combo1ListIndex = index; });
  connect(combo2_, &QComboBox::currentIndexChanged, this, [this](int index) { model_.combo2ListIndex = index; });
  connect(command1_, &QPushButton::clicked, this, [this] {
    model_.Command1_Click();
    showModel();  // a run may lift a filter
    if (afterRun_) afterRun_();
    // A message box hands the focus back to the main window; the user goes on here.
    raise();
    activateWindow();
    command1_->setFocus();
  });
  connect(command2_, &QPushButton::clicked, this, [this] { reject(); });
}

void FrmExcel::setFocusOrder() {
  QWidget* previous = nullptr;
  for (const char* name : kFrmExcelTabOrder) {
    auto* widget = findChild<QWidget*>(QString::fromUtf8(name));
    if (previous != nullptr) QWidget::setTabOrder(previous, widget);
    previous = widget;
  }
}

void FrmExcel::showModel() {
  setWindowTitle(text(model_.caption));
  auto showText = [](QLineEdit* box, const std::string& value) {
    if (box->text() != text(value)) box->setText(text(value));
  };
  showText(txtTimes_, model_.txtTimes);
  showText(text2_, model_.text2);
  auto showCombo = [](QComboBox* combo, const std::vector<std::string>& items, int index) {
    const QSignalBlocker quiet(combo);
    if (combo->count() != static_cast<int>(items.size())) {
      combo->clear();
      for (const std::string& item : items) combo->addItem(text(item));
    }
    combo->setCurrentIndex(index);
  };
  showCombo(combo1_, model_.combo1Items, model_.combo1ListIndex);
  showCombo(combo2_, model_.combo2Items, model_.combo2ListIndex);
  // Checking the selected button of a group unchecks its partner.
  const bool option1 = model_.option1Value, option3 = model_.option3Value;
  (option1 ? option1_ : option2_)->setChecked(true);
  (option3 ? option3_ : option4_)->setChecked(true);
}

void FrmExcel::showBeside(const QWidget& owner) {
  if (!isVisible()) {
    const std::optional<QPoint> saved = savedDialogPosition();
    if (saved && wholeOnAScreen(*saved, openingSize(*this))) {
      move(*saved);
    } else {
      placeBeside(*this, owner);
    }
  }
  show();
  raise();
  activateWindow();
}

void FrmExcel::hideEvent(QHideEvent* event) {
  saveDialogPosition(pos());
  QDialog::hideEvent(event);
}

void FrmExcel::closeEvent(QCloseEvent* event) {
  model_.Form_Unload();
  event->accept();
}

void FrmExcel::reject() {
  model_.Command2_Click();
  hide();
}

}  // namespace tenmirel::ui
