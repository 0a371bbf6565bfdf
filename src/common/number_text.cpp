#include "common/number_text.h"

#include <array>
#include <charconv>
#include <cmath>
#include <limits>
#include <optional>
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

// A text that is one whole number as the number text writes it ("-1.5E-07",
// "2460636.6386496"), with nothing around it: from_chars reads it as it stands and
// rounds the same decimal value as the general path does. Anything else, or a
// value out of range, is left to the general path.
std::optional<double> parseWholePlainNumber(std::string_view text) {
  const std::size_t start = !text.empty() && text.front() == '-' ? 1 : 0;
  if (text.size() <= start || !(isDigit(text[start]) || text[start] == '.')) return std::nullopt;
  double value = 0.0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

// Reads the longest leading number of the text, blanks skipped, and converts it.
// The digits are gathered into a normal form "ddd...e-NN" that from_chars reads;
// leading zeros are dropped, as they carry nothing.
double parseLeadingNumber(std::string_view text) {
  std::size_t i = 0;
  auto skipBlanks = [&] {
    while (i < text.size() && isIgnoredBlank(text[i])) ++i;
  };
  auto peek = [&]() -> char {
    skipBlanks();
    return i < text.size() ? text[i] : '\0';
  };
  bool negative = false;
  if (peek() == '+' || peek() == '-') {
    negative = text[i] == '-';
    ++i;
  }
  // Reused between calls: the parse runs for every text the program reads.
  thread_local std::string normal;
  normal.clear();
  bool hasDigits = false;
  long fractionDigits = 0;
  for (; isDigit(peek()); ++i) {
    hasDigits = true;
    if (!normal.empty() || text[i] != '0') normal.push_back(text[i]);
  }
  if (peek() == '.') {
    ++i;
    for (; isDigit(peek()); ++i) {
      hasDigits = true;
      ++fractionDigits;
      if (!normal.empty() || text[i] != '0') {
        normal.push_back(text[i]);
      }
    }
  }
  if (!hasDigits) return 0.0;
  long exponent = 0;
  const char marker = peek();
  if (marker == 'E' || marker == 'e' || marker == 'D' || marker == 'd') {
    ++i;
    bool negativeExponent = false;
    if (peek() == '+' || peek() == '-') {
      negativeExponent = text[i] == '-';
      ++i;
    }
    for (; isDigit(peek()); ++i) exponent = std::min(exponent * 10 + (text[i] - '0'), kExponentSaturation);
    if (negativeExponent) exponent = -exponent;
  }
  if (normal.empty()) return negative ? -0.0 : 0.0;
  // Fraction digits dropped as leading zeros still count in the scale.
  const long digitCount = static_cast<long>(normal.size());
  const long scale = exponent - fractionDigits;
  normal.push_back('e');
  normal += std::to_string(scale);
  double value = 0.0;
  auto [end, ec] = std::from_chars(normal.data(), normal.data() + normal.size(), value);
  (void)end;
  if (ec == std::errc::result_out_of_range) {
    // The magnitude of the first digit tells overflow from underflow.
    value = scale + digitCount > 0 ? std::numeric_limits<double>::infinity() : 0.0;
  }
  return negative ? -value : value;
}

}  // namespace

std::string numberToText(double value) {
  if (!std::isfinite(value)) return {};
  if (value == 0.0) return "0";
  // "-d.ddddddddddddddde+XX": correctly rounded to 15 significant digits.
  std::array<char, 40> scientific{};
  auto [end, ec] = std::to_chars(scientific.data(), scientific.data() + scientific.size(), value,
                                 std::chars_format::scientific, kSignificantDigits - 1);
  (void)ec;
  const char* p = scientific.data();
  const bool negative = *p == '-';
  if (negative) ++p;
  std::array<char, kSignificantDigits> digits{};
  std::size_t digitCount = 0;
  for (; *p != 'e'; ++p) {
    if (*p != '.') digits[digitCount++] = *p;
  }
  int exponent = 0;
  const char* exponentText = p + 1;
  if (*exponentText == '+') ++exponentText;
  std::from_chars(exponentText, end, exponent);
  while (digitCount > 1 && digits[digitCount - 1] == '0') --digitCount;
  const std::string_view significant(digits.data(), digitCount);

  std::array<char, 48> text{};
  std::size_t length = 0;
  auto put = [&](std::string_view part) {
    for (char c : part) text[length++] = c;
  };
  auto putZeros = [&](int count) {
    for (int k = 0; k < count; ++k) text[length++] = '0';
  };
  if (negative) put("-");
  if (exponent >= kSmallestPlainExponent && exponent <= kLargestPlainExponent) {
    const auto integerDigits = static_cast<std::size_t>(exponent + 1);
    if (exponent < 0) {
      put("0.");
      putZeros(-exponent - 1);
      put(significant);
    } else if (integerDigits >= digitCount) {
      put(significant);
      putZeros(static_cast<int>(integerDigits - digitCount));
    } else {
      put(significant.substr(0, integerDigits));
      put(".");
      put(significant.substr(integerDigits));
    }
  } else {
    put(significant.substr(0, 1));
    if (digitCount > 1) {
      put(".");
      put(significant.substr(1));
    }
    put(exponent < 0 ? "E-" : "E+");
    const int magnitude = exponent < 0 ? -exponent : exponent;
    if (magnitude < 10) put("0");
    auto [exponentEnd, exponentError] = std::to_chars(text.data() + length, text.data() + text.size(), magnitude);
    (void)exponentError;
    length = static_cast<std::size_t>(exponentEnd - text.data());
  }
  return std::string(text.data(), length);
}

double parseLenient(std::string_view text) {
  // Most texts the program reads back are ones it wrote itself.
  if (const std::optional<double> plain = parseWholePlainNumber(text)) return *plain;
  return parseLeadingNumber(text);
}

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
