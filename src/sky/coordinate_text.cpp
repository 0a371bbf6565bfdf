#include "sky/coordinate_text.h"

#include <array>
#include <cmath>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

namespace tenmirel::sky {
namespace {

constexpr double kMinutesPerDegree = 60;
constexpr double kSecondsPerDegree = 3600;
constexpr double kLatitudeLimitDegrees = 90;
constexpr double kLongitudeLimitDegrees = 180;

// Marks that may stand between degrees, minutes and seconds; each becomes a blank.
// No "s" for seconds: it would read as south.
constexpr std::array<std::string_view, 12> kSeparators = {"\u00b0", "\u00ba", "\u2032", "\u2033", "\u2019", "\u201d",
                                                          "'",      "\"",     ":",      "d",      "m",      "\u3000"};
constexpr std::string_view kUnicodeMinus = "\u2212";
constexpr std::string_view kFullWidthMinus = "\uff0d";

std::string examples(CoordinateKind kind) {
  return kind == CoordinateKind::longitude ? "例: 139.5、139 30、139°30′、-71 15 30"
                                           : "例: 35.5、35 30、35°30′、-33 52 10";
}

Checked<double> unreadable(std::string_view text, CoordinateKind kind) {
  return Checked<double>::failure(std::string(coordinateName(kind)) + "「" + std::string(text) + "」を読めません。" +
                                  examples(kind));
}

bool startsWith(std::string_view text, std::string_view prefix) { return text.substr(0, prefix.size()) == prefix; }

std::string_view trimmed(std::string_view text) {
  for (;;) {
    if (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
      text.remove_prefix(1);
    } else if (!text.empty() && (text.back() == ' ' || text.back() == '\t')) {
      text.remove_suffix(1);
    } else if (startsWith(text, "\u3000")) {
      text.remove_prefix(3);
    } else if (text.size() >= 3 && text.substr(text.size() - 3) == "\u3000") {
      text.remove_suffix(3);
    } else {
      return text;
    }
  }
}

// +1 or -1 for a compass letter that suits the kind, 0 for any other character.
int compassSign(char letter, CoordinateKind kind) {
  switch (letter) {
    case 'N':
    case 'n':
      return kind == CoordinateKind::latitude ? 1 : 0;
    case 'S':
    case 's':
      return kind == CoordinateKind::latitude ? -1 : 0;
    case 'E':
    case 'e':
      return kind == CoordinateKind::longitude ? 1 : 0;
    case 'W':
    case 'w':
      return kind == CoordinateKind::longitude ? -1 : 0;
    default:
      return 0;
  }
}

struct Component {
  double value = 0;
  bool whole = true;
};

// Digits with at most one point, nothing else.
std::optional<Component> readComponent(const std::string& word) {
  Component component;
  int digits = 0;
  int points = 0;
  for (char c : word) {
    if (c >= '0' && c <= '9') {
      ++digits;
    } else if (c == '.') {
      ++points;
    } else {
      return std::nullopt;
    }
  }
  if (digits == 0 || points > 1) return std::nullopt;
  component.whole = points == 0;
  component.value = std::strtod(word.c_str(), nullptr);
  return component;
}

}  // namespace

const char* coordinateName(CoordinateKind kind) { return kind == CoordinateKind::longitude ? "経度" : "緯度"; }

Checked<double> parseCoordinate(std::string_view text, CoordinateKind kind) {
  std::string_view rest = trimmed(text);
  if (rest.empty()) return Checked<double>::failure(std::string(coordinateName(kind)) + "が入力されていません。");
  int sign = 1;
  bool signed_ = false;
  if (const int compass = compassSign(rest.front(), kind); compass != 0) {
    sign = compass;
    signed_ = true;
    rest = trimmed(rest.substr(1));
  } else if (const int compass = rest.empty() ? 0 : compassSign(rest.back(), kind); compass != 0) {
    sign = compass;
    signed_ = true;
    rest = trimmed(rest.substr(0, rest.size() - 1));
  }
  if (!rest.empty() && (rest.front() == '+' || rest.front() == '-')) {
    if (signed_) return unreadable(text, kind);
    if (rest.front() == '-') sign = -1;
    rest.remove_prefix(1);
  } else if (startsWith(rest, kUnicodeMinus) || startsWith(rest, kFullWidthMinus)) {
    if (signed_) return unreadable(text, kind);
    sign = -1;
    rest.remove_prefix(kUnicodeMinus.size());
  }

  std::string spaced;
  while (!rest.empty()) {
    bool separator = false;
    for (std::string_view mark : kSeparators) {
      if (startsWith(rest, mark)) {
        spaced += ' ';
        rest.remove_prefix(mark.size());
        separator = true;
        break;
      }
    }
    if (!separator) {
      spaced += rest.front() == '\t' ? ' ' : rest.front();
      rest.remove_prefix(1);
    }
  }
  std::vector<std::string> words;
  std::string word;
  for (char c : spaced + ' ') {
    if (c == ' ') {
      if (!word.empty()) words.push_back(word);
      word.clear();
    } else {
      word += c;
    }
  }
  if (words.empty() || words.size() > 3) return unreadable(text, kind);

  std::vector<Component> parts;
  for (const std::string& w : words) {
    const std::optional<Component> component = readComponent(w);
    if (!component) return unreadable(text, kind);
    parts.push_back(*component);
  }
  // Only the last part may carry a fraction; minutes and seconds stay below 60.
  for (std::size_t i = 0; i + 1 < parts.size(); ++i) {
    if (!parts[i].whole) return unreadable(text, kind);
  }
  for (std::size_t i = 1; i < parts.size(); ++i) {
    if (parts[i].value >= kMinutesPerDegree) return unreadable(text, kind);
  }
  double degrees = parts[0].value;
  if (parts.size() > 1) degrees += parts[1].value / kMinutesPerDegree;
  if (parts.size() > 2) degrees += parts[2].value / kSecondsPerDegree;
  degrees *= sign;

  const double limit = kind == CoordinateKind::longitude ? kLongitudeLimitDegrees : kLatitudeLimitDegrees;
  if (!std::isfinite(degrees) || std::fabs(degrees) > limit) {
    const std::string limitText = kind == CoordinateKind::longitude ? "180" : "90";
    return Checked<double>::failure(std::string(coordinateName(kind)) + "「" + std::string(text) + "」は範囲外です。-" +
                                    limitText + "° から " + limitText + "° の範囲で入力してください。");
  }
  return Checked<double>::success(degrees);
}

}  // namespace tenmirel::sky
