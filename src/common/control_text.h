#pragma once
// Texts that came from a file or a user and go into a message, a settings file or a
// calendar: control characters (C0, DEL, C1) would move a terminal's cursor, and
// bytes that are not UTF-8 cannot be written into TOML or iCalendar at all.
#include <string>
#include <string_view>

namespace tenmirel {

// The replacement character U+FFFD in UTF-8.
inline constexpr std::string_view kReplacementCharacterUtf8 = "\xEF\xBF\xBD";

// Well-formed UTF-8 without control characters (a tab is a control character too).
bool isPlainText(std::string_view text);

// The text with every control character and every byte that does not decode as
// UTF-8 replaced by U+FFFD.
std::string withControlsReplaced(std::string_view text);

}  // namespace tenmirel
