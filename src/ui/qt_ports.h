#pragma once
// The Qt side of the ports through which the form model reaches the user.
#include <QPointer>
#include <QString>
#include <QWidget>
#include <functional>
#include <memory>

#include "common/ui_ports.h"

class QMessageBox;

namespace tenmirel::ui {

// Room a window manager's title bar takes besides the title: icon and buttons.
inline constexpr int kTitleBarAllowancePixels = 160;

// A message box as the program shows it: the text, one OK button, no icon and
// the application's title, at least as wide as its whole title needs. Built apart
// from showing it so that it can be checked.
std::unique_ptr<QMessageBox> makeMessageBox(QWidget* parent, const QString& text);

// The narrowest a message box may be: the title in a bold face and the title bar's allowance.
int messageBoxMinimumWidth(const QMessageBox& box);

// Brings the windows up to date before each message box opens, so that what
// stands behind a message is what the message is about.
class ShowStateFirst : public MessageSink {
 public:
  ShowStateFirst(std::function<void()> showState, MessageSink& boxes)
      : showState_(std::move(showState)), boxes_(boxes) {}
  void showMessage(const std::string& text) override {
    showState_();
    boxes_.showMessage(text);
  }

 private:
  std::function<void()> showState_;
  MessageSink& boxes_;
};

// A question box as the program shows it, with the buttons "はい" and "いいえ";
// true for "はい".
bool askYesNo(QWidget* parent, const QString& text);

// Modal message boxes over the given window.
class QtMessageSink : public MessageSink {
 public:
  explicit QtMessageSink(QWidget* parent) : parent_(parent) {}
  void showMessage(const std::string& text) override;

 private:
  QPointer<QWidget> parent_;
};

// The file dialog's filter text for a description and a pattern. A description
// that already names its pattern in parentheses is used as it stands.
QString qtFileFilter(const std::string& description, const std::string& pattern);

// The folder itself when it exists, else its nearest existing parent (the home
// folder when none is left).
QString nearestExistingFolder(const QString& folder);

// The platform's open dialog, without a title, starting in the folder startFolder
// gives (or its nearest existing parent) with an empty file name.
class QtFileChooser : public FileChooser {
 public:
  QtFileChooser(QWidget* parent, std::function<QString()> startFolder)
      : parent_(parent), startFolder_(std::move(startFolder)) {}
  std::optional<std::string> chooseFileToOpen(const std::string& filterDescription,
                                              const std::string& pattern) override;

 private:
  QPointer<QWidget> parent_;
  std::function<QString()> startFolder_;
};

// Passes the dialog on and keeps the last path chosen, so that the folder of a
// catalogue that loaded can be remembered.
class RememberingChooser : public FileChooser {
 public:
  explicit RememberingChooser(FileChooser& chooser) : chooser_(chooser) {}
  std::optional<std::string> chooseFileToOpen(const std::string& filterDescription,
                                              const std::string& pattern) override {
    last_ = next_ ? std::move(next_) : chooser_.chooseFileToOpen(filterDescription, pattern);
    next_.reset();
    return last_;
  }
  const std::optional<std::string>& lastChosen() const { return last_; }
  // The next question is answered with this path without a dialog (a file the
  // program itself wrote and the user asked to load).
  void answerNextWith(std::string path) { next_ = std::move(path); }

 private:
  FileChooser& chooser_;
  std::optional<std::string> last_;
  std::optional<std::string> next_;
};

// Opens a file in the desktop's default application for its type.
class QtFileOpener : public FileOpener {
 public:
  bool openWithDefaultApplication(const std::string& path) override;
};

// Shows the altitude check window through a callback owned by the main window.
class CallbackCheckWindowTrigger : public CheckWindowTrigger {
 public:
  explicit CallbackCheckWindowTrigger(std::function<void()> show) : show_(std::move(show)) {}
  void showCheckWindow() override { show_(); }

 private:
  std::function<void()> show_;
};

}  // namespace tenmirel::ui
