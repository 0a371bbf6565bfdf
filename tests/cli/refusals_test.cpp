// Refusals on the command line: heliocentric elements for a star without a place,
// and a run the calendar ends, refused alike in every format and star order.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "config_home.h"
#include "prediction/extremum_prediction.h"
#include "support/cli_runner.h"

namespace tenmirel {
namespace {

using testing::runCli;

struct Row {
  const char* name;
  const char* epoch;
  const char* period;
  const char* raHours;
  const char* raMinutes;
  const char* decDegrees;
  const char* decMinutes;
};

std::filesystem::path writeCatalogue(const std::filesystem::path& folder, const char* file,
                                     const std::vector<Row>& rows) {
  const std::filesystem::path path = folder / file;
  std::ofstream out(path, std::ios::binary);
  out << "Quorrelith 1999\r\n" << rows.size() << "\r\n";
  for (const Row& row : rows) {
    out << row.name << "\r\n"
        << row.epoch << "\r\n"
        << row.period << "\r\n"
        << row.raHours << "\r\n"
        << row.raMinutes << "\r\n"
        << "True\r\n"
        << row.decDegrees << "\r\n"
        << row.decMinutes << "\r\n\r\n";
  }
  return path;
}

class CliRefusals : public ::testing::Test {
 protected:
  testing::ConfigHome config;
  std::filesystem::path folder() const { return config.dir().path(); }
};

const Row kAlgol{"Algol", "2452500.2", "2.8673", "3", "8.2", "40", "57"};
const Row kNoPlace{"NoPlace", "2452500.2", "0.3", "", "", "", ""};

TEST_F(CliRefusals, HeliocentricElementsNeedTheStarsPlaceInEveryCommand) {
  const std::string catalogue = writeCatalogue(folder(), "noplace.vsd", {kAlgol, kNoPlace}).string();
  const std::vector<std::vector<std::string>> commands = {
      {"predict", "--catalogue", catalogue, "--star", "NoPlace", "--from", "2026-12-07 18:00"},
      {"predict", "--catalogue", catalogue, "--star", "NoPlace", "--from", "2026-12-07 18:00", "--format", "json"},
      {"list", "--catalogue", catalogue, "--star", "NoPlace", "--from", "2026-12-07", "--count", "3"},
      {"list", "--catalogue", catalogue, "--star", "NoPlace", "--from", "2026-12-07", "--csv"},
  };
  for (const char* system : {"hjd", "bjd"}) {
    for (std::vector<std::string> args : commands) {
      args.insert(args.end(), {"--elements", system});
      const auto run = runCli(args);
      EXPECT_EQ(run.status, 1) << args[0] << " " << system << "\n" << run.out;
      EXPECT_NE(run.err.find(kElementsNeedCoordinatesMessage), std::string::npos) << run.err;
    }
    // Today's list leaves the star out with the same message and lists the others.
    const auto today =
        runCli({"today", "--catalogue", catalogue, "--date", "2026-12-07", "--csv", "--elements", system});
    EXPECT_NE(today.err.find(kElementsNeedCoordinatesMessage), std::string::npos) << today.err;
    EXPECT_EQ(today.out.find("NoPlace"), std::string::npos) << today.out;
  }
  // The designed JD reading keeps predicting it (at 0h, 0°).
  EXPECT_EQ(runCli(commands[0]).status, 0);
  EXPECT_NE(runCli({"today", "--catalogue", catalogue, "--date", "2026-12-07", "--csv"}).out.find("NoPlace"),
            std::string::npos);
}

TEST_F(CliRefusals, ARunTheCalendarEndsFailsInEveryFormatAndOrder) {
  // The short period has its extremum within 3000-12-31; the long one's falls in 3001.
  const Row shortPeriod{"Short", "2451545.0", "0.1", "3", "8", "40", "57"};
  const Row longPeriod{"Long", "2451545.3", "7.3", "5", "0", "20", "0"};
  for (const auto& [file, rows] : {std::pair{"short-first.vsd", std::vector<Row>{shortPeriod, longPeriod}},
                                   std::pair{"long-first.vsd", std::vector<Row>{longPeriod, shortPeriod}}}) {
    const std::string catalogue = writeCatalogue(folder(), file, rows).string();
    const std::vector<std::vector<std::string>> formats = {
        {}, {"--csv"}, {"--xlsx", (folder() / (std::string(file) + ".xlsx")).string()}};
    for (const std::vector<std::string>& format : formats) {
      std::vector<std::string> args = {"today", "--catalogue", catalogue, "--date", "3000-12-31"};
      args.insert(args.end(), format.begin(), format.end());
      const auto run = runCli(args);
      EXPECT_EQ(run.status, 1) << file << " " << (format.empty() ? "text" : format[0]) << "\n" << run.out;
      EXPECT_NE(run.err.find(kOutsideCalendarMessage), std::string::npos) << run.err;
    }
  }
}

}  // namespace
}  // namespace tenmirel
