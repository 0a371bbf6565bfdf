#pragma once
// A catalogue file of real stars: the first rows of data/gcvs-elements.tsv
// written in the .vsd format, for catalogues larger than the window's table.
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace tenmirel::testing {

// The catalogue's text with the first count stars of the GCVS extract (all of
// them when it has fewer); positions as "hours" and "minutes" texts, as a
// catalogue writes them.
inline std::string gcvsCatalogueText(const std::string& tsvPath, std::size_t count) {
  std::ifstream file(tsvPath);
  std::string line;
  std::getline(file, line);  // the header
  std::vector<std::string> records;
  while (records.size() < count && std::getline(file, line)) {
    std::vector<std::string> fields;
    std::stringstream row(line);
    std::string field;
    while (std::getline(row, field, '\t')) fields.push_back(field);
    fields.resize(14);
    const double raMinutes = std::stod("0" + fields[2]) + std::stod("0" + fields[3]) / 60;
    const double decMinutes = std::stod("0" + fields[6]) + std::stod("0" + fields[7]) / 60;
    std::ostringstream record;
    record.precision(15);
    record << fields[0] << "\r\n"
           << fields[12] << "\r\n"
           << fields[13] << "\r\n"
           << fields[1] << "\r\n"
           << raMinutes << "\r\n"
           << (fields[4] == "-" ? "False" : "True") << "\r\n"
           << fields[5] << "\r\n"
           << decMinutes << "\r\n"
           << fields[8] << "\r\n";
    records.push_back(record.str());
  }
  std::string text = "Quorrelith 1999\r\n" + std::to_string(records.size()) + "\r\n";
  for (const std::string& record : records) text += record;
  return text;
}

}  // namespace tenmirel::testing
