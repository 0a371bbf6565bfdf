#pragma once
// The dialog "指定回数予報". It only shows its model and passes the user's
// choices to it; the run itself lives in the model.
#include <QDialog>
#include <array>
#include <functional>

#include "lists/frm_excel_model.h"

class QComboBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace tenmirel::ui {

// The dialog's controls in keyboard focus order.
inline constexpr std::array<const char*, 10> kFrmExcelTabOrder = {
    "txtTimes", "Option1", "Option2", "Combo1", "Combo2", "Command1", "Command2", "Option4", "Option3", "Text2"};

class FrmExcel : public QDialog {
 public:
  // afterRun shows the main window again once a run has stepped it.
  FrmExcel(FrmExcelModel& model, std::function<void()> afterRun, QWidget* parent);

  // Shows every control's state from the model.
  void showModel();
  // Shows the dialog where the user last left it (this run or an earlier one),
  // the first time beside owner, and gives it the focus.
  void showBeside(const QWidget& owner);

 protected:
  // The close box unloads the dialog; the next opening starts from the defaults.
  void closeEvent(QCloseEvent* event) override;
  // Remembers where the dialog was, for the next opening and the next run.
  void hideEvent(QHideEvent* event) override;
  // Escape acts like "キャンセル".
  void reject() override;

 private:
  void buildControls();
  void connectControls();
  void setFocusOrder();

  FrmExcelModel& model_;
  std::function<void()> afterRun_;
  QLineEdit* txtTimes_ = nullptr;
  QRadioButton* option1_ = nullptr;
  QRadioButton* option2_ = nullptr;
  QComboBox* combo1_ = nullptr;
  QComboBox* combo2_ = nullptr;
  QRadioButton* option3_ = nullptr;
  QRadioButton* option4_ = nullptr;
  QLineEdit* text2_ = nullptr;
  QPushButton* command1_ = nullptr;
  QPushButton* command2_ = nullptr;
};

}  // namespace tenmirel::ui
