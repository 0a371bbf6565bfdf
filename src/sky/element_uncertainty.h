#pragma once
// How far a prediction from light elements can be trusted.
//
// A value written with k decimals is known to ±½·10^-k at best, so the event
// (E + φ) × P + E0 is uncertain by at least |E + φ|·½·10^-kP + ½·10^-kE days from
// the written digits alone. Fitted elements with standard errors give
// sqrt(σE0² + (E + φ)²σP² + 2(E + φ)·cov) instead. A ':' written after the
// value (or flagged in the memo) makes it uncertain beyond its digits: the
// digits' figure is then only a lower bound.
#include <optional>
#include <string_view>

namespace tenmirel::sky {

struct FittedErrors {
  double sigmaEpochDays = 0;
  double sigmaPeriodDays = 0;
  double covarianceDays2 = 0;  // of the epoch and the period
};

// The digits after the decimal point of the number the lenient parse reads from
// the text (blanks ignored, an exponent counted: "1.25E-3" has 5); 0 for a whole
// number or no number.
int writtenDecimals(std::string_view text);

// True when the number in the text is followed by ':' (ASCII or full width).
bool writtenUncertain(std::string_view text);

// Days, from the digits: cycles may be fractional (a secondary's E + φ).
double digitsUncertaintyDays(double cycles, int periodDecimals, int epochDecimals);

// Days, from fitted errors; nothing when the errors are not finite or their
// covariance makes the variance negative.
std::optional<double> fittedUncertaintyDays(double cycles, const FittedErrors& errors);

}  // namespace tenmirel::sky
