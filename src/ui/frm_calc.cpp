#include "ui/frm_calc.h"

#include <QFontMetricsF>
#include <QLabel>
#include <QPushButton>
#include <algorithm>
#include <vector>

#include "ui/blank_runs.h"
#include "ui/formula_label.h"
#include "ui/gothic_fonts.h"
#include "ui/twips.h"

namespace tenmirel::ui {
namespace {

constexpr int kClientWidthTwips = 11265;
constexpr int kClientHeightTwips = 4305;
constexpr double kStaticLabelPoints = 15.75;
constexpr double kValueLabelPoints = 14.25;
constexpr double kButtonPoints = 9;
// Every value is drawn in one face, narrowed and then made smaller until the
// widest value a cell can hold fits the narrowest gap, down to these limits.
constexpr int kNarrowestValueStretch = 62;  // percent of the normal width
constexpr int kValueStretchStep = 4;
constexpr double kSmallestValuePoints = 7.5;
constexpr double kValueShrinkStepPoints = 0.75;
constexpr int kGapMarginPixels = 2;
constexpr int kBorderMarginPixels = 8;
// The widest texts a cell can hold: fifteen digits after "-0.000" (a term just
// above 1E-5), or with a sign and an exponent (a cosine within 1E-5 of zero).
constexpr const char* kWidestValueTexts[] = {"-0.000888888888888888", "-8.88888888888888E-06"};

struct StaticLabel {
  const char* name;
  const char* text;
  TwipsRect place;
};

// The formula rows; the value labels lie over their blank stretches.
constexpr StaticLabel kStaticLabels[] = {
    {"Label1", "Tu     ＝　　　　　　　　／３６５２５　＝", {240, 360, 4695, 375}},
    {"Label2", "Θo   ＝ 23925.836 ＋　　　　　　　　＋　　　　　　　　＝                  s", {240, 1200, 8775, 375}},
    {"Label3",
     "Θ　　＝　　　　　　　  ＋　　　　　　　  ＋　　　　　　　  ＋　　　　　　　　＝　　　　　　　　ｓ",
     {240, 2040, 10815, 375}},
    {"Label4",
     "sin h  ＝　　　　　　　 ＊　　　　　　　　＋　　　　　　　  ＊　　　　　　　　＊",
     {240, 2880, 11055, 375}},
    {"Label6", "＝", {1080, 3600, 375, 375}},
    {"Label5", "h       ＝　　　　　　　 °", {5400, 3600, 3015, 375}},
};

struct ValueLabel {
  const char* name;
  int left;
  int top;
};

constexpr int kValueWidthTwips = 1335;
constexpr int kValueHeightTwips = 375;

// In the order of the record's cells.
constexpr ValueLabel kValueLabels[kFrmCalcValueLabelCount] = {
    {"lblTu(0)", 1440, 360},    {"lblTu(1)", 5280, 360},    {"lblS0(0)", 3360, 1200},   {"lblS0(1)", 5280, 1200},
    {"lblS0(2)", 7320, 1200},   {"lblS(0)", 1440, 2040},    {"lblS(1)", 3360, 2040},    {"lblS(2)", 5280, 2040},
    {"lblS(3)", 7320, 2040},    {"lblS(4)", 9360, 2040},    {"lblSinh(0)", 1440, 2880}, {"lblSinh(1)", 3360, 2880},
    {"lblSinh(2)", 5280, 2880}, {"lblSinh(3)", 7320, 2880}, {"lblSinh(4)", 9360, 2880}, {"lblSinh(5)", 1440, 3600},
    {"lblH", 6600, 3600},
};

constexpr TwipsRect kCommand1Place{9360, 3600, 1575, 495};

// Texts are bottom-aligned so that the two sizes share a baseline.
constexpr Qt::Alignment kLabelAlignment = Qt::AlignLeft | Qt::AlignBottom;

std::vector<QString> cellTexts(const CalcLabels& record) {
  std::vector<QString> texts;
  forEachCalcCell(
      record, [&texts](const std::string&, const std::string& cell) { texts.push_back(QString::fromStdString(cell)); });
  return texts;
}

// Fifteen digits are wider than most gaps: the face is first narrowed, then
// made smaller, so that every digit of any value stays readable in its gap.
QFont fittedValueFont(int room) {
  QFont font = gothicFont(GothicPitch::kProportional, kValueLabelPoints);
  auto fits = [&] {
    const QFontMetricsF metrics(font);
    return std::all_of(std::begin(kWidestValueTexts), std::end(kWidestValueTexts),
                       [&](const char* text) { return metrics.horizontalAdvance(QString::fromUtf8(text)) <= room; });
  };
  for (int stretch = QFont::Unstretched; !fits() && stretch > kNarrowestValueStretch;) {
    stretch = std::max<int>(kNarrowestValueStretch, stretch - kValueStretchStep);
    font.setStretch(stretch);
  }
  while (!fits() && font.pointSizeF() > kSmallestValuePoints) {
    font.setPointSizeF(font.pointSizeF() - kValueShrinkStepPoints);
  }
  return font;
}

}  // namespace

FrmCalc::FrmCalc(const CalcLabels& record, QWidget* parent) : QWidget(parent, Qt::Window), record_(record) {
  setObjectName(QStringLiteral("FrmCalc"));
  setWindowTitle(QString::fromUtf8(kFrmCalcCaption));
  const Twips twips = Twips::of(*this);
  setFixedSize(twips.size(kClientWidthTwips, kClientHeightTwips));

  const QFont staticFont = gothicFont(GothicPitch::kProportional, kStaticLabelPoints);
  for (const StaticLabel& layout : kStaticLabels) {
    auto* label = new FormulaLabel(QString::fromUtf8(layout.text), this);
    label->setObjectName(QString::fromUtf8(layout.name));
    label->setFont(staticFont);
    placeInTwips(*label, layout.place, twips);
  }
  // Each formula row is set around the values that lie over it.
  for (const StaticLabel& layout : kStaticLabels) {
    auto* row = findChild<FormulaLabel*>(QString::fromUtf8(layout.name));
    std::vector<double> lefts;
    for (const ValueLabel& value : kValueLabels) {
      if (value.top == layout.place.top && value.left > layout.place.left) {
        lefts.push_back(twips.px(value.left) - row->x());
      }
    }
    std::sort(lefts.begin(), lefts.end());
    row->setValueLefts(std::move(lefts));
    // A face wider than the designed one widens the row rather than cutting it.
    row->resize(std::max(row->width(), row->sizeHint().width()), row->height());
  }
  // Created after the formula rows so that they lie on top of them.
  int narrowestGap = width();
  for (int i = 0; i < kFrmCalcValueLabelCount; ++i) {
    auto* label = new QLabel(this);
    label->setObjectName(QString::fromUtf8(kValueLabels[i].name));
    label->setAlignment(kLabelAlignment);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    valueLabels_[static_cast<std::size_t>(i)] = label;
    placeValueLabel(*label, i);
    narrowestGap = std::min(narrowestGap, label->width());
  }
  const QFont valueFont = fittedValueFont(narrowestGap);
  for (QLabel* label : valueLabels_) label->setFont(valueFont);

  command1_ = new QPushButton(QStringLiteral("閉じる"), this);
  command1_->setObjectName(QStringLiteral("Command1"));
  command1_->setFont(gothicFont(GothicPitch::kProportional, kButtonPoints));
  placeInTwips(*command1_, kCommand1Place, twips);
  connect(command1_, &QPushButton::clicked, this, [this] { Command1_Click(); });

  showRecord();
}

void FrmCalc::placeValueLabel(QLabel& label, int index) {
  const Twips twips = Twips::of(*this);
  const ValueLabel& layout = kValueLabels[index];
  const QRect designed = twips.rect(layout.left, layout.top, kValueWidthTwips, kValueHeightTwips);
  // The label may use its whole gap: up to the next glyph of its row, or short of the border.
  int gapEnd = width() - kBorderMarginPixels;
  for (const StaticLabel& row : kStaticLabels) {
    if (row.place.top != layout.top) continue;
    const auto* behind = findChild<FormulaLabel*>(QString::fromUtf8(row.name));
    const QString text = behind->text();
    for (qsizetype i = 0; i < text.size(); ++i) {
      const double x = behind->x() + behind->characterX(i);
      if (x > designed.left() && !isBlank(text.at(i))) {
        gapEnd = std::min(gapEnd, static_cast<int>(x));
        break;
      }
    }
  }
  const int gapWidth = std::max(designed.width(), gapEnd - kGapMarginPixels - designed.left());
  label.setGeometry(designed.left(), designed.top(), gapWidth, designed.height());
}

void FrmCalc::showRecord() {
  const std::vector<QString> texts = cellTexts(record_);
  for (std::size_t i = 0; i < valueLabels_.size(); ++i) {
    QLabel& label = *valueLabels_[i];
    if (label.text() == texts[i]) continue;
    label.setText(texts[i]);
    label.setToolTip(texts[i]);
  }
}

void FrmCalc::Command1_Click() { hide(); }

}  // namespace tenmirel::ui
