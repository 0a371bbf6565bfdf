#pragma once
// A static formula row of the check window. Its text is kept exactly as given,
// but the ideographic spaces are drawn narrow, as in the proportional Gothic face
// the window was drawn with; faces that give them a full em would push the
// formula past its label and out from under the value labels.
#include <QLabel>

namespace tenmirel::ui {

// The ideographic space's width in ems in the designed face.
inline constexpr double kDesignedIdeographicSpaceEm = 0.68;

class FormulaLabel : public QLabel {
 public:
  explicit FormulaLabel(const QString& text, QWidget* parent = nullptr);

  // Distance in pixels from the label's left edge to the character at index.
  double characterX(qsizetype index) const;
  // The width the whole formula takes.
  double formulaWidth() const { return characterX(text().size()); }
  QSize sizeHint() const override;
  QSize minimumSizeHint() const override { return sizeHint(); }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  double ideographicSpaceWidth() const;
};

}  // namespace tenmirel::ui
