#include "importer/delimited_fields.h"

#include <cctype>

#include "importer/field_text.h"

namespace tenmirel::importer {

bool splitFields(std::string_view line, char delimiter, std::vector<std::string>& fields) {
  fields.clear();
  std::string field;
  bool quoted = false;
  bool wasQuoted = false;
  for (std::size_t i = 0; i < line.size(); ++i) {
    const char c = line[i];
    if (quoted) {
      if (c == '"') {
        if (i + 1 < line.size() && line[i + 1] == '"') {
          field += '"';
          ++i;
        } else {
          quoted = false;
        }
      } else {
        field += c;
      }
    } else if (c == '"' && !wasQuoted && trimmed(field).empty()) {
      field.clear();
      quoted = true;
      wasQuoted = true;
    } else if (c == delimiter) {
      fields.push_back(std::move(field));
      field.clear();
      wasQuoted = false;
    } else {
      field += c;
    }
  }
  if (quoted) return false;
  fields.push_back(std::move(field));
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
