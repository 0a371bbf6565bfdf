#pragma once
// Fakes of the user-facing interfaces that record what passes through them.
#include <deque>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "common/ui_ports.h"

namespace tenmirel::testing {

class RecordingMessages : public MessageSink {
 public:
  void showMessage(const std::string& text) override {
    if (whileShown) whileShown(text);
    shown.push_back(text);
  }
  std::vector<std::string> shown;
  // Runs while a box would be open: what the windows show behind it.
  std::function<void(const std::string&)> whileShown;
};

class RecordingCheckWindow : public CheckWindowTrigger {
 public:
  void showCheckWindow() override { ++timesShown; }
  int timesShown = 0;
};

// Answers each open dialog with the next queued path; an empty queue is a cancel.
class ScriptedChooser : public FileChooser {
 public:
  std::optional<std::string> chooseFileToOpen(const std::string& filterDescription,
                                              const std::string& pattern) override;
  std::deque<std::optional<std::string>> answers;
  std::vector<std::string> filtersSeen;
};

// A temporary folder removed with the object.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::filesystem::path& path() const { return path_; }
  // Writes the bytes to a file in the folder and returns its path.
  std::filesystem::path write(const std::string& name, const std::string& bytes) const;

 private:
  std::filesystem::path path_;
};

// The repository's root, for data files such as the sample catalogue.
std::filesystem::path sourceDir();

}  // namespace tenmirel::testing
