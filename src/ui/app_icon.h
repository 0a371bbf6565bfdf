#pragma once
// The program's icon: a night-blue tile with the light curve of an eclipsing
// star, drawn in code so that the window and the desktop entry share one design.
#include <QIcon>
#include <QImage>

namespace tenmirel::ui {

QImage paintAppIcon(int sizePixels);
QIcon appIcon();

}  // namespace tenmirel::ui
