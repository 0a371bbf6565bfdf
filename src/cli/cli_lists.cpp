#include "cli/cli.h"

namespace tenmirel::cli {

int runList(const std::vector<std::string>&, std::ostream&, std::ostream& err) {
  err << "tenmirel-cli list: not available yet\n";
  return 2;
}

int runToday(const std::vector<std::string>&, std::ostream&, std::ostream& err) {
  err << "tenmirel-cli today: not available yet\n";
  return 2;
}

}  // namespace tenmirel::cli
