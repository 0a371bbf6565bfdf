#include "cli/text_table.h"

#include <algorithm>
#include <cstdio>

namespace tenmirel::cli {
namespace {

// Decodes one UTF-8 code point at text[i], advancing i; invalid bytes count as one.
char32_t nextCodePoint(std::string_view text, std::size_t& i) {
  const auto byte = static_cast<unsigned char>(text[i]);
  int length = byte < 0x80 ? 1 : (byte >> 5) == 0x6 ? 2 : (byte >> 4) == 0xE ? 3 : (byte >> 3) == 0x1E ? 4 : 1;
  if (i + static_cast<std::size_t>(length) > text.size()) length = 1;
  char32_t code = length == 1 ? byte : byte & (0x7F >> length);
  for (int k = 1; k < length; ++k) code = (code << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
  i += static_cast<std::size_t>(length);
  return code;
}

bool isWide(char32_t code) {
  return (code >= 0x1100 && code <= 0x115F) || (code >= 0x2E80 && code <= 0xA4CF) ||
         (code >= 0xAC00 && code <= 0xD7A3) || (code >= 0xF900 && code <= 0xFAFF) ||
         (code >= 0xFE30 && code <= 0xFE4F) || (code >= 0xFF00 && code <= 0xFF60) ||
         (code >= 0xFFE0 && code <= 0xFFE6) || (code >= 0x20000 && code <= 0x3FFFD);
}

}  // namespace

std::size_t displayWidth(std::string_view text) {
  std::size_t width = 0;
  for (std::size_t i = 0; i < text.size();) width += isWide(nextCodePoint(text, i)) ? 2 : 1;
  return width;
}

TextTable::TextTable(std::vector<std::string> header) : rightAligned_(header.size(), false) {
  rows_.push_back(std::move(header));
}

void TextTable::addRow(std::vector<std::string> cells) {
  cells.resize(rightAligned_.size());
  rows_.push_back(std::move(cells));
}

void TextTable::alignRight(std::size_t column) {
  if (column < rightAligned_.size()) rightAligned_[column] = true;
}

void TextTable::print(std::ostream& out) const {
  std::vector<std::size_t> widths(rightAligned_.size(), 0);
  for (const auto& row : rows_) {
    for (std::size_t c = 0; c < row.size(); ++c) widths[c] = std::max(widths[c], displayWidth(row[c]));
  }
  for (const auto& row : rows_) {
    std::string line;
    for (std::size_t c = 0; c < row.size(); ++c) {
      const std::string padding(widths[c] - displayWidth(row[c]), ' ');
      const bool last = c + 1 == row.size();
      if (c > 0) line += "  ";
      if (rightAligned_[c]) {
        line += padding + row[c];
      } else {
        line += row[c];
        if (!last) line += padding;
      }
    }
    out << line << '\n';
  }
}

std::string jsonString(std::string_view text) {
  std::string json = "\"";
  for (char c : text) {
    switch (c) {
      case '"':
        json += "\\\"";
        break;
      case '\\':
        json += "\\\\";
        break;
      case '\n':
        json += "\\n";
        break;
      case '\r':
        json += "\\r";
        break;
      case '\t':
        json += "\\t";
        break;
      default:
        if (static_cast<unsigned char>(c) < 0x20) {
          char escaped[8];
          std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(c));
          json += escaped;
        } else {
          json += c;
        }
    }
  }
  return json + "\"";
}

}  // namespace tenmirel::cli
