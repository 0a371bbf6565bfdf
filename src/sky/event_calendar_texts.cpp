#include "sky/event_calendar_texts.h"

#include <cmath>
#include <cstdint>
#include <cstdio>

#include "common/control_text.h"

namespace tenmirel::sky {
namespace {

constexpr std::uint64_t kFnvOffsetBasis = 14695981039346656037ULL;
constexpr std::uint64_t kFnvPrime = 1099511628211ULL;

}  // namespace

std::string eventSummary(const NightEvent& event) {
  // An extremum of an unknown type keeps its plain name.
  const std::string kind = event.kind == EventKind::extremum ? "" : std::string(" ") + eventKindWord(event.kind);
  std::string summary = calendarText(event.name) + kind + " 第" + std::to_string(event.cycle) + "回帰";
  if (event.hasPlace) summary += " 高度" + std::to_string(std::lround(event.altitudeDegrees)) + "°";
  return summary;
}

std::string calendarText(std::string_view text) { return withControlsReplaced(text); }

std::string eventUid(const NightEvent& event) {
  // FNV-1a: the same row, cycle and kind always give the same text.
  std::uint64_t hash = kFnvOffsetBasis;
  std::string key =
      event.name + '\x1f' + event.epochText + '\x1f' + event.periodText + '\x1f' + std::to_string(event.cycle);
  if (event.kind != EventKind::extremum) key += '\x1f' + std::string(eventKindKey(event.kind));
  for (unsigned char c : key) {
    hash ^= c;
    hash *= kFnvPrime;
  }
  char text[64];
  std::snprintf(text, sizeof text, "%016llx-%lld@tenmirel", static_cast<unsigned long long>(hash),
                static_cast<long long>(event.cycle));
  return text;
}

}  // namespace tenmirel::sky
