#pragma once
// The two conversions through which every number of the program passes:
// double to text (15 significant digits) and the lenient text-to-double parse.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tenmirel {

// Rounds to nearest at 15 significant digits; no trailing zeros or point; "-" for
// negatives; exponent form ("1.5E+15", "1E-05") outside 1E-5 <= |x| < 1E15.
// A non-finite value gives the empty text, so "inf" or "nan" can never be shown.
std::string numberToText(double value);

// Blanks, tabs and line feeds are ignored anywhere; the longest leading number
// (sign, digits, one ".", exponent introduced by E or D) is taken; no number gives 0.
// Never fails. A magnitude beyond the double range gives +-infinity, for the
// caller to refuse.
double parseLenient(std::string_view text);

// Strict conversion: the whole text, blanks and tabs around it allowed, must be
// one number. Nothing else is accepted.
std::optional<double> parseStrict(std::string_view text);

// Rounding toward minus infinity.
double floorTowardMinusInfinity(double value);

// Round to nearest, ties to even; nothing when the result leaves the 16-bit range
// or the value is not a number.
std::optional<std::int16_t> toInt16(double value);

}  // namespace tenmirel
