#include "lists/list_texts.h"

#include "common/number_text.h"

namespace tenmirel {
namespace {

// A one-digit number and its unit sign.
constexpr std::size_t kUnpaddedPartLength = 2;

bool isContinuationByte(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

std::string padded(std::string part) {
  if (characterCount(part) == kUnpaddedPartLength) part.insert(0, kAlignmentPadding);
  return part;
}

}  // namespace

std::size_t characterCount(std::string_view utf8) {
  std::size_t count = 0;
  for (char c : utf8) {
    if (!isContinuationByte(c)) ++count;
  }
  return count;
}

TimeTexts timeTexts(const std::string& year, const std::string& month, const std::string& day, const std::string& hour,
                    const std::string& minute) {
  return {year + kYearSign, padded(month + kMonthSign), padded(day + kDaySign), padded(hour + kHourSign),
          padded(minute + kMinuteSign)};
}

std::string altitudeText(std::string_view koudoText) {
  return numberToText(floorTowardMinusInfinity(parseLenient(koudoText))) + kDegreeSign;
}

std::string cycleText(std::string_view kaikiText) {
  return std::string(kCyclePrefix) + std::string(kaikiText) + kCycleSuffix;
}

}  // namespace tenmirel
