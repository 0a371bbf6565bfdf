#include "ui/app_icon.h"

#include <cmath>
#include <numbers>

#include <QPainter>
#include <QPainterPath>

namespace tenmirel::ui {

QImage paintAppIcon(int sizePixels) {
  QImage image(sizePixels, sizePixels, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.scale(sizePixels / 64.0, sizePixels / 64.0);  // drawn on a 64-unit grid

  QLinearGradient sky(0, 0, 0, 64);
  sky.setColorAt(0, QColor(0x14, 0x1e, 0x4a));
  sky.setColorAt(1, QColor(0x06, 0x0a, 0x1c));
  painter.setPen(Qt::NoPen);
  painter.setBrush(sky);
  painter.drawRoundedRect(QRectF(2, 2, 60, 60), 12, 12);

  // The light curve: steady light with one eclipse dip.
  QPainterPath curve;
  curve.moveTo(8, 24);
  curve.lineTo(22, 24);
  curve.cubicTo(27, 24, 28, 46, 32, 46);
  curve.cubicTo(36, 46, 37, 24, 42, 24);
  curve.lineTo(56, 24);
  painter.setPen(QPen(QColor(0xff, 0xd2, 0x4a), 3.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  painter.setBrush(Qt::NoBrush);
  painter.drawPath(curve);

  // The star itself, above the predicted minimum.
  QPainterPath star;
  const QPointF centre(32, 13);
  for (int i = 0; i < 8; ++i) {
    const double radius = i % 2 == 0 ? 7.0 : 2.2;
    const double angle = i * std::numbers::pi / 4;
    const QPointF point(centre.x() + radius * std::sin(angle), centre.y() - radius * std::cos(angle));
    if (i == 0) {
      star.moveTo(point);
    } else {
      star.lineTo(point);
    }
  }
  star.closeSubpath();
  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor(0xff, 0xf4, 0xc8));
  painter.drawPath(star);

  // The horizon the altitude is measured from.
  painter.setPen(QPen(QColor(0x7f, 0x9c, 0xd8), 2));
  painter.drawLine(QPointF(8, 54), QPointF(56, 54));
  painter.end();
  return image;
}

QIcon appIcon() {
  QIcon icon;
  for (int size : {16, 32, 48, 64}) icon.addPixmap(QPixmap::fromImage(paintAppIcon(size)));
  return icon;
}

}  // namespace tenmirel::ui
