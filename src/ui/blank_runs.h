#pragma once
// The captions whose blank stretches hold other controls (the check window's
// formula rows, the main window's output line) split their text here: blanks
// are the ASCII and the ideographic space.
#include <QString>
#include <vector>

namespace tenmirel::ui {

inline constexpr QChar kIdeographicSpace(0x3000);

inline bool isBlank(QChar c) { return c == QLatin1Char(' ') || c == kIdeographicSpace; }

// A stretch of a text as [first, end) indices.
struct TextSpan {
  qsizetype first;
  qsizetype end;
};

// The stretches of visible characters, or (blanks true) of blanks at least
// minLength long, left to right.
std::vector<TextSpan> textSpans(const QString& text, bool blanks, qsizetype minLength = 1);

}  // namespace tenmirel::ui
