#pragma once
// The picture of the night in the plan window, with a tooltip that reads the
// time and the altitude under the pointer.
#include <QWidget>

#include "ui/plan/night_picture_data.h"

namespace tenmirel::ui {

class NightPictureWidget : public QWidget {
 public:
  explicit NightPictureWidget(QWidget* parent = nullptr);

  void setData(NightPictureData data);
  const NightPictureData& data() const { return data_; }

  // "21:34　高度 34°" for a point of the widget; empty outside the plot.
  QString toolTipAt(QPointF point) const;

  QSize sizeHint() const override { return {720, 280}; }
  QSize minimumSizeHint() const override { return {320, 160}; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  bool event(QEvent* event) override;

 private:
  NightPictureData data_;
};

}  // namespace tenmirel::ui
