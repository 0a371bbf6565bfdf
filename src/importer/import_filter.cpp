#include "importer/import_filter.h"

#include <cctype>

#include "catalogue/variable_type.h"

namespace tenmirel::importer {
namespace {

constexpr double kRightAngleDegrees = 90.0;

char folded(char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); }

bool anyMatches(const std::vector<std::string>& patterns, std::string_view text) {
  for (const std::string& pattern : patterns) {
    if (matchesPattern(pattern, text)) return true;
  }
  return false;
}

}  // namespace

const char* filterMissWords(FilterMiss miss) {
  switch (miss) {
    case FilterMiss::none:
      return "";
    case FilterMiss::type:
      return "型";
    case FilterMiss::brightness:
      return "明るさ";
    case FilterMiss::declination:
      return "赤緯・見える範囲";
    case FilterMiss::period:
      return "周期";
    case FilterMiss::name:
      return "星名";
  }
  return "";
}

const char* filterMissKey(FilterMiss miss) {
  switch (miss) {
    case FilterMiss::none:
      return "none";
    case FilterMiss::type:
      return "type";
    case FilterMiss::brightness:
      return "brightness";
    case FilterMiss::declination:
      return "declination";
    case FilterMiss::period:
      return "period";
    case FilterMiss::name:
      return "name";
  }
  return "none";
}

std::vector<std::string> patternList(std::string_view text) {
  std::vector<std::string> items;
  std::string item;
  for (const char c : text) {
    if (c == ',') {
      if (!item.empty()) items.push_back(item);
      item.clear();
    } else if (c != ' ' && c != '\t') {
      item += c;
    }
  }
  if (!item.empty()) items.push_back(item);
  return items;
}

bool matchesPattern(std::string_view pattern, std::string_view text) {
  // Iterative wildcard match with one backtrack point.
  std::size_t p = 0, t = 0, star = std::string_view::npos, mark = 0;
  while (t < text.size()) {
    if (p < pattern.size() && (pattern[p] == '?' || folded(pattern[p]) == folded(text[t]))) {
      ++p;
      ++t;
    } else if (p < pattern.size() && pattern[p] == '*') {
      star = p++;
      mark = t;
    } else if (star != std::string_view::npos) {
      p = star + 1;
      t = ++mark;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

FilterMiss checkFilter(const ImportFilter& filter, const ImportedStar& star) {
  if (!filter.types.empty()) {
    bool matched = anyMatches(filter.types, star.type);
    for (const std::string& c : variableTypeClasses(star.type)) matched = matched || anyMatches(filter.types, c);
    if (!matched) return FilterMiss::type;
  }
  if (filter.brighterThan) {
    const auto& max = star.maxMagnitude;
    if (!max.value || max.has('(') || max.has('<') || !(*max.value < *filter.brighterThan))
      return FilterMiss::brightness;
  }
  if (filter.decAbove && !(star.decDegrees && *star.decDegrees > *filter.decAbove)) return FilterMiss::declination;
  if (filter.decBelow && !(star.decDegrees && *star.decDegrees < *filter.decBelow)) return FilterMiss::declination;
  if (filter.periodBelow && !(star.period.value && *star.period.value < *filter.periodBelow)) return FilterMiss::period;
  if (!filter.names.empty() && !anyMatches(filter.names, star.name)) return FilterMiss::name;
  return FilterMiss::none;
}

void limitToVisibleFrom(ImportFilter& filter, double latitudeDegrees) {
  if (latitudeDegrees >= 0) {
    filter.decAbove = latitudeDegrees - kRightAngleDegrees;
  } else {
    filter.decBelow = latitudeDegrees + kRightAngleDegrees;
  }
}

}  // namespace tenmirel::importer
