#include "lists/today_list.h"

#include <chrono>
#include <cmath>

#include "astro/julian_day.h"
#include "common/number_text.h"
#include "lists/list_texts.h"
#include "sheet/sheet_writers.h"

namespace tenmirel {

namespace {

// The whole number a date text holds; 0 for anything the calendar cannot take.
int calendarNumber(const std::string& text) {
  constexpr double kLimit = 1e6;
  const double value = parseLenient(text);
  return value > -kLimit && value < kLimit ? static_cast<int>(value) : 0;
}

// The output boxes show the reference date before 07:00: the night before's.
bool showsMorningOfReferenceDate(const FrmYohouModel& form) {
  return form.txtOutputYear == form.txtInputYear && form.txtOutputMonth == form.txtInputMonth &&
         form.txtOutputDay == form.txtInputDay && parseLenient(form.txtOutputHour) <= kLastMorningHour;
}

// A very short period would take thousands of single steps through the morning:
// the cycle box gets the cycle two short of the estimated first one of the
// night, as a user could type it, and single steps settle the boundary by the
// texts. Every listed time is then the one the window shows for that cycle.
void skipMostMorningCycles(FrmYohouModel& form) {
  const double period = parseLenient(form.txtSyuki);
  if (!(period > 0)) return;
  const double nightStart = js(parseLenient(form.txtInputYear), parseLenient(form.txtInputMonth),
                               parseLenient(form.txtInputDay), kFirstNightHour - kLocalHoursAheadOfUt, 0);
  const double cyclesToNight = std::ceil((nightStart - form.julKekka) / period);
  if (!(cyclesToNight > 2) || !std::isfinite(cyclesToNight)) return;
  form.txtOutputKaiki = numberToText(parseLenient(form.txtOutputKaiki) + cyclesToNight - 2);
}

}  // namespace

bool stepPastMorning(FrmYohouModel& form) {
  while (showsMorningOfReferenceDate(form)) {
    const double previous = form.julKekka;
    skipMostMorningCycles(form);
    if (!form.Command3_Click() || !(form.julKekka > previous)) return false;
  }
  return true;
}

void shiftToObservingNight(FrmYohouModel& form) {
  using namespace std::chrono;
  const double hour = parseLenient(form.txtOutputHour);
  if (hour > kLastMorningHour) return;
  const int yearNumber = calendarNumber(form.txtOutputYear);
  const int monthNumber = calendarNumber(form.txtOutputMonth);
  const int dayNumber = calendarNumber(form.txtOutputDay);
  const year_month_day date{year{yearNumber}, month{static_cast<unsigned>(monthNumber)},
                            day{static_cast<unsigned>(dayNumber)}};
  form.txtOutputHour = numberToText(hour + kHoursPerDay);
  if (!date.ok()) {
    // Never written by the prediction; keep to the day number alone.
    form.txtOutputDay = std::to_string(dayNumber - 1);
    return;
  }
  const year_month_day previous{sys_days{date} - days{1}};
  form.txtOutputDay = std::to_string(static_cast<unsigned>(previous.day()));
  if (previous.month() != date.month()) form.txtOutputMonth = std::to_string(static_cast<unsigned>(previous.month()));
  // Before 1600 the prediction leaves the year empty; it stays so.
  if (previous.year() != date.year() && !form.txtOutputYear.empty()) {
    form.txtOutputYear = std::to_string(static_cast<int>(previous.year()));
  }
}

TodayList::TodayList(FrmYohouModel& form, MessageGate& gate, SheetOutput output)
    : form_(form), gate_(gate), output_(output) {}

bool TodayList::mnuExcelToday_Click() {
  form_.txtInputHour = "0";
  form_.txtInputMin = "0";
  buffers.todayCount = 0;
  {
    const MessageGate::OncePerText oncePerRun(gate_);
    for (int i = 0; i < form_.starCount; ++i) {
      form_.setCombo1ListIndex(i);
      // A star the prediction declines (no epoch or period) is left out; a night
      // beyond the calendar's years ends the run, as it would for every star.
      // Its first extremum after 00:00 may close the night before; a later one may fall tonight.
      if (!form_.Command2_Click() || !stepPastMorning(form_)) {
        if (form_.lastRefusal() == PredictionRefusal::kOutsideCalendar) return false;
        continue;
      }
      shiftToObservingNight(form_);
      if (form_.txtOutputYear != form_.txtInputYear || form_.txtOutputMonth != form_.txtInputMonth ||
          form_.txtOutputDay != form_.txtInputDay) {
        continue;
      }
      collectRow();
    }
  }
  if (buffers.todayCount == 0) {
    gate_.showMessage(kNoStarTodayMessage);
    return true;
  }
  if (output_.delivery != nullptr) output_.delivery->beginList(kTodayListName);
  std::int16_t intCount = buffers.todayCount;
  OpenExcel(output_.component, intCount, buffers);
  if (!reportFailedSave(output_, gate_)) return false;
  gate_.showMessage(withFileLocation(kTodayListDoneMessage, output_));
  return true;
}

void TodayList::collectRow() {
  const auto r = static_cast<std::size_t>(buffers.todayCount);
  buffers.ensureRow(r);
  buffers.todayTime[r] =
      timeTexts(form_.txtOutputYear, form_.txtOutputMonth, form_.txtOutputDay, form_.txtOutputHour, form_.txtOutputMin);
  buffers.todayKoudo[r] = altitudeText(form_.txtOutputKoudo);
  buffers.todayName[r] = form_.combo1Text();
  ++buffers.todayCount;
}

}  // namespace tenmirel
