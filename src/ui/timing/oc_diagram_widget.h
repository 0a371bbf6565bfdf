#pragma once
// The O−C diagram on screen: cycle across, O − C in minutes up, error bars,
// primaries filled and secondaries open, maxima square, excluded points grey,
// outliers ringed, the zero line of the current elements and the fitted curve.
// The wheel zooms about the pointer, a drag pans, a double click shows all; the
// pointer's cycle, date and O − C are reported as a text.
#include <QPointF>
#include <QRectF>
#include <QWidget>
#include <functional>
#include <optional>

#include "timing/o_minus_c.h"

namespace tenmirel::ui {

class OcDiagramWidget : public QWidget {
 public:
  explicit OcDiagramWidget(QWidget* parent = nullptr);
  void setDiagram(const timing::OcDiagram& diagram, const timing::StarElements& elements);
  // Cycle and O − C (minutes) shown: x across, y up.
  QRectF view() const { return view_; }
  void setView(const QRectF& view);
  void showAll();
  // "E = 7430  2026-12-06 19:08 UT  O−C = +2.99 分" for the pointer's place.
  std::function<void(const QString&)> pointerMoved;
  QString readoutAt(const QPointF& pixel) const;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;

 private:
  QRectF plotArea() const;
  QPointF toPixel(double cycle, double minutes) const;
  QPointF toData(const QPointF& pixel) const;
  timing::OcDiagram diagram_;
  timing::StarElements elements_;
  QRectF view_{0, -1, 1, 2};
  std::optional<QPointF> dragStart_;
  QRectF dragView_;
};

}  // namespace tenmirel::ui
