#pragma once
// A fixed caption whose blank stretches hold other controls. The text stays
// exactly as given, but each run of visible characters is drawn where the
// window's layout puts it, so the runs stay clear of the controls whatever face
// stands in for the designed one. Subclasses only say where the characters go.
#include <QLabel>
#include <vector>

#include "ui/blank_runs.h"

namespace tenmirel::ui {

// How the runs sit in the label's height, and how far its size hint reaches.
enum class RunSetting {
  // On a baseline at the bottom edge, shared with bottom-aligned labels beside
  // them; the hint covers the whole text, trailing blanks included.
  kBottomBaseline,
  // Centred in the height; the hint ends a pixel past the last run, room for
  // its last glyph's overhang.
  kCentred,
};

class PlacedRunsLabel : public QLabel {
  Q_OBJECT

 public:
  // The runs of visible characters, left to right.
  using Run = TextSpan;
  std::vector<Run> runs() const;
  // Width in pixels of run i drawn in this label's font.
  double runWidth(std::size_t run) const;
  // Distance in pixels from the label's left edge to the character at index.
  double characterX(qsizetype index) const;
  QSize sizeHint() const override;
  QSize minimumSizeHint() const override { return sizeHint(); }

 protected:
  PlacedRunsLabel(const QString& text, RunSetting setting, QWidget* parent);

  // The left edge of every character and the end of the text.
  virtual std::vector<double> characterLefts() const = 0;
  QString runText(const Run& run) const { return text().mid(run.first, run.end - run.first); }
  void paintEvent(QPaintEvent* event) override;

 private:
  RunSetting setting_;
};

}  // namespace tenmirel::ui
