#include "ui/plan/night_picture_widget.h"

#include <QHelpEvent>
#include <QPainter>
#include <QToolTip>

#include "ui/plan/night_picture_painter.h"

namespace tenmirel::ui {

NightPictureWidget::NightPictureWidget(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("nightPicture"));
  setMouseTracking(true);
  setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void NightPictureWidget::setData(NightPictureData data) {
  data_ = std::move(data);
  update();
}

QString NightPictureWidget::toolTipAt(QPointF point) const {
  const PictureFrame frame(QRectF(rect()), data_);
  if (!frame.plot().contains(point) || data_.endUt <= data_.startUt) return {};
  const double ut = frame.utAt(point.x());
  return localClockText(data_, ut) + QStringLiteral("　高度 %1°").arg(frame.altitudeAt(point.y()), 0, 'f', 0);
}

void NightPictureWidget::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  paintNightPicture(painter, QRectF(rect()), data_);
}

bool NightPictureWidget::event(QEvent* event) {
  if (event->type() == QEvent::ToolTip) {
    auto* help = static_cast<QHelpEvent*>(event);
    const QString text = toolTipAt(help->pos());
    if (text.isEmpty()) {
      QToolTip::hideText();
    } else {
      QToolTip::showText(help->globalPos(), text, this);
    }
    return true;
  }
  if (event->type() == QEvent::MouseMove && QToolTip::isVisible()) {
    // Follow the pointer while the tip is up.
    const QPoint local = mapFromGlobal(QCursor::pos());
    const QString text = toolTipAt(local);
    if (!text.isEmpty()) QToolTip::showText(mapToGlobal(local), text, this);
  }
  return QWidget::event(event);
}

}  // namespace tenmirel::ui
