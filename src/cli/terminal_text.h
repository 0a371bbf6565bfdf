#pragma once
// Texts from a catalogue are not trusted on a terminal or in a spreadsheet:
// control characters could move the cursor or set the window title, and a
// leading "=" makes a spreadsheet program compute a formula.
#include <string>
#include <string_view>

namespace tenmirel::cli {

// The text with every control character (C0, DEL and C1) shown as U+FFFD.
std::string shownOnTerminal(std::string_view text);

// A CSV field: quoted when it holds a comma, a quote or a line end.
std::string csvField(std::string_view text);
// A CSV field of a text from the catalogue: one beginning with "=", "+", "-",
// "@", a tab or a CR gets a leading apostrophe, so that it stays text; control
// characters are then shown as on the terminal.
std::string csvTextFromCatalogue(std::string_view text);

}  // namespace tenmirel::cli
