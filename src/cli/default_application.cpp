#include "cli/default_application.h"

#include <spawn.h>
#include <sys/wait.h>

#include <cerrno>
#include <filesystem>
#include <system_error>

extern char** environ;

namespace tenmirel::cli {

bool DefaultApplication::openWithDefaultApplication(const std::string& path) {
  std::string program = "xdg-open";
  // Absolute, so that a name like "--manual.xlsx" is never read as an option.
  std::error_code error;
  const std::filesystem::path absolute = std::filesystem::absolute(path, error);
  std::string argument = error ? "./" + path : absolute.string();
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
