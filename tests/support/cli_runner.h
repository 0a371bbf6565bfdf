#pragma once
// Runs tenmirel-cli in-process and keeps what it printed.
#include <sstream>
#include <string>
#include <vector>

#include "cli/cli.h"

namespace tenmirel::testing {

struct CliRun {
  int status;
  std::string out;
  std::string err;
};

inline CliRun runCli(const std::vector<std::string>& args) {
  std::ostringstream out;
  std::ostringstream err;
  const int status = cli::run(args, out, err);
  return {status, out.str(), err.str()};
}

inline std::vector<std::string> lines(const std::string& text) {
  std::vector<std::string> result;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) result.push_back(line);
  return result;
}

}  // namespace tenmirel::testing
