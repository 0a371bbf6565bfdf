#include "cli/cli.h"

namespace tenmirel::cli {

int runPredict(const std::vector<std::string>&, std::ostream&, std::ostream& err) {
  err << "tenmirel-cli predict: not available yet\n";
  return 2;
}

}  // namespace tenmirel::cli
