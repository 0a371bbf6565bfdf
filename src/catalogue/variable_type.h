#pragma once
// What a star's GCVS variability type says about its light elements.
//
// A type text is one or more parts joined by '+' ("EA+DSCT"); each part is a
// class with optional '/' subtypes ("EA/SD", "EW/KW") and an optional
// parenthesised remark ("SXPHE(B)", "RR(B)"); a trailing ':' marks it uncertain
// and does not change what it means.
//
// The epoch of an eclipsing star (E, EA, EB, EW and their subtypes, or any
// combined type with an eclipsing part), an ellipsoidal (ELL), an RS CVn (RS)
// or an RV Tau star (RV, RVA, RVB) names a primary minimum; that of any other
// known type a maximum. A text with no known part is unknown: the epoch names
// "an extremum", as it always has. Eclipsing, ellipsoidal and RV Tau stars have
// a secondary minimum in every cycle; an RS CVn star alone has none.
#include <string>
#include <string_view>
#include <vector>

namespace tenmirel {

enum class EpochKind {
  primaryMinimum,
  maximum,
  unknown,
};

struct VariableType {
  std::string text;        // as written ("EA/SD:"); empty when no type is known
  bool uncertain = false;  // written with a trailing ':'
  EpochKind epochKind = EpochKind::unknown;
  bool hasSecondaryMinimum = false;
  bool eclipsing = false;  // an E, EA, EB or EW part: the GCVS D column is its eclipse's duration
};

// Classifies a type text as written in a catalogue ("EA/SD", "RRAB", "M:").
// Leading and trailing blanks are ignored.
VariableType classifyVariableType(std::string_view typeText);

// True when the text is a GCVS or VSX type this program knows, alone or
// combined ("EA/SD", "EA+DSCT", "SXPHE(B)", "M:").
bool isKnownVariableType(std::string_view typeText);

// The classes of a type text's '+' parts, without '/' subtypes, remarks and
// ':' marks ("EA/SD+DSCT:" -> "EA", "DSCT"); for choosing stars by type.
std::vector<std::string> variableTypeClasses(std::string_view typeText);

// "極小" for a primary minimum, "極大" for a maximum, "極" when unknown.
const char* epochKindWord(EpochKind kind);

}  // namespace tenmirel
