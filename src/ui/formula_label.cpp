#include "ui/formula_label.h"

#include <QFontInfo>
#include <QFontMetricsF>
#include <algorithm>

namespace tenmirel::ui {
namespace {

constexpr double kValueMarginPixels = 3;

// The blank stretches long enough to hold a value, left to right.
std::vector<TextSpan> valueGaps(const QString& text) { return textSpans(text, true, kValueGapMinCharacters); }

}  // namespace

// Bottom-aligned like the value labels, so the two sizes share a baseline.
FormulaLabel::FormulaLabel(const QString& text, QWidget* parent)
    : PlacedRunsLabel(text, RunSetting::kBottomBaseline, parent) {}

void FormulaLabel::setValueLefts(std::vector<double> lefts) {
  valueLefts_ = std::move(lefts);
  update();
}

std::vector<double> FormulaLabel::naturalPositions() const {
  const QFontMetricsF metrics(font());
  const QString caption = text();
  const double spaceWidth = std::min(metrics.horizontalAdvance(kIdeographicSpace),
                                     kDesignedIdeographicSpaceEm * QFontInfo(font()).pixelSize());
  std::vector<double> x(static_cast<std::size_t>(caption.size()) + 1, 0.0);
  double runLeft = 0;
  qsizetype runStart = 0;
  for (qsizetype i = 0; i < caption.size(); ++i) {
    if (caption.at(i) == kIdeographicSpace) {
      runLeft += metrics.horizontalAdvance(caption.mid(runStart, i - runStart)) + spaceWidth;
      runStart = i + 1;
      x[static_cast<std::size_t>(i) + 1] = runLeft;
    } else {
      x[static_cast<std::size_t>(i) + 1] = runLeft + metrics.horizontalAdvance(caption.mid(runStart, i + 1 - runStart));
    }
  }
  return x;
}

std::vector<double> FormulaLabel::characterLefts() const {
  std::vector<double> x = naturalPositions();
  const QString caption = text();
  const std::vector<TextSpan> gaps = valueGaps(caption);
  const std::size_t hosted = std::min(gaps.size(), valueLefts_.size());
  auto at = [&x](qsizetype i) -> double& { return x[static_cast<std::size_t>(i)]; };
  // The symbols after value gap k are set just before value k + 1, or at the
  // label's end when no value follows them.
  for (std::size_t k = 0; k < hosted; ++k) {
    const qsizetype chunkBegin = gaps[k].end;
    const qsizetype chunkEnd = k + 1 < gaps.size() ? gaps[k + 1].first : caption.size();
    const double anchor = k + 1 < valueLefts_.size() ? valueLefts_[k + 1] - kValueMarginPixels : width();
    const double natural = at(chunkBegin);
    const double chunkWidth = at(chunkEnd) - natural;
    const double gapLeft = at(gaps[k].first);
    const double shift = std::max(gapLeft, anchor - chunkWidth) - natural;
    for (qsizetype i = chunkBegin; i <= caption.size(); ++i) at(i) += shift;
    // The blanks of the gap share its width evenly.
    const double step = (at(gaps[k].end) - gapLeft) / static_cast<double>(gaps[k].end - gaps[k].first);
    for (qsizetype i = gaps[k].first + 1; i < gaps[k].end; ++i)
      at(i) = gapLeft + step * static_cast<double>(i - gaps[k].first);
  }
  return x;
}

}  // namespace tenmirel::ui
