#pragma once
// The fixed-count list: the dialog "指定回数予報" without a window toolkit, and
// the main window's menu entry that opens it. The run drives the main window's
// prediction and next-cycle step and reads each result back from its fields.
#include <array>
#include <string>
#include <vector>

#include "prediction/frm_yohou_model.h"
#include "sheet/file_delivery.h"
#include "sheet/list_buffers.h"

namespace tenmirel {

inline constexpr const char* kFixedCountListName = "指定回数予報";
inline constexpr const char* kSelectStarAndDateMessage = "変光星を選択して日付を入力して下さい。";
inline constexpr const char* kCountCapMessage = "予報できるのは１００回までです。１００回予報します";
inline constexpr const char* kBadHourRangeMessage = "時間範囲の選択が不正です。";
inline constexpr const char* kWholePeriodMessage = "周期が整数です。時間制限を解除します。";
inline constexpr const char* kNoAltitudeLimitMessage = "高度条件が未入力です";
inline constexpr const char* kNoCoordinatesMessage = "座標情報がありません。高度制限を解除します。";
inline constexpr const char* kTooManyPassesMessage =
    "制限によるパスが２５６回を超えました。制限条件を解除してもう一度検索してください。";
// A run whose count rounds to less than one writes the column titles only; it says so.
inline constexpr const char* kNoCountNoRowsMessage =
    "回数が入力されていないため、表には見出しだけを書き、予報は１行も書いていません。"
    "回数には１から１００までの数を入力してください。";
// The count box's text goes between the two parts.
inline constexpr const char* kCountBelowOneLead = "回数「";
inline constexpr const char* kCountBelowOneTail =
    "」が１回に満たないため、表には見出しだけを書き、予報は１行も書いていません。"
    "回数には１から１００までの数を入力してください。";
inline constexpr double kMaxListCount = 100;
inline constexpr int kMaxPasses = 256;
inline constexpr int kHoursInCombo = 24;
inline constexpr int kDefaultFirstHiddenHour = 8;
inline constexpr int kDefaultFirstShownHour = 20;

// The 24 hour labels of the two drop-downs, position = hour.
const std::array<std::string, kHoursInCombo>& hourLabels();

// Everything the dialog holds while it is loaded, with its design-time values;
// the fixed captions of its controls belong to the window.
struct FrmExcelState {
  std::string caption = "指定回数予報";
  std::string txtTimes = "10";
  bool option1Value = true;  // time filter off
  bool option2Value = false;
  std::vector<std::string> combo1Items;
  int combo1ListIndex = -1;  // first hidden hour
  std::vector<std::string> combo2Items;
  int combo2ListIndex = -1;  // first hour shown again
  bool option3Value = true;  // altitude filter off
  bool option4Value = false;
  std::string text2 = "0";

  FixedCountBuffers buffers;
  int listRow = 0;
  int listPass = 0;
};

// How a run ended.
enum class ListRunResult {
  kWritten,      // the rows went to the worksheet
  kEnded,        // a message or a failed prediction ended the run; nothing written
  kWriteFailed,  // the rows were collected but the file could not be saved
};

class FrmExcelModel : public FrmExcelState {
 public:
  FrmExcelModel(FrmYohouModel& form, SheetOutput output);

  bool loaded() const { return loaded_; }
  bool visible() const { return visible_; }

  // Shows the dialog, loading it first when it is not loaded.
  void Show();
  void Form_Load();
  // "予報開始": the run.
  ListRunResult Command1_Click();
  // "キャンセル": hides the dialog; everything stays as it is.
  void Command2_Click() { visible_ = false; }
  // The close box: unloads; the next opening starts from the defaults.
  void Form_Unload();

  // The option groups: selecting one button deselects its partner.
  void selectOption1() { option1Value = true, option2Value = false; }
  void selectOption2() { option1Value = false, option2Value = true; }
  void selectOption3() { option3Value = true, option4Value = false; }
  void selectOption4() { option3Value = false, option4Value = true; }

 private:
  bool hourIsHidden() const;
  bool altitudeTooLow() const;
  bool collectRow();

  FrmYohouModel& form_;
  SheetOutput output_;
  bool loaded_ = false;
  bool visible_ = false;
};

// The closing message of a run that wrote no rows for this count text; empty
// when the count gives rows.
std::string noRowsMessage(const std::string& txtTimes, double listCount);

// The main window's menu entry "指定回数予報": checks the main window, fills an
// empty day and hour with "0" and shows the dialog. Returns whether it was shown.
bool mnuExcelNtime_Click(FrmYohouModel& form, FrmExcelModel& dialog);

}  // namespace tenmirel
