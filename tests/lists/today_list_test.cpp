// Today's list: which stars qualify, their row texts and the closing messages.
#include "lists/today_list.h"

#include <gtest/gtest.h>

#include <cmath>

#include "common/number_text.h"
#include "lists/list_fixture.h"
#include "lists/list_texts.h"
#include "sheet/recording_component.h"
#include "sheet/xlsx_component.h"

namespace tenmirel {
namespace {

using testing::epochAtLocal;
using testing::RecordingComponent;
using testing::star;
using testing::TestStar;

// A period long enough that the epoch itself is the first extremum after 00:00.
constexpr const char* kLongPeriod = "1000";

TestStar starAt(const std::string& name, int year, int month, int day, int hour, int minute) {
  return star(name, epochAtLocal(year, month, day, hour, minute), kLongPeriod);
}

class TodayListTest : public ::testing::Test, public testing::ListFixture {
 public:
  std::vector<std::string> listedNames() const {
    std::vector<std::string> names;
    for (int r = 0; r < list.buffers.todayCount; ++r)
      names.push_back(list.buffers.todayName[static_cast<std::size_t>(r)]);
    return names;
  }

  RecordingComponent sheet;
  TodayList list{form, gate, SheetOutput{sheet}};
};

TEST_F(TodayListTest, NoCatalogueVisitsNoStarAndOpensNoSheet) {
  form.Form_Load(std::chrono::system_clock::now());
  setReference("2026", "3", "7", "21", "30");
  list.mnuExcelToday_Click();
  EXPECT_EQ(form.txtInputHour, "0");
  EXPECT_EQ(form.txtInputMin, "0");
  EXPECT_TRUE(sheet.calls.empty());
  EXPECT_EQ(boxes.shown, std::vector<std::string>{kNoStarTodayMessage});
  EXPECT_EQ(form.combo1ListIndex(), -1);
}

TEST_F(TodayListTest, ObservingNightRunsFromSevenToSixFiftyNineNextMorning) {
  load({starAt("early", 2026, 3, 7, 6, 59), starAt("seven", 2026, 3, 7, 7, 0), starAt("late", 2026, 3, 8, 6, 30),
        starAt("morning", 2026, 3, 8, 7, 0), starAt("evening", 2026, 3, 7, 22, 45)});
  setReference("2026", "3", "7", "9", "41");
  list.mnuExcelToday_Click();
  EXPECT_EQ(listedNames(), (std::vector<std::string>{"seven", "late", "evening"}));
  const auto& time = list.buffers.todayTime;
  EXPECT_EQ(time[0], (TimeTexts{"2026年", "  3月", "  7日", "  7時", "  0分"}));
  EXPECT_EQ(time[1], (TimeTexts{"2026年", "  3月", "  7日", "30時", "30分"}));
  EXPECT_EQ(time[2], (TimeTexts{"2026年", "  3月", "  7日", "22時", "45分"}));
  EXPECT_EQ(boxes.shown, std::vector<std::string>{kTodayListDoneMessage});
  // Written through OpenExcel: header and three rows.
  EXPECT_EQ(sheet.text(1, 1), "変光星名");
  EXPECT_EQ(sheet.text(3, 1), "late");
  EXPECT_EQ(sheet.text(3, 5), "30時");
  EXPECT_EQ(sheet.cell(5, 1), nullptr);
  // The main window keeps the last star and its (shifted) prediction.
  EXPECT_EQ(form.combo1ListIndex(), 4);
  EXPECT_EQ(form.txtInputHour, "0");
  EXPECT_EQ(form.txtInputMin, "0");
}

TEST_F(TodayListTest, RowTextsPaddingAndAltitude) {
  load({starAt("Dec", 2026, 12, 17, 23, 5), starAt("Oct", 2026, 10, 1, 10, 10)});
  for (const auto& [month, day, expected] : std::vector<std::tuple<const char*, const char*, TimeTexts>>{
           {"12", "17", {"2026年", "12月", "17日", "23時", "  5分"}},
           {"10", "1", {"2026年", "10月", "  1日", "10時", "10分"}}}) {
    setReference("2026", month, day);
    list.mnuExcelToday_Click();
    ASSERT_EQ(list.buffers.todayCount, 1);
    EXPECT_EQ(list.buffers.todayTime[0], expected);
    // The altitude of the star's own prediction, rounded down, with the degree sign.
    form.setCombo1ListIndex(std::string(month) == "12" ? 0 : 1);
    form.txtInputHour = "0";
    form.Command2_Click();
    EXPECT_EQ(list.buffers.todayKoudo[0], numberToText(std::floor(parseLenient(form.txtOutputKoudo))) + "°");
  }
}

TEST_F(TodayListTest, ReferenceMonthWithLeadingZeroListsNothing) {
  load({starAt("A", 2026, 3, 7, 21, 0)});
  setReference("2026", "03", "7");
  list.mnuExcelToday_Click();
  EXPECT_EQ(list.buffers.todayCount, 0);
  EXPECT_EQ(boxes.shown, std::vector<std::string>{kNoStarTodayMessage});
  EXPECT_TRUE(sheet.calls.empty());
}

TEST_F(TodayListTest, LateHoursCarryIntoThePreviousMonthAndYear) {
  struct Case {
    const char* name;
    int year, month, day, hour, minute;  // the extremum, local time
    const char* refYear;
    const char* refMonth;
    const char* refDay;
    TimeTexts expected;
  };
  const std::vector<Case> cases = {
      {"month", 2026, 3, 1, 3, 0, "2026", "2", "28", {"2026年", "  2月", "28日", "27時", "  0分"}},
      {"leap", 2024, 3, 1, 1, 0, "2024", "2", "29", {"2024年", "  2月", "29日", "25時", "  0分"}},
      {"thirty", 2026, 5, 1, 6, 59, "2026", "4", "30", {"2026年", "  4月", "30日", "30時", "59分"}},
      {"year", 2026, 1, 1, 5, 10, "2025", "12", "31", {"2025年", "12月", "31日", "29時", "10分"}},
      {"midnight", 2026, 7, 1, 0, 0, "2026", "6", "30", {"2026年", "  6月", "30日", "24時", "  0分"}},
  };
  std::vector<TestStar> stars;
  for (const Case& c : cases) stars.push_back(starAt(c.name, c.year, c.month, c.day, c.hour, c.minute));
  load(stars);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    setReference(c.refYear, c.refMonth, c.refDay);
    list.mnuExcelToday_Click();
    ASSERT_EQ(listedNames(), std::vector<std::string>{c.name});
    EXPECT_EQ(list.buffers.todayTime[0], c.expected);
  }
}

TEST_F(TodayListTest, AStarIsListedWithItsFirstExtremumOfTheNight) {
  // The first extremum after 00:00 falls in the morning, before the night; the
  // list steps on cycle by cycle to the first one at 07:00 or later.
  struct Case {
    TestStar star;
    bool listed;
    TimeTexts row;
  };
  const std::vector<Case> cases = {
      // 03:00 closes the night before; 15:00 and 03:00 tomorrow both fall tonight: 15:00 is listed.
      {star("twice", epochAtLocal(2026, 3, 7, 3, 0), "0.5"), true, {"2026年", "  3月", "  7日", "15時", "  0分"}},
      {star("minute before", epochAtLocal(2026, 3, 7, 6, 59), "0.3"),
       true,
       {"2026年", "  3月", "  7日", "14時", "11分"}},
      // 06:00 and then 03:36 tomorrow, written as hour 27 of today.
      {star("after midnight", epochAtLocal(2026, 3, 7, 6, 0), "0.9"),
       true,
       {"2026年", "  3月", "  7日", "27時", "36分"}},
      // 05:00 and then 09:48 tomorrow: no extremum tonight.
      {star("gone", epochAtLocal(2026, 3, 7, 5, 0), "1.2"), false, {}},
      // Every 14.4 minutes from 00:05: the 29th cycle is the first of the night.
      {star("quarter hour", epochAtLocal(2026, 3, 7, 0, 5), "0.01"),
       true,
       {"2026年", "  3月", "  7日", "  7時", "  2分"}},
      // Every 0.864 s from 00:05: 28819 cycles on, 07:00:00.6.
      {star("sub-second", epochAtLocal(2026, 3, 7, 0, 5), "0.00001"),
       true,
       {"2026年", "  3月", "  7日", "  7時", "  0分"}},
  };
  std::vector<TestStar> stars;
  std::vector<std::string> expectedNames;
  std::vector<TimeTexts> expectedRows;
  for (const Case& c : cases) {
    stars.push_back(c.star);
    if (!c.listed) continue;
    expectedNames.push_back(c.star.name);
    expectedRows.push_back(c.row);
  }
  load(stars);
  setReference("2026", "3", "7", "21", "30");
  list.mnuExcelToday_Click();
  ASSERT_EQ(listedNames(), expectedNames);
  for (std::size_t r = 0; r < expectedRows.size(); ++r) {
    SCOPED_TRACE(expectedNames[r]);
    EXPECT_EQ(list.buffers.todayTime[r], expectedRows[r]);
  }
  EXPECT_EQ(boxes.shown, std::vector<std::string>{kTodayListDoneMessage});
  // The window is left on the last star's listed cycle, the one the next-cycle
  // button reaches from the cycle before it.
  EXPECT_EQ(form.combo1Text(), "sub-second");
  EXPECT_EQ(form.txtOutputKaiki, "28819");
  const std::string listedJulianDay = form.lblJulKekka;
  form.txtOutputKaiki = "28818";
  ASSERT_TRUE(form.Command3_Click());
  EXPECT_EQ(form.lblJulKekka, listedJulianDay);
  EXPECT_EQ(form.txtOutputHour, "7");
}

TEST_F(TodayListTest, AVeryShortPeriodReachesTheNightWithoutSteppingEveryCycle) {
  // 2.9E11 cycles between 00:00 and 07:00: one step a cycle would never end.
  load({star("rapid", epochAtLocal(2026, 3, 7, 3, 0), "1E-12")});
  setReference("2026", "3", "7");
  list.mnuExcelToday_Click();
  ASSERT_EQ(listedNames(), std::vector<std::string>{"rapid"});
  EXPECT_EQ(list.buffers.todayTime[0], (TimeTexts{"2026年", "  3月", "  7日", "  7時", "  0分"}));
}

TEST_F(TodayListTest, SteppingThatDoesNotMoveOnGivesUp) {
  load({star("A", epochAtLocal(2026, 3, 7, 3, 0), "0.5")});
  setReference("2026", "3", "7");
  form.setCombo1ListIndex(0);
  ASSERT_TRUE(form.Command2_Click());
  ASSERT_EQ(form.txtOutputHour, "3");
  // A period of 0 after the prediction: the next cycle falls where this one did.
  form.txtSyuki = "0";
  EXPECT_FALSE(stepPastMorning(form));
  // Emptied elements: the step itself refuses.
  form.txtSyuki = "0.5";
  form.txtGanki.clear();
  EXPECT_FALSE(stepPastMorning(form));
  EXPECT_EQ(boxes.shown, std::vector<std::string>{kEnterElementsMessage});
}

TEST_F(TodayListTest, EveryQualifyingStarIsListedAlsoPastTwoHundredAndOne) {
  std::vector<TestStar> stars;
  for (int i = 0; i < 250; ++i) stars.push_back(starAt("S" + std::to_string(i), 2026, 3, 7, 8 + i % 20, i % 60));
  load(stars);
  setReference("2026", "3", "7");
  list.mnuExcelToday_Click();
  EXPECT_EQ(list.buffers.todayCount, 250);
  EXPECT_EQ(sheet.text(251, 1), "S249");
  EXPECT_EQ(sheet.text(251, 7).back(), static_cast<char>(0xB0));  // "°" ends the altitude
  EXPECT_EQ(sheet.cell(252, 1), nullptr);
  EXPECT_EQ(boxes.shown, std::vector<std::string>{kTodayListDoneMessage});
}

TEST_F(TodayListTest, DeclinedStarsAreSkippedAndEachMessageShownOncePerRun) {
  load({starAt("A", 2026, 3, 7, 20, 0), star("noEpoch", "", "1.5"), starAt("B", 2026, 3, 7, 21, 0),
        star("noPeriod", "2451545", ""), star("zero", "2451545", "0"), star("zero2", "2451545", "0"),
        starAt("C", 2026, 3, 7, 22, 0)});
  setReference("2026", "3", "7");
  for (int run = 0; run < 2; ++run) {
    boxes.shown.clear();
    list.mnuExcelToday_Click();
    EXPECT_EQ(listedNames(), (std::vector<std::string>{"A", "B", "C"}));
    EXPECT_EQ(boxes.shown,
              (std::vector<std::string>{kEnterElementsMessage, kZeroPeriodMessage, kTodayListDoneMessage}));
  }
  // Outside a run the gate lets every message through.
  gate.showMessage("x");
  gate.showMessage("x");
  EXPECT_EQ(std::count(boxes.shown.begin(), boxes.shown.end(), "x"), 2);
}

TEST_F(TodayListTest, ANightOutsideTheCalendarStopsTheRunWithOneMessage) {
  load({starAt("A", 2026, 3, 7, 20, 0), starAt("B", 2026, 3, 7, 21, 0)});
  setReference("3001", "3", "7");
  EXPECT_FALSE(list.mnuExcelToday_Click());
  EXPECT_EQ(list.buffers.todayCount, 0);
  EXPECT_TRUE(sheet.writes.empty());
  EXPECT_EQ(boxes.shown, std::vector<std::string>{kOutsideCalendarMessage});
}

TEST_F(TodayListTest, ClosingMessageAlsoWhenNoSpreadsheetCouldBeReached) {
  sheet.canStart = false;
  load({starAt("A", 2026, 3, 7, 20, 0)});
  setReference("2026", "3", "7");
  list.mnuExcelToday_Click();
  EXPECT_TRUE(sheet.writes.empty());
  EXPECT_EQ(boxes.shown, std::vector<std::string>{kTodayListDoneMessage});
}

TEST_F(TodayListTest, AFailedSaveIsReportedAndNotCalledComplete) {
  const auto blocker = dir.write("not-a-folder", "x");
  XlsxFileSettings settings;
  settings.documentsFolder = blocker / "Documents";
  XlsxFileComponent files(settings);
  TodayList toFiles(form, gate, SheetOutput{files, &files});
  load({starAt("A", 2026, 3, 7, 20, 0)});
  setReference("2026", "3", "7");
  toFiles.mnuExcelToday_Click();
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(boxes.shown[0].rfind("表計算ファイル「" + (blocker / "Documents" / "Tenmirel").string() + "/", 0), 0u)
      << boxes.shown[0];
  EXPECT_NE(boxes.shown[0].find("今日の変光星.xlsx」を保存できませんでした。保存先のフォルダ「"), std::string::npos)
      << boxes.shown[0];
  EXPECT_NE(boxes.shown[0].find("」を作れません（保存先のパスの途中にフォルダでないものがあります）。"),
            std::string::npos)
      << boxes.shown[0];
}

}  // namespace
}  // namespace tenmirel
