// Loading a full catalogue of 1001 stars, as a file from Windows (CP932, CR LF)
// with a Japanese memo on every star. Made at start from the GCVS extract when
// it is there, otherwise from generated stars.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "catalogue/catalogue_writer.h"
#include "catalogue/star_file.h"
#include "common/number_text.h"
#include "prediction/frm_yohou_model.h"

namespace {

using namespace tenmirel;

// "型", "～" and "等" in CP932.
constexpr const char* kTypeWord = "\x8C\x5E";
constexpr const char* kWaveDash = "\x81\x60";
constexpr const char* kMagnitudeWord = "\x93\x99";

std::vector<std::string> splitTabs(const std::string& line) {
  std::vector<std::string> fields;
  std::istringstream in(line);
  for (std::string field; std::getline(in, field, '\t');) fields.push_back(field);
  return fields;
}

StarRecord gcvsRecord(const std::vector<std::string>& f) {
  // name, RA h m s, dec sign d m s, type, max, min, band, epoch, period
  const std::string raMinutes = numberToText(parseLenient(f[2]) + parseLenient(f[3]) / 60);
  const std::string decMinutes = numberToText(parseLenient(f[6]) + parseLenient(f[7]) / 60);
  const std::string memo = f[8] + kTypeWord + " " + f[9] + kWaveDash + f[10] + kMagnitudeWord + "(" + f[11] + ")";
  return {f[0], f[12], f[13], f[1], raMinutes, f[4] == "-" ? "False" : "True", f[5], decMinutes, memo};
}

StarRecord generatedRecord(int i) {
  const std::string n = std::to_string(i);
  return {"V" + n + " Exa",
          "2451545." + n,
          "0.7654321",
          std::to_string(i % 24),
          "30.5",
          i % 2 ? "False" : "True",
          std::to_string(i % 90),
          "15.25",
          std::string("EA") + kTypeWord + " 11.2" + kWaveDash + "12.0" + kMagnitudeWord};
}

std::filesystem::path writeCatalogue() {
  std::vector<StarRecord> records;
  std::ifstream gcvs(std::filesystem::path(TENMIREL_REFERENCE_DATA_DIR) / "gcvs-elements.tsv");
  std::string line;
  std::getline(gcvs, line);  // header
  while (records.size() < static_cast<std::size_t>(kMaxStarRecords) && std::getline(gcvs, line)) {
    const auto fields = splitTabs(line);
    if (fields.size() >= 14) records.push_back(gcvsRecord(fields));
  }
  while (records.size() < static_cast<std::size_t>(kMaxStarRecords)) {
    records.push_back(generatedRecord(static_cast<int>(records.size())));
  }
  const auto file = std::filesystem::temp_directory_path() / "tenmirel-bench-1001.vsd";
  std::ofstream out(file, std::ios::binary);
  out << catalogueFileText(records);
  return file;
}

const std::filesystem::path& catalogueFile() {
  static const std::filesystem::path file = writeCatalogue();
  return file;
}

class NoMessages : public MessageSink {
 public:
  void showMessage(const std::string&) override {}
};
class NoCheckWindow : public CheckWindowTrigger {
 public:
  void showCheckWindow() override {}
};

void BM_ReadStarFile1001(benchmark::State& state) {
  for (auto _ : state) {
    StarFileReadResult result = readStarFile(catalogueFile());
    if (result.count != kMaxStarRecords) state.SkipWithError("the catalogue did not load");
    benchmark::DoNotOptimize(result);
  }
}
BENCHMARK(BM_ReadStarFile1001)->Unit(benchmark::kMicrosecond);

// The whole load command: read, replace the table, refill the selector, select star 0.
void BM_LoadCommand1001(benchmark::State& state) {
  NoMessages messages;
  NoCheckWindow checkWindow;
  FixedChooser chooser(catalogueFile().string());
  FrmYohouModel form(messages, checkWindow, chooser);
  for (auto _ : state) {
    form.Command1_Click();
    if (form.starCount != kMaxStarRecords) state.SkipWithError("the catalogue did not load");
    benchmark::DoNotOptimize(form.combo1Items);
  }
}
BENCHMARK(BM_LoadCommand1001)->Unit(benchmark::kMicrosecond);

}  // namespace
