#pragma once
// A written .xlsx file read back by openpyxl (read_xlsx.py beside this file): an
// independent reader, so a test sees the workbook as a spreadsheet program would.
#include <cstdio>
#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace tenmirel::testing {

struct ReadCell {
  char type;           // openpyxl's data type: 's' text, 'n' number, 'd' date-time
  std::string format;  // the number format
  std::string value;
};
using ReadSheet = std::map<std::pair<int, int>, ReadCell>;

struct ReadWorkbook {
  bool read = false;  // openpyxl opened the file
  int sheets = 0;
  ReadSheet firstSheet;  // (row, column) -> cell
};

// python3 runs scriptFolder/read_xlsx.py, which prints "sheet row column type format value" a cell.
inline ReadWorkbook readWorkbookWithOpenpyxl(const std::string& python3, const std::filesystem::path& scriptFolder,
                                             const std::filesystem::path& file) {
  const std::string command = python3 + " '" + (scriptFolder / "read_xlsx.py").string() + "' '" + file.string() + "'";
  ReadWorkbook workbook;
  FILE* pipe = ::popen(command.c_str(), "r");
  if (pipe == nullptr) return workbook;
  std::string output;
  char buffer[4096];
  while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) output += buffer;
  workbook.read = ::pclose(pipe) == 0;
  std::istringstream lines(output);
  for (std::string line; std::getline(lines, line);) {
    std::vector<std::string> fields;
    std::size_t start = 0;
    for (int i = 0; i < 5; ++i) {
      const std::size_t tab = line.find('\t', start);
      fields.push_back(line.substr(start, tab - start));
      start = tab + 1;
    }
    fields.push_back(line.substr(start));
    const int sheet = std::stoi(fields[0]);
    workbook.sheets = std::max(workbook.sheets, sheet + 1);
    if (sheet == 0)
      workbook.firstSheet[{std::stoi(fields[1]), std::stoi(fields[2])}] = {fields[3][0], fields[4], fields[5]};
  }
  return workbook;
}

}  // namespace tenmirel::testing
