#include "importer/vsx_dat_layout.h"

#include <algorithm>
#include <cctype>

#include "importer/field_text.h"

namespace tenmirel::importer {
namespace {

constexpr std::size_t kReadMeLineLimit = 4096;
constexpr std::size_t kBytesColumnLimit = 6;  // a table row's byte range starts within these columns

bool equalNoCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
         });
}

bool containsNoCase(std::string_view text, std::string_view part) {
  if (part.size() > text.size()) return false;
  for (std::size_t i = 0; i + part.size() <= text.size(); ++i) {
    if (equalNoCase(text.substr(i, part.size()), part)) return true;
  }
  return false;
}

std::optional<std::size_t> number(std::string_view text) {
  text = trimmed(text);
  if (text.empty() || text.size() > 6 ||
      !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; })) {
    return std::nullopt;
  }
  std::size_t value = 0;
  for (const char c : text) value = value * 10 + static_cast<std::size_t>(c - '0');
  return value;
}

std::vector<std::string_view> words(std::string_view text) {
  std::vector<std::string_view> result;
  std::size_t i = 0;
  while (i < text.size()) {
    while (i < text.size() && text[i] == ' ') ++i;
    const std::size_t start = i;
    while (i < text.size() && text[i] != ' ') ++i;
    if (i > start) result.push_back(text.substr(start, i - start));
  }
  return result;
}

// "  42- 50  F9.5   deg     RAdeg   Right ascension" -> RAdeg at [41, 50).
std::optional<DatColumn> tableRow(std::string_view line) {
  const std::size_t first = line.find_first_not_of(' ');
  if (first == std::string_view::npos || first >= kBytesColumnLimit) return std::nullopt;
  std::size_t i = first;
  while (i < line.size() && std::isdigit(static_cast<unsigned char>(line[i]))) ++i;
  const auto begin = number(line.substr(first, i - first));
  if (!begin || *begin == 0) return std::nullopt;
  std::size_t end = *begin;
  std::string_view rest = line.substr(i);
  const std::size_t dash = rest.find_first_not_of(' ');
  if (dash != std::string_view::npos && rest[dash] == '-') {
    rest.remove_prefix(dash + 1);
    const std::size_t digitsAt = rest.find_first_not_of(' ');
    if (digitsAt == std::string_view::npos) return std::nullopt;
    std::size_t j = digitsAt;
    while (j < rest.size() && std::isdigit(static_cast<unsigned char>(rest[j]))) ++j;
    const auto last = number(rest.substr(digitsAt, j - digitsAt));
    if (!last || *last < *begin) return std::nullopt;
    end = *last;
    rest.remove_prefix(j);
  }
  const std::vector<std::string_view> parts = words(rest);
  if (parts.size() < 3) return std::nullopt;  // format, units, label
  return DatColumn{std::string(parts[2]), *begin - 1, end};
}

}  // namespace

std::optional<DatColumn> VsxDatLayout::find(std::string_view label) const {
  for (const DatColumn& column : columns) {
    if (equalNoCase(column.label, label)) return column;
  }
  return std::nullopt;
}

std::size_t VsxDatLayout::lineLength() const {
  std::size_t length = 0;
  for (const DatColumn& column : columns) length = std::max(length, column.end);
  return length;
}

const VsxDatLayout& defaultVsxDatLayout() {
  static const VsxDatLayout layout{{
      {"OID", 0, 7},       {"Name", 8, 38},       {"V", 39, 40},          {"RAdeg", 41, 50},    {"DEdeg", 51, 60},
      {"Type", 61, 91},    {"l_max", 92, 93},     {"max", 93, 100},       {"u_max", 100, 101},  {"n_max", 101, 107},
      {"f_min", 108, 109}, {"l_min", 109, 110},   {"min", 110, 117},      {"u_min", 117, 118},  {"n_min", 118, 124},
      {"Epoch", 125, 137}, {"u_Epoch", 137, 138}, {"l_Period", 139, 140}, {"Period", 140, 156}, {"u_Period", 156, 159},
  }};
  return layout;
}

Checked<VsxDatLayout> readVsxDatReadMe(std::istream& readMe) {
  using Result = Checked<VsxDatLayout>;
  std::string line;
  bool inSection = false;
  bool inRows = false;
  VsxDatLayout layout;
  int lineNumber = 0;
  while (std::getline(readMe, line)) {
    ++lineNumber;
    if (line.size() > kReadMeLineLimit)
      return Result::failure("ReadMe の " + std::to_string(lineNumber) + " 行目が長すぎます。");
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!inSection) {
      inSection = containsNoCase(line, "Byte-by-byte Description of file") && containsNoCase(line, "vsx.dat");
      continue;
    }
    if (const auto row = tableRow(line)) {
      layout.columns.push_back(*row);
      inRows = true;
    } else if (inRows && line.find("----") == 0) {
      break;
    }
  }
  if (layout.columns.empty()) {
    return Result::failure("ReadMe に vsx.dat の桁の表（Byte-by-byte Description of file: vsx.dat）がありません。");
  }
  for (const char* needed : {"Name", "RAdeg", "DEdeg", "Period", "Epoch"}) {
    if (!layout.find(needed)) {
      return Result::failure(std::string("ReadMe の vsx.dat の表に列「") + needed + "」がありません。");
    }
  }
  return Result::success(std::move(layout));
}

bool looksLikeVsxDatLine(std::string_view line) {
  const VsxDatLayout& layout = defaultVsxDatLayout();
  const std::string_view oid = trimmed(columns(line, 0, 7));
  if (oid.empty() || !std::all_of(oid.begin(), oid.end(), [](char c) { return c >= '0' && c <= '9'; })) return false;
  if (trimmed(columns(line, 8, 38)).empty()) return false;
  const DatColumn ra = *layout.find("RAdeg");
  return plainDecimal(trimmed(columns(line, ra.begin, ra.end))).has_value();
}

}  // namespace tenmirel::importer
