#include "sky/config_files.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <system_error>

namespace tenmirel::sky {

std::filesystem::path configFolder() {
  const char* xdg = std::getenv("XDG_CONFIG_HOME");
  std::filesystem::path base;
  if (xdg != nullptr && *xdg != '\0' && std::filesystem::path(xdg).is_absolute()) {
    base = xdg;
  } else {
    const char* home = std::getenv("HOME");
    base = std::filesystem::path(home != nullptr && *home != '\0' ? home : ".") / ".config";
  }
  return base / "Tenmirel";
}

Refusal writeFileAtomically(const std::filesystem::path& path, const std::string& text) {
  const std::string failed = "設定ファイル " + path.string() + " を書き込めませんでした";
  std::error_code error;
  std::filesystem::create_directories(path.parent_path(), error);
  if (error) return failed + "（" + error.message() + "）。";
  std::string pattern = (path.parent_path() / ("." + path.filename().string() + ".XXXXXX")).string();
  const int descriptor = ::mkstemp(pattern.data());
  if (descriptor < 0) return failed + "。";
  const std::filesystem::path temporary = pattern;
  bool written = true;
  std::size_t done = 0;
  while (written && done < text.size()) {
    const ssize_t count = ::write(descriptor, text.data() + done, text.size() - done);
    if (count <= 0) {
      written = false;
    } else {
      done += static_cast<std::size_t>(count);
    }
  }
  written = written && ::fsync(descriptor) == 0;
  written = ::close(descriptor) == 0 && written;
  if (written) {
    std::filesystem::rename(temporary, path, error);
    written = !error;
  }
  if (!written) {
    std::filesystem::remove(temporary, error);
    return failed + "。";
  }
  return std::nullopt;
}

}  // namespace tenmirel::sky
