#include "sky/elements_time.h"

#include <string>

namespace tenmirel::sky {

const char* elementsTimeName(ElementsTime system) {
  switch (system) {
    case ElementsTime::hjd:
      return "HJD";
    case ElementsTime::bjdTdb:
      return "BJD_TDB";
    case ElementsTime::jd:
      break;
  }
  return "JD";
}

std::optional<ElementsTime> parseElementsTime(std::string_view text) {
  std::string lower;
  for (char c : text) lower += (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
  if (lower == "jd") return ElementsTime::jd;
  if (lower == "hjd") return ElementsTime::hjd;
  if (lower == "bjd" || lower == "bjd_tdb") return ElementsTime::bjdTdb;
  return std::nullopt;
}

}  // namespace tenmirel::sky
