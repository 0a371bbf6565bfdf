#pragma once
// A worksheet whose columns keep their kind: numbers stay numbers (each column
// with its own number format, the unit in its title) so that a spreadsheet can
// sort and sum them, and local date-times are the spreadsheet's own date-times.
// Lines of facts may stand above the table.
#include <string>
#include <variant>
#include <vector>

namespace tenmirel {

// A local calendar date and clock time, to the minute.
struct SheetDateTime {
  int year = 0;
  int month = 0;
  int day = 0;
  int hour = 0;
  int minute = 0;
};

// An empty cell, a text, a number or a date-time.
using TypedCell = std::variant<std::monostate, std::string, double, SheetDateTime>;

struct TypedColumn {
  std::string title;
  std::string numberFormat;  // for numbers and date-times ("0", "0.00000", "0.0", "0%", "yyyy-mm-dd hh:mm")
  double widthCharacters = 10;
};

struct TypedSheet {
  std::string name;                             // the sheet's tab; empty: the writer's default
  std::vector<std::vector<std::string>> facts;  // lines above the table, a text a cell
  std::vector<TypedColumn> columns;
  std::vector<std::vector<TypedCell>> rows;  // each as many cells as columns
};

// The most rows a sheet of the .xlsx format holds.
inline constexpr std::size_t kMostXlsxRows = 1'048'576;

// The row (counted from 1) of a sheet's column titles: after its facts and one blank line.
inline std::size_t typedSheetHeaderRow(const TypedSheet& sheet) {
  return sheet.facts.empty() ? 1 : sheet.facts.size() + 2;
}

}  // namespace tenmirel
