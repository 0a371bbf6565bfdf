#include "ui/desktop_program.h"

#include <QApplication>
#include <QTimer>

#include "ui/app_icon.h"
#include "ui/gothic_fonts.h"
#include "ui/qt_translations.h"

namespace tenmirel::ui {
namespace {

constexpr double kDialogPoints = 9;  // message boxes and the open dialog

// Reports the first painted frame of a window, after it has reached the screen.
class FirstFrameWatcher : public QObject {
 public:
  FirstFrameWatcher(FrmYohou& window, std::function<void(FrmYohou&)> callback)
      : QObject(&window), window_(window), callback_(std::move(callback)) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (!fired_ && event->type() == QEvent::Paint) {
      fired_ = true;
      QTimer::singleShot(0, &window_, [this] { callback_(window_); });
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  FrmYohou& window_;
  std::function<void(FrmYohou&)> callback_;
  bool fired_ = false;
};

}  // namespace

int runDesktopProgram(int& argc, char** argv, DesktopRunOptions options) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("tenmirel"));
  QApplication::setDesktopFileName(QStringLiteral("tenmirel"));
  QApplication::setWindowIcon(appIcon());
  QApplication::setFont(gothicFont(GothicPitch::kProportional, kDialogPoints));
  installQtJapanese(app);  // the open dialog and the standard buttons speak Japanese

  const auto now = options.clock ? options.clock() : std::chrono::system_clock::now();
  FrmYohou window(std::move(options.ports), now);
  if (options.whenShown) {
    window.installEventFilter(new FirstFrameWatcher(window, std::move(options.whenShown)));
  }
  window.show();
  return QApplication::exec();
}

}  // namespace tenmirel::ui
