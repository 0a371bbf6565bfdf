#include "importer/epoch_rules.h"

#include "importer/field_text.h"

namespace tenmirel::importer {
namespace {

constexpr double kUnixEpochJulianDay = 2'440'587.5;  // 1970-01-01 00:00 UT
constexpr double kSecondsPerDay = 86'400.0;

bool unsignedDecimal(std::string_view text) {
  return !text.empty() && text.front() != '-' && text.front() != '+' && plainDecimal(text).has_value();
}

}  // namespace

double latestTrustedEpoch(std::chrono::system_clock::time_point now) {
  const double seconds = std::chrono::duration<double>(now.time_since_epoch()).count();
  return kUnixEpochJulianDay + seconds / kSecondsPerDay + kTrustedYearsAhead * kDaysPerJulianYear;
}

std::optional<EpochText> readEpochDigits(std::string_view digits, double latestTrusted) {
  digits = trimmed(digits);
  if (!unsignedDecimal(digits)) return std::nullopt;
  const double written = *plainDecimal(digits);
  EpochText epoch;
  const std::size_t point = digits.find('.');
  const std::string_view whole = digits.substr(0, point);
  std::string_view fraction = point == std::string_view::npos ? std::string_view() : digits.substr(point + 1);
  if (whole.size() > 12) return std::nullopt;  // no Julian day has that many digits
  long long day = 0;
  for (const char c : whole) day = day * 10 + (c - '0');
  if (written < kReducedEpochLimit) day += static_cast<long long>(kReducedJulianDayOffset);
  epoch.text = std::to_string(day);
  if (!fraction.empty()) epoch.text += "." + std::string(fraction);
  epoch.julianDay = *plainDecimal(epoch.text);
  epoch.trusted = epoch.julianDay >= kJulianDay1800 && epoch.julianDay <= latestTrusted;
  return epoch;
}

std::optional<std::string> periodText(std::string_view digits) {
  digits = trimmed(digits);
  if (!unsignedDecimal(digits)) return std::nullopt;
  if (digits.front() == '.') return "0" + std::string(digits);
  if (digits.back() == '.') digits.remove_suffix(1);
  return std::string(digits);
}

}  // namespace tenmirel::importer
