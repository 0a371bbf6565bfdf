// The fixed-count list: the menu entry, the dialog's state and the run.
#include <gtest/gtest.h>

#include <cmath>

#include "common/number_text.h"
#include "lists/frm_excel_model.h"
#include "lists/list_fixture.h"
#include "sheet/recording_component.h"

namespace tenmirel {
namespace {

using testing::epochAtLocal;
using testing::RecordingComponent;

constexpr std::size_t kHeaderCells = 14;  // rows 1, 2 and 4
constexpr std::size_t kCellsPerRow = 8;

class FixedCountList : public ::testing::Test, public testing::ListFixture {
 public:
  // One star whose cycle 0 falls on 2026-03-07 00:09 local time.
  void loadStar(const std::string& period = "1.5", std::string epoch = {}) {
    if (epoch.empty()) epoch = epochAtLocal(2026, 3, 7, 0, 9);
    load({testing::star("ZZ Exa", epoch, period)});
    setReference("2026", "3", "6", "12", "0");
  }
  void open() { ASSERT_TRUE(mnuExcelNtime_Click(form, dialog)); }
  std::size_t dataRowsWritten() const {
    return sheet.writes.size() < kHeaderCells ? 0 : (sheet.writes.size() - kHeaderCells) / kCellsPerRow;
  }
  // Cycle number of the main window's first prediction for the reference.
  double firstCycle() {
    testing::RecordingMessages quiet;
    FrmYohouModel probe(quiet, checkWindow, chooser);
    probe.starTable = form.starTable;
    probe.starCount = form.starCount;
    probe.combo1Items = form.combo1Items;
    probe.setCombo1ListIndex(form.combo1ListIndex());
    probe.txtInputYear = form.txtInputYear;
    probe.txtInputMonth = form.txtInputMonth;
    probe.txtInputDay = form.txtInputDay;
    probe.txtInputHour = form.txtInputHour;
    probe.txtInputMin = form.txtInputMin;
    probe.txtGanki = form.txtGanki;
    probe.txtSyuki = form.txtSyuki;
    probe.Command2_Click();
    return probe.kaiki;
  }

  RecordingComponent sheet;
  FrmExcelModel dialog{form, SheetOutput{sheet}};
};

TEST_F(FixedCountList, TenConsecutiveCyclesAndTheMainWindowLeftOnTheEleventh) {
  loadStar();
  open();
  const double first = firstCycle();
  EXPECT_EQ(first, 0);
  EXPECT_EQ(dialog.Command1_Click(), ListRunResult::kWritten);
  ASSERT_EQ(dataRowsWritten(), 10u);
  const double epoch = parseLenient(form.txtGanki);
  for (int e = 0; e < 10; ++e) {
    EXPECT_EQ(sheet.text(5 + e, 7), "第" + numberToText(first + e) + "回帰");
    // The number cell carries the Julian day exactly as the main window wrote it.
    EXPECT_EQ(sheet.text(5 + e, 8), "#" + numberToText((first + e) * 1.5 + epoch));
  }
  EXPECT_EQ(sheet.text(5, 1), "2026年");
  EXPECT_EQ(sheet.text(5, 2), "  3月");
  EXPECT_EQ(sheet.text(5, 3), "  7日");
  EXPECT_EQ(sheet.text(5, 4), "  0時");
  EXPECT_EQ(sheet.text(5, 5), "  9分");
  EXPECT_EQ(sheet.text(6, 4), "12時");
  EXPECT_EQ(sheet.text(6, 3), "  8日");
  EXPECT_EQ(sheet.text(2, 1), "ZZ Exa");
  EXPECT_EQ(sheet.text(2, 2), form.txtGanki);
  EXPECT_EQ(sheet.text(2, 3), "1.5");
  EXPECT_EQ(form.txtOutputKaiki, numberToText(first + 10));
  EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(FixedCountList, CountCapAndRounding) {
  struct Case {
    const char* txtTimes;
    bool capMessage;
    int collected;
    std::size_t written;
    std::string closing = {};  // the message of a run that wrote no rows
  };
  const std::string belowOne =
      "」が１回に満たないため、表には見出しだけを書き、予報は１行も書いていません。"
      "回数には１から１００までの数を入力してください。";
  for (const Case& c :
       {Case{"100", false, 100, 100}, Case{"101", true, 100, 100}, Case{"100.5", true, 100, 100},
        Case{"", false, 1, 0,
             "回数が入力されていないため、表には見出しだけを書き、予報は１行も書いていません。"
             "回数には１から１００までの数を入力してください。"},
        Case{"0", false, 1, 0, "回数「0" + belowOne}, Case{"abc", false, 1, 0, "回数「abc" + belowOne},
        Case{"-5", false, 1, 0, "回数「-5" + belowOne}, Case{"0.5", false, 1, 0, "回数「0.5" + belowOne},
        Case{"-1E9", false, 1, 0, "回数「-1E9" + belowOne}, Case{"2.5", false, 3, 2}, Case{"1.5", false, 2, 2}}) {
    SCOPED_TRACE(c.txtTimes);
    sheet = RecordingComponent{};
    boxes.shown.clear();
    if (form.starCount == 0) loadStar();
    form.txtOutputKaiki.clear();
    open();
    dialog.txtTimes = c.txtTimes;
    EXPECT_EQ(dialog.Command1_Click(), ListRunResult::kWritten);
    std::vector<std::string> messages;
    if (c.capMessage) messages.push_back(kCountCapMessage);
    if (!c.closing.empty()) messages.push_back(c.closing);
    EXPECT_EQ(boxes.shown, messages);
    EXPECT_EQ(dialog.listRow, c.collected);
    EXPECT_EQ(dataRowsWritten(), c.written);
    EXPECT_EQ(sheet.cell(4, 8) != nullptr, true);
    // The main window is stepped once past the last collected cycle.
    EXPECT_EQ(form.txtOutputKaiki, numberToText(c.collected));
  }
}

struct HourCase {
  int epochHour;
  int epochMinute;
  std::vector<std::string> listedHours;
  int passes;
};

class HourFilter : public FixedCountList, public ::testing::WithParamInterface<HourCase> {};

// With a period of 1.5 days the extrema alternate between two clock times 12 hours apart.
TEST_P(HourFilter, DefaultBandHidesEightUpToButNotIncludingTwenty) {
  const HourCase& c = GetParam();
  loadStar("1.5", epochAtLocal(2026, 3, 7, c.epochHour, c.epochMinute));
  open();
  dialog.selectOption2();
  dialog.txtTimes = "2";
  EXPECT_EQ(dialog.Command1_Click(), ListRunResult::kWritten);
  ASSERT_EQ(dataRowsWritten(), 2u);
  EXPECT_EQ(sheet.text(5, 4), c.listedHours[0]);
  EXPECT_EQ(sheet.text(6, 4), c.listedHours[1]);
  EXPECT_EQ(dialog.listPass, c.passes);
  EXPECT_TRUE(boxes.shown.empty());
}

INSTANTIATE_TEST_SUITE_P(Boundaries, HourFilter,
                         ::testing::Values(HourCase{7, 59, {"  7時", "  7時"}, 1},   // 19:59 passed
                                           HourCase{8, 0, {"20時", "20時"}, 2},      // 8:00 passed
                                           HourCase{19, 59, {"  7時", "  7時"}, 2},  // 19:59 passed
                                           HourCase{20, 0, {"20時", "20時"}, 1}));   // 8:00 passed

TEST_F(FixedCountList, InvalidHourBandEndsTheRunBeforeThePrediction) {
  struct Case {
    int from;
    int to;
  };
  loadStar();
  for (const Case& c : {Case{20, 8}, Case{8, 8}, Case{0, 0}, Case{23, 0}, Case{8, -1}}) {
    boxes.shown.clear();
    open();
    dialog.selectOption2();
    dialog.combo1ListIndex = c.from;
    dialog.combo2ListIndex = c.to;
    EXPECT_EQ(dialog.Command1_Click(), ListRunResult::kEnded);
    EXPECT_EQ(boxes.shown, std::vector<std::string>{kBadHourRangeMessage});
    EXPECT_TRUE(sheet.calls.empty());
    EXPECT_TRUE(form.txtOutputKaiki.empty());  // main window untouched
  }
}

TEST_F(FixedCountList, NoSelectionInTheFirstDropDownCountsAsMinusOne) {
  loadStar("1.5", epochAtLocal(2026, 3, 7, 0, 9));
  open();
  dialog.selectOption2();
  dialog.combo1ListIndex = -1;
  dialog.combo2ListIndex = 1;  // hides hours -1 .. 0
  dialog.txtTimes = "1";
  EXPECT_EQ(dialog.Command1_Click(), ListRunResult::kWritten);
  EXPECT_EQ(sheet.text(5, 4), "12時");
  EXPECT_EQ(dialog.listPass, 1);
}

TEST_F(FixedCountList, WholePeriodLiftsTheTimeFilter) {
  for (const char* period : {"1", "2.0"}) {
    SCOPED_TRACE(period);
    testing::ListFixture other;
    RecordingComponent output;
    other.load({testing::star("ZZ Exa", epochAtLocal(2026, 3, 7, 12, 0), period)});
    other.setReference("2026", "3", "6", "13", "0");
    FrmExcelModel excel(other.form, SheetOutput{output});
    ASSERT_TRUE(mnuExcelNtime_Click(other.form, excel));
    excel.selectOption2();
    excel.txtTimes = "3";
    EXPECT_EQ(excel.Command1_Click(), ListRunResult::kWritten);
    EXPECT_EQ(other.boxes.shown, std::vector<std::string>{kWholePeriodMessage});
    EXPECT_TRUE(excel.option1Value);
    EXPECT_FALSE(excel.option2Value);
    EXPECT_EQ(excel.listPass, 0);
    // Noon extrema, all listed although 12 lies in the default band.
    EXPECT_EQ(output.text(5, 4), "12時");
    EXPECT_EQ(output.text(7, 7), "第2回帰");
  }
}

TEST_F(FixedCountList, AltitudeFilterPassesOverTheLimitItselfAndListsJustAbove) {
  loadStar();
  // The altitudes of the first cycles, as the main window shows them.
  std::vector<std::string> altitudes;
  form.Command2_Click();
  for (int k = 0; k < 40; ++k, form.Command3_Click()) altitudes.push_back(form.txtOutputKoudo);
  form.txtOutputKaiki.clear();
  const double first = parseLenient(altitudes[0]);
  int firstHigher = 1;
  while (parseLenient(altitudes[static_cast<std::size_t>(firstHigher)]) <= first) ++firstHigher;

  open();
  dialog.selectOption4();
  dialog.txtTimes = "1";
  dialog.text2 = altitudes[0];  // exactly the altitude of the first extremum
  EXPECT_EQ(dialog.Command1_Click(), ListRunResult::kWritten);
  EXPECT_EQ(sheet.text(5, 7), "第" + std::to_string(firstHigher) + "回帰");
  EXPECT_EQ(dialog.listPass, firstHigher);

  sheet = RecordingComponent{};
  dialog.text2 = numberToText(first - 0.01);
  EXPECT_EQ(dialog.Command1_Click(), ListRunResult::kWritten);
  EXPECT_EQ(sheet.text(5, 7), "第0回帰");
  EXPECT_EQ(sheet.text(5, 6), numberToText(std::floor(first)) + "°");
  EXPECT_EQ(dialog.listPass, 0);
}

TEST_F(FixedCountList, EmptyAltitudeLimitEndsTheRun) {
  loadStar();
  open();
  dialog.selectOption4();
  dialog.text2.clear();
  EXPECT_EQ(dialog.Command1_Click(), ListRunResult::kEnded);
  EXPECT_EQ(boxes.shown, std::vector<std::string>{kNoAltitudeLimitMessage});
  EXPECT_TRUE(sheet.calls.empty());
  EXPECT_TRUE(form.txtOutputKaiki.empty());
}

TEST_F(FixedCountList, ManualInputLiftsTheAltitudeFilterAndListsZeroDegrees) {
  loadStar();
  form.setCombo1ListIndex(form.starCount);  // "手動入力"
  form.txtGanki = epochAtLocal(2026, 3, 7, 0, 9);
  form.txtSyuki = "1.5";
  open();
  EXPECT_EQ(form.alpha, 0);
  EXPECT_EQ(form.delta, 0);
  dialog.selectOption4();
  dialog.text2 = "10";
  dialog.txtTimes = "3";
  EXPECT_EQ(dialog.Command1_Click(), ListRunResult::kWritten);
  EXPECT_EQ(boxes.shown, std::vector<std::string>{kNoCoordinatesMessage});
  EXPECT_TRUE(dialog.option3Value);
  EXPECT_FALSE(dialog.option4Value);
  ASSERT_EQ(dataRowsWritten(), 3u);
  for (int row = 5; row <= 7; ++row) EXPECT_EQ(sheet.text(row, 6), "0°");
  EXPECT_EQ(sheet.text(2, 1), kManualInputEntry);
}

TEST_F(FixedCountList, UnreachableAltitudeEndsOnThe257thPassWithNothingWritten) {
  loadStar();
  open();
  dialog.selectOption4();
  dialog.text2 = "90";
  EXPECT_EQ(dialog.Command1_Click(), ListRunResult::kEnded);
  EXPECT_EQ(boxes.shown, std::vector<std::string>{kTooManyPassesMessage});
  EXPECT_EQ(dialog.listPass, 257);
  EXPECT_TRUE(sheet.calls.empty());
  EXPECT_EQ(form.txtOutputKaiki, "257");  // stepped through every examined cycle
}

TEST_F(FixedCountList, PassesAddUpOverTheWholeRun) {
  // One pass a row: 100 rows pass over 100 cycles and are written.
  loadStar("1.5", epochAtLocal(2026, 3, 7, 8, 0));
  open();
  dialog.selectOption2();
  dialog.txtTimes = "100";
  EXPECT_EQ(dialog.Command1_Click(), ListRunResult::kWritten);
  EXPECT_EQ(dataRowsWritten(), 100u);
  EXPECT_EQ(dialog.listPass, 100);

  // A period of 25 hours moves the clock time on by an hour a cycle; hiding
  // 0:00 to 22:59 passes over 23 cycles between rows, and the total, not any
  // single gap, ends the run once it passes 256.
  testing::ListFixture other;
  RecordingComponent output;
  other.load({testing::star("ZZ Exa", epochAtLocal(2026, 3, 7, 23, 30), numberToText(25.0 / 24.0))});
  other.setReference("2026", "3", "7", "12", "0");
  FrmExcelModel excel(other.form, SheetOutput{output});
  ASSERT_TRUE(mnuExcelNtime_Click(other.form, excel));
  excel.selectOption2();
  excel.combo1ListIndex = 0;
  excel.combo2ListIndex = 23;
  excel.txtTimes = "100";
  EXPECT_EQ(excel.Command1_Click(), ListRunResult::kEnded);
  EXPECT_EQ(other.boxes.shown, std::vector<std::string>{kTooManyPassesMessage});
  EXPECT_GT(excel.listRow, 10);
  EXPECT_TRUE(output.calls.empty());
}

TEST_F(FixedCountList, PressingStartTwiceWritesTheSameRowsTwice) {
  loadStar();
  open();
  dialog.txtTimes = "4";
  EXPECT_EQ(dialog.Command1_Click(), ListRunResult::kWritten);
  EXPECT_EQ(dialog.Command1_Click(), ListRunResult::kWritten);
  EXPECT_EQ(std::count(sheet.calls.begin(), sheet.calls.end(), "attach Excel.Application"), 2);
  const std::size_t half = sheet.writes.size() / 2;
  ASSERT_EQ(half, kHeaderCells + 4 * kCellsPerRow);
  for (std::size_t i = 0; i < half; ++i) {
    EXPECT_EQ(sheet.writes[i].row, sheet.writes[half + i].row);
    EXPECT_EQ(sheet.writes[i].value, sheet.writes[half + i].value);
  }
}

TEST_F(FixedCountList, APredictionThatShowsAMessageStopsTheRun) {
  struct Case {
    const char* ganki;
    const char* syuki;
    const char* message;
  };
  loadStar();
  open();
  for (const Case& c : {Case{"", "1.5", kEnterElementsMessage}, Case{"2451545", "", kEnterElementsMessage},
                        Case{"2451545", "0", kZeroPeriodMessage}, Case{"2451545", "-1.5", kNegativePeriodMessage},
                        Case{"1e20", "1.5", kNotFiniteMessage}}) {
    boxes.shown.clear();
    form.txtGanki = c.ganki;  // emptied while the dialog is open
    form.txtSyuki = c.syuki;
    EXPECT_EQ(dialog.Command1_Click(), ListRunResult::kEnded);
    EXPECT_EQ(boxes.shown, std::vector<std::string>{c.message});
    EXPECT_TRUE(sheet.calls.empty());
  }
}

TEST_F(FixedCountList, ARunReachingTheEndOfTheCalendarStopsWithItsMessage) {
  loadStar("1", "2451545");
  setReference("3000", "12", "28", "12", "0");
  open();
  EXPECT_EQ(dialog.Command1_Click(), ListRunResult::kEnded);
  EXPECT_EQ(boxes.shown, std::vector<std::string>{kOutsideCalendarMessage});
  EXPECT_TRUE(sheet.calls.empty());
}

TEST_F(FixedCountList, MenuEntryChecksAndFillsEmptyDayAndHour) {
  loadStar();
  struct Case {
    const char* year;
    const char* month;
    bool opens;
  };
  for (const Case& c : {Case{"2026", "3", true}, Case{"", "3", false}, Case{"2026", "", false}}) {
    FrmExcelModel fresh(form, SheetOutput{sheet});
    boxes.shown.clear();
    setReference(c.year, c.month, "", "", "");
    EXPECT_EQ(mnuExcelNtime_Click(form, fresh), c.opens);
    EXPECT_EQ(form.txtInputDay, "0");
    EXPECT_EQ(form.txtInputHour, "0");
    EXPECT_EQ(form.txtInputMin, "");  // the minute is not looked at
    EXPECT_EQ(fresh.visible(), c.opens);
    EXPECT_EQ(boxes.shown, c.opens ? std::vector<std::string>{} : std::vector<std::string>{kSelectStarAndDateMessage});
  }
  // The coordinates are taken from the star table: 5h 30m, +12° 15'.
  EXPECT_DOUBLE_EQ(form.alpha, 82.5);
  EXPECT_DOUBLE_EQ(form.delta, 12.25);
}

TEST_F(FixedCountList, MenuEntryNeedsAStarAndTheElements) {
  form.Form_Load(std::chrono::system_clock::now());
  EXPECT_FALSE(mnuExcelNtime_Click(form, dialog));
  EXPECT_EQ(boxes.shown, std::vector<std::string>{kSelectStarMessage});
  form.setCombo1ListIndex(0);  // "手動入力", elements empty
  form.txtInputDay.clear();
  EXPECT_FALSE(mnuExcelNtime_Click(form, dialog));
  EXPECT_EQ(boxes.shown.back(), kEnterElementsMessage);
  EXPECT_TRUE(form.txtInputDay.empty()) << "the day is filled only after the element check";
  EXPECT_FALSE(dialog.loaded());
}

TEST_F(FixedCountList, DialogDefaultsCancelKeepsStateCloseBoxResets) {
  loadStar();
  EXPECT_FALSE(dialog.loaded());
  open();
  EXPECT_TRUE(dialog.loaded());
  EXPECT_TRUE(dialog.visible());
  EXPECT_EQ(dialog.caption, "指定回数予報");
  EXPECT_EQ(dialog.txtTimes, "10");
  EXPECT_EQ(dialog.text2, "0");
  EXPECT_TRUE(dialog.option1Value);
  EXPECT_TRUE(dialog.option3Value);
  ASSERT_EQ(dialog.combo1Items.size(), 24u);
  EXPECT_EQ(dialog.combo1Items, dialog.combo2Items);
  EXPECT_EQ(dialog.combo1Items[0], "　０時");
  EXPECT_EQ(dialog.combo1Items[9], "　９時");
  EXPECT_EQ(dialog.combo1Items[10], "１０時");
  EXPECT_EQ(dialog.combo1Items[23], "２３時");
  EXPECT_EQ(dialog.combo1ListIndex, 8);
  EXPECT_EQ(dialog.combo2ListIndex, 20);

  dialog.txtTimes = "7";
  dialog.selectOption2();
  dialog.combo1ListIndex = 3;
  dialog.Command1_Click();
  dialog.Command2_Click();  // キャンセル
  EXPECT_FALSE(dialog.visible());
  open();
  EXPECT_EQ(dialog.txtTimes, "7");
  EXPECT_TRUE(dialog.option2Value);
  EXPECT_EQ(dialog.combo1ListIndex, 3);
  EXPECT_EQ(dialog.buffers.listKaiki[0], "第0回帰");

  dialog.Form_Unload();  // the close box
  EXPECT_FALSE(dialog.loaded());
  EXPECT_TRUE(dialog.combo1Items.empty());
  open();
  EXPECT_EQ(dialog.txtTimes, "10");
  EXPECT_TRUE(dialog.option1Value);
  EXPECT_EQ(dialog.combo1ListIndex, 8);
  EXPECT_EQ(dialog.buffers.listKaiki[0], "");
}

}  // namespace
}  // namespace tenmirel
