#include "ui/window_placement.h"

#include <QGuiApplication>
#include <QMainWindow>
#include <QMenuBar>
#include <QScreen>
#include <QWidget>
#include <algorithm>

namespace tenmirel::ui {
namespace {

QPoint clampInto(QPoint corner, const QSize& frame, const QRect& available) {
  corner.setX(std::max(available.left(), std::min(corner.x(), available.right() + 1 - frame.width())));
  corner.setY(std::max(available.top(), std::min(corner.y(), available.bottom() + 1 - frame.height())));
  return corner;
}

}  // namespace

QPoint besideOwner(const QRect& ownerFrame, int ownerTopBand, const QSize& frame, const QRect& available) {
  const int top = ownerFrame.top();
  const QPoint right(ownerFrame.right() + 1 + kWindowGapPixels, top);
  if (right.x() + frame.width() <= available.right() + 1) return clampInto(right, frame, available);
  const QPoint left(ownerFrame.left() - kWindowGapPixels - frame.width(), top);
  if (left.x() >= available.left()) return clampInto(left, frame, available);
  const QPoint below(ownerFrame.left(), ownerFrame.bottom() + 1 + kWindowGapPixels);
  if (below.y() + frame.height() <= available.bottom() + 1) return clampInto(below, frame, available);
  // Over the owner's lower part: as low as the screen allows, never above its menu.
  const int lowest = available.bottom() + 1 - frame.height();
  return clampInto(QPoint(ownerFrame.left(), std::max(lowest, top + ownerTopBand)), frame, available);
}

void placeBeside(QWidget& window, const QWidget& owner) {
  const QRect ownerFrame = owner.frameGeometry();
  const QSize frameExtra = ownerFrame.size() - owner.geometry().size();
  int topBand = owner.geometry().top() - ownerFrame.top();
  if (const auto* main = qobject_cast<const QMainWindow*>(&owner); main && main->menuWidget()) {
    topBand += main->menuWidget()->height();
  }
  const QScreen* screen = owner.screen() ? owner.screen() : QGuiApplication::primaryScreen();
  if (screen == nullptr) return;
  window.move(besideOwner(ownerFrame, topBand, openingSize(window) + frameExtra, screen->availableGeometry()));
}

QSize openingSize(const QWidget& window) {
  // A window never shown nor resized opens at the size its layout asks for.
  return window.testAttribute(Qt::WA_Resized) ? window.size() : window.sizeHint();
}

bool wholeOnAScreen(const QPoint& pos, const QSize& frame) {
  const QRect wanted(pos, frame);
  const QList<QScreen*> screens = QGuiApplication::screens();
  return std::any_of(screens.begin(), screens.end(),
                     [&](const QScreen* screen) { return screen->availableGeometry().contains(wanted); });
}

}  // namespace tenmirel::ui
