#pragma once
// A caption whose blank stretches hold text boxes. Each run of visible
// characters is drawn where the window puts it, so a box wider than its blank
// stretch pushes the following symbols along instead of being cut to the stretch.
#include <vector>

#include "ui/placed_runs_label.h"

namespace tenmirel::ui {

class GappedCaption : public PlacedRunsLabel {
  Q_OBJECT

 public:
  explicit GappedCaption(const QString& text, QWidget* parent = nullptr);

  // Sets the left edge in pixels of every run; missing ones keep their natural place.
  void setRunLefts(std::vector<double> lefts);

 protected:
  std::vector<double> characterLefts() const override;

 private:
  std::vector<double> runLefts_;
};

}  // namespace tenmirel::ui
