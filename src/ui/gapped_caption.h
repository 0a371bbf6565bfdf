#pragma once
// A caption whose blank stretches hold text boxes. The text stays exactly as
// given; each run of visible characters is drawn where the window puts it, so a
// box wider than its blank stretch pushes the following symbols along instead
// of being cut to the stretch.
#include <QLabel>
#include <vector>

#include "ui/blank_runs.h"

namespace tenmirel::ui {

class GappedCaption : public QLabel {
  Q_OBJECT

 public:
  explicit GappedCaption(const QString& text, QWidget* parent = nullptr);

  // The runs of visible characters, left to right.
  using Run = TextSpan;
  std::vector<Run> runs() const;
  // Width in pixels of run i drawn in this label's font.
  double runWidth(std::size_t run) const;
  // Sets the left edge in pixels of every run; missing ones keep their natural place.
  void setRunLefts(std::vector<double> lefts);
  // Distance in pixels from the label's left edge to the character at index.
  double characterX(qsizetype index) const;
  QSize sizeHint() const override;
  QSize minimumSizeHint() const override { return sizeHint(); }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  double runLeft(std::size_t run) const;
  std::vector<double> runLefts_;
};

}  // namespace tenmirel::ui
