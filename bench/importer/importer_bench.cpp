// How fast catalogues import: a 58,000-line GCVS 5.1 file (the real Hipparcos
// lines of data/catalogue-samples repeated to the size of gcvs5.txt) read and
// turned into catalogue records in-process; then `tenmirel-cli import` of a
// two-million-row VSX CSV (real GCVS elements under generated names) and
// `tenmirel-cli night` over the catalogue that import writes, as whole
// processes, with their peak resident memory as a counter.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "catalogue/text_encoding.h"
#include "importer/catalogue_import.h"
#include "importer/record_checks.h"

extern char** environ;

namespace tenmirel {
namespace {

namespace fs = std::filesystem;

constexpr std::size_t kGcvsLines = 58'000;
constexpr std::size_t kVsxRows = 2'000'000;
constexpr double kLatestEpoch = 2463208.0;

std::vector<std::string> lines(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::vector<std::string> result;
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty()) result.push_back(line);
  }
  return result;
}

// A file removed when the benchmarks end.
struct TemporaryFile {
  fs::path path;
  ~TemporaryFile() {
    std::error_code ignored;
    fs::remove(path, ignored);
  }
};

// The file, written once to the temporary folder and read from there as a user's would be.
const fs::path& gcvsFile() {
  static const TemporaryFile file{[] {
    const auto real = lines(TENMIREL_DATA_DIR "/catalogue-samples/gcvs5-hipparcos-stars-2019.txt");
    const fs::path path = fs::temp_directory_path() / ("tenmirel-gcvs58000-" + std::to_string(::getpid()) + ".txt");
    std::ofstream out(path, std::ios::binary);
    for (std::size_t i = 0; i < kGcvsLines; ++i) out << real[i % real.size()] << "\r\n";
    return path;
  }()};
  return file.path;
}

void BM_ImportGcvs58000Lines(benchmark::State& state) {
  std::uint64_t imported = 0;
  for (auto _ : state) {
    std::ifstream in(gcvsFile(), std::ios::binary);
    importer::ImportSettings settings;
    settings.read.latestTrustedEpoch = kLatestEpoch;
    Cp932Encoder encoder;
    std::string written;
    const auto report = importer::importCatalogue(in, settings, [&](const importer::ImportedRow& row) {
      if (row.record != nullptr) written += *importer::cp932RecordText(*row.record, encoder);
    });
    if (!report) {
      state.SkipWithError("import failed");
      break;
    }
    imported = report->imported;
    benchmark::DoNotOptimize(written.data());
  }
  state.counters["lines"] = static_cast<double>(kGcvsLines);
  state.counters["imported"] = static_cast<double>(imported);
}
BENCHMARK(BM_ImportGcvs58000Lines)->Unit(benchmark::kMillisecond);

// The VSX CSV, its catalogue and an empty settings folder, made once.
struct BigFolder {
  BigFolder() {
    path = fs::temp_directory_path() / ("tenmirel-import-bench-" + std::to_string(::getpid()));
    fs::create_directories(path / "config");
    ::setenv("XDG_CONFIG_HOME", (path / "config").c_str(), 1);
    csv = path / "vsx.csv";
    catalogue = path / "vsx.vsd";
    std::ofstream out(csv, std::ios::binary);
    out << "#OID,Name,VarFlag,RAdeg,DEdeg,Type,l_max,max,u_max,n_max,f_min,l_min,min,u_min,n_min,Epoch,u_Epoch,l_"
           "Period,"
           "Period,u_Period\n";
    // Real elements: data/gcvs-elements.tsv (name, RA h m s, sign, ° ′ ″, type, max, min, band, epoch, period).
    std::vector<std::vector<std::string>> rows;
    std::ifstream tsv(TENMIREL_DATA_DIR "/gcvs-elements.tsv");
    std::string line;
    std::getline(tsv, line);
    while (std::getline(tsv, line)) {
      std::vector<std::string> fields;
      std::stringstream split(line);
      for (std::string field; std::getline(split, field, '\t');) fields.push_back(field);
      if (fields.size() == 14) rows.push_back(fields);
    }
    for (std::size_t i = 0; i < kVsxRows; ++i) {
      const auto& f = rows[i % rows.size()];
      const double ra = (std::stod(f[1]) + std::stod(f[2]) / 60 + std::stod(f[3]) / 3600) * 15;
      const double dec = (f[4] == "-" ? -1 : 1) * (std::stod(f[5]) + std::stod(f[6]) / 60 + std::stod(f[7]) / 3600);
      // A third of VSX has no period: every third row goes without.
      const bool period = i % 3 != 2;
      out << i + 1 << ",\"" << f[0] << " #" << i << "\",0," << ra << ',' << dec << ',' << f[8] << ",," << f[9] << ",,"
          << f[11] << ",,," << f[10] << ",," << f[11] << ',' << f[12] << ",,," << (period ? f[13] : "") << ",\n";
    }
  }
  ~BigFolder() {
    std::error_code ignored;
    fs::remove_all(path, ignored);
  }
  fs::path path, csv, catalogue;
};

const BigFolder& big() {
  static const BigFolder made;
  return made;
}

// Runs the program, output thrown away; its exit status and peak memory (KiB).
int runProgram(const std::vector<std::string>& args, long& peakKib) {
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
  rusage usage{};
  if (::wait4(child, &status, 0, &usage) != child) return -1;
  peakKib = usage.ru_maxrss;
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

void BM_ImportVsxCsv2MillionRowsProcess(benchmark::State& state) {
  const BigFolder& folder = big();
  long peak = 0;
  for (auto _ : state) {
    if (runProgram({"import", folder.csv.string(), "--to", folder.catalogue.string(), "--force"}, peak) != 0) {
      state.SkipWithError("tenmirel-cli import failed");
      break;
    }
  }
  state.counters["rows"] = static_cast<double>(kVsxRows);
  state.counters["peak_MiB"] = static_cast<double>(peak) / 1024;
}
BENCHMARK(BM_ImportVsxCsv2MillionRowsProcess)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

void BM_NightOverImportedCatalogueProcess(benchmark::State& state) {
  const BigFolder& folder = big();
  long peak = 0;
  if (!fs::exists(folder.catalogue) &&
      runProgram({"import", folder.csv.string(), "--to", folder.catalogue.string()}, peak) != 0) {
    state.SkipWithError("tenmirel-cli import failed");
    return;
  }
  for (auto _ : state) {
    if (runProgram({"night", "--catalogue", folder.catalogue.string(), "--date", "2026-12-07"}, peak) != 0) {
      state.SkipWithError("tenmirel-cli night failed");
      break;
    }
  }
  state.counters["peak_MiB"] = static_cast<double>(peak) / 1024;
}
BENCHMARK(BM_NightOverImportedCatalogueProcess)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

}  // namespace
}  // namespace tenmirel
