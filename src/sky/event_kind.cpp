#include "sky/event_kind.h"

namespace tenmirel::sky {

const char* eventKindWord(EventKind kind) {
  switch (kind) {
    case EventKind::primary:
      return "主極小";
    case EventKind::secondary:
      return "副極小";
    case EventKind::maximum:
      return "極大";
    case EventKind::extremum:
      return "極";
  }
  return "極";
}

const char* eventKindKey(EventKind kind) {
  switch (kind) {
    case EventKind::primary:
      return "primary";
    case EventKind::secondary:
      return "secondary";
    case EventKind::maximum:
      return "maximum";
    case EventKind::extremum:
      return "extremum";
  }
  return "extremum";
}

}  // namespace tenmirel::sky
