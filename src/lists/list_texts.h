#pragma once
// The texts both lists put into a row.
#include <string>
#include <string_view>

#include "sheet/list_buffers.h"

namespace tenmirel {

inline constexpr const char* kYearSign = "年";
inline constexpr const char* kMonthSign = "月";
inline constexpr const char* kDaySign = "日";
inline constexpr const char* kHourSign = "時";
inline constexpr const char* kMinuteSign = "分";
inline constexpr const char* kDegreeSign = "°";  // U+00B0, one character
inline constexpr const char* kCyclePrefix = "第";
inline constexpr const char* kCycleSuffix = "回帰";
// Put before a one-digit month, day, hour or minute part so the columns line up.
inline constexpr const char* kAlignmentPadding = "  ";

// Number of characters (code points) of a UTF-8 text.
std::size_t characterCount(std::string_view utf8);

// The five parts from the output texts, each followed by its unit sign; month,
// day, hour and minute parts of exactly two characters get two spaces in front.
TimeTexts timeTexts(const std::string& year, const std::string& month, const std::string& day, const std::string& hour,
                    const std::string& minute);

// The altitude text leniently parsed, rounded toward minus infinity, with "°":
// "45.9" gives "45°", "-0.2" gives "-1°".
std::string altitudeText(std::string_view koudoText);

// "第" + cycle text + "回帰".
std::string cycleText(std::string_view kaikiText);

}  // namespace tenmirel
