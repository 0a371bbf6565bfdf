#include "common/control_text.h"

#include <cstdint>

namespace tenmirel {
namespace {

constexpr char32_t kFirstPrintable = 0x20;
constexpr char32_t kDelete = 0x7F;
constexpr char32_t kLastC1 = 0x9F;
constexpr char32_t kFirstSurrogate = 0xD800;
constexpr char32_t kLastSurrogate = 0xDFFF;
constexpr char32_t kLastCodePoint = 0x10FFFF;

// The code point at text[at] and its length in bytes; length 0 when the bytes there
// are not well-formed UTF-8.
struct Decoded {
  char32_t point = 0;
  std::size_t length = 0;
};

Decoded decodeAt(std::string_view text, std::size_t at) {
  const auto lead = static_cast<unsigned char>(text[at]);
  if (lead < 0x80) return {lead, 1};
  std::size_t length = 0;
  char32_t point = 0;
  char32_t smallest = 0;
  if ((lead & 0xE0) == 0xC0) {
    length = 2, point = lead & 0x1F, smallest = 0x80;
  } else if ((lead & 0xF0) == 0xE0) {
    length = 3, point = lead & 0x0F, smallest = 0x800;
  } else if ((lead & 0xF8) == 0xF0) {
    length = 4, point = lead & 0x07, smallest = 0x10000;
  } else {
    return {};
  }
  if (text.size() - at < length) return {};
  for (std::size_t i = 1; i < length; ++i) {
    const auto next = static_cast<unsigned char>(text[at + i]);
    if ((next & 0xC0) != 0x80) return {};
    point = (point << 6) | (next & 0x3F);
  }
  if (point < smallest || point > kLastCodePoint || (point >= kFirstSurrogate && point <= kLastSurrogate)) return {};
  return {point, length};
}

bool isControl(char32_t point) { return point < kFirstPrintable || (point >= kDelete && point <= kLastC1); }

}  // namespace

bool isPlainText(std::string_view text) {
  for (std::size_t at = 0; at < text.size();) {
    const Decoded decoded = decodeAt(text, at);
    if (decoded.length == 0 || isControl(decoded.point)) return false;
    at += decoded.length;
  }
  return true;
}

std::string withControlsReplaced(std::string_view text) {
  std::string result;
  result.reserve(text.size());
  for (std::size_t at = 0; at < text.size();) {
    const Decoded decoded = decodeAt(text, at);
    if (decoded.length == 0 || isControl(decoded.point)) {
      result += kReplacementCharacterUtf8;
      at += decoded.length == 0 ? 1 : decoded.length;
    } else {
      result.append(text.substr(at, decoded.length));
      at += decoded.length;
    }
  }
  return result;
}

}  // namespace tenmirel
