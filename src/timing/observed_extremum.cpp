#include "timing/observed_extremum.h"

namespace tenmirel::timing {

const char* extremumKindName(ExtremumKind kind) {
  switch (kind) {
    case ExtremumKind::secondary:
      return "secondary";
    case ExtremumKind::maximum:
      return "maximum";
    case ExtremumKind::primary:
      break;
  }
  return "primary";
}

std::optional<ExtremumKind> parseExtremumKind(std::string_view text) {
  if (text == "primary") return ExtremumKind::primary;
  if (text == "secondary") return ExtremumKind::secondary;
  if (text == "maximum") return ExtremumKind::maximum;
  return std::nullopt;
}

}  // namespace tenmirel::timing
