#include "ui/blank_runs.h"

namespace tenmirel::ui {

std::vector<TextSpan> textSpans(const QString& text, bool blanks, qsizetype minLength) {
  std::vector<TextSpan> spans;
  qsizetype i = 0;
  while (i < text.size()) {
    if (isBlank(text.at(i)) != blanks) {
      ++i;
      continue;
    }
    qsizetype end = i;
    while (end < text.size() && isBlank(text.at(end)) == blanks) ++end;
    if (end - i >= minLength) spans.push_back({i, end});
    i = end;
  }
  return spans;
}

}  // namespace tenmirel::ui
