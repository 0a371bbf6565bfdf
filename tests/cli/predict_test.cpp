#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "catalogue/catalogue_writer.h"
#include "support/cli_runner.h"
#include "support/recording_ports.h"

namespace tenmirel::cli {
namespace {

using testing::CliRun;
using testing::lines;
using testing::runCli;

TEST(CliPredict, ReproducesTheWorkedExamplesInColumns) {
  const CliRun result =
      runCli({"predict", "--epoch", "2451545.0", "--period", "1.5", "--from", "2000-01-02 09:00", "--cycles", "2"});
  ASSERT_EQ(result.status, 0) << result.err;
  const auto text = lines(result.out);
  ASSERT_EQ(text.size(), 4u);
  EXPECT_NE(text[0].find("ユリウス日 2451545.5"), std::string::npos);
  EXPECT_EQ(text[2], "   1  2000-01-03 09:00             2451546.5     ？？？");
  EXPECT_EQ(text[3], "   2  2000-01-04 21:00               2451548     ？？？");
}

TEST(CliPredict, JsonCarriesEveryTextOfTheWindowAndTheCalculation) {
  const CliRun result = runCli({"predict", "--epoch", "2451545.2", "--period", "1", "--from", "2000-01-01 09:00",
                                "--ra", "05 55", "--dec", "+07 24", "--format", "json"});
  ASSERT_EQ(result.status, 0) << result.err;
  const auto json = nlohmann::json::parse(result.out);
  ASSERT_TRUE(json.is_array());
  ASSERT_EQ(json.size(), 1u);
  const auto& extremum = json[0];
  EXPECT_EQ(extremum["cycle"], 0);
  EXPECT_TRUE(extremum["cycle"].is_number_integer());
  EXPECT_EQ(extremum["local_time"], "2000-01-02T01:48+09:00");
  EXPECT_EQ(extremum["jd_reference"], 2451544.5);
  EXPECT_EQ(extremum["jd"], 2451545.2);
  EXPECT_EQ(extremum["altitude_deg"], 41.9797883471278);
  const auto& texts = extremum["texts"];
  EXPECT_EQ(texts["txtOutputKaiki"], "0");
  EXPECT_EQ(texts["lblJulKekka"], "2451545.2");
  EXPECT_EQ(texts["lblJulKijun"], "2451544.5");
  EXPECT_EQ(texts["txtOutputKoudo"], "41.9797883471278");
  EXPECT_EQ(texts["txtOutputHour"], "1");
  EXPECT_EQ(texts["txtOutputMin"], "48");
  EXPECT_EQ(texts.size(), 9u);
  const auto& calc = extremum["calc"];
  EXPECT_EQ(calc.size(), 17u);
  EXPECT_EQ(calc["lblS(4)"], "31597.7874733396");
  EXPECT_EQ(calc["lblSinh(5)"], "0.668868412421965");
  EXPECT_EQ(calc["lblH"], "41.9797883471278");
  EXPECT_EQ(result.out.front(), '[');
  EXPECT_EQ(result.out.substr(result.out.size() - 2), "]\n");
}

TEST(CliPredict, JsonOfManualInputHasANullAltitudeAndEmptyCells) {
  const CliRun result = runCli({"predict", "--epoch", "2451545.0", "--period", "1.5", "--from", "2000-01-02 09:00",
                                "--cycles", "2", "--format", "json"});
  ASSERT_EQ(result.status, 0) << result.err;
  const auto json = nlohmann::json::parse(result.out);
  ASSERT_EQ(json.size(), 2u);
  EXPECT_TRUE(json[0]["altitude_deg"].is_null());
  EXPECT_EQ(json[0]["texts"]["txtOutputKoudo"], "？？？");
  EXPECT_EQ(json[0]["calc"]["lblH"], "");
  EXPECT_EQ(json[1]["cycle"], 2);
  EXPECT_EQ(json[1]["local_time"], "2000-01-04T21:00+09:00");
  EXPECT_EQ(json[1]["jd"], 2451548.0);
  EXPECT_EQ(json[1]["jd_reference"], 2451545.5);
}

TEST(CliPredict, SouthernDeclinationAndManyCyclesInJson) {
  const CliRun result = runCli({"predict", "--epoch", "2451545", "--period", "0.5", "--from", "2000-01-01 09:00",
                                "--ra", "18:02", "--dec", "-00 30", "--cycles", "3", "--format", "json"});
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(lines(result.out).size(), 3u);
  EXPECT_NE(result.out.find("\"lblSinh(1)\":\"-0.00872653"), std::string::npos) << result.out;
}

TEST(CliPredict, RefusalsGoToTheErrorStreamWithAFailingStatus) {
  struct Case {
    std::vector<std::string> args;
    int status;
    const char* errorPart;
  };
  const Case cases[] = {
      {{"predict", "--epoch", "2451545", "--period", "0", "--from", "2000-01-01 09:00"}, 1, "周期が０です"},
      {{"predict", "--epoch", "1E999", "--period", "1", "--from", "2000-01-01 09:00"}, 2, "--epoch"},
      {{"predict", "--epoch", "abc", "--period", "1", "--from", "2000-01-01 09:00"}, 2, "数ではありません"},
      {{"predict", "--epoch", "2451545", "--from", "2000-01-01 09:00"}, 2, "--period"},
      {{"predict", "--epoch", "2451545", "--period", "1"}, 2, "--from"},
      {{"predict", "--epoch", "2451545", "--period", "1", "--from", "2000-13-01 09:00"}, 2, "正しい日付"},
      {{"predict", "--epoch", "2451545", "--period", "1", "--from", "yesterday"}, 2, "YYYY-MM-DD HH:MM"},
      {{"predict", "--epoch", "2451545", "--period", "1", "--from", "2000-01-01 09:00", "--cycles", "0"},
       2,
       "--cycles"},
      {{"predict", "--epoch", "2451545", "--period", "1", "--from", "2000-01-01 09:00", "--ra", "5 30"}, 2, "--dec"},
      {{"predict", "--epoch", "2451545", "--period", "1", "--from", "2000-01-01 09:00", "--ra", "25 00", "--dec",
        "+10 00"},
       2,
       "--ra"},
      {{"predict", "--epoch", "2451545", "--period", "1", "--from", "2000-01-01 09:00", "--format", "xml"},
       2,
       "--format"},
      {{"predict", "--bogus"}, 2, "--bogus"},
      {{"predict", "--epoch"}, 2, "--epoch"},
      {{"frobnicate"}, 2, "frobnicate"},
      {{}, 2, "predict"},
  };
  for (const Case& c : cases) {
    const CliRun result = runCli(c.args);
    EXPECT_EQ(result.status, c.status) << result.err;
    EXPECT_NE(result.err.find(c.errorPart), std::string::npos) << result.err;
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err.find("inf"), std::string::npos);
  }
}

TEST(CliPredict, HelpDocumentsEveryOptionWithAnExample) {
  const CliRun result = runCli({"predict", "--help"});
  ASSERT_EQ(result.status, 0);
  for (const char* option :
       {"--epoch", "--period", "--from", "--cycles", "--ra", "--dec", "--format", "--catalogue", "--star", "例:"}) {
    EXPECT_NE(result.out.find(option), std::string::npos) << option;
  }
  EXPECT_EQ(runCli({"--help"}).status, 0);
}

TEST(CliPredict, CatalogueStarCarriesItsAltitude) {
  const testing::TempDir dir;
  const auto file = dir.write(
      "two.vsd",
      catalogueFileText({{"ZZ Exa", "2451545.2", "1", "5", "55", "True", "7", "24", "memo one"},
                         {"YY Sam", "2450000.5", "2.25", "18", "2", "False", "0", "30", "period uncertain"}}));
  const CliRun byName = runCli(
      {"predict", "--catalogue", file.string(), "--star", "ZZ Exa", "--from", "2000-01-01 09:00", "--format", "json"});
  ASSERT_EQ(byName.status, 0) << byName.err;
  EXPECT_NE(byName.out.find("\"txtOutputKoudo\":\"41.9797883471278\""), std::string::npos) << byName.out;
  const CliRun byIndex = runCli({"predict", "--catalogue", file.string(), "--star", "1", "--from", "2000-01-01 09:00"});
  ASSERT_EQ(byIndex.status, 0) << byIndex.err;
  EXPECT_NE(byIndex.out.find("YY Sam"), std::string::npos);
  EXPECT_EQ(byIndex.out.find("？？？"), std::string::npos);

  const CliRun missing =
      runCli({"predict", "--catalogue", file.string(), "--star", "Nobody", "--from", "2000-01-01 09:00"});
  EXPECT_EQ(missing.status, 1);
  EXPECT_NE(missing.err.find("Nobody"), std::string::npos);
  const CliRun noFile = runCli(
      {"predict", "--catalogue", (dir.path() / "none.vsd").string(), "--star", "0", "--from", "2000-01-01 09:00"});
  EXPECT_EQ(noFile.status, 1);
  EXPECT_NE(noFile.err.find("none.vsd"), std::string::npos);
}

}  // namespace
}  // namespace tenmirel::cli
