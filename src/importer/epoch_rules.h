#pragma once
// The rules for a catalogue's epoch and period texts.
//
// An epoch below 100,000 is written as JD - 2,400,000 (GCVS: "53820.",
// "08247.950" is 1858); a larger one is a full Julian day and stays. Either is
// rewritten as the full day with the digits it was written with, so the
// written precision travels on ("08247.950" -> "2408247.950"). An epoch before
// 1800 or more than five years after today is not trusted.
#include <chrono>
#include <optional>
#include <string>
#include <string_view>

namespace tenmirel::importer {

inline constexpr double kReducedJulianDayOffset = 2'400'000.0;  // days
inline constexpr double kReducedEpochLimit = 100'000.0;         // days: below, the epoch is reduced
inline constexpr double kJulianDay1800 = 2'378'496.5;           // 1800-01-01 00:00 UT
inline constexpr double kDaysPerJulianYear = 365.25;
inline constexpr double kTrustedYearsAhead = 5.0;

// The latest epoch trusted for a reading made at `now`: now plus five years.
double latestTrustedEpoch(std::chrono::system_clock::time_point now);

struct EpochText {
  double julianDay = 0;  // full Julian day
  std::string text;      // the full day, the written decimals kept ("2408247.950")
  bool trusted = true;   // 1800 <= day <= latest
};

// Reads the digits of an epoch ("53820.", "2457991.86"); none unless they are an
// unsigned decimal number.
std::optional<EpochText> readEpochDigits(std::string_view digits, double latestTrusted);

// The period's digits as a catalogue record holds them: a trailing point
// dropped ("120." -> "120"), leading blanks gone; none unless an unsigned
// decimal number.
std::optional<std::string> periodText(std::string_view digits);

}  // namespace tenmirel::importer
