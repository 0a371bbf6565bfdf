#pragma once
// Where a secondary window opens: beside the main window on its screen, never
// over its title and menu, always whole on the screen.
#include <QPoint>
#include <QRect>
#include <QSize>

class QWidget;

namespace tenmirel::ui {

// Room left between the two windows.
inline constexpr int kWindowGapPixels = 8;

// The top-left corner of a frame of the given size: right of the owner's frame,
// else left of it, else below it, else over its lower part below ownerTopBand
// (its title and menu); always inside the available area.
QPoint besideOwner(const QRect& ownerFrame, int ownerTopBand, const QSize& frame, const QRect& available);

// Moves window beside owner on owner's screen, counting the frame the window
// manager gives the owner as the window's frame too.
void placeBeside(QWidget& window, const QWidget& owner);

// The size a window opens at: its own once it has one, else its layout's.
QSize openingSize(const QWidget& window);

// Whether the window's frame would lie whole on one of the screens at pos.
bool wholeOnAScreen(const QPoint& pos, const QSize& frame);

}  // namespace tenmirel::ui
