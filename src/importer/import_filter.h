#pragma once
// Choosing the stars for tonight's work among the predictable ones: by type,
// brightness, declination, period and name. Every filter is off until set.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "importer/imported_star.h"

namespace tenmirel::importer {

struct ImportFilter {
  // Patterns with '*' and '?' ("EA", "RR*"), matched, letter case ignored,
  // against each class of the type ("EA/SD+DSCT" has EA and DSCT) and the type
  // as written; a star matches when any pattern does.
  std::vector<std::string> types;
  std::optional<double> brighterThan;  // magnitude at maximum below this
  std::optional<double> decAbove;      // degrees
  std::optional<double> decBelow;      // degrees
  std::optional<double> periodBelow;   // days
  std::vector<std::string> names;      // patterns with '*' and '?', letter case ignored
  bool any() const { return !types.empty() || brighterThan || decAbove || decBelow || periodBelow || !names.empty(); }
};

// Which filter left a star out; none when it passes.
enum class FilterMiss { none, type, brightness, declination, period, name };
inline constexpr int kFilterMissCount = 6;
const char* filterMissWords(FilterMiss miss);
const char* filterMissKey(FilterMiss miss);

FilterMiss checkFilter(const ImportFilter& filter, const ImportedStar& star);

// The patterns of a comma-separated list ("EA, EB,RR*"), blanks dropped.
std::vector<std::string> patternList(std::string_view text);

// '*' any run, '?' one character; letter case ignored.
bool matchesPattern(std::string_view pattern, std::string_view text);

// The declination limits for stars that rise above the horizon at a site's
// latitude (degrees): north of it, above latitude - 90°; south, below latitude + 90°.
void limitToVisibleFrom(ImportFilter& filter, double latitudeDegrees);

}  // namespace tenmirel::importer
