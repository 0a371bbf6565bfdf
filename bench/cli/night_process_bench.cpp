// `tenmirel-cli night` over a catalogue of 1001 real stars (the first rows of the
// GCVS extract), and `season` for one of them over a year, timed as a whole
// process: start, reading, the nights, printing.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "support/gcvs_catalogue.h"

extern char** environ;

namespace tenmirel {
namespace {

namespace fs = std::filesystem;

constexpr std::size_t kCatalogueStars = 1001;

// The catalogue and an empty settings folder, made once for all runs.
struct BenchFolder {
  BenchFolder() {
    path = fs::temp_directory_path() / ("tenmirel-night-bench-" + std::to_string(::getpid()));
    fs::create_directories(path / "config");
    catalogue = path / "gcvs-1001.vsd";
    std::ofstream(catalogue, std::ios::binary)
        << testing::gcvsCatalogueText(TENMIREL_DATA_DIR "/gcvs-elements.tsv", kCatalogueStars);
    // The built-in site, whatever the machine's own settings hold.
    ::setenv("XDG_CONFIG_HOME", (path / "config").c_str(), 1);
  }
  ~BenchFolder() {
    std::error_code ignored;
    fs::remove_all(path, ignored);
  }
  fs::path path;
  fs::path catalogue;
};

const BenchFolder& folder() {
  static const BenchFolder made;
  return made;
}

// Runs the program with its output thrown away; its exit status.
int runProgram(const std::vector<std::string>& args) {
  std::vector<char*> argv;
  std::string program = TENMIREL_CLI_PROGRAM;
  argv.push_back(program.data());
  std::vector<std::string> copies = args;
  for (std::string& arg : copies) argv.push_back(arg.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  pid_t child = 0;
  const int spawned = posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) return -1;
  int status = 0;
  if (::waitpid(child, &status, 0) != child) return -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

void nightProcess(benchmark::State& state, const std::string& format) {
  const std::vector<std::string> args = {"night",    "--catalogue", folder().catalogue.string(), "--date", "2026-12-07",
                                         "--format", format};
  for (auto _ : state) {
    if (runProgram(args) != 0) {
      state.SkipWithError("tenmirel-cli night failed");
      break;
    }
  }
  state.counters["stars"] = static_cast<double>(kCatalogueStars);
}

void BM_NightProcess1001StarsText(benchmark::State& state) { nightProcess(state, "text"); }
void BM_NightProcess1001StarsJson(benchmark::State& state) { nightProcess(state, "json"); }
BENCHMARK(BM_NightProcess1001StarsText)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_NightProcess1001StarsJson)->Unit(benchmark::kMillisecond)->UseRealTime();

// One star across a year, whole process: the Sun's twilights of 365 nights dominate.
void BM_SeasonProcessOneStar365Nights(benchmark::State& state) {
  const std::vector<std::string> args = {
      "season", "--catalogue", folder().catalogue.string(), "--star", "0", "--from", "2026-01-01", "--nights",
      "365",    "--secondary"};
  for (auto _ : state) {
    if (runProgram(args) != 0) {
      state.SkipWithError("tenmirel-cli season failed");
      break;
    }
  }
}
BENCHMARK(BM_SeasonProcessOneStar365Nights)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace tenmirel
