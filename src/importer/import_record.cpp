#include "importer/import_record.h"

#include <cmath>
#include <cstdio>

#include "catalogue/variable_type.h"
#include "importer/record_checks.h"

namespace tenmirel::importer {
namespace {

constexpr double kDegreesPerHour = 15.0;
constexpr long long kTenthMinutesPerHour = 600;
constexpr long long kTenthMinutesPerDay = 24 * kTenthMinutesPerHour;
constexpr double kArcMinutesPerDegree = 60.0;

std::string magnitudeText(const FlaggedNumber& magnitude) {
  if (magnitude.digits.empty()) return magnitude.flags;
  std::string text;
  for (const char c : magnitude.flags) {
    if (c == '<' || c == '>') text += c;
  }
  text += magnitude.digits;
  if (magnitude.uncertain()) text += ':';
  return text;
}

std::string rangeText(const ImportedStar& star) {
  const std::string max = magnitudeText(star.maxMagnitude);
  const std::string min = magnitudeText(star.minMagnitude);
  const bool amplitude = star.minMagnitude.has('(');
  std::string band = star.band;
  for (char& c : band) {
    if (c == '(' || c == ')' || c == ' ') c = '_';
  }
  if (max.empty() && min.empty()) return {};
  if (amplitude) return (max.empty() ? std::string() : max + band + " ") + "振幅" + min + (max.empty() ? band : "");
  if (min.empty()) return max + band;
  return (max.empty() ? std::string("?") : max) + "～" + min + band;
}

std::string squared(std::string text) {
  for (char& c : text) {
    if (c == '(') c = '[';
    if (c == ')') c = ']';
  }
  return text;
}

std::string durationText(double percent) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%.4g", percent);
  return buffer;
}

// Latin letters with marks, as their plain ASCII letter.
constexpr struct {
  const char* utf8;
  const char* ascii;
} kLatin[] = {
    {"à", "a"}, {"á", "a"}, {"â", "a"}, {"ä", "a"}, {"ã", "a"}, {"å", "a"},  {"ç", "c"}, {"č", "c"}, {"è", "e"},
    {"é", "e"}, {"ê", "e"}, {"ë", "e"}, {"ě", "e"}, {"ì", "i"}, {"í", "i"},  {"î", "i"}, {"ï", "i"}, {"ñ", "n"},
    {"ň", "n"}, {"ò", "o"}, {"ó", "o"}, {"ô", "o"}, {"ö", "o"}, {"õ", "o"},  {"ø", "o"}, {"ř", "r"}, {"š", "s"},
    {"ś", "s"}, {"ù", "u"}, {"ú", "u"}, {"û", "u"}, {"ü", "u"}, {"ů", "u"},  {"ý", "y"}, {"ž", "z"}, {"ł", "l"},
    {"À", "A"}, {"Á", "A"}, {"Ä", "A"}, {"Å", "A"}, {"Ç", "C"}, {"Č", "C"},  {"É", "E"}, {"È", "E"}, {"Ö", "O"},
    {"Ø", "O"}, {"Š", "S"}, {"Ü", "U"}, {"Ž", "Z"}, {"Ł", "L"}, {"ß", "ss"},
};

std::optional<std::string> transliterated(std::string_view name) {
  std::string out;
  std::size_t i = 0;
  while (i < name.size()) {
    if (static_cast<unsigned char>(name[i]) < 0x80) {
      out += name[i++];
      continue;
    }
    bool found = false;
    for (const auto& letter : kLatin) {
      const std::string_view from = letter.utf8;
      if (name.substr(i, from.size()) == from) {
        out += letter.ascii;
        i += from.size();
        found = true;
        break;
      }
    }
    if (!found) return std::nullopt;
  }
  return out;
}

bool startsWith(std::string_view text, std::string_view prefix) { return text.substr(0, prefix.size()) == prefix; }

// A catalogue's text that would read as a planning token ("D=250" in a type
// column, "P:" as a band) is marked so that it stays free text.
std::string neutral(std::string_view token) {
  constexpr std::string_view kKeys[] = {"D=", "II=", "σE0=", "σP=", "cov="};
  bool planning = token == "P:" || token == "E0:";
  for (const std::string_view key : kKeys) planning = planning || startsWith(token, key);
  return planning ? "?" + std::string(token) : std::string(token);
}

// The text's blank-separated words (ASCII blanks and the full-width space, as
// the memo reader splits them), each made neutral, joined by one blank.
std::string neutralWords(std::string_view text) {
  constexpr std::string_view kFullWidthSpace = "\u3000";
  std::string out;
  std::size_t i = 0;
  std::size_t start = 0;
  const auto flush = [&](std::size_t end) {
    if (end > start) {
      if (!out.empty()) out += ' ';
      out += neutral(text.substr(start, end - start));
    }
  };
  while (i < text.size()) {
    if (text[i] == ' ' || text[i] == '\t' || text[i] == '\r' || text[i] == '\n') {
      flush(i);
      start = ++i;
    } else if (text.substr(i, kFullWidthSpace.size()) == kFullWidthSpace) {
      flush(i);
      i += kFullWidthSpace.size();
      start = i;
    } else {
      ++i;
    }
  }
  flush(text.size());
  return out;
}

}  // namespace

std::string memoTypeToken(std::string_view type) {
  std::string token;
  for (const char c : type) {
    if (c != ' ' && c != '\t' && c != '\r' && c != '\n') token += c;
  }
  if (token.empty()) return "型不明";
  if (isKnownVariableType(token)) return token;
  // Unknown: one word (a full-width space would split it), no parentheses, no planning key.
  for (std::size_t at = token.find("\u3000"); at != std::string::npos; at = token.find("\u3000"))
    token.replace(at, 3, "_");
  return neutral(squared(token));
}

std::string importMemo(const ImportedStar& star, std::string_view source, Cp932Encoder& encoder) {
  const VariableType classified = classifyVariableType(star.type);
  const std::string type = memoTypeToken(star.type);
  std::string tokens;
  if (star.durationPercent) tokens += " D=" + durationText(*star.durationPercent);
  if (star.period.uncertain()) tokens += " P:";
  if (star.epoch.uncertain()) tokens += " E0:";
  std::string memo = type + tokens;
  const std::string range = neutralWords(squared(rangeText(star)));
  if (!range.empty()) memo += " " + range;
  memo += std::string(" 元期:") + epochKindWord(classified.epochKind);
  memo += " 出典:" + neutralWords(squared(std::string(source)));
  const auto fits = [&](const std::string& text) {
    const auto bytes = encoder.encode(text);
    return bytes && bytes->size() <= kMaxMemoBytes;
  };
  if (fits(memo)) return memo;
  if (fits(type + tokens)) return type + tokens;
  // Only a type the memo cannot hold is cut (too long, or with characters CP932
  // lacks), marked with a leading "…" so that it is never taken for another
  // type; the tokens stay.
  std::string cut = type;
  while (!cut.empty() && !fits("…" + cut + tokens)) {
    while (!cut.empty() && (static_cast<unsigned char>(cut.back()) & 0xC0) == 0x80) cut.pop_back();
    if (!cut.empty()) cut.pop_back();
  }
  return "…" + cut + tokens;
}

std::optional<WrittenName> writableName(std::string_view name, Cp932Encoder& encoder) {
  if (const auto bytes = encoder.encode(name); bytes && bytes->size() <= kMaxNameBytes) {
    return WrittenName{std::string(name), false};
  }
  if (const auto ascii = transliterated(name); ascii && ascii->size() <= kMaxNameBytes && !ascii->empty()) {
    return WrittenName{*ascii, true};
  }
  return std::nullopt;
}

StarRecord importRecord(const ImportedStar& star, const std::string& name, const std::string& memo) {
  StarRecord record;
  record.starName = name;
  record.ganki = star.epoch.digits;
  record.syuki = star.period.digits;
  const double hours = *star.raDegrees / kDegreesPerHour;
  long long tenths = std::llround(hours * kTenthMinutesPerHour);
  if (tenths >= kTenthMinutesPerDay) tenths -= kTenthMinutesPerDay;
  record.alphaHour = std::to_string(tenths / kTenthMinutesPerHour);
  const long long minuteTenths = tenths % kTenthMinutesPerHour;
  record.alphaMin = std::to_string(minuteTenths / 10) + "." + std::to_string(minuteTenths % 10);
  const long long arcMinutes = std::llround(std::fabs(*star.decDegrees) * kArcMinutesPerDegree);
  record.deltaSign = (*star.decDegrees < 0 && arcMinutes > 0) ? kSouthSignText : "True";
  record.deltaDeg = std::to_string(arcMinutes / 60);
  record.deltaMin = std::to_string(arcMinutes % 60);
  record.memo = memo;
  return record;
}

}  // namespace tenmirel::importer
