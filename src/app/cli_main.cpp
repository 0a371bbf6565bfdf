#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <iostream>
#include <string>
#include <vector>

#include "cli/cli.h"

namespace {

// A standard stream closed by the caller (">&-") is held by /dev/null opened for
// reading: writes to it then fail, and are reported, instead of the descriptor
// going to the first file the program opens (where the output would land in it).
void holdClosedStandardStreams() {
  for (int descriptor : {STDIN_FILENO, STDOUT_FILENO, STDERR_FILENO}) {
    if (::fcntl(descriptor, F_GETFD) != -1 || errno != EBADF) continue;
    const int opened = ::open("/dev/null", O_RDONLY);
    if (opened >= 0 && opened != descriptor) {
      ::dup2(opened, descriptor);
      ::close(opened);
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  holdClosedStandardStreams();
  // A reader that goes away (| head) ends the program quietly by SIGPIPE, as it
  // ends other Unix tools, even when whoever started it ignored the signal.
  std::signal(SIGPIPE, SIG_DFL);
  std::vector<std::string> args(argv + 1, argv + argc);
  return tenmirel::cli::run(args, std::cout, std::cerr);
}
