#include "cli/default_application.h"

#include <spawn.h>
#include <sys/wait.h>

#include <cerrno>

extern char** environ;

namespace tenmirel::cli {

bool DefaultApplication::openWithDefaultApplication(const std::string& path) {
  std::string program = "xdg-open";
  std::string argument = path;
  char* argv[] = {program.data(), argument.data(), nullptr};
  pid_t child = 0;
  if (::posix_spawnp(&child, program.c_str(), nullptr, nullptr, argv, environ) != 0) return false;
  int status = 0;
  while (::waitpid(child, &status, 0) < 0) {
    if (errno != EINTR) return false;
  }
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace tenmirel::cli
