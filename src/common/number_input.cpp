#include "common/number_input.h"

#include <array>
#include <utility>

namespace tenmirel {
namespace {

// Full-width forms U+FF01..U+FF5E sit at a fixed distance from ASCII; in UTF-8
// they are EF BC 81..BF and EF BD 80..9E.
constexpr char32_t kFullWidthOffset = 0xFEE0;
constexpr char32_t kIdeographicSpace = 0x3000;

bool belongsToANumber(char ascii) {
  return (ascii >= '0' && ascii <= '9') || ascii == '.' || ascii == '-' || ascii == '+' || ascii == 'e' ||
         ascii == 'E' || ascii == 'd' || ascii == 'D';
}

// The code point of the three-byte sequence at text[i], or 0 when there is none.
char32_t threeByteCodePoint(std::string_view text, std::size_t i) {
  if (i + 2 >= text.size()) return 0;
  const auto lead = static_cast<unsigned char>(text[i]);
  const auto second = static_cast<unsigned char>(text[i + 1]);
  const auto third = static_cast<unsigned char>(text[i + 2]);
  if ((lead & 0xF0) != 0xE0 || (second & 0xC0) != 0x80 || (third & 0xC0) != 0x80) return 0;
  return (static_cast<char32_t>(lead & 0x0F) << 12) | (static_cast<char32_t>(second & 0x3F) << 6) |
         static_cast<char32_t>(third & 0x3F);
}

}  // namespace

std::string asciiNumberInput(std::string_view utf8) {
  std::string result;
  result.reserve(utf8.size());
  for (std::size_t i = 0; i < utf8.size();) {
    const char32_t code = threeByteCodePoint(utf8, i);
    if (code == kIdeographicSpace) {
      result.push_back(' ');
      i += 3;
      continue;
    }
    if (code > kFullWidthOffset && code - kFullWidthOffset < 0x80 &&
        belongsToANumber(static_cast<char>(code - kFullWidthOffset))) {
      result.push_back(static_cast<char>(code - kFullWidthOffset));
      i += 3;
      continue;
    }
    result.push_back(utf8[i]);
    ++i;
  }
  return result;
}

}  // namespace tenmirel
