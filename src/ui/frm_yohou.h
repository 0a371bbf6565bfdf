#pragma once
// The main window. It holds no logic of its own: it shows the texts of its form
// model, writes every edit back into the model, and runs the model's operation
// for each button and menu item before showing the model again.
#include <QMainWindow>
#include <array>
#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <vector>

#include "lists/message_gate.h"
#include "prediction/frm_yohou_model.h"
#include "ui/catalogue/catalogue_ports.h"
#include "ui/gapped_caption.h"
#include "ui/plan/plan_window.h"
#include "ui/qt_ports.h"
#include "ui/timing/timing_ports.h"

class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace tenmirel::ui {

class ExcelMenu;
class FrmCalc;
class PlanMenu;
class TimingMenu;
class SharedChoice;
class CatalogueMenu;

// What the window reaches the outside through; a null port gets the real one.
struct FrmYohouPorts {
  MessageSink* messages = nullptr;        // modal message boxes
  FileChooser* chooser = nullptr;         // the platform's open dialog
  std::function<void()> endProgram;       // leaves the event loop
  FileOpener* fileOpener = nullptr;       // shows a written list in the default application
  std::filesystem::path documentsFolder;  // lists go to its Tenmirel folder; empty: the desktop's
  PlanWindowPorts plan;                   // the plan window's and the sites dialog's
  TimingWindowPorts timing;               // the O−C window's and the light-curve window's
  // A yes-or-no question; null: a question box over the window.
  std::function<bool(const std::string& question)> askYesNo;
  CatalogueWindowPorts catalogue;  // the import dialog's and the catalogue editor's
};

class FrmYohou : public QMainWindow {
 public:
  // Runs Form_Load with the given clock reading before the window is shown.
  explicit FrmYohou(FrmYohouPorts ports = {},
                    std::chrono::system_clock::time_point now = std::chrono::system_clock::now());
  ~FrmYohou() override;

  FrmYohouModel& model() { return model_; }
  MessageSink& messages() { return messages_; }

  // Shows every text of the model: caption, selector, text boxes, labels and the
  // check window's cells. Call it after driving the model from elsewhere.
  void showModel();

  // The altitude check window: null until the first calculation or show request.
  FrmCalc* frmCalc() const { return frmCalc_; }
  // The one check window, created hidden when it does not exist yet.
  FrmCalc& checkWindow();

  // The list entries of the "Excel" menu and what they run.
  QAction* mnuExcelNtime() const { return mnuExcelNtime_; }
  QAction* mnuExcelToday() const { return mnuExcelToday_; }
  ExcelMenu& excelMenu() { return *excelMenu_; }

  // 予報(E) → "今夜の観測計画…": the one plan window, and the sites dialog for a
  // settings menu to open (PlanMenu::openSitesDialog).
  QAction* mnuPlan() const { return mnuPlan_; }
  PlanMenu& planMenu() { return *planMenu_; }
  // 予報(E) → "O−C・極小時刻…": the O−C window of the chosen star.
  QAction* mnuOc() const { return mnuOc_; }
  TimingMenu& timingMenu() { return *timingMenu_; }

  // ファイル(F) → "取り込み…" and "カタログの編集…".
  QAction* mnuImport() const { return mnuImport_; }
  QAction* mnuEditCatalogue() const { return mnuEditCatalogue_; }
  CatalogueMenu& catalogueMenu() { return *catalogueMenu_; }

  // 設定(S): "観測地…" and the time system of the loaded catalogue's elements.
  QAction* mnuSites() const { return mnuSites_; }
  QAction* mnuElementsTime(sky::ElementsTime system) const;
  // Predictions follow the program's site (the sites file's default; the built-in
  // one when there is no file); the title names any other site and any elements'
  // time system other than JD.
  void applyDefaultSite();
  // The program's one site and time systems, shared with the plan window.
  SharedChoice& choice() { return *choice_; }

  // Stretches the etched rule under the menu bar to the inner width.
  void Form_Resize();

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  struct TextBinding {
    QLineEdit* box;
    std::string FrmYohouModel::*field;
  };
  struct LabelBinding {
    QLabel* label;
    std::string FrmYohouModel::*field;
  };

  void buildControls();
  void buildMenus();
  void placeBoxesInLabel14Gaps();
  void connectControls();
  void connectMenuActions();
  void setFocusOrder();
  // Runs one of the model's event operations and shows its outcome.
  void runAndShow(const std::function<void()>& operation);
  void showCheckWindow();
  void showCombo1();
  void showMemo();
  void showCycleBox();
  // Runs the load command and remembers the folder of a catalogue that loaded.
  void loadCatalogue();
  // A catalogue too large for the table: says why and offers the plan window.
  void offerPlanForLargeCatalogue();

  std::unique_ptr<QtMessageSink> ownMessages_;
  std::unique_ptr<QtFileChooser> ownChooser_;
  CallbackCheckWindowTrigger checkTrigger_;
  MessageSink& messages_;
  ShowStateFirst showStateFirst_;  // the windows show the model before every message box
  MessageGate messageGate_;        // lets today's list show a message repeated per star once
  FileChooser& chooser_;
  RememberingChooser rememberingChooser_;
  std::function<void()> endProgram_;
  std::function<bool(const std::string&)> askYesNo_;
  FrmYohouModel model_;
  std::unique_ptr<ExcelMenu> excelMenu_;
  std::filesystem::path sitesFile_;
  std::filesystem::path elementsSettingsFile_;
  std::string reportedSiteProblem_;
  SharedChoice* choice_ = nullptr;
  std::unique_ptr<PlanMenu> planMenu_;
  std::unique_ptr<TimingMenu> timingMenu_;
  std::unique_ptr<CatalogueMenu> catalogueMenu_;
  QAction* mnuImport_ = nullptr;
  QAction* mnuEditCatalogue_ = nullptr;

  QWidget* line1_ = nullptr;
  QWidget* line2_ = nullptr;
  QComboBox* combo1_ = nullptr;
  GappedCaption* label14_ = nullptr;
  QLabel* lblMemo_ = nullptr;
  QLineEdit* txtOutputKoudo_ = nullptr;
  QLineEdit* txtOutputKaiki_ = nullptr;
  QPushButton* command1_ = nullptr;
  QPushButton* command2_ = nullptr;
  QPushButton* command3_ = nullptr;
  QPushButton* command4_ = nullptr;
  QAction* menuOpen_ = nullptr;
  QAction* menuEnd_ = nullptr;
  QAction* menuYohouStart_ = nullptr;
  QAction* menuNext_ = nullptr;
  QAction* mnuExcelNtime_ = nullptr;
  QAction* mnuExcelToday_ = nullptr;
  QAction* mnuPlan_ = nullptr;
  QAction* mnuOc_ = nullptr;
  QAction* mnuSites_ = nullptr;
  QLabel* lblJulKekka_ = nullptr;
  std::array<QAction*, 3> mnuElementsTimes_{};
  std::filesystem::path cataloguePath_;  // the loaded catalogue, canonical; empty before a load
  void chooseElementsTime(sky::ElementsTime system);
  void showElementsTimeChoice();
  // A change of the program's site or time system, made in any window, reaches
  // the prediction: the result on show is predicted again from its reference.
  void followSite();
  void followElementsTime();
  std::vector<TextBinding> textBoxes_;
  std::vector<LabelBinding> labels_;
  FrmCalc* frmCalc_ = nullptr;
  bool frmCalcPlaced_ = false;
};

}  // namespace tenmirel::ui
