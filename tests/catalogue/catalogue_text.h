#pragma once
// Builds the bytes of catalogue files for the tests, line by line.
#include <string>
#include <vector>

#include "catalogue/catalogue_writer.h"
#include "catalogue/star_file.h"
#include "catalogue/star_table.h"

namespace tenmirel::testing {

inline constexpr const char* kCrLf = "\r\n";

// Joins lines with the line end, the last line ended too.
inline std::string joinLines(const std::vector<std::string>& lines, const std::string& lineEnd = kCrLf) {
  std::string text;
  for (const auto& line : lines) text += line + lineEnd;
  return text;
}

// A record's nine texts in file order, for comparing records.
inline std::vector<std::string> recordLines(const StarRecord& r) {
  std::vector<std::string> lines;
  for (const auto field : kStarRecordFields) lines.push_back(r.*field);
  return lines;
}

// A whole catalogue: magic line, count line (the records' count unless given), the records.
inline std::string catalogueText(const std::vector<StarRecord>& records, const std::string& lineEnd = kCrLf,
                                 const std::string& countLine = "") {
  if (countLine.empty()) return catalogueFileText(records, lineEnd);
  std::string text = std::string(kCatalogueMagicLine) + lineEnd + countLine + lineEnd;
  for (const auto& record : records) text += starRecordText(record, lineEnd);
  return text;
}

// The two stars of the format's example.
inline StarRecord zzExa() {
  return {"ZZ Exa", "2451545.1234", "0.7654321", "5", "30.5", "True", "12", "15", "EA, min. 11.2"};
}
inline StarRecord yySam() { return {"YY Sam", "2450000.5", "2.25", "18", "2", "False", "0", "30", "period uncertain"}; }

// Star i of a generated catalogue, every text distinct.
inline StarRecord numberedStar(int i, const std::string& prefix = "Star") {
  const std::string n = std::to_string(i);
  return {prefix + " " + n,         "2450000." + n,         "1." + n, std::to_string(i % 24), "1" + n,
          i % 2 ? "False" : "True", std::to_string(i % 90), "2" + n,  prefix + " memo " + n};
}

inline std::vector<StarRecord> numberedStars(int count, const std::string& prefix = "Star") {
  std::vector<StarRecord> stars;
  for (int i = 0; i < count; ++i) stars.push_back(numberedStar(i, prefix));
  return stars;
}

}  // namespace tenmirel::testing
