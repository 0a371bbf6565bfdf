#include "common/number_text.h"

#include <array>
#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

namespace tenmirel {
namespace {

constexpr int kSignificantDigits = 15;
// Decimal exponents of the plain form: 1E-5 <= |x| < 1E15.
constexpr int kSmallestPlainExponent = -5;
constexpr int kLargestPlainExponent = 14;
// Exponents beyond this are saturated; they overflow or underflow all the same.
constexpr long kExponentSaturation = 100000;

bool isIgnoredBlank(char c) { return c == ' ' || c == '\t' || c == '\n'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

// The leading number of a text with its blanks removed, in a form from_chars reads.
struct LeadingNumber {
  bool negative = false;
  std::string digits;    // integer and fraction digits, without the point
  long pointShift = 0;   // number of fraction digits
  long exponent = 0;
  bool hasDigits = false;
};

LeadingNumber scanLeadingNumber(std::string_view text) {
  std::string packed;
  packed.reserve(text.size());
  for (char c : text) {
    if (!isIgnoredBlank(c)) packed.push_back(c);
  }
  LeadingNumber number;
  std::size_t i = 0;
  if (i < packed.size() && (packed[i] == '+' || packed[i] == '-')) {
    number.negative = packed[i] == '-';
    ++i;
  }
  for (; i < packed.size() && isDigit(packed[i]); ++i) {
    number.digits.push_back(packed[i]);
    number.hasDigits = true;
  }
  if (i < packed.size() && packed[i] == '.') {
    ++i;
    for (; i < packed.size() && isDigit(packed[i]); ++i) {
      number.digits.push_back(packed[i]);
      ++number.pointShift;
      number.hasDigits = true;
    }
  }
  if (!number.hasDigits) return number;
  if (i < packed.size() && (packed[i] == 'E' || packed[i] == 'e' || packed[i] == 'D' || packed[i] == 'd')) {
    std::size_t j = i + 1;
    bool negativeExponent = false;
    if (j < packed.size() && (packed[j] == '+' || packed[j] == '-')) {
      negativeExponent = packed[j] == '-';
      ++j;
    }
    long exponent = 0;
    for (; j < packed.size() && isDigit(packed[j]); ++j) {
      exponent = std::min(exponent * 10 + (packed[j] - '0'), kExponentSaturation);
    }
    number.exponent = negativeExponent ? -exponent : exponent;
  }
  return number;
}

double toDouble(const LeadingNumber& number) {
  if (!number.hasDigits) return 0.0;
  // Leading zeros carry nothing; dropping them keeps the text short.
  std::size_t firstNonZero = number.digits.find_first_not_of('0');
  if (firstNonZero == std::string::npos) return number.negative ? -0.0 : 0.0;
  std::string digits = number.digits.substr(firstNonZero);
  long exponent = number.exponent - number.pointShift;
  std::string normal = digits + "e" + std::to_string(exponent);
  double value = 0.0;
  auto [end, ec] = std::from_chars(normal.data(), normal.data() + normal.size(), value);
  if (ec == std::errc::result_out_of_range) {
    // The magnitude of the first digit tells overflow from underflow.
    long magnitude = exponent + static_cast<long>(digits.size());
    value = magnitude > 0 ? std::numeric_limits<double>::infinity() : 0.0;
  }
  return number.negative ? -value : value;
}

}  // namespace

std::string numberToText(double value) {
  if (!std::isfinite(value)) return {};
  if (value == 0.0) return "0";
  std::array<char, 64> buffer{};
  auto [end, ec] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                 std::chars_format::scientific, kSignificantDigits - 1);
  std::string_view text(buffer.data(), static_cast<std::size_t>(end - buffer.data()));
  // text is "-d.ddddddddddddddde+XX"
  bool negative = text.front() == '-';
  if (negative) text.remove_prefix(1);
  std::size_t ePos = text.find('e');
  std::string digits;
  for (char c : text.substr(0, ePos)) {
    if (c != '.') digits.push_back(c);
  }
  int exponent = 0;
  std::string_view exponentText = text.substr(ePos + 1);
  if (exponentText.front() == '+') exponentText.remove_prefix(1);
  std::from_chars(exponentText.data(), exponentText.data() + exponentText.size(), exponent);
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();

  std::string result = negative ? "-" : "";
  if (exponent >= kSmallestPlainExponent && exponent <= kLargestPlainExponent) {
    if (exponent < 0) {
      result += "0." + std::string(static_cast<std::size_t>(-exponent - 1), '0') + digits;
    } else if (static_cast<std::size_t>(exponent) + 1 >= digits.size()) {
      result += digits + std::string(static_cast<std::size_t>(exponent) + 1 - digits.size(), '0');
    } else {
      result += digits.substr(0, static_cast<std::size_t>(exponent) + 1) + "." +
                digits.substr(static_cast<std::size_t>(exponent) + 1);
    }
    return result;
  }
  result += digits.substr(0, 1);
  if (digits.size() > 1) result += "." + digits.substr(1);
  result += exponent < 0 ? "E-" : "E+";
  int magnitude = exponent < 0 ? -exponent : exponent;
  if (magnitude < 10) result += "0";
  result += std::to_string(magnitude);
  return result;
}

double parseLenient(std::string_view text) { return toDouble(scanLeadingNumber(text)); }

std::optional<double> parseStrict(std::string_view text) {
  auto isEdgeBlank = [](char c) { return c == ' ' || c == '\t'; };
  while (!text.empty() && isEdgeBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && isEdgeBlank(text.back())) text.remove_suffix(1);
  if (text.empty()) return std::nullopt;
  std::size_t i = 0;
  if (text[i] == '+' || text[i] == '-') ++i;
  bool digits = false;
  while (i < text.size() && isDigit(text[i])) ++i, digits = true;
  if (i < text.size() && text[i] == '.') {
    ++i;
    while (i < text.size() && isDigit(text[i])) ++i, digits = true;
  }
  if (!digits) return std::nullopt;
  if (i < text.size() && (text[i] == 'E' || text[i] == 'e' || text[i] == 'D' || text[i] == 'd')) {
    ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    bool exponentDigits = false;
    while (i < text.size() && isDigit(text[i])) ++i, exponentDigits = true;
    if (!exponentDigits) return std::nullopt;
  }
  if (i != text.size()) return std::nullopt;
  double value = parseLenient(text);
  if (!std::isfinite(value)) return std::nullopt;
  return value;
}

double floorTowardMinusInfinity(double value) { return std::floor(value); }

std::optional<std::int16_t> toInt16(double value) {
  if (std::isnan(value)) return std::nullopt;
  double rounded = std::nearbyint(value);  // the default rounding mode: ties to even
  if (rounded < std::numeric_limits<std::int16_t>::min() || rounded > std::numeric_limits<std::int16_t>::max()) {
    return std::nullopt;
  }
  return static_cast<std::int16_t>(rounded);
}

}  // namespace tenmirel
