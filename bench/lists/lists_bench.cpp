// Today's list over a full catalogue, and a fixed-count list that passes over
// the most cycles a run allows, both collecting rows without writing a sheet.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <stdexcept>

#include "common/number_text.h"
#include "lists/frm_excel_model.h"
#include "lists/message_gate.h"
#include "lists/today_list.h"
#include "prediction/frm_yohou_model.h"
#include "support/recording_ports.h"

namespace tenmirel {
namespace {

// No spreadsheet at all: the rows are collected, the opener finds nothing to write to.
class NoSpreadsheet : public SpreadsheetComponent {
 public:
  Obtained attach(const std::string&) override { return {429, {}}; }
  Obtained create(const std::string&) override { return {429, {}}; }
  int makeVisible(ObjectRef) override { return 424; }
  Obtained activeWorkbook(ObjectRef) override { return {424, {}}; }
  Obtained addSheet(ObjectRef) override { return {424, {}}; }
  Obtained addWorkbook(ObjectRef) override { return {424, {}}; }
  Obtained activeSheet(ObjectRef) override { return {424, {}}; }
  int setCell(ObjectRef, std::int16_t, std::int16_t, const CellValue&) override { return 424; }
  int release(ObjectRef) override { return 0; }
};

struct Session {
  Session() : gate(messages), form(gate, checkWindow, chooser) {}
  testing::RecordingMessages messages;
  MessageGate gate;
  testing::RecordingCheckWindow checkWindow;
  testing::ScriptedChooser chooser;
  FrmYohouModel form;
  NoSpreadsheet sheet;
};

// 1001 stars spread over the sky with periods from a third of a day to about 400 days.
void fillCatalogue(FrmYohouModel& form) {
  std::vector<StarRecord> stars(kStarTableRows);
  for (int i = 0; i < kStarTableRows; ++i) {
    StarRecord& star = stars[static_cast<std::size_t>(i)];
    star.starName = "V" + std::to_string(i + 1) + " Bench";
    star.ganki = numberToText(2451545.0 + i * 7.123456);
    star.syuki = numberToText(0.33 + (i % 97) * 0.731 + (i % 11 == 0 ? 300.0 : 0.0));
    star.alphaHour = std::to_string(i % 24);
    star.alphaMin = numberToText((i * 7) % 60 + 0.5);
    star.deltaSign = i % 4 == 0 ? kSouthSignText : "True";
    star.deltaDeg = std::to_string((i * 13) % 80);
    star.deltaMin = std::to_string((i * 17) % 60);
  }
  form.useCatalogue(std::move(stars));
}

void BM_TodayListOverFullCatalogue(benchmark::State& state) {
  Session session;
  fillCatalogue(session.form);
  session.form.txtInputYear = "2026";
  session.form.txtInputMonth = "12";
  session.form.txtInputDay = "7";
  TodayList list(session.form, session.gate, SheetOutput{session.sheet});
  for (auto _ : state) {
    list.mnuExcelToday_Click();
    benchmark::DoNotOptimize(list.buffers.todayCount);
  }
  state.counters["listed"] = list.buffers.todayCount;
}
BENCHMARK(BM_TodayListOverFullCatalogue)->Unit(benchmark::kMillisecond)->Repetitions(10)->ReportAggregatesOnly(true);

void BM_FixedCountListOfHundredRowsPassingOver256(benchmark::State& state) {
  Session session;
  FrmYohouModel& form = session.form;
  form.useCatalogue({StarRecord{"B", "2461382.3", "0.16", "5", "30", "True", "12", "15", ""}});
  form.typeReference({"2026", "12", "7", "0", "0"});
  FrmExcelModel dialog(form, SheetOutput{session.sheet});
  if (!mnuExcelNtime_Click(form, dialog)) throw std::runtime_error("the dialog did not open");
  dialog.txtTimes = "100";
  dialog.selectOption2();
  dialog.combo1ListIndex = 3;  // hide 3:00 up to 19:59
  dialog.combo2ListIndex = 20;
  for (auto _ : state) {
    const ListRunResult result = dialog.Command1_Click();
    benchmark::DoNotOptimize(result);
  }
  if (dialog.listRow != 100 || dialog.listPass != 256) {
    state.SkipWithError("the run did not collect 100 rows over 256 passes");
  }
  state.counters["passes"] = dialog.listPass;
}
BENCHMARK(BM_FixedCountListOfHundredRowsPassingOver256)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(10)
    ->ReportAggregatesOnly(true);

}  // namespace
}  // namespace tenmirel
