#include "sky/element_uncertainty.h"

#include <cmath>
#include <string>

namespace tenmirel::sky {
namespace {

constexpr double kHalf = 0.5;
constexpr int kMostDecimals = 300;  // beyond it ½·10^-k is below every double that matters

bool blankByte(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
bool digit(char c) { return c >= '0' && c <= '9'; }

// The text without the blanks the lenient parse skips.
std::string withoutBlanks(std::string_view text) {
  std::string kept;
  for (char c : text) {
    if (!blankByte(c)) kept += c;
  }
  return kept;
}

// Where the leading number (sign, digits, one '.', exponent) of the text ends,
// and how many digits follow its point and what its exponent is.
struct NumberShape {
  std::size_t end = 0;
  int fractionDigits = 0;
  long exponent = 0;
};

NumberShape shapeOf(const std::string& text) {
  NumberShape shape;
  std::size_t i = 0;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
  bool anyDigit = false;
  while (i < text.size() && digit(text[i])) ++i, anyDigit = true;
  if (i < text.size() && text[i] == '.') {
    ++i;
    while (i < text.size() && digit(text[i])) ++i, ++shape.fractionDigits, anyDigit = true;
  }
  if (!anyDigit) return {};
  shape.end = i;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E' || text[i] == 'd' || text[i] == 'D')) {
    std::size_t j = i + 1;
    bool negative = false;
    if (j < text.size() && (text[j] == '+' || text[j] == '-')) negative = text[j++] == '-';
    long exponent = 0;
    bool exponentDigit = false;
    while (j < text.size() && digit(text[j])) {
      if (exponent < kMostDecimals) exponent = exponent * 10 + (text[j] - '0');
      ++j;
      exponentDigit = true;
    }
    if (exponentDigit) {
      shape.exponent = negative ? -exponent : exponent;
      shape.end = j;
    }
  }
  return shape;
}

}  // namespace

int writtenDecimals(std::string_view text) {
  const NumberShape shape = shapeOf(withoutBlanks(text));
  const long decimals = shape.fractionDigits - shape.exponent;
  if (decimals <= 0) return 0;
  return decimals > kMostDecimals ? kMostDecimals : static_cast<int>(decimals);
}

bool writtenUncertain(std::string_view text) {
  const std::string kept = withoutBlanks(text);
  const NumberShape shape = shapeOf(kept);
  if (shape.end == 0) return false;
  const std::string_view rest = std::string_view(kept).substr(shape.end);
  return rest.rfind(":", 0) == 0 || rest.rfind("\uFF1A", 0) == 0;
}

double digitsUncertaintyDays(double cycles, int periodDecimals, int epochDecimals) {
  return std::fabs(cycles) * kHalf * std::pow(10.0, -periodDecimals) + kHalf * std::pow(10.0, -epochDecimals);
}

std::optional<double> fittedUncertaintyDays(double cycles, const FittedErrors& errors) {
  const double variance = errors.sigmaEpochDays * errors.sigmaEpochDays +
                          cycles * cycles * errors.sigmaPeriodDays * errors.sigmaPeriodDays +
                          2 * cycles * errors.covarianceDays2;
  if (!std::isfinite(variance) || variance < 0) return std::nullopt;
  return std::sqrt(variance);
}

}  // namespace tenmirel::sky
