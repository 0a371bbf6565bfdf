#include "support/recording_ports.h"

#include <cstdlib>
#include <fstream>
#include <random>
#include <stdexcept>

namespace tenmirel::testing {

std::optional<std::string> ScriptedChooser::chooseFileToOpen(const std::string& filterDescription,
                                                             const std::string& pattern) {
  filtersSeen.push_back(filterDescription + "|" + pattern);
  if (answers.empty()) return std::nullopt;
  auto answer = answers.front();
  answers.pop_front();
  return answer;
}

TempDir::TempDir() {
  std::random_device seed;
  const auto base = std::filesystem::temp_directory_path();
  for (int attempt = 0; attempt < 100; ++attempt) {
    auto candidate = base / ("tenmirel-test-" + std::to_string(seed()));
    if (std::filesystem::create_directory(candidate)) {
      path_ = candidate;
      return;
    }
  }
  throw std::runtime_error("cannot create a temporary folder");
}

TempDir::~TempDir() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

std::filesystem::path TempDir::write(const std::string& name, const std::string& bytes) const {
  auto file = path_ / name;
  std::ofstream out(file, std::ios::binary);
  out << bytes;
  return file;
}

std::filesystem::path sourceDir() {
  if (const char* dir = std::getenv("TENMIREL_SOURCE_DIR")) return dir;
  return std::filesystem::current_path();
}

}  // namespace tenmirel::testing
