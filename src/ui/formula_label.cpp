#include "ui/formula_label.h"

#include <algorithm>

#include <QFontInfo>
#include <QFontMetricsF>
#include <QPainter>
#include <QtMath>

namespace tenmirel::ui {
namespace {

constexpr QChar kIdeographicSpace(0x3000);

}  // namespace

FormulaLabel::FormulaLabel(const QString& text, QWidget* parent) : QLabel(text, parent) {}

double FormulaLabel::ideographicSpaceWidth() const {
  const QFontMetricsF metrics(font());
  return std::min(metrics.horizontalAdvance(kIdeographicSpace),
                  kDesignedIdeographicSpaceEm * QFontInfo(font()).pixelSize());
}

double FormulaLabel::characterX(qsizetype index) const {
  const QFontMetricsF metrics(font());
  const QString caption = text();
  const double spaceWidth = ideographicSpaceWidth();
  double x = 0;
  qsizetype runStart = 0;
  for (qsizetype i = 0; i < index && i < caption.size(); ++i) {
    if (caption.at(i) != kIdeographicSpace) continue;
    x += metrics.horizontalAdvance(caption.mid(runStart, i - runStart)) + spaceWidth;
    runStart = i + 1;
  }
  const qsizetype end = std::min(index, caption.size());
  if (runStart < end) x += metrics.horizontalAdvance(caption.mid(runStart, end - runStart));
  return x;
}

QSize FormulaLabel::sizeHint() const {
  const QFontMetricsF metrics(font());
  return QSize(qCeil(formulaWidth()), qCeil(metrics.height()));
}

void FormulaLabel::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setFont(font());
  painter.setPen(palette().color(foregroundRole()));
  const QFontMetricsF metrics(font());
  // Bottom-aligned like the value labels, so the two sizes share a baseline.
  const double baseline = height() - metrics.descent();
  const QString caption = text();
  qsizetype runStart = 0;
  for (qsizetype i = 0; i <= caption.size(); ++i) {
    if (i < caption.size() && caption.at(i) != kIdeographicSpace) continue;
    if (i > runStart) painter.drawText(QPointF(characterX(runStart), baseline), caption.mid(runStart, i - runStart));
    runStart = i + 1;
  }
}

}  // namespace tenmirel::ui
