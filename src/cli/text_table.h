#pragma once
// Aligned text columns for the terminal, counting East Asian wide characters as
// two columns so that Japanese headers and names line up.
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace tenmirel::cli {

// Terminal columns taken by a UTF-8 text.
std::size_t displayWidth(std::string_view text);

class TextTable {
 public:
  explicit TextTable(std::vector<std::string> header);
  void addRow(std::vector<std::string> cells);
  // Columns listed here are aligned to the right (numbers); the rest to the left.
  void alignRight(std::size_t column);
  void print(std::ostream& out) const;

 private:
  std::vector<std::vector<std::string>> rows_;
  std::vector<bool> rightAligned_;
};

// A JSON string literal of a UTF-8 text.
std::string jsonString(std::string_view text);

}  // namespace tenmirel::cli
