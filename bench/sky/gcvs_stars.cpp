#include "gcvs_stars.h"

#include <fstream>
#include <sstream>

#include "common/number_text.h"

namespace tenmirel::bench {

std::vector<sky::NightStar> readGcvsStars(const std::string& path) {
  std::ifstream file(path);
  std::vector<sky::NightStar> stars;
  std::string line;
  std::getline(file, line);  // the header
  while (std::getline(file, line)) {
    std::vector<std::string> fields;
    std::stringstream row(line);
    std::string field;
    while (std::getline(row, field, '\t')) fields.push_back(field);
    if (fields.size() < 14) fields.resize(14);
    sky::NightStar star;
    star.name = fields[0];
    star.epoch = fields[12];
    star.period = fields[13];
    star.hasPlace = true;
    star.rightAscensionDegrees =
        (parseLenient(fields[1]) + parseLenient(fields[2]) / 60 + parseLenient(fields[3]) / 3600) * 15;
    star.declinationDegrees =
        (parseLenient(fields[5]) + parseLenient(fields[6]) / 60 + parseLenient(fields[7]) / 3600) *
        (fields[4] == "-" ? -1 : 1);
    stars.push_back(star);
  }
  return stars;
}

}  // namespace tenmirel::bench
