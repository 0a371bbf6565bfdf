#include "catalogue/variable_type.h"

#include <algorithm>
#include <iterator>
#include <unordered_set>
#include <vector>

namespace tenmirel {

namespace {

// The classes of GCVS 5.1 (its ReadMe's list of types) and the extra classes of
// the AAVSO's VSX, without subtypes after '/'.
constexpr std::string_view kKnownClasses[] = {
    // eruptive
    "FU", "GCAS", "I", "IA", "IB", "IN", "INA", "INB", "INT", "IT", "IS", "ISA", "ISB", "RCB", "RS", "SDOR", "UV",
    "UVN", "WR", "BE", "FF", "YSO", "CTTS", "WTTS", "EXOR", "UXOR", "DYPER",
    // pulsating
    "ACYG", "BCEP", "BCEPS", "BLBOO", "CEP", "CW", "CWA", "CWB", "DCEP", "DCEPS", "DSCT", "DSCTC", "GDOR", "L", "LB",
    "LC", "LPB", "M", "PVTEL", "RPHS", "RR", "RRAB", "RRC", "RRD", "RV", "RVA", "RVB", "SR", "SRA", "SRB", "SRC", "SRD",
    "SRS", "SXPHE", "ZZ", "ZZA", "ZZB", "ZZO", "HADS", "BXCIR", "V361HYA", "V1093HER", "SPB", "PPN",
    // rotating
    "ACV", "ACVO", "BY", "ELL", "FKCOM", "PSR", "R", "SXARI", "ROT",
    // cataclysmic
    "N", "NA", "NB", "NC", "NL", "NR", "SN", "SNI", "SNII", "UG", "UGSS", "UGSU", "UGZ", "UGER", "UGWZ", "ZAND", "AM",
    "DQ", "CBSS",
    // eclipsing
    "E", "EA", "EB", "EW", "EP",
    // X-ray and other
    "X", "XB", "XF", "XI", "XJ", "XND", "XNG", "XP", "XPR", "XPND", "XM", "XRM", "BLLAC", "CST", "GAL", "QSO", "S",
    "VAR", "MISC", "LERI", "NSIN"};

constexpr std::string_view kEclipsingClasses[] = {"E", "EA", "EB", "EW"};
constexpr std::string_view kRvTauriClasses[] = {"RV", "RVA", "RVB"};

template <std::size_t N>
bool contains(const std::string_view (&list)[N], std::string_view item) {
  return std::find(std::begin(list), std::end(list), item) != std::end(list);
}

std::string_view trimBlanks(std::string_view text) {
  const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return text;
}

// The class of one '+' part: without ':' marks, a parenthesised remark and the
// '/' subtypes ("EA/SD:" -> "EA", "SXPHE(B)" -> "SXPHE").
std::string_view classOfPart(std::string_view part) {
  while (!part.empty() && part.back() == ':') part.remove_suffix(1);
  if (const auto paren = part.find('('); paren != std::string_view::npos) part = part.substr(0, paren);
  if (const auto slash = part.find('/'); slash != std::string_view::npos) part = part.substr(0, slash);
  while (!part.empty() && part.back() == ':') part.remove_suffix(1);
  return part;
}

std::vector<std::string_view> classesOf(std::string_view text) {
  std::vector<std::string_view> classes;
  while (true) {
    const auto plus = text.find('+');
    classes.push_back(classOfPart(trimBlanks(text.substr(0, plus))));
    if (plus == std::string_view::npos) break;
    text.remove_prefix(plus + 1);
  }
  return classes;
}

// Importing a survey asks about millions of types: one hash lookup, not a scan of the list.
bool isKnownClass(std::string_view c) {
  static const std::unordered_set<std::string_view> known(std::begin(kKnownClasses), std::end(kKnownClasses));
  return known.count(c) != 0;
}

bool allKnown(const std::vector<std::string_view>& classes) {
  return !classes.empty() && std::all_of(classes.begin(), classes.end(), isKnownClass);
}

}  // namespace

bool isKnownVariableType(std::string_view typeText) {
  const std::string_view text = trimBlanks(typeText);
  if (text.empty() || text.size() > 40) return false;
  // Types are written in printable ASCII; anything else (even after a known
  // class, "EA/D\xFE…") is not a type this program knows.
  const auto printableAscii = [](char c) { return c > ' ' && c < '\x7f'; };
  if (!std::all_of(text.begin(), text.end(), printableAscii)) return false;
  return allKnown(classesOf(text));
}

VariableType classifyVariableType(std::string_view typeText) {
  VariableType type;
  const std::string_view text = trimBlanks(typeText);
  if (!isKnownVariableType(text)) return type;
  type.text = std::string(text);
  type.uncertain = text.find(':') != std::string_view::npos;
  const std::vector<std::string_view> classes = classesOf(text);
  const auto any = [&](auto predicate) { return std::any_of(classes.begin(), classes.end(), predicate); };
  const bool eclipsing = any([](std::string_view c) { return contains(kEclipsingClasses, c); });
  const bool ellipsoidal = any([](std::string_view c) { return c == "ELL"; });
  const bool rvTauri = any([](std::string_view c) { return contains(kRvTauriClasses, c); });
  const bool rsCvn = any([](std::string_view c) { return c == "RS"; });
  type.eclipsing = eclipsing;
  type.hasSecondaryMinimum = eclipsing || ellipsoidal || rvTauri;
  type.epochKind = (type.hasSecondaryMinimum || rsCvn) ? EpochKind::primaryMinimum : EpochKind::maximum;
  return type;
}

std::vector<std::string> variableTypeClasses(std::string_view typeText) {
  std::vector<std::string> classes;
  const std::string_view text = trimBlanks(typeText);
  if (text.empty()) return classes;
  for (const std::string_view c : classesOf(text)) {
    if (!c.empty()) classes.emplace_back(c);
  }
  return classes;
}

const char* epochKindWord(EpochKind kind) {
  switch (kind) {
    case EpochKind::primaryMinimum:
      return "極小";
    case EpochKind::maximum:
      return "極大";
    case EpochKind::unknown:
      break;
  }
  return "極";
}

}  // namespace tenmirel
