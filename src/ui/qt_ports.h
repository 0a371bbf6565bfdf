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

// A message box as the program shows it: the text, one OK button, no icon and
// the application's title. Built apart from showing it so that it can be checked.
std::unique_ptr<QMessageBox> makeMessageBox(QWidget* parent, const QString& text);

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

// The platform's open dialog, without a title or a start folder of its own.
class QtFileChooser : public FileChooser {
 public:
  explicit QtFileChooser(QWidget* parent) : parent_(parent) {}
  std::optional<std::string> chooseFileToOpen(const std::string& filterDescription,
                                              const std::string& pattern) override;

 private:
  QPointer<QWidget> parent_;
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
