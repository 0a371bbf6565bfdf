#pragma once
// Today's list: every catalogued star with an extremum in the observing night of
// the reference date (07:00 to 06:59 the next morning, the late hours written 24
// to 30), listed with its first extremum of that night, written to a worksheet.
#include "lists/message_gate.h"
#include "prediction/frm_yohou_model.h"
#include "sheet/file_delivery.h"
#include "sheet/list_buffers.h"

namespace tenmirel {

inline constexpr const char* kTodayListName = "今日の変光星";
inline constexpr const char* kNoStarTodayMessage = "本日、極を迎える変光星は登録されていません。";
inline constexpr const char* kTodayListDoneMessage = "本日極を迎える変光星は以上です。";
// Extrema up to this local hour belong to the night before.
inline constexpr double kLastMorningHour = 6;
inline constexpr double kFirstNightHour = 7;
inline constexpr int kHoursPerDay = 24;

// Writes an extremum between 00:00 and 06:59 into the output fields as hour 24
// to 30 of the previous day, carried into the previous month and year.
void shiftToObservingNight(FrmYohouModel& form);

// When the output boxes show an extremum of the reference date's morning (00:00
// to 06:59), steps the star on with the next-cycle operation to its first
// extremum at 07:00 or later. False when the step fails or does not move on.
bool stepPastMorning(FrmYohouModel& form);

class TodayList {
 public:
  // The form must show its messages through gate, so that a message the
  // prediction repeats for every star is shown once per run.
  TodayList(FrmYohouModel& form, MessageGate& gate, SheetOutput output);

  // The menu entry "今日の変光星". False when the run stopped at a message or the
  // file could not be saved.
  bool mnuExcelToday_Click();

  TodayBuffers buffers;

 private:
  void collectRow();

  FrmYohouModel& form_;
  MessageGate& gate_;
  SheetOutput output_;
};

}  // namespace tenmirel
