#pragma once
// The plain tokens a star's memo carries for planning, readable by a person and
// by the program. The memo is the one free field of a catalogue record, so what
// an import or a fit knows of a star beyond its elements travels in it:
//
//   EA/SD  D=12  II=0.47  P:  E0:  σE0=0.00012  σP=0.0000004  cov=-1.2e-11  ...
//
// - the GCVS variability type as the memo's first blank-separated token; a memo
//   whose first token is no type gives the first parenthesised type instead
//   ("食変光星 アルゴル型(EA/SD) …" is EA/SD, "(SXPHE(B))" is SXPHE(B));
// - D=  the eclipse's duration in percent of the period, 0 < D <= 100;
// - II= the phase of the secondary minimum, 0 < φ < 1 (0.5 when not given);
// - P:  and E0:  the catalogue flags the period or the epoch as uncertain;
// - σE0= and σP=  the standard errors of the epoch and the period (days) of
//   fitted elements, cov= their covariance (days²).
// Tokens are separated by blanks (ASCII or the full-width space); anything else
// in the memo is free text and ignored.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "catalogue/variable_type.h"

namespace tenmirel {

struct FittedElementErrors {
  double sigmaEpochDays = 0;
  double sigmaPeriodDays = 0;
  double covarianceEpochPeriod = 0;  // days²
};

struct MemoTokens {
  VariableType type;  // text empty when the memo names no known type
  std::optional<double> durationPercent;
  std::optional<double> secondaryPhase;
  bool periodUncertain = false;
  bool epochUncertain = false;
  std::optional<FittedElementErrors> fitErrors;  // only when σE0 and σP are both given
  // One Japanese sentence per token that is present but unusable ("D=250",
  // two D= tokens, "II=1.5"); a star with any should not be planned from.
  std::vector<std::string> problems;
  bool usable() const { return problems.empty(); }
};

MemoTokens readMemoTokens(std::string_view memo);

// The shortest text that reads back to the same double ("0.00012", "1e-11").
std::string shortestNumberText(double value);

// The memo with its σE0= σP= cov= tokens replaced by those of the given errors
// (appended after the other tokens; free text is kept as it is).
std::string withFitErrorTokens(std::string_view memo, const FittedElementErrors& errors);

}  // namespace tenmirel
