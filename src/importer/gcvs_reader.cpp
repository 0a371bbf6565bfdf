#include <string>

#include "catalogue/variable_type.h"
#include "importer/field_text.h"
#include "importer/gcvs_layout.h"

namespace tenmirel::importer {
namespace {

constexpr double kMinutesPerHour = 60.0;
constexpr double kSecondsPerHour = 3600.0;
constexpr double kDegreesPerHourOfRightAscension = 15.0;

std::string_view cut(std::string_view line, Span span) { return columns(line, span.begin, span.end); }

std::optional<double> wholeNumber(std::string_view text) {
  text = trimmed(text);
  if (text.empty() || text.find('.') != std::string_view::npos) return std::nullopt;
  return plainDecimal(text);
}

// Seconds may be blank (a position given to the minute) and read as zero.
std::optional<double> secondsOrZero(std::string_view text) {
  text = trimmed(text);
  if (text.empty()) return 0.0;
  if (text.back() == '.') text.remove_suffix(1);
  return plainDecimal(text);
}

void readPosition(std::string_view line, const GcvsLayout& layout, ImportedStar& star) {
  const std::string_view whole = columns(line, layout.raHours.begin, layout.positionFlag.end);
  if (trimmed(whole).empty()) return;
  const auto raH = wholeNumber(cut(line, layout.raHours));
  const auto raM = wholeNumber(cut(line, layout.raMinutes));
  const auto raS = secondsOrZero(cut(line, layout.raSeconds));
  const auto deD = wholeNumber(cut(line, layout.decDegrees));
  const auto deM = wholeNumber(cut(line, layout.decMinutes));
  const auto deS = secondsOrZero(cut(line, layout.decSeconds));
  const std::string_view sign = trimmed(cut(line, layout.decSign));
  // The sign has its own column: a part written with one ("-3", "-0") is no position.
  const auto hasSign = [](std::string_view part) { return part.find_first_of("+-") != std::string_view::npos; };
  const bool signedPart = hasSign(cut(line, layout.raHours)) || hasSign(cut(line, layout.raMinutes)) ||
                          hasSign(cut(line, layout.raSeconds)) || hasSign(cut(line, layout.decDegrees)) ||
                          hasSign(cut(line, layout.decMinutes)) || hasSign(cut(line, layout.decSeconds));
  if (signedPart || !raH || !raM || !raS || !deD || !deM || !deS || *raH >= 24 || *raM >= 60 || *raS >= 60 ||
      *deD > 90 || *deM >= 60 || *deS >= 60 || (!sign.empty() && sign != "-" && sign != "+")) {
    star.problems.push_back("位置「" + std::string(trimmed(whole)) + "」が読めません");
    return;
  }
  const double hours = *raH + *raM / kMinutesPerHour + *raS / kSecondsPerHour;
  const double degrees = *deD + *deM / kMinutesPerHour + *deS / kSecondsPerHour;
  if (degrees > 90) {
    star.problems.push_back("赤緯「" + std::string(trimmed(whole)) + "」が90°を超えています");
    return;
  }
  star.raDegrees = hours * kDegreesPerHourOfRightAscension;
  star.decDegrees = sign == "-" ? -degrees : degrees;
  star.positionUncertain = trimmed(cut(line, layout.positionFlag)) == ":";
}

// A magnitude field; a field whose text holds no single number is kept as
// flags and noted, without stopping the line.
FlaggedNumber readMagnitude(std::string_view line, Span span, const char* what, ImportedStar& star) {
  FlaggedNumber value = flaggedNumber(cut(line, span));
  if (!value.value && !value.flags.empty()) {
    star.problems.push_back(std::string(what) + "「" + std::string(trimmed(cut(line, span))) + "」が読めません");
  }
  return value;
}

}  // namespace

bool matchesGcvsLayout(std::string_view line, const GcvsLayout& layout) {
  int checked = 0;
  for (const std::size_t column : layout.separators) {
    if (column == 0) break;
    if (column >= line.size()) return checked >= 4;
    if (line[column] != '|') return false;
    ++checked;
  }
  return true;
}

Refusal readGcvsLine(std::string_view line, const GcvsLayout& layout, std::optional<ImportedStar>& found) {
  found.reset();
  if (trimmed(line).empty()) return std::nullopt;
  if (line.size() > layout.lineLength) {
    return "行が" + std::string(layout.name) + "の" + std::to_string(layout.lineLength) + "文字より長い（" +
           std::to_string(line.size()) + "文字）";
  }
  if (!matchesGcvsLayout(line, layout)) {
    return "行の区切り「|」が" + std::string(layout.name) + "の桁にありません";
  }
  ImportedStar& star = found.emplace();
  star.name = collapsedName(cut(line, layout.designation));
  readPosition(line, layout, star);
  star.type = std::string(trimmed(cut(line, layout.type)));
  star.maxMagnitude = readMagnitude(line, layout.maxMagnitude, "極大等級", star);
  star.minMagnitude = readMagnitude(line, layout.minMagnitude, "極小等級", star);
  star.band = std::string(trimmed(cut(line, layout.band)));
  star.epoch = flaggedNumber(cut(line, layout.epoch));
  star.period = flaggedNumber(cut(line, layout.period));
  if (!star.epoch.blank() && !star.epoch.value) {
    star.problems.push_back("元期「" + std::string(trimmed(cut(line, layout.epoch))) + "」が読めません");
  }
  if (!star.period.blank() && !star.period.value) {
    star.problems.push_back("周期「" + std::string(trimmed(cut(line, layout.period))) + "」が読めません");
  }
  // The column is the eclipse's duration D only for eclipsing stars; for the
  // others it is the rise time M-m, which is no planning token.
  if (classifyVariableType(star.type).eclipsing) {
    const auto duration = wholeNumber(cut(line, layout.durationValue));
    if (duration && *duration > 0 && *duration <= 100) {
      star.durationPercent = duration;
      star.durationUncertain = cut(line, layout.durationFlags).find(':') != std::string_view::npos;
    }
  }
  if (layout.synonym.end > 0) {
    const std::string_view other = trimmed(cut(line, layout.synonym));
    if (!other.empty() && other.front() == '=') star.synonymOf = collapsedName(other.substr(1));
  }
  return std::nullopt;
}

}  // namespace tenmirel::importer
