#pragma once
// A fresh folder under the system's temporary folder for one test's log.
#include <gtest/gtest.h>

#include <unistd.h>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace tenmirel::observations {

inline std::filesystem::path freshFolder(const std::string& what) {
  const auto* info = testing::UnitTest::GetInstance()->current_test_info();
  std::filesystem::path folder = std::filesystem::temp_directory_path() /
                                 ("tenmirel-" + what + "-" + std::to_string(::getpid()) + "-" + info->name());
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder);
  return folder;
}

inline std::string bytesOf(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

}  // namespace tenmirel::observations
