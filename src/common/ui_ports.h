#pragma once
// The small interfaces through which the core reaches the user: message boxes,
// the check window, file choosing and opening a written file. The Qt windows
// implement them; tests record what passes through them.
#include <optional>
#include <string>
#include <utility>

namespace tenmirel {

// The program's name, the title of every message box.
inline constexpr const char* kApplicationTitle = "Tenmirel";

class MessageSink {
 public:
  virtual ~MessageSink() = default;
  // A modal box with the text, one OK button, no icon and the application's title.
  virtual void showMessage(const std::string& text) = 0;
};

class CheckWindowTrigger {
 public:
  virtual ~CheckWindowTrigger() = default;
  // Shows the altitude check window without blocking the caller.
  virtual void showCheckWindow() = 0;
};

class FileChooser {
 public:
  virtual ~FileChooser() = default;
  // An open dialog offering the one filter; nothing when the user cancels.
  virtual std::optional<std::string> chooseFileToOpen(const std::string& filterDescription,
                                                      const std::string& pattern) = 0;
};

// Answers the open dialog with one path given in advance; an empty path is a
// dialog the user cancelled.
class FixedChooser : public FileChooser {
 public:
  explicit FixedChooser(std::string path = {}) : path_(std::move(path)) {}
  void set(std::string path) { path_ = std::move(path); }
  std::optional<std::string> chooseFileToOpen(const std::string&, const std::string&) override {
    if (path_.empty()) return std::nullopt;
    return path_;
  }

 private:
  std::string path_;
};

class FileOpener {
 public:
  virtual ~FileOpener() = default;
  // Opens a written file in the user's default application; false when none could.
  virtual bool openWithDefaultApplication(const std::string& path) = 0;
};

}  // namespace tenmirel
