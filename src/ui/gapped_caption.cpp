#include "ui/gapped_caption.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QtMath>

#include "ui/blank_runs.h"

namespace tenmirel::ui {
GappedCaption::GappedCaption(const QString& text, QWidget* parent) : QLabel(text, parent) {}

std::vector<GappedCaption::Run> GappedCaption::runs() const {
  return textSpans(text(), false);
}

double GappedCaption::runWidth(std::size_t run) const {
  const auto all = runs();
  if (run >= all.size()) return 0;
  return QFontMetricsF(font()).horizontalAdvance(text().mid(all[run].first, all[run].end - all[run].first));
}

void GappedCaption::setRunLefts(std::vector<double> lefts) {
  runLefts_ = std::move(lefts);
  updateGeometry();
  update();
}

double GappedCaption::runLeft(std::size_t run) const {
  if (run < runLefts_.size()) return runLefts_[run];
  const auto all = runs();
  return QFontMetricsF(font()).horizontalAdvance(text().left(all.at(run).first));
}

double GappedCaption::characterX(qsizetype index) const {
  const QFontMetricsF metrics(font());
  const auto all = runs();
  for (std::size_t r = 0; r < all.size(); ++r) {
    if (index >= all[r].first && index <= all[r].end) {
      return runLeft(r) + metrics.horizontalAdvance(text().mid(all[r].first, index - all[r].first));
    }
  }
  return metrics.horizontalAdvance(text().left(index));  // a blank between runs
}

QSize GappedCaption::sizeHint() const {
  const auto all = runs();
  const double right = all.empty() ? 0 : runLeft(all.size() - 1) + runWidth(all.size() - 1);
  return {qCeil(right) + 1, QLabel::sizeHint().height()};
}

void GappedCaption::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setFont(font());
  painter.setPen(palette().color(foregroundRole()));
  const auto all = runs();
  for (std::size_t r = 0; r < all.size(); ++r) {
    const QRectF area(runLeft(r), 0, runWidth(r) + 1, height());
    painter.drawText(area, Qt::AlignLeft | Qt::AlignVCenter,
                     text().mid(all[r].first, all[r].end - all[r].first));
  }
}

}  // namespace tenmirel::ui
