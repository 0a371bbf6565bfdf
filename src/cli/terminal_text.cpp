#include "cli/terminal_text.h"

namespace tenmirel::cli {
namespace {

constexpr std::string_view kReplacementCharacter = "\xEF\xBF\xBD";
constexpr unsigned char kFirstPrintable = 0x20;
constexpr unsigned char kDelete = 0x7F;
// C1 controls, U+0080 to U+009F, are C2 80 to C2 9F in UTF-8.
constexpr unsigned char kC1Lead = 0xC2;
constexpr unsigned char kC1First = 0x80;
constexpr unsigned char kC1Last = 0x9F;

}  // namespace

std::string shownOnTerminal(std::string_view text) {
  std::string result;
  result.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto byte = static_cast<unsigned char>(text[i]);
    if (byte < kFirstPrintable || byte == kDelete) {
      result += kReplacementCharacter;
    } else if (byte == kC1Lead && i + 1 < text.size() && static_cast<unsigned char>(text[i + 1]) >= kC1First &&
               static_cast<unsigned char>(text[i + 1]) <= kC1Last) {
      result += kReplacementCharacter;
      ++i;
    } else {
      result.push_back(text[i]);
    }
  }
  return result;
}

std::string csvField(std::string_view text) {
  if (text.find_first_of(",\"\r\n") == std::string_view::npos) return std::string(text);
  std::string quoted = "\"";
  for (char c : text) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
  return quoted + "\"";
}

std::string csvTextFromCatalogue(std::string_view text) {
  const bool looksLikeFormula =
      !text.empty() && std::string_view("=+-@\t\r").find(text.front()) != std::string_view::npos;
  return csvField((looksLikeFormula ? "'" : "") + shownOnTerminal(text));
}

}  // namespace tenmirel::cli
