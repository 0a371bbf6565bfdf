#include <charconv>

#include "catalogue/star_file.h"

namespace tenmirel {
namespace {

bool sameIgnoringCase(std::string_view a, std::string_view b) {
  auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

// "Algol (bet Per)" is also known as "Algol" and as "bet Per".
bool matchesShortName(std::string_view name, std::string_view wanted) {
  if (sameIgnoringCase(name, wanted)) return true;
  const auto open = name.find(" (");
  if (open == std::string_view::npos || name.back() != ')') return false;
  const std::string_view before = name.substr(0, open);
  const std::string_view inside = name.substr(open + 2, name.size() - open - 3);
  return sameIgnoringCase(before, wanted) || sameIgnoringCase(inside, wanted);
}

}  // namespace

std::optional<int> findStar(const std::vector<StarRecord>& records, std::string_view nameOrIndex) {
  const int count = static_cast<int>(records.size());
  for (int i = 0; i < count; ++i) {
    if (records[static_cast<std::size_t>(i)].starName == nameOrIndex) return i;
  }
  int index = 0;
  const auto [end, error] = std::from_chars(nameOrIndex.data(), nameOrIndex.data() + nameOrIndex.size(), index);
  if (!nameOrIndex.empty() && error == std::errc() && end == nameOrIndex.data() + nameOrIndex.size()) {
    if (index >= 0 && index < count) return index;
    return std::nullopt;
  }
  std::optional<int> found;
  for (int i = 0; i < count; ++i) {
    if (!matchesShortName(records[static_cast<std::size_t>(i)].starName, nameOrIndex)) continue;
    if (found) return std::nullopt;  // more than one star answers to it
    found = i;
  }
  return found;
}

}  // namespace tenmirel
