#pragma once
// A light curve on screen: the points (fainter down), the span in use shaded,
// the time found with its error bar, and the points mirrored about it drawn over
// the other branch. A drag across the curve chooses a span.
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>

#include "timing/extremum_time.h"

namespace tenmirel::ui {

class LightCurveWidget : public QWidget {
 public:
  explicit LightCurveWidget(QWidget* parent = nullptr);
  void setCurve(std::shared_ptr<const timing::LightCurve> curve);
  void setResult(const std::optional<timing::ExtremumTime>& result, bool maximum);
  // Called with the Julian days of a span dragged across the curve.
  std::function<void(double from, double to)> spanChosen;
  // The Julian day under a horizontal pixel position.
  double timeAt(double x) const;
  double xOf(double julianDay) const;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  QRectF plotArea() const;
  double yOf(double magnitude) const;
  std::shared_ptr<const timing::LightCurve> curve_;
  std::optional<timing::ExtremumTime> result_;
  bool maximum_ = false;
  double firstTime_ = 0, lastTime_ = 1, faintest_ = 1, brightest_ = 0;
  std::optional<double> dragFrom_;
  std::optional<double> dragTo_;
};

}  // namespace tenmirel::ui
