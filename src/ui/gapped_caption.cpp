#include "ui/gapped_caption.h"

#include <QFontMetricsF>

namespace tenmirel::ui {

GappedCaption::GappedCaption(const QString& text, QWidget* parent)
    : PlacedRunsLabel(text, RunSetting::kCentred, parent) {}

void GappedCaption::setRunLefts(std::vector<double> lefts) {
  runLefts_ = std::move(lefts);
  updateGeometry();
  update();
}

std::vector<double> GappedCaption::characterLefts() const {
  const QFontMetricsF metrics(font());
  const QString caption = text();
  // Blanks between runs keep their natural places.
  std::vector<double> x(static_cast<std::size_t>(caption.size()) + 1);
  for (qsizetype i = 0; i <= caption.size(); ++i)
    x[static_cast<std::size_t>(i)] = metrics.horizontalAdvance(caption.left(i));
  const auto all = runs();
  for (std::size_t r = 0; r < all.size(); ++r) {
    const double left = r < runLefts_.size() ? runLefts_[r] : x[static_cast<std::size_t>(all[r].first)];
    for (qsizetype i = all[r].first; i <= all[r].end; ++i) {
      x[static_cast<std::size_t>(i)] = left + metrics.horizontalAdvance(caption.mid(all[r].first, i - all[r].first));
    }
  }
  return x;
}

}  // namespace tenmirel::ui
