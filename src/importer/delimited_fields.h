#pragma once
// Splitting one line of a delimited table: fields separated by one character,
// double quotes around a field that holds it ("" inside is one quote).
#include <string>
#include <string_view>
#include <vector>

namespace tenmirel::importer {

// Splits lines into fields, reusing its memory from line to line: the fields
// are views into the line or, for quoted fields, into the splitter's buffer;
// they last until the next split.
class FieldSplitter {
 public:
  // False when a quote is left open (a field running into the next line).
  bool split(std::string_view line, char delimiter);
  std::vector<std::string_view>& fields() { return fields_; }
  const std::vector<std::string_view>& fields() const { return fields_; }

 private:
  std::vector<std::string_view> fields_;
  std::string buffer_;
};

// Tab when the header holds one, else comma, else semicolon.
char delimiterOf(std::string_view header);

// The header's label without a leading '#', blanks and letter case folded for matching.
std::string headerKey(std::string_view label);

}  // namespace tenmirel::importer
