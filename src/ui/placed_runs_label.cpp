#include "ui/placed_runs_label.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QtMath>
#include <algorithm>

namespace tenmirel::ui {

PlacedRunsLabel::PlacedRunsLabel(const QString& text, RunSetting setting, QWidget* parent)
    : QLabel(text, parent), setting_(setting) {}

std::vector<PlacedRunsLabel::Run> PlacedRunsLabel::runs() const { return textSpans(text(), false); }

double PlacedRunsLabel::runWidth(std::size_t run) const {
  const auto all = runs();
  if (run >= all.size()) return 0;
  return QFontMetricsF(font()).horizontalAdvance(runText(all[run]));
}

double PlacedRunsLabel::characterX(qsizetype index) const {
  const std::vector<double> x = characterLefts();
  return x[static_cast<std::size_t>(std::clamp<qsizetype>(index, 0, text().size()))];
}

QSize PlacedRunsLabel::sizeHint() const {
  if (setting_ == RunSetting::kBottomBaseline) {
    return QSize(qCeil(characterX(text().size())), qCeil(QFontMetricsF(font()).height()));
  }
  const auto all = runs();
  const double right = all.empty() ? 0 : characterX(all.back().end);
  return {qCeil(right) + 1, QLabel::sizeHint().height()};
}

void PlacedRunsLabel::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setFont(font());
  painter.setPen(palette().color(foregroundRole()));
  const QFontMetricsF metrics(font());
  const std::vector<double> x = characterLefts();
  for (const Run& run : runs()) {
    const double left = x[static_cast<std::size_t>(run.first)];
    const QString shown = runText(run);
    if (setting_ == RunSetting::kBottomBaseline) {
      painter.drawText(QPointF(left, height() - metrics.descent()), shown);
    } else {
      painter.drawText(QRectF(left, 0, metrics.horizontalAdvance(shown) + 1, height()),
                       Qt::AlignLeft | Qt::AlignVCenter, shown);
    }
  }
}

}  // namespace tenmirel::ui
