// The command line under attack: long blank runs, impossible dates, plainly
// wrong answers, catalogue text aimed at the terminal or a spreadsheet, odd
// things at the --xlsx path, and output that cannot be written.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "cli/cli.h"
#include "lists/list_fixture.h"
#include "lists/today_list.h"
#include "prediction/frm_yohou_model.h"
#include "support/cli_runner.h"

namespace tenmirel {
namespace {

using testing::CliRun;
using testing::epochAtLocal;
using testing::runCli;
using testing::star;

bool contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

const std::string kBlanks(40000, ' ');

TEST(HostileCommandLine, LongValuesAreRefusedWithoutRecursion) {
  struct Case {
    std::vector<std::string> args;
    const char* option;
  };
  const std::string padded = kBlanks + "2026-12-07" + kBlanks;
  const Case cases[] = {
      {{"predict", "--epoch", "2451545", "--period", "1", "--from", padded}, "--from"},
      {{"predict", "--epoch", "2451545", "--period", "1", "--from", "2026-12-07 18:00", "--ra", kBlanks + "5 30",
        "--dec", "+10 00"},
       "--ra"},
      {{"predict", "--epoch", "2451545", "--period", "1", "--from", "2026-12-07 18:00", "--ra", "5 30", "--dec",
        "+10" + kBlanks + "00"},
       "--dec"},
      {{"today", "--catalogue", "x.vsd", "--date", padded}, "--date"},
      {{"list", "--catalogue", "x.vsd", "--star", "A", "--from", "2026-12-07", "--hide-hours", "8" + kBlanks + "-9"},
       "--hide-hours"},
      {{"stars", std::string(5000, 'x')}, "引数が長すぎます"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.option);
    const CliRun r = runCli(c.args);
    EXPECT_EQ(r.status, 2);
    EXPECT_TRUE(contains(r.err, c.option)) << r.err;
    EXPECT_TRUE(contains(r.err, "長すぎます")) << r.err;
    EXPECT_EQ(r.out, "");
  }
  // Within the bound, blanks around the value are still allowed.
  const std::string someBlanks(100, ' ');
  EXPECT_EQ(runCli({"predict", "--epoch", "2451545", "--period", "1.5", "--from",
                    someBlanks + "2000-01-02 09:00" + someBlanks})
                .status,
            0);
}

TEST(HostileCommandLine, ImpossibleDatesAreRefusedNamingTheValue) {
  struct Case {
    std::vector<std::string> args;
    const char* named;  // "" when accepted
  };
  const std::vector<std::string> predict = {"predict", "--epoch", "2451545", "--period", "1.5", "--from"};
  auto with = [&](const std::string& from) {
    std::vector<std::string> args = predict;
    args.push_back(from);
    return args;
  };
  const Case cases[] = {
      {with("2026-02-30 10:00"), "2026年2月に30日はありません"},
      {with("2026-04-31 10:00"), "2026年4月に31日はありません"},
      {with("2023-02-29 10:00"), "2023年2月に29日はありません"},
      {with("2024-02-29 10:00"), ""},
      {with("2026-01-01 24:00"), "時「24」"},
      {with("2026-01-01 10:60"), "分「60」"},
      {with("2026-00-10 10:00"), "月「0」"},
      {with("2026-01-00 10:00"), "2026年1月に0日はありません"},
      {{"today", "--catalogue", "none.vsd", "--date", "2026-02-30"}, "2026年2月に30日はありません"},
      {{"list", "--catalogue", "none.vsd", "--star", "A", "--from", "2026-06-31"}, "2026年6月に31日はありません"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.args.back());
    const CliRun r = runCli(c.args);
    if (*c.named == '\0') {
      EXPECT_EQ(r.status, 0) << r.err;
    } else {
      EXPECT_EQ(r.status, 2);
      EXPECT_TRUE(contains(r.err, c.named)) << r.err;
      EXPECT_EQ(r.out, "");
    }
  }
}

TEST(HostileCommandLine, PlainlyWrongAnswersAreRefused) {
  struct Case {
    std::vector<std::string> args;
    const char* message;
  };
  const Case cases[] = {
      {{"predict", "--epoch", "2451545", "--period", "-1.5", "--from", "2000-01-02 09:00"}, kNegativePeriodMessage},
      {{"predict", "--epoch", "2451545", "--period", "1.5", "--from", "3001-01-02 09:00"}, kOutsideCalendarMessage},
      {{"predict", "--epoch", "2451545", "--period", "1.5", "--from", "9999-01-02 09:00"}, kOutsideCalendarMessage},
      {{"predict", "--epoch", "2451545", "--period", "1.5", "--from", "0-01-02 09:00"}, kOutsideCalendarMessage},
      {{"predict", "--epoch", "1e20", "--period", "1.5", "--from", "2026-01-02 09:00"}, kNotFiniteMessage},
      {{"predict", "--epoch", "2451545", "--period", "100000", "--from", "3000-12-01 09:00", "--cycles", "3"},
       kOutsideCalendarMessage},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.args[4] + " " + c.args[6]);
    const CliRun r = runCli(c.args);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, std::string(c.message) + "\n");
    EXPECT_FALSE(contains(r.out, "3000-12-31 23:59")) << r.out;
  }
}

class HostileCatalogue : public ::testing::Test {
 public:
  std::string write(const std::vector<testing::TestStar>& stars) {
    return dir.write("stars.vsd", testing::catalogueText(stars)).string();
  }
  testing::TempDir dir;
};

TEST_F(HostileCatalogue, ControlCharactersNeverReachTheTerminal) {
  testing::TestStar hostile = star("\x1b]0;owned\x07 ZZ Exa", epochAtLocal(2026, 12, 7, 21, 5), "1000");
  hostile.memo =
      "memo \x1b[2J\xc2\x9b"
      "31m";
  const std::string file = write({hostile});
  const std::vector<std::vector<std::string>> commands = {
      {"predict", "--catalogue", file, "--star", "0", "--from", "2026-12-07 18:00"},
      {"list", "--catalogue", file, "--star", "0", "--from", "2026-12-07", "--count", "1"},
      {"list", "--catalogue", file, "--star", "0", "--from", "2026-12-07", "--count", "1", "--csv"},
      {"today", "--catalogue", file, "--date", "2026-12-07"},
      {"today", "--catalogue", file, "--date", "2026-12-07", "--csv"},
      {"stars", file},
  };
  for (const auto& args : commands) {
    SCOPED_TRACE(args[0] + " " + args.back());
    const CliRun r = runCli(args);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_FALSE(contains(r.out, "\x1b")) << r.out;
    EXPECT_FALSE(contains(r.out, "\x07"));
    EXPECT_FALSE(contains(r.out, "\xc2\x9b"));
    EXPECT_TRUE(contains(r.out, "\xEF\xBF\xBD]0;owned\xEF\xBF\xBD ZZ Exa")) << r.out;
  }
}

TEST_F(HostileCatalogue, CsvCellsFromTheCatalogueStayText) {
  const std::string at = epochAtLocal(2026, 12, 7, 21, 5);
  const std::string file =
      write({star("=HYPERLINK(\"http://x\")", at, "1000"), star("+1", at, "1000"), star("-2", at, "1000"),
             star("@SUM(A1)", at, "1000"), star("\tTab", at, "1000"), star("Plain", at, "1000")});
  const CliRun today = runCli({"today", "--catalogue", file, "--date", "2026-12-07", "--csv"});
  ASSERT_EQ(today.status, 0) << today.err;
  for (const char* line : {"\n\"'=HYPERLINK(\"\"http://x\"\")\",", "\n'+1,", "\n'-2,", "\n'@SUM(A1),",
                           "\n'\xEF\xBF\xBDTab,", "\nPlain,"}) {
    EXPECT_TRUE(contains(today.out, line)) << line << "\n" << today.out;
  }
  // Computed cells are not from the catalogue: a negative altitude keeps its sign.
  testing::TestStar south = star("-Low", at, "1000");
  south.deltaSign = "False";
  south.deltaDeg = "80";
  const CliRun list =
      runCli({"list", "--catalogue", write({south}), "--star", "0", "--from", "2026-12-07", "--count", "1", "--csv"});
  ASSERT_EQ(list.status, 0) << list.err;
  EXPECT_TRUE(contains(list.out, "\n'-Low,")) << list.out;
  EXPECT_TRUE(contains(list.out, ",-")) << list.out;  // "-44°"-like altitude, as computed
  EXPECT_FALSE(contains(list.out, ",'-4")) << list.out;
}

TEST_F(HostileCatalogue, TheCatalogueIsReadOnceSoAPipeServesEveryCommand) {
  const std::string bytes = testing::catalogueText({star("ZZ Exa", epochAtLocal(2026, 12, 7, 21, 5), "1000")});
  const auto pipe = dir.path() / "stars.fifo";
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
  const std::vector<std::vector<std::string>> commands = {
      {"predict", "--catalogue", pipe.string(), "--star", "0", "--from", "2026-12-07 18:00"},
      {"list", "--catalogue", pipe.string(), "--star", "0", "--from", "2026-12-07", "--count", "1"},
      {"today", "--catalogue", pipe.string(), "--date", "2026-12-07"},
  };
  for (const auto& args : commands) {
    SCOPED_TRACE(args[0]);
    std::thread writer([&] {
      std::ofstream out(pipe, std::ios::binary);
      out << bytes;
    });
    const CliRun r = runCli(args);
    writer.join();
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(contains(r.out, "ZZ Exa") || contains(r.out, "2026-12-07 21:05")) << r.out;
  }
  const CliRun device = runCli({"today", "--catalogue", "/dev/zero"});
  EXPECT_EQ(device.status, 1);
  EXPECT_TRUE(contains(device.err, "デバイス")) << device.err;
}

TEST_F(HostileCatalogue, XlsxPathsThatAreNotRegularFilesAreRefused) {
  const std::string file = write({star("ZZ Exa", epochAtLocal(2026, 12, 7, 21, 5), "1000")});
  const auto pipe = dir.path() / "out.fifo";
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
  const auto folder = dir.path() / "folder.xlsx";
  std::filesystem::create_directory(folder);
  struct Case {
    std::filesystem::path path;
    const char* reason;
  };
  for (const Case& c : {Case{pipe, "ファイルでないもの（デバイスやパイプ）があり、置き換えられません。"},
                        Case{folder, "同じ名前のフォルダがあります。"}}) {
    SCOPED_TRACE(c.path.filename().string());
    const CliRun r = runCli({"today", "--catalogue", file, "--date", "2026-12-07", "--xlsx", c.path.string()});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(contains(r.err, c.reason)) << r.err;
    EXPECT_FALSE(contains(r.err, "システムのエラー番号"));
  }
  struct stat status {};
  ASSERT_EQ(::stat(pipe.c_str(), &status), 0);
  EXPECT_TRUE(S_ISFIFO(status.st_mode));
  EXPECT_TRUE(std::filesystem::is_directory(folder));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 3);  // no temporary file left
}

TEST_F(HostileCatalogue, XlsxFilesGetTheUsersModeAndAreNotOpenedUnasked) {
  const std::string file = write({star("ZZ Exa", epochAtLocal(2026, 12, 7, 21, 5), "1000")});
  const mode_t savedMask = ::umask(022);
  const auto fresh = dir.path() / "fresh.xlsx";
  const CliRun created = runCli({"today", "--catalogue", file, "--date", "2026-12-07", "--xlsx", fresh.string()});
  const auto kept = dir.path() / "kept.xlsx";
  dir.write("kept.xlsx", "old");
  ::chmod(kept.c_str(), 0640);
  const CliRun replaced = runCli({"today", "--catalogue", file, "--date", "2026-12-07", "--xlsx", kept.string()});
  ::umask(savedMask);
  for (const CliRun* r : {&created, &replaced}) {
    EXPECT_EQ(r->status, 0) << r->err;
    EXPECT_FALSE(contains(r->err, "アプリケーションが見つかりませんでした")) << r->err;
  }
  struct stat status {};
  ASSERT_EQ(::stat(fresh.c_str(), &status), 0);
  EXPECT_EQ(status.st_mode & 0777, 0644u);
  ASSERT_EQ(::stat(kept.c_str(), &status), 0);
  EXPECT_EQ(status.st_mode & 0777, 0640u);
  EXPECT_GT(status.st_size, 3);
}

TEST_F(HostileCatalogue, ACellTheWriterRefusesFailsTheFile) {
  const std::string file = write({star(std::string(40000, 'N'), epochAtLocal(2026, 12, 7, 21, 5), "1000")});
  const auto target = dir.path() / "today.xlsx";
  const CliRun r = runCli({"today", "--catalogue", file, "--date", "2026-12-07", "--xlsx", target.string()});
  EXPECT_EQ(r.status, 1);
  EXPECT_TRUE(contains(r.err, "32767")) << r.err;
  EXPECT_FALSE(contains(r.err, kTodayListDoneMessage));
  EXPECT_FALSE(contains(r.err, "[ERROR]"));
  EXPECT_EQ(r.out, "");
  EXPECT_FALSE(std::filesystem::exists(target));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);  // the catalogue alone
}

// A stream whose every write fails, as on a full disk or a closed pipe.
class FailingBuffer : public std::streambuf {
 protected:
  int_type overflow(int_type) override { return traits_type::eof(); }
  std::streamsize xsputn(const char*, std::streamsize) override { return 0; }
};

TEST(HostileOutput, AnOutputThatFailsGivesAFailingStatus) {
  testing::TempDir dir;
  const std::string file =
      dir.write("stars.vsd", testing::catalogueText({star("ZZ Exa", epochAtLocal(2026, 12, 7, 21, 5), "1000")}))
          .string();
  const std::vector<std::vector<std::string>> commands = {
      {"predict", "--epoch", "2451545", "--period", "1.5", "--from", "2000-01-02 09:00"},
      {"predict", "--epoch", "2451545", "--period", "1.5", "--from", "2000-01-02 09:00", "--format", "json"},
      {"stars", file},
      {"list", "--catalogue", file, "--star", "0", "--from", "2026-12-07", "--csv"},
      {"today", "--catalogue", file, "--date", "2026-12-07", "--csv"},
      {"predict", "--help"},
  };
  for (const auto& args : commands) {
    SCOPED_TRACE(args[0] + " " + args.back());
    FailingBuffer failing;
    std::ostream out(&failing);
    std::ostringstream err;
    EXPECT_EQ(cli::run(args, out, err), 1);
    EXPECT_TRUE(contains(err.str(), "結果を出力できませんでした")) << err.str();
  }
}

}  // namespace
}  // namespace tenmirel
