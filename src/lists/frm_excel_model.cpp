#include "lists/frm_excel_model.h"

#include <cmath>

#include "common/number_text.h"
#include "lists/list_texts.h"
#include "sheet/sheet_writers.h"

namespace tenmirel {
namespace {

// The inputs the menu entry wants: the star, the year and the month.
constexpr int kInputsNeeded = 3;

bool isWholeNumber(double value) { return std::isfinite(value) && std::floor(value) == value; }

}  // namespace

const std::array<std::string, kHoursInCombo>& hourLabels() {
  static const std::array<std::string, kHoursInCombo> labels = {
      "　０時", "　１時", "　２時", "　３時", "　４時", "　５時", "　６時", "　７時",
      "　８時", "　９時", "１０時", "１１時", "１２時", "１３時", "１４時", "１５時",
      "１６時", "１７時", "１８時", "１９時", "２０時", "２１時", "２２時", "２３時"};
  return labels;
}

FrmExcelModel::FrmExcelModel(FrmYohouModel& form, SheetOutput output) : form_(form), output_(output) {}

void FrmExcelModel::Show() {
  if (!loaded_) Form_Load();
  visible_ = true;
}

void FrmExcelModel::Form_Load() {
  combo1Items.assign(hourLabels().begin(), hourLabels().end());
  combo2Items.assign(hourLabels().begin(), hourLabels().end());
  combo1ListIndex = kDefaultFirstHiddenHour;
  combo2ListIndex = kDefaultFirstShownHour;
  loaded_ = true;
}

void FrmExcelModel::Form_Unload() {
  static_cast<FrmExcelState&>(*this) = FrmExcelState{};
  loaded_ = false;
  visible_ = false;
}

bool FrmExcelModel::hourIsHidden() const {
  const double hour = parseLenient(form_.txtOutputHour);
  return combo1ListIndex <= hour && hour < combo2ListIndex;
}

bool FrmExcelModel::altitudeTooLow() const { return parseLenient(form_.txtOutputKoudo) <= parseLenient(text2); }

bool FrmExcelModel::collectRow() {
  // The caption always holds the number text the main window wrote; anything
  // else means the fields are not a prediction and must not become a row.
  const std::optional<double> julianDay = parseStrict(form_.lblJulKekka);
  if (!julianDay) return false;
  const auto r = static_cast<std::size_t>(listRow);
  buffers.listTime[r] =
      timeTexts(form_.txtOutputYear, form_.txtOutputMonth, form_.txtOutputDay, form_.txtOutputHour, form_.txtOutputMin);
  buffers.listJul[r] = *julianDay;
  buffers.listKoudo[r] = altitudeText(form_.txtOutputKoudo);
  buffers.listKaiki[r] = cycleText(form_.txtOutputKaiki);
  return true;
}

ListRunResult FrmExcelModel::Command1_Click() {
  MessageSink& messages = form_.messages();
  buffers.listCount = parseLenient(txtTimes);
  if (buffers.listCount > kMaxListCount) {
    messages.showMessage(kCountCapMessage);
    buffers.listCount = kMaxListCount;
  }
  if (option2Value) {
    if (combo1ListIndex >= combo2ListIndex) {
      messages.showMessage(kBadHourRangeMessage);
      return ListRunResult::kEnded;
    }
    if (isWholeNumber(parseLenient(form_.txtSyuki))) {
      messages.showMessage(kWholePeriodMessage);
      selectOption1();
    }
  }
  if (option4Value && text2.empty()) {
    messages.showMessage(kNoAltitudeLimitMessage);
    return ListRunResult::kEnded;
  }
  // A prediction that shows its own message instead of a result ends the run.
  if (!form_.Command2_Click()) return ListRunResult::kEnded;
  if (option4Value && form_.txtOutputKoudo == kNoCoordinatesText) {
    messages.showMessage(kNoCoordinatesMessage);
    selectOption3();
  }
  listRow = 0;
  listPass = 0;
  if (!form_.Command2_Click()) return ListRunResult::kEnded;
  while (true) {
    if (listPass > kMaxPasses) {
      messages.showMessage(kTooManyPassesMessage);
      return ListRunResult::kEnded;
    }
    // The altitude filter is not asked about a cycle the hours already passed over.
    if ((option2Value && hourIsHidden()) || (option4Value && altitudeTooLow())) {
      if (!form_.Command3_Click()) return ListRunResult::kEnded;
      ++listPass;
      continue;
    }
    if (!collectRow()) return ListRunResult::kEnded;
    ++listRow;
    if (!form_.Command3_Click()) return ListRunResult::kEnded;
    if (listRow >= buffers.listCount) break;
  }
  if (output_.delivery != nullptr) output_.delivery->beginList(kFixedCountListName);
  ExcelOpen(output_.component, buffers, ListStar{form_.combo1Text(), form_.txtGanki, form_.txtSyuki});
  if (!reportFailedSave(output_, messages)) return ListRunResult::kWriteFailed;
  const std::string closing = withFileLocation(noRowsMessage(txtTimes, buffers.listCount), output_);
  if (!closing.empty()) messages.showMessage(closing);
  return ListRunResult::kWritten;
}

std::string noRowsMessage(const std::string& txtTimes, double listCount) {
  const std::optional<std::int16_t> rows = toInt16(listCount);
  if (rows && *rows >= 1) return {};
  if (txtTimes.empty()) return kNoCountNoRowsMessage;
  return kCountBelowOneLead + txtTimes + kCountBelowOneTail;
}

bool mnuExcelNtime_Click(FrmYohouModel& form, FrmExcelModel& dialog) {
  if (form.combo1ListIndex() == -1) {
    form.messages().showMessage(kSelectStarMessage);
    return false;
  }
  if (form.txtGanki.empty() || form.txtSyuki.empty()) {
    form.messages().showMessage(kEnterElementsMessage);
    return false;
  }
  form.refreshCoordinates();
  int inputs = 1;
  if (!form.txtInputYear.empty()) ++inputs;
  if (!form.txtInputMonth.empty()) ++inputs;
  if (form.txtInputDay.empty()) form.txtInputDay = "0";
  if (form.txtInputHour.empty()) form.txtInputHour = "0";
  if (inputs != kInputsNeeded) {
    form.messages().showMessage(kSelectStarAndDateMessage);
    return false;
  }
  dialog.Show();
  return true;
}

}  // namespace tenmirel
