#pragma once
// The number boxes of both windows: what a Japanese input method types in
// full-width forms arrives in ASCII, and the input method is asked for Latin.
#include <Qt>

class QLineEdit;

namespace tenmirel::ui {

// Numbers here are typed in Latin letters; dates and counts are digits first.
inline constexpr Qt::InputMethodHints kNumberBoxHints =
    Qt::ImhPreferLatin | Qt::ImhPreferNumbers | Qt::ImhNoPredictiveText;

// Converts as the user types (the box shows the ASCII text) and sets the hints.
void makeNumberBox(QLineEdit& box);

}  // namespace tenmirel::ui
