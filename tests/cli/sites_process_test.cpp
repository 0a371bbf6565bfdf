// tenmirel-cli as many processes at once on one sites file, and on sites and
// settings files that are not regular files.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

namespace tenmirel {
namespace {

namespace fs = std::filesystem;

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

class WorkFolder {
 public:
  WorkFolder() {
    std::random_device seed;
    path_ = fs::current_path() / ("sites-process-" + std::to_string(seed()));
    fs::create_directories(path_ / "config" / "Tenmirel");
  }
  ~WorkFolder() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
  }
  const fs::path& path() const { return path_; }

 private:
  fs::path path_;
};

// Runs a shell script with $CLI, $SAMPLE and $WORK set and the config folder in $WORK.
Finished shell(const WorkFolder& work, const std::string& script) {
  const fs::path out = work.path() / "stdout.txt", err = work.path() / "stderr.txt";
  const std::string command = "CLI='" + std::string(TENMIREL_CLI_PROGRAM) + "' SAMPLE='" + TENMIREL_SOURCE_DIR +
                              "/data/sample.vsd' WORK='" + work.path().string() + "' XDG_CONFIG_HOME='" +
                              (work.path() / "config").string() + "' sh -c '" + script + "' >'" + out.string() +
                              "' 2>'" + err.string() + "'";
  const int raw = std::system(command.c_str());
  return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, slurp(out), slurp(err)};
}

bool contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

int countOf(const std::string& text, const std::string& part) {
  int count = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
  return count;
}

TEST(SitesProcesses, TwentyAddsAtOnceAreAllKept) {
  WorkFolder work;
  const Finished run = shell(work,
                             "for i in $(seq 1 20); do "
                             "($CLI sites add site$i --lon 14.$i --lat 50.$i --tz Europe/Prague >/dev/null; "
                             "echo \"add$i=$?\") & done; wait; $CLI sites");
  for (int i = 1; i <= 20; ++i) {
    EXPECT_TRUE(contains(run.out, "add" + std::to_string(i) + "=0\n")) << run.out << run.err;
    EXPECT_TRUE(contains(run.out, " site" + std::to_string(i) + " ")) << i << "\n" << run.out;
  }
}

TEST(SitesProcesses, AddsAndRemovesAtOnceNeverBringARemovedSiteBack) {
  WorkFolder work;
  const Finished run = shell(work,
                             "for i in $(seq 1 10); do $CLI sites add old$i --lon 1 --lat 2 --tz UTC >/dev/null; done; "
                             "for i in $(seq 1 10); do "
                             "($CLI sites remove old$i >/dev/null; echo \"remove$i=$?\") & "
                             "($CLI sites add new$i --lon 3 --lat 4 --tz UTC >/dev/null; echo \"add$i=$?\") & "
                             "done; wait; $CLI sites");
  for (int i = 1; i <= 10; ++i) {
    EXPECT_TRUE(contains(run.out, "remove" + std::to_string(i) + "=0\n")) << run.out << run.err;
    EXPECT_TRUE(contains(run.out, "add" + std::to_string(i) + "=0\n")) << run.out << run.err;
  }
  EXPECT_EQ(countOf(run.out, " old"), 0) << run.out;
  EXPECT_EQ(countOf(run.out, " new"), 10) << run.out;
}

TEST(SitesProcesses, OddFilesInPlaceOfTheSettingsNeverHoldACommandUp) {
  WorkFolder work;
  // A FIFO nobody writes to: reading it would wait forever. timeout ends a hung command
  // with status 124.
  const Finished run =
      shell(work,
            "mkfifo $XDG_CONFIG_HOME/Tenmirel/sites.toml $XDG_CONFIG_HOME/Tenmirel/settings.toml; "
            "timeout 60 $CLI night --date 2026-12-07 --catalogue $SAMPLE --lon 14.4 --lat 50.1 --tz Europe/Prague "
            "--elements jd "
            ">/dev/null 2>$WORK/night.err; echo night=$?; "
            "timeout 60 $CLI predict --catalogue $SAMPLE --star Algol --from \"2026-12-07 18:00\" --elements jd "
            "--lon 14.4 --lat 50.1 --tz Europe/Prague >/dev/null 2>$WORK/predict.err; echo predict=$?; "
            "timeout 60 $CLI predict --epoch 2451545 --period 1.5 --from \"2000-01-02 09:00\"; echo default=$?; "
            "timeout 60 $CLI sites add Praha --lon 14.4 --lat 50.1 --tz Europe/Prague; echo add=$?");
  for (const char* expected : {"night=0\n", "predict=0\n", "default=0\n", "add=1\n"}) {
    EXPECT_TRUE(contains(run.out, expected)) << expected << "\n" << run.out << run.err;
  }
  // The commands that need neither file say nothing about them.
  for (const char* quiet : {"night.err", "predict.err"}) {
    const std::string said = slurp(work.path() / quiet);
    EXPECT_FALSE(contains(said, "ファイル")) << quiet << ": " << said;
  }
  // The one that needs the sites file says why it goes without.
  EXPECT_TRUE(contains(run.err, "通常のファイルではありません")) << run.err;
}

TEST(SitesProcesses, AHostileNameIsRefusedAndTheFileStaysReadable) {
  WorkFolder work;
  const Finished run = shell(work,
                             "$CLI sites add Praha --lon 14.4 --lat 50.1 --tz Europe/Prague >/dev/null; "
                             "$CLI sites add \"$(printf \"Mt\\nb\")\" --lon 1 --lat 2 --tz UTC; echo add=$?; "
                             "$CLI sites remove Praha; echo remove=$?");
  EXPECT_TRUE(contains(run.out, "add=2\n")) << run.out << run.err;
  EXPECT_TRUE(contains(run.err, "制御文字")) << run.err;
  EXPECT_TRUE(contains(run.out, "remove=0\n")) << run.out << run.err;
}

}  // namespace
}  // namespace tenmirel

namespace tenmirel {
namespace {

// A reader that goes away ends the program by SIGPIPE, also when whoever started it
// ignores the signal (the program would otherwise go on to a write error).
TEST(CliStreams, AReaderThatGoesAwayEndsTheProgramBySigpipe) {
  WorkFolder work;
  for (const char* ignore : {"", "trap \"\" PIPE; "}) {
    SCOPED_TRACE(ignore);
    const Finished run =
        shell(work, std::string(ignore) +
                        "mkfifo $WORK/pipe; (exec 3<$WORK/pipe; head -c 1 <&3 >/dev/null; exec 3<&-) & "
                        "$CLI predict --epoch 2451545 --period 0.01 --from \"2000-01-02 09:00\" "
                        "--cycles 10000 >$WORK/pipe; echo status=$?; wait; rm $WORK/pipe");
    EXPECT_TRUE(contains(run.out, "status=141\n")) << run.out << run.err;
    EXPECT_EQ(run.err, "");
  }
}

TEST(CliStreams, TheOpenerGetsAnAbsolutePath) {
  WorkFolder work;
  // A stand-in for xdg-open that writes down what it was given.
  const Finished run = shell(work,
                             "mkdir -p $WORK/bin && printf \"#!/bin/sh\\nprintf %%s \\\"\\$1\\\" >$WORK/opened\\n\" "
                             ">$WORK/bin/xdg-open && chmod +x $WORK/bin/xdg-open && cd $WORK && "
                             "PATH=$WORK/bin:$PATH $CLI today --catalogue $SAMPLE --date 2026-12-07 "
                             "--xlsx=--manual.xlsx --open; echo status=$?");
  EXPECT_TRUE(contains(run.out, "status=0\n")) << run.out << run.err;
  EXPECT_EQ(slurp(work.path() / "opened"), (work.path() / "--manual.xlsx").string());
}

}  // namespace
}  // namespace tenmirel
