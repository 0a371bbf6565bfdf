#include "sky/toml_texts.h"

#include <array>
#include <charconv>
#include <cstdio>
#include <utility>

namespace tenmirel::sky {

std::string tomlFaultWords(std::string_view description) {
  auto says = [&](std::string_view part) { return description.find(part) != std::string_view::npos; };
  // Checked in this order: the first that matches names the fault.
  static constexpr std::array<std::pair<std::string_view, std::string_view>, 14> kWords{{
      {"redefine", "同じ表かキーが二度書かれています"},
      {"end-of-file", "ファイルが途中で終わっています"},
      {"EOF", "ファイルが途中で終わっています"},
      {"control character", "使えない制御文字があります"},
      {"utf-8", "UTF-8 として読めない文字があります"},
      {"surrogate", "UTF-8 として読めない文字があります"},
      {"U+10FFFF", "UTF-8 として読めない文字があります"},
      {"escape sequence", "文字列の中の「\\」の使い方が正しくありません"},
      {"expected '='", "キーのあとに「=」がありません"},
      {"expected ']'", "「]」が閉じていません"},
      {"expected value", "値がありません"},
      {"could not be interpreted as a value", "値として読めません"},
      {"exceeds", "長すぎる値があります"},
      {"key", "キーの書き方が正しくありません"},
  }};
  for (const auto& [part, words] : kWords) {
    if (says(part)) return std::string(words);
  }
  return "TOML の書き方として読めません";
}

std::string tomlString(std::string_view text) {
  std::string quoted = "\"";
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      quoted += '\\';
      quoted += c;
    } else if (byte < 0x20 || byte == 0x7F) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04X", static_cast<unsigned>(byte));
      quoted += escaped;
    } else {
      quoted += c;
    }
  }
  return quoted + "\"";
}

std::string tomlFloat(double value) {
  char buffer[64];
  const std::to_chars_result written = std::to_chars(buffer, buffer + sizeof buffer, value);
  std::string text(buffer, written.ptr);
  if (text.find_first_of(".e") == std::string::npos) text += ".0";
  return text;
}

}  // namespace tenmirel::sky
