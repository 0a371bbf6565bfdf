#pragma once
// A static formula row of the check window. Its text is kept exactly as given,
// but it is drawn around the value labels that lie over it: the value labels
// keep their designed left edges, and each run of symbols between two values is
// set just before the second one. Drawn in a face whose blanks are wider than
// the designed face's, the plain text would run under the values.
#include <vector>

#include "ui/placed_runs_label.h"

namespace tenmirel::ui {

// The ideographic space's width in ems in the designed face; the face in use
// may give it a full em.
inline constexpr double kDesignedIdeographicSpaceEm = 0.68;
// A blank stretch at least this many characters long holds a value label.
inline constexpr qsizetype kValueGapMinCharacters = 8;

class FormulaLabel : public PlacedRunsLabel {
  Q_OBJECT

 public:
  explicit FormulaLabel(const QString& text, QWidget* parent = nullptr);

  // The left edges, in this label's coordinates and in order, of the value
  // labels on this row from the first value gap on. The long blank stretches
  // hold the first values; values beyond them follow the text.
  void setValueLefts(std::vector<double> lefts);

  // The width the whole formula takes.
  double formulaWidth() const { return characterX(text().size()); }

 protected:
  std::vector<double> characterLefts() const override;

 private:
  std::vector<double> naturalPositions() const;

  std::vector<double> valueLefts_;
};

}  // namespace tenmirel::ui
