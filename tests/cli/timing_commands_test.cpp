// tom, obs and oc: the loop from a light curve to new elements in the catalogue.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>

#include "catalogue/catalogue_writer.h"
#include "catalogue/memo_tokens.h"
#include "catalogue/star_file.h"
#include "support/cli_runner.h"
#include "support/recording_ports.h"

namespace tenmirel::testing {
namespace {

using Json = nlohmann::json;

constexpr double kEpoch = 2452500.581;  // RZ Cas, HJD (Kreiner)
constexpr double kPeriod = 1.1952514;

// The observations log of one test, in a folder of its own.
class DataHome {
 public:
  DataHome() {
    if (const char* old = std::getenv("XDG_DATA_HOME")) saved_ = old;
    ::setenv("XDG_DATA_HOME", dir_.path().c_str(), 1);
  }
  ~DataHome() {
    if (saved_.empty())
      ::unsetenv("XDG_DATA_HOME");
    else
      ::setenv("XDG_DATA_HOME", saved_.c_str(), 1);
  }
  const TempDir& dir() const { return dir_; }

 private:
  TempDir dir_;
  std::string saved_;
};

// A synthetic eclipse of RZ Cas (made from its elements, not observed) at cycle E,
// the true minimum shifted by trueOc days, in HJD - 2400000.
std::string syntheticLightCurve(int cycle, double trueOc, unsigned seed) {
  std::mt19937 random(seed);
  std::normal_distribution<double> noise(0, 0.008);
  const double minimum = kEpoch + cycle * kPeriod + trueOc;
  std::ostringstream text;
  text.precision(12);
  text << "# synthetic\nHJD-2400000,V,err\n";
  for (double dt = -0.11; dt < 0.11; dt += 60.0 / 86400) {
    const double x = dt / 0.028;
    text << minimum + dt - 2400000 << ',' << 6.2 + 1.5 * std::exp(-0.4 * x * x) + noise(random) << ",0.008\n";
  }
  return text.str();
}

std::filesystem::path sampleCatalogue(const TempDir& dir) {
  return dir.write("stars.vsd", catalogueFileText({{"RZ Cas", "2452500.581", "1.1952514", "2", "48.925", "True", "69",
                                                    "38.05", "EA/SD II=0.5"}}));
}

TEST(TimingLoop, LightCurveToTimeOfMinimumToOcToNewElements) {
  DataHome home;
  const auto catalogue = sampleCatalogue(home.dir());
  // A slightly longer true period: O − C grows by 2e-7 d a cycle.
  const double trueExtra = 2e-7;
  for (int cycle : {-2000, 0, 1500, 3000, 4500, 6000, 7430}) {
    const auto lc =
        home.dir().write("lc" + std::to_string(cycle) + ".csv",
                         syntheticLightCurve(cycle, trueExtra * cycle, static_cast<unsigned>(cycle + 9000)));
    const CliRun tom =
        runCli({"tom", lc.string(), "--time-system", "hjd", "--add", "--star", "RZ Cas", "--format", "json"});
    ASSERT_EQ(tom.status, 0) << tom.err;
    const Json found = Json::parse(tom.out);
    for (const char* key : {"time", "sigma", "method", "points", "time_system"})
      EXPECT_TRUE(found.contains(key)) << key;
    EXPECT_EQ(found["time_system"], "HJD");
    EXPECT_EQ(found["method"], "KvW");
    EXPECT_LE(std::fabs(found["time"].get<double>() - (kEpoch + cycle * (kPeriod + trueExtra))),
              3 * found["sigma"].get<double>());
    EXPECT_NE(tom.err.find("2400000"), std::string::npos);  // the offset is said
  }

  const CliRun oc = runCli({"oc", "--star", "RZ Cas", "--catalogue", catalogue.string(), "--elements", "hjd",
                            "--format", "json", "--svg", (home.dir().path() / "oc.svg").string()});
  ASSERT_EQ(oc.status, 0) << oc.err;
  const Json diagram = Json::parse(oc.out);
  ASSERT_EQ(diagram["observations"].size(), 7u);
  for (const char* key : {"id", "star", "time", "sigma", "time_system", "kind", "cycle", "o_c_days", "o_c_minutes",
                          "outlier", "excluded"}) {
    EXPECT_TRUE(diagram["observations"][0].contains(key)) << key;
  }
  EXPECT_NEAR(diagram["observations"][6]["o_c_days"].get<double>(), trueExtra * 7430, 0.0003);
  const Json& fit = diagram["fit"];
  for (const char* key : {"reference_cycle", "epoch", "period", "sigma_epoch", "sigma_period",
                          "covariance_epoch_period", "chi2_dof", "dof"}) {
    EXPECT_TRUE(fit.contains(key)) << key;
  }
  EXPECT_NEAR(fit["period"].get<double>(), kPeriod + trueExtra, 5 * fit["sigma_period"].get<double>());
  EXPECT_EQ(fit["dof"], 5);
  std::ifstream svg(home.dir().path() / "oc.svg");
  std::string firstLine;
  std::getline(svg, firstLine);
  EXPECT_EQ(firstLine.rfind("<?xml", 0), 0u);

  // The CSV holds the same points, one line each.
  const CliRun csv =
      runCli({"oc", "--star", "RZ Cas", "--catalogue", catalogue.string(), "--elements", "hjd", "--format", "csv"});
  ASSERT_EQ(csv.status, 0) << csv.err;
  const auto csvLines = lines(csv.out);
  ASSERT_EQ(csvLines.size(), 8u);
  EXPECT_EQ(csvLines[0], "id,star,time,sigma,time_system,kind,cycle,o_c_days,o_c_minutes,outlier,excluded");
  EXPECT_NE(csvLines[7].find(",HJD,primary,7430,"), std::string::npos) << csvLines[7];

  // Nothing changes the catalogue until the user says so; then the fit stands in it.
  EXPECT_EQ(readStarFile(catalogue).records[0].syuki, "1.1952514");
  const CliRun use =
      runCli({"oc", "--star", "RZ Cas", "--catalogue", catalogue.string(), "--elements", "hjd", "--use-fit"});
  ASSERT_EQ(use.status, 0) << use.err;
  const StarRecord written = readStarFile(catalogue).records[0];
  EXPECT_NEAR(std::stod(written.syuki), fit["period"].get<double>(), fit["sigma_period"].get<double>() / 10);
  const MemoTokens tokens = readMemoTokens(written.memo);
  ASSERT_TRUE(tokens.fitErrors.has_value());
  EXPECT_NEAR(tokens.fitErrors->sigmaPeriodDays, fit["sigma_period"].get<double>(),
              0.05 * fit["sigma_period"].get<double>());
  EXPECT_NEAR(tokens.fitErrors->covarianceEpochPeriod, fit["covariance_epoch_period"].get<double>(),
              0.05 * std::fabs(fit["covariance_epoch_period"].get<double>()));
  EXPECT_EQ(readStarFile(catalogue.string() + "~").records[0].syuki, "1.1952514");
  // Against the new elements the observations sit on the zero line.
  const Json after = Json::parse(
      runCli({"oc", "--star", "RZ Cas", "--catalogue", catalogue.string(), "--elements", "hjd", "--format", "json"})
          .out);
  EXPECT_LT(std::fabs(after["observations"][6]["o_c_days"].get<double>()), 0.0003);
}

TEST(ObsCommands, ExportAndImportRoundTripThroughTheCommandLine) {
  std::string exported;
  {
    DataHome home;
    ASSERT_EQ(runCli({"obs", "add", "--star", "Algol", "--time", "2460123.4567891234", "--sigma", "0.00012", "--kind",
                      "secondary", "--time-system", "bjd", "--note", "雲, \"薄い\""})
                  .status,
              0);
    ASSERT_EQ(runCli({"obs", "add", "--star", "RZ Cas", "--time", "2460000.5"}).status, 0);
    ASSERT_EQ(runCli({"obs", "exclude", "2"}).status, 0);
    const CliRun out = runCli({"obs", "export"});
    ASSERT_EQ(out.status, 0) << out.err;
    exported = out.out;
    const Json listed = Json::parse(runCli({"obs", "list", "--star", "Algol", "--format", "json"}).out);
    ASSERT_EQ(listed.size(), 1u);
    EXPECT_EQ(listed[0]["time"].get<double>(), 2460123.4567891234);
    EXPECT_EQ(listed[0]["time_system"], "BJD_TDB");
    EXPECT_TRUE(listed[0]["cycle"].is_null());
  }
  DataHome other;
  const auto file = other.dir().write("log.csv", exported);
  ASSERT_EQ(runCli({"obs", "add", "--star", "X", "--time", "2460000"}).status, 0);
  const CliRun imported = runCli({"obs", "import", file.string()});
  ASSERT_EQ(imported.status, 0) << imported.err;
  ASSERT_EQ(runCli({"obs", "remove", "1"}).status, 0);
  const std::string again = runCli({"obs", "export"}).out;
  // Every field but the ids (now 2 and 3) is the same text.
  auto withoutIds = [](const std::string& text) {
    std::string out;
    for (const std::string& line : lines(text)) out += line.substr(line.find(',')) + "\n";
    return out;
  };
  EXPECT_EQ(withoutIds(again), withoutIds(exported));
  EXPECT_NE(again, exported);
}

struct Misuse {
  const char* name;
  std::vector<std::string> args;
  int status;
  const char* saying;
};

class TimingMisuse : public ::testing::TestWithParam<Misuse> {};

TEST_P(TimingMisuse, IsSaidInWords) {
  DataHome home;
  const auto lc = home.dir().write("lc.csv", syntheticLightCurve(0, 0, 1));
  const auto flat = home.dir().write(
      "flat.csv", "JD,mag\n" + [] {
        std::string rows;
        for (int i = 0; i < 30; ++i)
          rows += std::to_string(2460000 + i * 0.01) + "," + std::to_string(7 + i * 0.01) + "\n";
        return rows;
      }());
  std::vector<std::string> args;
  for (const std::string& arg : GetParam().args) {
    args.push_back(arg == "LC" ? lc.string() : arg == "FLAT" ? flat.string() : arg);
  }
  const CliRun run = runCli(args);
  EXPECT_EQ(run.status, GetParam().status) << run.err;
  EXPECT_NE(run.err.find(GetParam().saying), std::string::npos) << run.err;
  EXPECT_EQ(run.err.find("nan"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(
    Commands, TimingMisuse,
    ::testing::Values(
        Misuse{"TomWithoutFile", {"tom"}, 2, "光度曲線"},
        Misuse{"TomMissingFile", {"tom", "/nonexistent/lc.csv"}, 1, "見つかりません"},
        Misuse{"TomWithoutTurningPoint", {"tom", "FLAT"}, 1, "折り返し点"},
        Misuse{"TomAddWithoutStar", {"tom", "LC", "--add"}, 2, "--star"},
        Misuse{"TomFromWithoutTo", {"tom", "LC", "--from", "2452500"}, 2, "--to"},
        Misuse{"TomUnknownColumn", {"tom", "LC", "--mag-column", "R"}, 1, "「R」"},
        Misuse{"ObsAddReducedTime", {"obs", "add", "--star", "A", "--time", "60000.5"}, 2, "完全なユリウス日"},
        Misuse{"ObsAddBadKind", {"obs", "add", "--star", "A", "--time", "2460000", "--kind", "min"}, 2, "--kind"},
        Misuse{"ObsRemoveNotANumber", {"obs", "remove", "abc"}, 2, "整数"},
        Misuse{"ObsRemoveUnknownId", {"obs", "remove", "99"}, 1, "99"},
        Misuse{"ObsUnknownAction", {"obs", "purge"}, 2, "purge"},
        Misuse{"OcUnknownFit", {"oc", "--star", "A", "--catalogue", "x.vsd", "--fit", "cubic"}, 2, "--fit"},
        Misuse{"OcUseFitOnlyLinear",
               {"oc", "--star", "A", "--catalogue", "x.vsd", "--fit", "quadratic", "--use-fit"},
               2,
               "--use-fit"}),
    [](const ::testing::TestParamInfo<Misuse>& info) { return std::string(info.param.name); });

TEST(OcCommand, AStarWithoutObservationsIsSaidSo) {
  DataHome home;
  const auto catalogue = sampleCatalogue(home.dir());
  const CliRun run = runCli({"oc", "--star", "RZ Cas", "--catalogue", catalogue.string()});
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("観測がありません"), std::string::npos) << run.err;
}

std::string bytesOf(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

std::vector<std::string> crLfLines(const std::string& bytes) {
  std::vector<std::string> out;
  for (std::size_t at = 0; at < bytes.size();) {
    std::size_t end = bytes.find("\r\n", at);
    if (end == std::string::npos) end = bytes.size();
    out.push_back(bytes.substr(at, end - at));
    at = end + 2;
  }
  return out;
}

// The sample catalogue is Shift JIS with CR LF, as observers' files are; the
// fit goes in through the editor's save, which keeps both and touches nothing else.
TEST(OcCommand, UsingTheFitKeepsAShiftJisCatalogueByteForByteApartFromTheStar) {
  DataHome home;
  const auto catalogue = home.dir().path() / "sample.vsd";
  std::filesystem::copy_file(TENMIREL_SAMPLE_CATALOGUE, catalogue);
  const std::string before = bytesOf(catalogue);
  for (int cycle : {0, 1000, 2000, 3000, 4000}) {
    const std::string time = std::to_string(kEpoch + cycle * (kPeriod + 3e-7) + (cycle % 2000 ? 2e-4 : -2e-4));
    ASSERT_EQ(
        runCli({"obs", "add", "--star", "RZ Cas", "--time", time, "--time-system", "hjd", "--sigma", "0.0003"}).status,
        0);
  }
  const CliRun use =
      runCli({"oc", "--star", "RZ Cas", "--catalogue", catalogue.string(), "--elements", "hjd", "--use-fit"});
  ASSERT_EQ(use.status, 0) << use.err;

  EXPECT_EQ(bytesOf(catalogue.string() + "~"), before);
  const std::string after = bytesOf(catalogue);
  EXPECT_EQ(after.find("\xE9\xA3\x9F"), std::string::npos);  // 食 in UTF-8: nothing became UTF-8
  const auto oldLines = crLfLines(before);
  const auto newLines = crLfLines(after);
  ASSERT_EQ(newLines.size(), oldLines.size());
  const auto star = std::find(oldLines.begin(), oldLines.end(), "RZ Cas") - oldLines.begin();
  constexpr std::ptrdiff_t kEpochLine = 1, kPeriodLine = 2, kMemoLine = 8;  // within a star's nine lines
  for (std::ptrdiff_t i = 0; i < static_cast<std::ptrdiff_t>(oldLines.size()); ++i) {
    const bool changed = i == star + kEpochLine || i == star + kPeriodLine || i == star + kMemoLine;
    EXPECT_EQ(newLines[i] != oldLines[i], changed) << "line " << i + 1;
    EXPECT_EQ(newLines[i].find('\n'), std::string::npos) << "line " << i + 1;
  }
  // The old memo's Shift JIS bytes stay at the front of the new one.
  EXPECT_EQ(newLines[star + kMemoLine].rfind(oldLines[star + kMemoLine].substr(0, 8), 0), 0u);

  const StarFileReadResult read = readStarFile(catalogue);
  ASSERT_TRUE(read.ok());
  const auto rz = std::find_if(read.records.begin(), read.records.end(),
                               [](const StarRecord& r) { return r.starName == "RZ Cas"; });
  ASSERT_NE(rz, read.records.end());
  EXPECT_NEAR(std::stod(rz->syuki), kPeriod + 3e-7, 1e-7);
  EXPECT_EQ(rz->memo.rfind("食変光星 アルゴル型", 0), 0u) << rz->memo;
  const MemoTokens tokens = readMemoTokens(rz->memo);
  ASSERT_TRUE(tokens.fitErrors.has_value()) << rz->memo;
  EXPECT_GT(tokens.fitErrors->sigmaPeriodDays, 0);
  EXPECT_NE(rz->memo.find("O-C(5点"), std::string::npos) << rz->memo;

  // A second fit replaces the note read back from the file instead of adding one.
  ASSERT_EQ(
      runCli({"oc", "--star", "RZ Cas", "--catalogue", catalogue.string(), "--elements", "hjd", "--use-fit"}).status,
      0);
  const std::string memo = crLfLines(bytesOf(catalogue))[star + kMemoLine];
  EXPECT_EQ(memo.find("O-C("), memo.rfind("O-C(")) << memo;
}

// Ten tenmirel-cli processes add to one log at the same time; every row arrives.
TEST(ObsCommands, TenConcurrentWriterProcessesLoseNothing) {
  DataHome home;
  constexpr int kWriters = 10;
  constexpr int kEach = 10;
  std::vector<pid_t> children;
  for (int w = 0; w < kWriters; ++w) {
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      int failures = 0;
      for (int i = 0; i < kEach; ++i) {
        const pid_t writer = fork();
        if (writer == 0) {
          const std::string time = std::to_string(2460000 + w * 100 + i);
          ::freopen("/dev/null", "w", stdout);
          execl(TENMIREL_CLI_PROGRAM, TENMIREL_CLI_PROGRAM, "obs", "add", "--star", "Algol", "--time", time.c_str(),
                static_cast<char*>(nullptr));
          std::_Exit(127);
        }
        int status = 0;
        waitpid(writer, &status, 0);
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) ++failures;
      }
      std::_Exit(failures == 0 ? 0 : 1);
    }
    children.push_back(child);
  }
  for (pid_t child : children) {
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }
  const Json all = Json::parse(runCli({"obs", "list", "--format", "json"}).out);
  EXPECT_EQ(all.size(), static_cast<std::size_t>(kWriters * kEach));
}

}  // namespace
}  // namespace tenmirel::testing
