#include "importer/delimited_fields.h"

#include <cctype>

#include "importer/field_text.h"

namespace tenmirel::importer {

bool FieldSplitter::split(std::string_view line, char delimiter) {
  fields_.clear();
  if (line.find('"') == std::string_view::npos) {
    std::size_t start = 0;
    while (true) {
      const std::size_t end = line.find(delimiter, start);
      fields_.push_back(line.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
      if (end == std::string_view::npos) return true;
      start = end + 1;
    }
  }
  // Unquoting never lengthens the text, so the buffer never moves under the views.
  buffer_.clear();
  buffer_.reserve(line.size());
  std::size_t fieldStart = 0;
  bool quoted = false;
  bool wasQuoted = false;
  const auto finish = [&] {
    fields_.emplace_back(buffer_.data() + fieldStart, buffer_.size() - fieldStart);
    fieldStart = buffer_.size();
    wasQuoted = false;
  };
  for (std::size_t i = 0; i < line.size(); ++i) {
    const char c = line[i];
    if (quoted) {
      if (c == '"') {
        if (i + 1 < line.size() && line[i + 1] == '"') {
          buffer_ += '"';
          ++i;
        } else {
          quoted = false;
        }
      } else {
        buffer_ += c;
      }
    } else if (c == '"' && !wasQuoted && trimmed(std::string_view(buffer_).substr(fieldStart)).empty()) {
      buffer_.resize(fieldStart);
      quoted = true;
      wasQuoted = true;
    } else if (c == delimiter) {
      finish();
    } else {
      buffer_ += c;
    }
  }
  if (quoted) return false;
  finish();
  return true;
}

char delimiterOf(std::string_view header) {
  if (header.find('\t') != std::string_view::npos) return '\t';
  if (header.find(',') != std::string_view::npos) return ',';
  return ';';
}

std::string headerKey(std::string_view label) {
  label = trimmed(label);
  if (!label.empty() && label.front() == '#') label.remove_prefix(1);
  std::string key;
  for (const char c : trimmed(label)) key += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return key;
}

}  // namespace tenmirel::importer
