#include "timing/elements_writer.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "catalogue/memo_tokens.h"

namespace tenmirel::timing {
namespace {

constexpr int kFewestDecimals = 4;
constexpr int kMostDecimals = 12;
constexpr int kDigitsBelowSigma = 2;
// ASCII, so the note reads back the same from a CP932 file (a written "−" comes
// back as "－"); notes written with either minus are still recognised.
constexpr const char* kFitNoteStart = "O-C(";
constexpr const char* kEarlierFitNoteStarts[] = {"O-C(", "O−C(", "O－C("};

bool isFitNote(const std::string& word) {
  for (const char* start : kEarlierFitNoteStarts)
    if (word.rfind(start, 0) == 0) return true;
  return false;
}

std::string rounded(double value, double sigma) {
  int decimals = kMostDecimals;
  if (sigma > 0 && std::isfinite(sigma)) {
    decimals =
        std::clamp(static_cast<int>(std::ceil(-std::log10(sigma))) + kDigitsBelowSigma, kFewestDecimals, kMostDecimals);
  }
  char text[64];
  std::snprintf(text, sizeof text, "%.*f", decimals, value);
  return text;
}

constexpr double kJulianDayOf2000 = 2451544.5;  // 2000-01-01 0h UT
constexpr double kDaysPerYear = 365.25;

// The year of the date, near enough for a note.
// Two significant digits, as errors are quoted.
double twoDigits(double value) {
  if (value == 0 || !std::isfinite(value)) return value;
  // Through the decimal text, so the double is the one nearest "1.9e-05".
  char text[32];
  std::snprintf(text, sizeof text, "%.1e", value);
  return std::strtod(text, nullptr);
}

int yearOf(double julianDay) {
  return 2000 + static_cast<int>(std::floor((julianDay - kJulianDayOf2000) / kDaysPerYear));
}

std::string withFitNote(const std::string& memo, const std::string& note) {
  // Blank-separated words; an earlier note of a fit is left out.
  std::string out;
  std::size_t i = 0;
  while (i < memo.size()) {
    std::size_t end = memo.find(' ', i);
    if (end == std::string::npos) end = memo.size();
    const std::string word = memo.substr(i, end - i);
    if (!isFitNote(word) && !word.empty()) out += (out.empty() ? "" : " ") + word;
    i = end + 1;
  }
  return out + (out.empty() ? "" : " ") + note;
}

}  // namespace

ElementsReplacement fittedReplacement(const std::string& starName, const std::string& memo, const ElementsFit& fit) {
  ElementsReplacement replacement;
  replacement.starName = starName;
  replacement.epoch = rounded(fit.epoch, fit.sigmaEpoch);
  replacement.period = rounded(fit.period, fit.sigmaPeriod);
  const std::string note = std::string(kFitNoteStart) + std::to_string(fit.points) + "点," +
                           std::to_string(yearOf(fit.firstTime)) + "-" + std::to_string(yearOf(fit.lastTime)) + ")";
  replacement.memo =
      withFitNote(withFitErrorTokens(memo, FittedElementErrors{twoDigits(fit.sigmaEpoch), twoDigits(fit.sigmaPeriod),
                                                               twoDigits(fit.covarianceEpochPeriod)}),
                  note);
  return replacement;
}

}  // namespace tenmirel::timing
