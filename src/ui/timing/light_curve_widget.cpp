#include "ui/timing/light_curve_widget.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPolygonF>
#include <algorithm>
#include <cmath>

namespace tenmirel::ui {
namespace {

constexpr double kMargin = 10;
constexpr double kAxisLeft = 50;
constexpr double kAxisBottom = 28;
constexpr double kLeastDragPixels = 4;

}  // namespace

LightCurveWidget::LightCurveWidget(QWidget* parent) : QWidget(parent) {
  setMinimumSize(360, 220);
  setObjectName(QStringLiteral("lightCurve"));
}

void LightCurveWidget::setCurve(std::shared_ptr<const timing::LightCurve> curve) {
  curve_ = std::move(curve);
  result_.reset();
  if (curve_ && !curve_->points.empty()) {
    firstTime_ = curve_->points.front().julianDay;
    lastTime_ = curve_->points.back().julianDay;
    if (!(lastTime_ > firstTime_)) lastTime_ = firstTime_ + 1;
    const auto [low, high] = std::minmax_element(
        curve_->points.begin(), curve_->points.end(),
        [](const timing::LightPoint& a, const timing::LightPoint& b) { return a.magnitude < b.magnitude; });
    brightest_ = low->magnitude;
    faintest_ = high->magnitude;
    if (!(faintest_ > brightest_)) faintest_ = brightest_ + 1;
  }
  update();
}

void LightCurveWidget::setResult(const std::optional<timing::ExtremumTime>& result, bool maximum) {
  result_ = result;
  maximum_ = maximum;
  update();
}

QRectF LightCurveWidget::plotArea() const {
  return QRectF(kAxisLeft, kMargin, width() - kAxisLeft - kMargin, height() - kMargin - kAxisBottom);
}

double LightCurveWidget::xOf(double julianDay) const {
  const QRectF area = plotArea();
  return area.left() + (julianDay - firstTime_) / (lastTime_ - firstTime_) * area.width();
}

double LightCurveWidget::timeAt(double x) const {
  const QRectF area = plotArea();
  return firstTime_ + (x - area.left()) / area.width() * (lastTime_ - firstTime_);
}

double LightCurveWidget::yOf(double magnitude) const {
  const QRectF area = plotArea();
  const double pad = (faintest_ - brightest_) * 0.05;
  return area.top() + (magnitude - (brightest_ - pad)) / (faintest_ - brightest_ + 2 * pad) * area.height();
}

void LightCurveWidget::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), Qt::white);
  const QRectF area = plotArea();
  painter.setPen(Qt::black);
  painter.drawRect(area);
  if (!curve_) {
    painter.drawText(area, Qt::AlignCenter, QStringLiteral("光度曲線のファイルを開いてください"));
    return;
  }
  painter.drawText(QRectF(area.left(), height() - 18, area.width(), 16), Qt::AlignLeft,
                   QString::number(firstTime_, 'f', 4));
  painter.drawText(QRectF(area.left(), height() - 18, area.width(), 16), Qt::AlignRight,
                   QString::number(lastTime_, 'f', 4));
  painter.drawText(QRectF(0, area.top(), kAxisLeft - 4, 16), Qt::AlignRight, QString::number(brightest_, 'f', 2));
  painter.drawText(QRectF(0, area.bottom() - 16, kAxisLeft - 4, 16), Qt::AlignRight,
                   QString::number(faintest_, 'f', 2));
  painter.setClipRect(area);
  if (result_) {
    painter.fillRect(QRectF(QPointF(xOf(result_->from), area.top()), QPointF(xOf(result_->to), area.bottom())),
                     QColor(0xe8, 0xf0, 0xff));
  }
  if (dragFrom_ && dragTo_) {
    painter.fillRect(QRectF(QPointF(xOf(*dragFrom_), area.top()), QPointF(xOf(*dragTo_), area.bottom())),
                     QColor(0xff, 0xf0, 0xc0));
  }
  // Every point, then the mirrored ones over them.
  QPolygonF dots;
  dots.reserve(static_cast<int>(curve_->points.size()));
  for (const auto& p : curve_->points) dots << QPointF(xOf(p.julianDay), yOf(p.magnitude));
  painter.setPen(QPen(Qt::black, 2));
  painter.drawPoints(dots);
  if (result_) {
    QPolygonF mirrored;
    for (const auto& p : curve_->points) {
      if (p.julianDay < result_->from || p.julianDay > result_->to) continue;
      mirrored << QPointF(xOf(2 * result_->julianDay - p.julianDay), yOf(p.magnitude));
    }
    painter.setPen(QPen(QColor(0xff, 0x7f, 0x0e), 2));
    painter.drawPoints(mirrored);
    const double x = xOf(result_->julianDay);
    painter.setPen(QPen(QColor(0xd6, 0x27, 0x28), 1));
    painter.drawLine(QPointF(x, area.top()), QPointF(x, area.bottom()));
    const double bar = std::max(1.0, xOf(result_->julianDay + result_->sigmaDays) - x);
    const double y = area.bottom() - 12;
    painter.drawLine(QPointF(x - bar, y), QPointF(x + bar, y));
    painter.drawLine(QPointF(x - bar, y - 4), QPointF(x - bar, y + 4));
    painter.drawLine(QPointF(x + bar, y - 4), QPointF(x + bar, y + 4));
  }
}

void LightCurveWidget::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || !curve_) return;
  dragFrom_ = timeAt(event->position().x());
  dragTo_.reset();
}

void LightCurveWidget::mouseMoveEvent(QMouseEvent* event) {
  if (!dragFrom_ || !(event->buttons() & Qt::LeftButton)) return;
  dragTo_ = timeAt(event->position().x());
  update();
}

void LightCurveWidget::mouseReleaseEvent(QMouseEvent* event) {
  if (!dragFrom_ || event->button() != Qt::LeftButton) return;
  const double end = timeAt(event->position().x());
  const double from = std::min(*dragFrom_, end), to = std::max(*dragFrom_, end);
  const bool moved = std::fabs(xOf(end) - xOf(*dragFrom_)) >= kLeastDragPixels;
  dragFrom_.reset();
  dragTo_.reset();
  update();
  if (moved && spanChosen) spanChosen(from, to);
}

}  // namespace tenmirel::ui
