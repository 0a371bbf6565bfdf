#include "ui/timing/timing_menu.h"

namespace tenmirel::ui {

TimingMenu::TimingMenu(FrmYohouModel& form, QWidget* mainWindow, std::function<std::filesystem::path()> cataloguePath,
                       TimingWindowPorts ports)
    : form_(form), mainWindow_(mainWindow), cataloguePath_(std::move(cataloguePath)), ports_(std::move(ports)) {}

OcWindow* TimingMenu::openOcWindow() {
  const int index = form_.combo1ListIndex();
  if (index < 0 || index >= form_.starCount || !StarTable::hasRow(index)) {
    if (ports_.messages) ports_.messages->showMessage("O−C を見る星を、カタログを読み込んで選んでください");
    return nullptr;
  }
  OcStar star{form_.starTable[index], form_.elementsTime(),
              cataloguePath_ ? cataloguePath_() : std::filesystem::path()};
  if (window_ && window_->windowTitle().endsWith(QString::fromStdString(star.record.starName))) {
    window_->reload();
  } else {
    if (window_) window_->close();
    window_ = new OcWindow(std::move(star), ports_, mainWindow_);
    window_->setAttribute(Qt::WA_DeleteOnClose);
  }
  window_->show();
  window_->raise();
  window_->activateWindow();
  return window_;
}

}  // namespace tenmirel::ui
