#include "cli/cli.h"

namespace tenmirel::cli {

int runStars(const std::vector<std::string>&, std::ostream&, std::ostream& err) {
  err << "tenmirel-cli stars: not available yet\n";
  return 2;
}

}  // namespace tenmirel::cli
