#pragma once
// What the night-plan tests share: the sample catalogue, catalogues of their own,
// and the command run with its JSON read back.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "catalogue/star_table.h"
#include "config_home.h"
#include "support/cli_runner.h"
#include "support/recording_ports.h"

namespace tenmirel::testing {

inline std::string samplePath() { return (sourceDir() / "data" / "sample.vsd").string(); }
inline std::string gcvsPath() { return (sourceDir() / "data" / "gcvs-elements.tsv").string(); }

inline std::string vsdText(const std::vector<StarRecord>& records) {
  std::string text = "Quorrelith 1999\r\n" + std::to_string(records.size()) + "\r\n";
  for (const StarRecord& r : records) {
    for (const std::string* line : {&r.starName, &r.ganki, &r.syuki, &r.alphaHour, &r.alphaMin, &r.deltaSign,
                                    &r.deltaDeg, &r.deltaMin, &r.memo}) {
      text += *line + "\r\n";
    }
  }
  return text;
}

// A star near the celestial equator at 6h, with the given elements.
inline StarRecord elementsStar(const std::string& name, const std::string& epoch, const std::string& period) {
  return {name, epoch, period, "6", "0", "True", "5", "0", ""};
}

struct NightJson {
  CliRun run;
  nlohmann::json json;
};

inline NightJson nightJson(std::vector<std::string> args) {
  args.insert(args.begin(), "night");
  args.push_back("--format");
  args.push_back("json");
  NightJson result{runCli(args), {}};
  if (result.run.status == 0) result.json = nlohmann::json::parse(result.run.out);
  return result;
}

class NightCommand : public ::testing::Test {
 protected:
  ConfigHome config;
  TempDir dir;
};

inline bool contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

}  // namespace tenmirel::testing
