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
    {"à", "a"}, {"á", "a"}, {"â", "a"}, {"ä", "a"}, {"ã", "a"}, {"å", "a"}, {"ç", "c"}, {"č", "c"}, {"è", "e"},
    {"é", "e"}, {"ê", "e"}, {"ë", "e"}, {"ě", "e"}, {"ì", "i"}, {"í", "i"}, {"î", "i"}, {"ï", "i"}, {"ñ", "n"},
    {"ň", "n"}, {"ò", "o"}, {"ó", "o"}, {"ô", "o"}, {"ö", "o"}, {"õ", "o"}, {"ø", "o"}, {"ř", "r"}, {"š", "s"},
    {"ś", "s"}, {"ù", "u"}, {"ú", "u"}, {"û", "u"}, {"ü", "u"}, {"ů", "u"}, {"ý", "y"}, {"ž", "z"}, {"ł", "l"},
    {"À", "A"}, {"Á", "A"}, {"Ä", "A"}, {"Å", "A"}, {"Ç", "C"}, {"Č", "C"}, {"É", "E"}, {"È", "E"}, {"Ö", "O"},
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

}  // namespace

std::string memoTypeToken(std::string_view type) {
  std::string token;
  for (const char c : type) {
    if (c != ' ' && c != '\t') token += c;
  }
  if (token.empty()) return "型不明";
  return isKnownVariableType(token) ? token : squared(token);
}

std::string importMemo(const ImportedStar& star, std::string_view source, Cp932Encoder& encoder) {
  std::string memo = memoTypeToken(star.type);
  if (star.durationPercent) memo += " D=" + durationText(*star.durationPercent);
  if (star.period.uncertain()) memo += " P:";
  if (star.epoch.uncertain()) memo += " E0:";
  const std::string head = memo;
  const std::string range = squared(rangeText(star));
  if (!range.empty()) memo += " " + range;
  memo += std::string(" 元期:") + epochKindWord(classifyVariableType(star.type).epochKind);
  memo += " 出典:" + squared(std::string(source));
  const auto fits = [&](const std::string& text) {
    const auto bytes = encoder.encode(text);
    return bytes && bytes->size() <= kMaxMemoBytes;
  };
  if (fits(memo)) return memo;
  // A type too long for the memo is cut; the tokens stay.
  std::string shorter = head;
  while (!shorter.empty() && !fits(shorter)) shorter.pop_back();
  return shorter;
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
