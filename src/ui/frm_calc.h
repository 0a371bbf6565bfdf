#pragma once
// The altitude check window: the terms of the last sidereal-time and altitude
// calculation, laid over five formula rows so the arithmetic can be followed.
#include <QWidget>
#include <array>

#include "astro/altitude.h"

class QLabel;
class QPushButton;

namespace tenmirel::ui {

inline constexpr const char* kFrmCalcCaption = "高度計算確認ウインドウ";
inline constexpr int kFrmCalcValueLabelCount = 17;

class FrmCalc : public QWidget {
 public:
  // Shows the cells of the record, which the main window's model owns.
  explicit FrmCalc(const CalcLabels& record, QWidget* parent = nullptr);

  // Copies the record's current texts into the value labels.
  void showRecord();

  // The value labels in the record's order: lblTu(0..1), lblS0(0..2), lblS(0..4),
  // lblSinh(0..5), lblH.
  const std::array<QLabel*, kFrmCalcValueLabelCount>& valueLabels() const { return valueLabels_; }
  QPushButton* command1() const { return command1_; }

  // "閉じる": hides the window; the labels keep their texts.
  void Command1_Click();

 private:
  void placeValueLabel(QLabel& label, int index);

  const CalcLabels& record_;
  std::array<QLabel*, kFrmCalcValueLabelCount> valueLabels_{};
  QPushButton* command1_ = nullptr;
};

}  // namespace tenmirel::ui
