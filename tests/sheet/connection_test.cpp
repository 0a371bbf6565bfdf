// The connection sequence of both openers, and the two sheet layouts.
#include <gtest/gtest.h>

#include "sheet/recording_component.h"
#include "sheet/sheet_writers.h"

namespace tenmirel {
namespace {

using testing::RecordingComponent;

TodayBuffers twoTodayRows() {
  TodayBuffers buffers;
  buffers.todayCount = 2;
  buffers.todayName[0] = "ZZ Exa";
  buffers.todayTime[0] = TimeTexts{"2026年", "  3月", "  7日", "21時", "  5分"};
  buffers.todayKoudo[0] = "35°";
  buffers.todayName[1] = "YY Sam";
  buffers.todayTime[1] = TimeTexts{"2026年", "12月", "  7日", "30時", "45分"};
  buffers.todayKoudo[1] = "-1°";
  return buffers;
}

// The star block as the main window gives it.
const ListStar kStar{"ZZ Exa", "2451545.1234", "0.7654321"};

FixedCountBuffers twoFixedRows() {
  FixedCountBuffers buffers;
  buffers.listCount = 2;
  buffers.listTime[0] = TimeTexts{"2026年", "  3月", "  7日", "  0時", "  9分"};
  buffers.listKoudo[0] = "45°";
  buffers.listKaiki[0] = "第1234回帰";
  buffers.listJul[0] = 2461106.88125;
  buffers.listTime[1] = TimeTexts{"2026年", "12月", "17日", "12時", "59分"};
  buffers.listKoudo[1] = "0°";
  buffers.listKaiki[1] = "第1235回帰";
  buffers.listJul[1] = 2461392.16597222;
  return buffers;
}

struct Landing {
  const char* name;
  bool running;
  bool runningVisible;
  bool runningHasWorkbook;
  bool canStart;
  bool newInstanceHasWorkbook;
  std::vector<std::string> expectedCalls;
  int expectedSheet;  // 0: nothing written
  bool expectedVisible;
  int expectedRunningSheets;
  int expectedWorkbooksAdded;
};

const std::vector<Landing>& landings() {
  static const std::vector<Landing> cases = {
      {"RunningWithWorkbookGetsNewSheet",
       true,
       true,
       true,
       true,
       false,
       {"attach Excel.Application", "activeWorkbook 1", "addSheet 10", "release 20", "release 10", "release 1"},
       RecordingComponent::kAddedSheet,
       true,
       2,
       0},
      {"RunningWithoutWorkbookGetsNewWorkbook",
       true,
       true,
       false,
       true,
       false,
       {"attach Excel.Application", "activeWorkbook 1", "addWorkbook 1", "activeSheet 12", "release 22", "release 12",
        "release 1"},
       RecordingComponent::kAddedWorkbookSheet,
       true,
       1,
       1},
      {"HiddenRunningInstanceStaysHidden",
       true,
       false,
       true,
       true,
       false,
       {"attach Excel.Application", "activeWorkbook 1", "addSheet 10", "release 20", "release 10", "release 1"},
       RecordingComponent::kAddedSheet,
       false,
       2,
       0},
      {"NoInstanceStartsVisibleOneWithNewWorkbook",
       false,
       true,
       false,
       true,
       false,
       {"attach Excel.Application", "create Excel.Application", "makeVisible 2", "activeWorkbook 2", "addWorkbook 2",
        "activeSheet 12", "release 22", "release 12", "release 2"},
       RecordingComponent::kAddedWorkbookSheet,
       true,
       1,
       1},
      // The failed attach stays in the indicator, so a workbook is added even
      // when the new instance came with one.
      {"NoInstanceAlwaysAddsWorkbook",
       false,
       true,
       false,
       true,
       true,
       {"attach Excel.Application", "create Excel.Application", "makeVisible 2", "activeWorkbook 2", "addSheet 11",
        "addWorkbook 2", "activeSheet 12", "release 22", "release 12", "release 2"},
       RecordingComponent::kAddedWorkbookSheet,
       true,
       1,
       1},
      {"ComponentMissingWritesNothing",
       false,
       true,
       false,
       false,
       false,
       {"attach Excel.Application", "create Excel.Application"},
       0,
       false,
       1,
       0},
  };
  return cases;
}

class WhereTheListLands : public ::testing::TestWithParam<std::tuple<Landing, bool>> {};

TEST_P(WhereTheListLands, SequenceAndTarget) {
  const auto& [landing, todayList] = GetParam();
  RecordingComponent component;
  component.instanceRunning = landing.running;
  component.runningInstanceVisible = landing.runningVisible;
  component.runningHasWorkbook = landing.runningHasWorkbook;
  component.canStart = landing.canStart;
  component.newInstanceHasWorkbook = landing.newInstanceHasWorkbook;
  if (todayList) {
    const TodayBuffers buffers = twoTodayRows();
    std::int16_t count = buffers.todayCount;
    OpenExcel(component, count, buffers);
  } else {
    ExcelOpen(component, twoFixedRows(), kStar);
  }
  EXPECT_EQ(component.calls, landing.expectedCalls);
  EXPECT_EQ(component.visible, landing.expectedVisible);
  EXPECT_EQ(component.sheetsInRunningWorkbook, landing.expectedRunningSheets);
  EXPECT_EQ(component.workbooksAdded, landing.expectedWorkbooksAdded);
  if (landing.expectedSheet == 0) {
    EXPECT_TRUE(component.writes.empty());
  } else {
    ASSERT_EQ(component.writes.size(), todayList ? 21u : 30u);
    for (const auto& cell : component.writes) EXPECT_EQ(cell.sheet, landing.expectedSheet);
  }
}

INSTANTIATE_TEST_SUITE_P(BothOpeners, WhereTheListLands,
                         ::testing::Combine(::testing::ValuesIn(landings()), ::testing::Bool()), [](const auto& info) {
                           return std::string(std::get<0>(info.param).name) +
                                  (std::get<1>(info.param) ? "_Today" : "_FixedCount");
                         });

TEST(WriteHeader, WritesHeaderThenEachRowNameAltitudeThenTimeParts) {
  RecordingComponent component;
  const TodayBuffers buffers = twoTodayRows();
  std::int16_t count = buffers.todayCount;
  OpenExcel(component, count, buffers);
  const std::vector<std::string> order = {"A1", "B1", "C1", "D1", "E1", "F1", "G1", "A2", "G2", "B2", "C2",
                                          "D2", "E2", "F2", "A3", "G3", "B3", "C3", "D3", "E3", "F3"};
  EXPECT_EQ(component.writeOrder(), order);
  const std::vector<std::vector<std::string>> expected = {
      {"変光星名", "年", "月", "日", "時", "分", "高度"},
      {"ZZ Exa", "2026年", "  3月", "  7日", "21時", "  5分", "35°"},
      {"YY Sam", "2026年", "12月", "  7日", "30時", "45分", "-1°"},
  };
  for (int row = 1; row <= 3; ++row) {
    for (int column = 1; column <= 7; ++column) {
      EXPECT_EQ(component.text(row, column), expected[row - 1][column - 1]) << row << "," << column;
    }
  }
}

TEST(WriteHeader, RowCountOfZeroOrLessWritesTheHeaderOnly) {
  for (std::int16_t count : {0, -1, -32768}) {
    RecordingComponent component;
    OpenExcel(component, count, twoTodayRows());
    EXPECT_EQ(component.writes.size(), 7u) << count;
  }
}

TEST(WriteHeader, StopsAtTheFirstRefusedCellAndStillReleases) {
  RecordingComponent component;
  component.refuseCellNumber = 9;  // G2, the second cell of the first row
  const TodayBuffers buffers = twoTodayRows();
  std::int16_t count = 2;
  OpenExcel(component, count, buffers);
  EXPECT_EQ(component.writeOrder(), (std::vector<std::string>{"A1", "B1", "C1", "D1", "E1", "F1", "G1", "A2"}));
  EXPECT_EQ(component.calls.back(), "release 2");
}

TEST(WriteHeader, ARowCountBeyondTheBuffersStopsAtTheFirstMissingRow) {
  RecordingComponent component;
  TodayBuffers buffers;  // 201 rows
  std::int16_t count = 250;
  OpenExcel(component, count, buffers);
  EXPECT_EQ(component.writes.size(), 7u + 201u * 7u);
  EXPECT_NE(component.cell(202, 6), nullptr);
  EXPECT_EQ(component.cell(203, 1), nullptr);
}

TEST(ExcelHeader, WritesStarBlockTitlesAndRowsInOrderWithTheJulianDayAsNumber) {
  RecordingComponent component;
  ExcelOpen(component, twoFixedRows(), kStar);
  const std::vector<std::string> order = {"A1", "B1", "C1", "A2", "B2", "C2", "A4", "B4", "C4", "D4",
                                          "E4", "F4", "G4", "H4", "F5", "G5", "H5", "A5", "B5", "C5",
                                          "D5", "E5", "F6", "G6", "H6", "A6", "B6", "C6", "D6", "E6"};
  EXPECT_EQ(component.writeOrder(), order);
  const std::vector<std::vector<std::string>> expected = {
      {"変光星名", "元期", "周期", "<empty>", "<empty>", "<empty>", "<empty>", "<empty>"},
      {"ZZ Exa", "2451545.1234", "0.7654321", "<empty>", "<empty>", "<empty>", "<empty>", "<empty>"},
      {"<empty>", "<empty>", "<empty>", "<empty>", "<empty>", "<empty>", "<empty>", "<empty>"},
      {"年", "月", "日", "時", "分", "高度", "回帰", "ﾕﾘｳｽ日"},
      {"2026年", "  3月", "  7日", "  0時", "  9分", "45°", "第1234回帰", "#2461106.88125"},
      {"2026年", "12月", "17日", "12時", "59分", "0°", "第1235回帰", "#2461392.16597222"},
  };
  for (int row = 1; row <= 6; ++row) {
    for (int column = 1; column <= 8; ++column) {
      EXPECT_EQ(component.text(row, column), expected[row - 1][column - 1]) << row << "," << column;
    }
  }
}

TEST(ExcelHeader, ListCountRoundsHalfToEvenToSixteenBits) {
  struct Case {
    double listCount;
    std::size_t dataRows;
  };
  for (const Case& c : {Case{0, 0}, Case{-3, 0}, Case{2.5, 2}, Case{1.5, 2}, Case{3.5, 4}, Case{2.4999, 2},
                        Case{100, 100}, Case{-40000, 0}, Case{40000, 0}}) {
    RecordingComponent component;
    FixedCountBuffers buffers;
    buffers.listCount = c.listCount;
    ExcelOpen(component, buffers, kStar);
    // Rows 1, 2 and 4 always; then eight cells a row. A count beyond 16 bits
    // stops the writer before the first row.
    const std::size_t headerCells = 14;
    EXPECT_EQ(component.writes.size(), headerCells + c.dataRows * 8) << c.listCount;
  }
}

TEST(ExcelHeader, RowsBeyondTheBuffersStopTheWriter) {
  RecordingComponent component;
  FixedCountBuffers buffers;
  buffers.listCount = 250;
  ExcelOpen(component, buffers, kStar);
  EXPECT_NE(component.cell(205, 5), nullptr);  // buffer row 200
  EXPECT_EQ(component.cell(206, 6), nullptr);
  EXPECT_EQ(component.calls.back(), "release 2");
}

}  // namespace
}  // namespace tenmirel
