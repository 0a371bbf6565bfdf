// Arbitrary argument vectors for tenmirel-cli: option parsing, the date, hour,
// coordinate and number texts and the commands behind them must never crash,
// and a run ends with a known exit status and never shows "inf" or "nan".
// Arguments are the input split at NUL bytes. The run happens in a folder of its
// own holding a small catalogue (s.vsd); arguments that could reach other files,
// write files or wait for input (absolute paths, "..", "-", --xlsx, --open) are
// left out; the settings folder is the run's folder too.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "catalogue/catalogue_writer.h"
#include "cli/cli.h"

namespace {

void require(bool condition) {
  if (!condition) std::abort();
}

const tenmirel::StarRecord kCatalogue[] = {
    {"ZZ Exa", "2451545.2", "1", "5", "55", "True", "7", "24", "memo"},
    {"YY Sam", "2450000.5", "2.25", "18", "2", "False", "0", "30", "period uncertain"},
};

void enterOwnFolder() {
  static const bool entered = [] {
    char pattern[] = "/tmp/tenmirel-fuzz-cli-XXXXXX";
    require(::mkdtemp(pattern) != nullptr);
    require(::chdir(pattern) == 0);
    std::ofstream("s.vsd", std::ios::binary)
        << tenmirel::catalogueFileText({std::begin(kCatalogue), std::end(kCatalogue)});
    // The sites and settings files that "sites add" and "night" write and read are the folder's own.
    require(::setenv("XDG_CONFIG_HOME", pattern, 1) == 0);
    return true;
  }();
  (void)entered;
}

bool safe(const std::string& argument) {
  if (argument.empty()) return true;
  if (argument == "-" || argument.front() == '/' || argument.find("..") != std::string::npos) return false;
  if (argument.find('~') != std::string::npos) return false;
  if (argument.rfind("--x", 0) == 0 || argument.rfind("--o", 0) == 0) return false;
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  enterOwnFolder();
  std::vector<std::string> args(1);
  for (std::size_t i = 0; i < size; ++i) {
    if (data[i] == 0) {
      args.emplace_back();
    } else {
      args.back().push_back(static_cast<char>(data[i]));
    }
  }
  bool echoesNumberWords = false;
  for (const std::string& argument : args) {
    if (!safe(argument)) return -1;  // not kept in the corpus
    echoesNumberWords =
        echoesNumberWords || argument.find("inf") != std::string::npos || argument.find("nan") != std::string::npos;
  }
  std::ostringstream out, err;
  const int status = tenmirel::cli::run(args, out, err);
  require(status >= 0 && status <= 2);
  // Only a message quoting the user's own argument may hold these letters.
  if (!echoesNumberWords) {
    for (const std::string& text : {out.str(), err.str()}) {
      require(text.find("inf") == std::string::npos && text.find("nan") == std::string::npos);
    }
  }
  return 0;
}
