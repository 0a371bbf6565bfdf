// tenmirel-cli list and today, run in-process.
#include <gtest/gtest.h>

#include <sstream>

#include "lists/frm_excel_model.h"
#include "lists/list_fixture.h"
#include "lists/today_list.h"
#include "support/cli_runner.h"

namespace tenmirel {
namespace {

using testing::epochAtLocal;
using testing::star;

using testing::CliRun;

CliRun run(const std::vector<std::string>& args) { return testing::runCli(args); }

class ListCommands : public ::testing::Test {
 public:
  ListCommands() {
    catalogue = dir.write("stars.vsd", testing::catalogueText({
                                           star("ZZ Exa", epochAtLocal(2026, 12, 7, 21, 5), "1000"),
                                           star("YY Sam", epochAtLocal(2026, 12, 8, 3, 0), "2.25"),
                                           star("XX Ori", epochAtLocal(2026, 12, 8, 8, 0), "1000"),
                                       }))
                    .string();
  }
  testing::TempDir dir;
  std::string catalogue;
};

TEST_F(ListCommands, CsvForSpreadsheetsStartsWithAByteOrderMark) {
  const CliRun plain = run({"today", "--catalogue", catalogue, "--date", "2026-12-07", "--csv"});
  const CliRun marked = run({"today", "--catalogue", catalogue, "--date", "2026-12-07", "--csv", "--bom"});
  EXPECT_EQ(marked.status, 0);
  EXPECT_EQ(marked.out, "\xEF\xBB\xBF" + plain.out);
  const CliRun list = run(
      {"list", "--catalogue", catalogue, "--star", "ZZ Exa", "--from", "2026-12-07", "--count", "2", "--csv", "--bom"});
  EXPECT_EQ(list.out.rfind("\xEF\xBB\xBF", 0), 0u);
  const CliRun withoutCsv = run({"today", "--catalogue", catalogue, "--date", "2026-12-07", "--bom"});
  EXPECT_EQ(withoutCsv.status, 2);
}

TEST_F(ListCommands, TodayAsCsvGivesTheSheetCellForCell) {
  const CliRun r = run({"today", "--catalogue", catalogue, "--date", "2026-12-07", "--csv"});
  EXPECT_EQ(r.status, 0);
  const std::string prefix =
      "変光星名,年,月,日,時,分,高度\n"
      "ZZ Exa,2026年,12月,  7日,21時,  5分,";
  ASSERT_EQ(r.out.substr(0, prefix.size()), prefix);
  EXPECT_NE(r.out.find("\nYY Sam,2026年,12月,  7日,27時,  0分,"), std::string::npos);
  EXPECT_EQ(r.out.find("XX Ori"), std::string::npos);
  EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 3);
  EXPECT_EQ(r.err, std::string(kTodayListDoneMessage) + "\n");
}

TEST_F(ListCommands, TodayAsAlignedText) {
  const CliRun r = run({"today", "--catalogue", catalogue, "--date", "2026-12-7"});
  EXPECT_EQ(r.status, 0);
  std::istringstream lines(r.out);
  std::string header, first, second;
  std::getline(lines, header);
  std::getline(lines, first);
  std::getline(lines, second);
  EXPECT_EQ(header.rfind("変光星名", 0), 0u);
  EXPECT_EQ(first.rfind("ZZ Exa", 0), 0u);
  EXPECT_NE(second.find("27時"), std::string::npos);
  // Right-aligned time parts: both hour columns end at the same place.
  EXPECT_EQ(first.find("21時"), second.find("27時"));
}

TEST_F(ListCommands, TodayWithoutQualifyingStarsSaysSo) {
  const std::string longPeriods =
      dir.write("long.vsd", testing::catalogueText({star("ZZ Exa", epochAtLocal(2026, 12, 7, 21, 5), "1000")}))
          .string();
  const CliRun r = run({"today", "--catalogue", longPeriods, "--date", "2027-06-01"});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err, std::string(kNoStarTodayMessage) + "\n");
}

TEST_F(ListCommands, TodayToAnXlsxFile) {
  const std::string path = (dir.path() / "today.xlsx").string();
  const CliRun r = run({"today", "--catalogue", catalogue, "--date", "2026-12-07", "--xlsx", path});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "表計算ファイル「" + path + "」に書き出しました。\n");
  EXPECT_TRUE(std::filesystem::exists(path));

  const std::string nowhere = (dir.path() / "missing" / "today.xlsx").string();
  const CliRun failed = run({"today", "--catalogue", catalogue, "--date", "2026-12-07", "--xlsx", nowhere});
  EXPECT_EQ(failed.status, 1);
  EXPECT_EQ(failed.out, "");
  EXPECT_NE(failed.err.find("表計算ファイル「" + nowhere + "」を保存できませんでした。保存先のフォルダがありません。"),
            std::string::npos);
  EXPECT_EQ(failed.err.find(kTodayListDoneMessage), std::string::npos);
}

TEST_F(ListCommands, ListAsCsv) {
  const CliRun r = run(
      {"list", "--catalogue", catalogue, "--star", "YY Sam", "--from", "2026-12-07 12:00", "--count", "3", "--csv"});
  EXPECT_EQ(r.status, 0) << r.err;
  std::istringstream lines(r.out);
  std::vector<std::string> rows;
  for (std::string line; std::getline(lines, line);) rows.push_back(line);
  ASSERT_EQ(rows.size(), 7u);
  EXPECT_EQ(rows[0], "変光星名,元期,周期,,,,,");
  EXPECT_EQ(rows[1].rfind("YY Sam,", 0), 0u);
  EXPECT_EQ(rows[2], ",,,,,,,");
  EXPECT_EQ(rows[3], "年,月,日,時,分,高度,回帰,ﾕﾘｳｽ日");
  EXPECT_EQ(rows[4].rfind("2026年,12月,  8日,  3時,  0分,", 0), 0u) << rows[4];
  EXPECT_NE(rows[4].find(",第0回帰,"), std::string::npos);
  EXPECT_NE(rows[6].find(",第2回帰,"), std::string::npos);
  EXPECT_EQ(r.err, "");
}

TEST_F(ListCommands, ListRunsTheDialogsRulesAndMessages) {
  struct Case {
    std::vector<std::string> extra;
    int status;
    std::string message;  // on the error stream
    int dataRows;         // -1 when nothing is printed
  };
  const std::vector<Case> cases = {
      {{"--count", "150"}, 0, kCountCapMessage, 100},
      {{"--hide-hours", "20-8"}, 1, kBadHourRangeMessage, -1},
      {{"--min-altitude", "90"}, 1, kTooManyPassesMessage, -1},
      {{"--count", "4", "--hide-hours", "0-12"}, 0, "", 4},
  };
  for (const Case& c : cases) {
    std::vector<std::string> args = {"list", "--catalogue", catalogue, "--star", "1", "--from", "2026-12-07", "--csv"};
    args.insert(args.end(), c.extra.begin(), c.extra.end());
    const CliRun r = run(args);
    SCOPED_TRACE(c.extra.front() + " " + c.extra[1]);
    EXPECT_EQ(r.status, c.status);
    EXPECT_EQ(r.err, c.message.empty() ? "" : c.message + "\n");
    const auto lines = std::count(r.out.begin(), r.out.end(), '\n');
    EXPECT_EQ(lines, c.dataRows < 0 ? 0 : 4 + c.dataRows);
  }
}

TEST_F(ListCommands, ListAsAlignedText) {
  const CliRun r = run({"list", "--catalogue", catalogue, "--star", "ZZ Exa", "--from", "2026-12-07", "--count", "2"});
  EXPECT_EQ(r.status, 0);
  std::istringstream lines(r.out);
  std::string block, header, row;
  std::getline(lines, block);
  std::getline(lines, header);
  std::getline(lines, row);
  EXPECT_EQ(block.rfind("変光星名  ZZ Exa  元期 ", 0), 0u) << block;
  EXPECT_NE(header.find("ﾕﾘｳｽ日"), std::string::npos);
  EXPECT_NE(row.find("第0回帰"), std::string::npos);
}

TEST_F(ListCommands, MistakesGetJapaneseErrorsAndANonZeroStatus) {
  struct Case {
    std::vector<std::string> args;
    int status;
    std::string errorPart;
  };
  const std::string missing = (dir.path() / "none.vsd").string();
  const std::vector<Case> cases = {
      {{"list", "--star", "A", "--from", "2026-12-07"}, 2, "--catalogue を指定してください"},
      {{"list", "--catalogue", catalogue, "--star", "A", "--from", "tomorrow"}, 2, "tomorrow"},
      {{"list", "--catalogue", catalogue, "--star", "ZZ Exa", "--from", "2026-12-07", "--count", "0"}, 2, "--count"},
      {{"list", "--catalogue", catalogue, "--star", "ZZ Exa", "--from", "2026-12-07", "--hide-hours", "8"},
       2,
       "--hide-hours"},
      {{"list", "--catalogue", catalogue, "--star", "ZZ Exa", "--from", "2026-12-07", "--min-altitude", "high"},
       2,
       "数ではありません"},
      {{"list", "--catalogue", catalogue, "--star", "ZZ Exa", "--from", "2026-12-07", "--csv", "--xlsx", "a.xlsx"},
       2,
       "同時に指定できません"},
      {{"list", "--catalogue", catalogue, "--star", "Nobody", "--from", "2026-12-07"}, 1, "がカタログにありません"},
      {{"list", "--catalogue", missing, "--star", "A", "--from", "2026-12-07"}, 1, missing},
      {{"today"}, 2, "--catalogue を指定してください"},
      {{"today", "--catalogue", catalogue, "--date", "2026-12-07 10:00"}, 2, "YYYY-MM-DD"},
      {{"today", "--catalogue", missing}, 1, missing},
      {{"today", "--catalogue", catalogue, "extra"}, 2, "余分な引数"},
  };
  for (const Case& c : cases) {
    const CliRun r = run(c.args);
    SCOPED_TRACE(c.args.back());
    EXPECT_EQ(r.status, c.status);
    EXPECT_NE(r.err.find(c.errorPart), std::string::npos) << r.err;
    EXPECT_EQ(r.out, "");
  }
}

TEST(ListCommandsHelp, BothCommandsExplainThemselves) {
  for (const char* command : {"list", "today"}) {
    const CliRun r = run({command, "--help"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out.rfind(std::string("使い方: tenmirel-cli ") + command, 0), 0u);
    EXPECT_NE(r.out.find("--xlsx PATH"), std::string::npos);
    EXPECT_NE(r.out.find("--csv"), std::string::npos);
  }
}

}  // namespace
}  // namespace tenmirel
