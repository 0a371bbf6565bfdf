// tenmirel-cli as a process: output to a full disk or a closed stream, the
// catalogue from standard input, and .xlsx files on full file systems (in a
// private mount namespace with small tmpfs mounts, where the machine allows one).
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include "sheet/workbook_check.h"

namespace tenmirel {
namespace {

namespace fs = std::filesystem;

const std::string kProgram = TENMIREL_CLI_PROGRAM;
const std::string kSample = std::string(TENMIREL_SOURCE_DIR) + "/data/sample.vsd";

struct Finished {
  int status;
  std::string out;
  std::string err;
};

std::string slurp(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// A folder beside the test binary, not under /tmp (which some tests cover with a full tmpfs).
class WorkFolder {
 public:
  WorkFolder() {
    std::random_device seed;
    path_ = fs::current_path() / ("process-test-" + std::to_string(seed()));
    fs::create_directories(path_);
  }
  ~WorkFolder() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
  }
  const fs::path& path() const { return path_; }

 private:
  fs::path path_;
};

// Runs a shell script; $CLI, $SAMPLE and $WORK are set for it.
Finished shell(const WorkFolder& work, const std::string& script) {
  const fs::path out = work.path() / "stdout.txt", err = work.path() / "stderr.txt";
  const std::string command = "CLI='" + kProgram + "' SAMPLE='" + kSample + "' WORK='" + work.path().string() +
                              "' sh -c '" + script + "' >'" + out.string() + "' 2>'" + err.string() + "'";
  const int raw = std::system(command.c_str());
  return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, slurp(out), slurp(err)};
}

bool privateMountsAllowed() {
  return std::system("unshare -rm sh -c 'mount -t tmpfs -o size=64k tmpfs /mnt' >/dev/null 2>&1") == 0;
}

bool contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

TEST(CliProcess, OutputThatCannotBeWrittenFailsTheCommand) {
  WorkFolder work;
  const char* scripts[] = {
      "$CLI predict --epoch 2451545 --period 1.5 --from \"2000-01-02 09:00\" --cycles 50 >/dev/full",
      "$CLI stars $SAMPLE >/dev/full",
      "$CLI predict --epoch 2451545 --period 1.5 --from \"2000-01-02 09:00\" >&-",
      "$CLI today --catalogue $SAMPLE --date 2026-12-07 --csv >&-",
  };
  for (const char* script : scripts) {
    SCOPED_TRACE(script);
    const Finished run = shell(work, script);
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(contains(run.err, "結果を出力できませんでした")) << run.err;
  }
  EXPECT_TRUE(contains(shell(work, scripts[0]).err, "ディスクの空き容量が足りません"));
}

TEST(CliProcess, TheCatalogueComesFromStandardInput) {
  WorkFolder work;
  const Finished dash = shell(work, "cat $SAMPLE | $CLI stars -");
  EXPECT_EQ(dash.status, 0) << dash.err;
  EXPECT_TRUE(contains(dash.out, ": 39件"));
  for (const char* script :
       {"cat $SAMPLE | $CLI predict --catalogue - --star Algol --from \"2026-12-07 18:00\"",
        "cat $SAMPLE | $CLI predict --catalogue /dev/stdin --star Algol --from \"2026-12-07 18:00\"",
        "cat $SAMPLE | $CLI today --catalogue - --date 2026-12-07"}) {
    SCOPED_TRACE(script);
    const Finished run = shell(work, script);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(contains(run.out, "2026")) << run.out;
  }
}

// A build that lives under /tmp would vanish under the small file system mounted there.
bool buildUnderTemporaryFolder(const fs::path& work) {
  auto underTmp = [](const fs::path& path) { return path.lexically_normal().string().rfind("/tmp/", 0) == 0; };
  return underTmp(TENMIREL_CLI_PROGRAM) || underTmp(TENMIREL_SOURCE_DIR) || underTmp(work);
}

TEST(CliProcess, AFullTemporaryFolderDoesNotBreakTheWorkbook) {
  if (!privateMountsAllowed()) GTEST_SKIP() << "no private mount namespace on this machine";
  WorkFolder work;
  if (buildUnderTemporaryFolder(work.path())) GTEST_SKIP() << "the build is under /tmp, which the test fills";
  const Finished run = shell(work,
                             "unshare -rm sh -c \"mount -t tmpfs -o size=64k tmpfs /tmp && "
                             "dd if=/dev/zero of=/tmp/fill bs=4k 2>/dev/null; "
                             "exec \\$CLI today --catalogue \\$SAMPLE --date 2026-12-07 --xlsx \\$WORK/OLD.xlsx\"");
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(checkWorkbookFile(work.path() / "OLD.xlsx"), "");
}

TEST(CliProcess, AFullTargetFolderKeepsTheOldFileAndLeavesNothingBehind) {
  if (!privateMountsAllowed()) GTEST_SKIP() << "no private mount namespace on this machine";
  WorkFolder work;
  fs::create_directory(work.path() / "full");
  // Everything is checked inside the namespace, where the small file system exists.
  const Finished run =
      shell(work,
            "unshare -rm sh -c \"mount -t tmpfs -o size=64k tmpfs \\$WORK/full && cd \\$WORK/full && "
            "printf old-contents >OLD.xlsx && dd if=/dev/zero of=fill bs=4k 2>/dev/null; "
            "\\$CLI today --catalogue \\$SAMPLE --date 2026-12-07 --xlsx OLD.xlsx; echo status=\\$?; "
            "\\$CLI list --catalogue \\$SAMPLE --star Algol --from 2026-12-07 --count 100 --csv >list.csv; "
            "echo csv=\\$?; rm -f list.csv; ls -A; cat OLD.xlsx\"");
  EXPECT_TRUE(contains(run.out, "status=1\n")) << run.out << run.err;
  EXPECT_TRUE(contains(run.out, "csv=1\n")) << run.out;
  EXPECT_TRUE(contains(run.out, "\nOLD.xlsx\nfill\nold-contents")) << run.out;  // no temporary file left
  EXPECT_TRUE(contains(run.err, "を保存できませんでした")) << run.err;
  EXPECT_FALSE(contains(run.err, "[ERROR]")) << run.err;
  EXPECT_FALSE(contains(run.out, "書き出しました"));
}

TEST(CliProcess, NightReadsItsSitesFromTheConfigFolderAndFailsOnLostOutput) {
  WorkFolder work;
  const Finished run =
      shell(work,
            "export XDG_CONFIG_HOME=$WORK/config; "
            "$CLI sites add Ondrejov --lon \"14 47\" --lat \"49 55\" --height 500 --tz Europe/Prague; echo add=$?; "
            "$CLI sites default Ondrejov; echo default=$?; "
            "$CLI night --date 2026-12-07 --catalogue - --format ics <$SAMPLE >$WORK/night.ics; echo ics=$?; "
            "$CLI night --date 2026-12-07 --catalogue $SAMPLE >/dev/full; echo full=$?; "
            "$CLI night --date 2026-12-07 --catalogue $SAMPLE --site Nowhere; echo unknown=$?; "
            "$CLI night --date 2026-12-07 --catalogue $SAMPLE | head -1");
  for (const char* expected : {"add=0\n", "default=0\n", "ics=0\n", "full=1\n", "unknown=1\n",
                               "2026年12月7日の夜  Ondrejov（経度 14.7833333333333°"}) {
    EXPECT_TRUE(contains(run.out, expected)) << expected << "\n" << run.out << run.err;
  }
  const std::string calendar = slurp(work.path() / "night.ics");
  EXPECT_TRUE(contains(calendar, "BEGIN:VCALENDAR")) << calendar;
  EXPECT_TRUE(contains(calendar, "BEGIN:VEVENT"));
  EXPECT_TRUE(contains(calendar, "LOCATION:Ondrejov"));
  EXPECT_TRUE(fs::exists(work.path() / "config" / "Tenmirel" / "sites.toml"));
}

}  // namespace
}  // namespace tenmirel
