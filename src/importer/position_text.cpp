// Positions written as numbers: decimal degrees, or sexagesimal (right
// ascension in hours) with ':' or blanks between the parts.
#include <array>
#include <string>

#include "importer/field_text.h"
#include "importer/line_readers.h"

namespace tenmirel::importer {
namespace {

constexpr double kDegreesPerHour = 15.0;
constexpr double kFullCircleDegrees = 360.0;
constexpr double kPoleDegrees = 90.0;
constexpr double kPartsPerUnit = 60.0;

bool isSexagesimal(std::string_view text) {
  return text.find(':') != std::string_view::npos || text.find(' ') != std::string_view::npos;
}

// "05:32:00.4" or "-00 17 56.7": the value in the first part's unit; the sign
// belongs to the whole value, so "-00 30" is -0.5.
std::optional<double> sexagesimal(std::string_view text) {
  bool negative = false;
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  std::array<double, 3> parts{};
  std::size_t count = 0;
  std::size_t i = 0;
  while (i < text.size()) {
    while (i < text.size() && (text[i] == ' ' || text[i] == ':')) ++i;
    if (i >= text.size()) break;
    const std::size_t start = i;
    while (i < text.size() && text[i] != ' ' && text[i] != ':') ++i;
    if (count == parts.size()) return std::nullopt;
    const std::string_view part = text.substr(start, i - start);
    const auto value = plainDecimal(part);
    if (!value || part.front() == '-' || part.front() == '+') return std::nullopt;
    if (count > 0 && *value >= kPartsPerUnit) return std::nullopt;
    parts[count++] = *value;
  }
  if (count == 0) return std::nullopt;
  const double value = parts[0] + parts[1] / kPartsPerUnit + parts[2] / (kPartsPerUnit * kPartsPerUnit);
  return negative ? -value : value;
}

}  // namespace

void readPositionTexts(std::string_view raText, std::string_view decText, ImportedStar& star) {
  raText = trimmed(raText);
  decText = trimmed(decText);
  if (raText.empty() && decText.empty()) return;
  std::optional<double> ra;
  if (isSexagesimal(raText)) {
    if (const auto hours = sexagesimal(raText)) ra = *hours * kDegreesPerHour;
  } else {
    ra = plainDecimal(raText);
  }
  const std::optional<double> dec = isSexagesimal(decText) ? sexagesimal(decText) : plainDecimal(decText);
  if (!ra || !dec || *ra < 0 || *ra >= kFullCircleDegrees || *dec < -kPoleDegrees || *dec > kPoleDegrees) {
    star.problems.push_back("位置「" + std::string(raText) + " " + std::string(decText) + "」が読めません");
    return;
  }
  star.raDegrees = ra;
  star.decDegrees = dec;
}

}  // namespace tenmirel::importer
