#include "ui/timing/oc_diagram_widget.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

#include "sky/local_minute.h"
#include "timing/day_units.h"

namespace tenmirel::ui {
namespace {

constexpr double kMargin = 8;
constexpr double kAxisLeft = 60;
constexpr double kAxisBottom = 36;
constexpr double kMarker = 4;
constexpr double kZoomPerNotch = 1.25;
constexpr double kWheelNotch = 120;
constexpr int kFitSteps = 300;

double tickStep(double range) {
  const double raw = range / 6;
  const double power = std::pow(10, std::floor(std::log10(raw)));
  for (double factor : {1.0, 2.0, 5.0}) {
    if (factor * power >= raw) return factor * power;
  }
  return 10 * power;
}

}  // namespace

OcDiagramWidget::OcDiagramWidget(QWidget* parent) : QWidget(parent) {
  setMouseTracking(true);
  setMinimumSize(360, 240);
  setObjectName(QStringLiteral("ocDiagram"));
}

void OcDiagramWidget::setDiagram(const timing::OcDiagram& diagram, const timing::StarElements& elements) {
  const bool first = diagram_.points.empty();
  diagram_ = diagram;
  elements_ = elements;
  if (first) showAll();
  update();
}

void OcDiagramWidget::setView(const QRectF& view) {
  if (view.width() > 0 && view.height() > 0 && std::isfinite(view.width()) && std::isfinite(view.height())) {
    view_ = view;
    update();
  }
}

void OcDiagramWidget::showAll() {
  if (diagram_.points.empty()) {
    setView(QRectF(0, -1, 1, 2));
    return;
  }
  double cLo = diagram_.points.front().cycle, cHi = cLo, oLo = 0, oHi = 0;
  for (const auto& p : diagram_.points) {
    const double oc = p.oMinusCDays * timing::kMinutesPerDay;
    const double bar = p.observed.sigmaDays.value_or(0) * timing::kMinutesPerDay;
    cLo = std::min(cLo, p.cycle), cHi = std::max(cHi, p.cycle);
    oLo = std::min(oLo, oc - bar), oHi = std::max(oHi, oc + bar);
  }
  if (cHi - cLo < 1) cLo -= 1, cHi += 1;
  if (oHi - oLo < 1e-3) oLo -= 1, oHi += 1;
  const double cPad = (cHi - cLo) * 0.05, oPad = (oHi - oLo) * 0.08;
  setView(QRectF(cLo - cPad, oLo - oPad, cHi - cLo + 2 * cPad, oHi - oLo + 2 * oPad));
}

QRectF OcDiagramWidget::plotArea() const {
  return QRectF(kAxisLeft, kMargin, width() - kAxisLeft - kMargin, height() - kMargin - kAxisBottom);
}

QPointF OcDiagramWidget::toPixel(double cycle, double minutes) const {
  const QRectF area = plotArea();
  return {area.left() + (cycle - view_.left()) / view_.width() * area.width(),
          area.bottom() - (minutes - view_.top()) / view_.height() * area.height()};
}

QPointF OcDiagramWidget::toData(const QPointF& pixel) const {
  const QRectF area = plotArea();
  return {view_.left() + (pixel.x() - area.left()) / area.width() * view_.width(),
          view_.top() + (area.bottom() - pixel.y()) / area.height() * view_.height()};
}

QString OcDiagramWidget::readoutAt(const QPointF& pixel) const {
  const QPointF data = toData(pixel);
  const double cycle = data.x();
  const double time = elements_.epoch + cycle * elements_.period;
  const std::string date = sky::localMinuteText(sky::localMinuteAt(time, sky::UtOffset{0}));
  return QStringLiteral("E = %1  %2 UT  O−C = %3 分")
      .arg(QString::number(cycle, 'f', 1), QString::fromStdString(date), QString::asprintf("%+.2f", data.y()));
}

void OcDiagramWidget::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), Qt::white);
  painter.setRenderHint(QPainter::Antialiasing);
  const QRectF area = plotArea();
  painter.setPen(Qt::black);
  painter.drawRect(area);
  // Ticks.
  // Cycles are whole numbers: no tick between two of them.
  const double cStep = std::max(1.0, tickStep(view_.width()));
  for (double c = std::ceil(view_.left() / cStep) * cStep; c <= view_.right(); c += cStep) {
    const QPointF at = toPixel(c, view_.top());
    painter.drawLine(at, at + QPointF(0, 4));
    painter.drawText(QRectF(at.x() - 40, at.y() + 6, 80, 16), Qt::AlignHCenter, QString::number(c, 'f', 0));
  }
  const double oStep = tickStep(view_.height());
  const int decimals = std::max(0, -static_cast<int>(std::floor(std::log10(oStep))));
  for (double o = std::ceil(view_.top() / oStep) * oStep; o <= view_.bottom(); o += oStep) {
    const QPointF at = toPixel(view_.left(), o);
    painter.drawLine(at, at - QPointF(4, 0));
    painter.drawText(QRectF(0, at.y() - 8, kAxisLeft - 6, 16), Qt::AlignRight | Qt::AlignVCenter,
                     QString::number(std::fabs(o) < oStep / 2 ? 0.0 : o, 'f', decimals));
  }
  painter.drawText(QRectF(area.left(), height() - 16, area.width(), 16), Qt::AlignHCenter,
                   QStringLiteral("周期番号 E　　縦軸: O − C（分）"));
  painter.setClipRect(area);
  // The zero line of the current elements.
  painter.setPen(QPen(QColor(0x88, 0x88, 0x88), 1, Qt::DashLine));
  painter.drawLine(toPixel(view_.left(), 0), toPixel(view_.right(), 0));
  // The fit.
  if (diagram_.fit) {
    QPainterPath path;
    for (int k = 0; k <= kFitSteps; ++k) {
      const double c = view_.left() + view_.width() * k / kFitSteps;
      const double oc = (diagram_.fit->timeAt(c) - (elements_.epoch + c * elements_.period)) * timing::kMinutesPerDay;
      const QPointF at = toPixel(c, oc);
      if (k == 0)
        path.moveTo(at);
      else
        path.lineTo(at);
    }
    painter.setPen(QPen(QColor(0x1f, 0x77, 0xb4), 1.5));
    painter.drawPath(path);
  }
  // The observations.
  for (const auto& p : diagram_.points) {
    const double oc = p.oMinusCDays * timing::kMinutesPerDay;
    const QColor colour = p.observed.excluded ? QColor(0xaa, 0xaa, 0xaa) : QColor(Qt::black);
    painter.setPen(colour);
    if (p.observed.sigmaDays && *p.observed.sigmaDays > 0) {
      const double bar = *p.observed.sigmaDays * timing::kMinutesPerDay;
      painter.drawLine(toPixel(p.cycle, oc - bar), toPixel(p.cycle, oc + bar));
    }
    const QPointF at = toPixel(p.cycle, oc);
    const QRectF marker(at.x() - kMarker, at.y() - kMarker, 2 * kMarker, 2 * kMarker);
    if (p.observed.kind == timing::ExtremumKind::maximum) {
      painter.fillRect(marker, colour);
    } else {
      painter.setBrush(p.observed.kind == timing::ExtremumKind::secondary ? QBrush(Qt::white) : QBrush(colour));
      painter.drawEllipse(marker);
      painter.setBrush(Qt::NoBrush);
    }
    if (p.outlier && !p.observed.excluded) {
      painter.setPen(QColor(0xd6, 0x27, 0x28));
      painter.drawEllipse(at, 2 * kMarker, 2 * kMarker);
    }
  }
}

void OcDiagramWidget::wheelEvent(QWheelEvent* event) {
  const double notches = event->angleDelta().y() / kWheelNotch;
  if (notches == 0) return;
  const double factor = std::pow(kZoomPerNotch, -notches);
  const QPointF centre = toData(event->position());
  setView(QRectF(centre.x() - (centre.x() - view_.left()) * factor, centre.y() - (centre.y() - view_.top()) * factor,
                 view_.width() * factor, view_.height() * factor));
  event->accept();
}

void OcDiagramWidget::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) dragStart_ = event->position(), dragView_ = view_;
}

void OcDiagramWidget::mouseMoveEvent(QMouseEvent* event) {
  if (dragStart_ && (event->buttons() & Qt::LeftButton)) {
    const QRectF area = plotArea();
    const QPointF moved = event->position() - *dragStart_;
    setView(dragView_.translated(-moved.x() / area.width() * dragView_.width(),
                                 moved.y() / area.height() * dragView_.height()));
  }
  if (pointerMoved) pointerMoved(readoutAt(event->position()));
}

void OcDiagramWidget::mouseDoubleClickEvent(QMouseEvent*) {
  dragStart_.reset();
  showAll();
}

}  // namespace tenmirel::ui
