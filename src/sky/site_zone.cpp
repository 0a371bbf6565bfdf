#include "sky/site_zone.h"

#include <date/tz.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <exception>
#include <limits>

#include "common/control_text.h"
#include "sky/zone_footer_rule.h"

namespace tenmirel::sky {
namespace {

constexpr double kJulianDayOfUnixEpoch = 2440587.5;
constexpr double kSecondsPerDay = 86400;
constexpr std::int64_t kSecondsPerDayWhole = 86400;
constexpr int kSecondsPerHour = 3600;
constexpr int kSecondsPerMinute = 60;
constexpr int kLargestFixedOffsetSeconds = 14 * kSecondsPerHour;
// Instants the zone library handles comfortably: about years -1000 to 5000.
constexpr double kLargestZoneSeconds = 1.0e11;

std::optional<int> twoDigits(std::string_view text) {
  if (text.size() != 2 || text[0] < '0' || text[0] > '9' || text[1] < '0' || text[1] > '9') return std::nullopt;
  return (text[0] - '0') * 10 + (text[1] - '0');
}

// "UTC", "UTC+9", "UTC+09", "UTC+09:00", "UTC+0900" (also "GMT+...") to seconds.
std::optional<int> fixedOffsetSeconds(std::string_view text) {
  if (text.substr(0, 3) != "UTC" && text.substr(0, 3) != "GMT") return std::nullopt;
  text.remove_prefix(3);
  if (text.empty()) return 0;
  const int sign = text.front() == '+' ? 1 : (text.front() == '-' ? -1 : 0);
  if (sign == 0) return std::nullopt;
  text.remove_prefix(1);
  std::string_view hoursText = text;
  std::string_view minutesText;
  if (const auto colon = text.find(':'); colon != std::string_view::npos) {
    hoursText = text.substr(0, colon);
    minutesText = text.substr(colon + 1);
    if (minutesText.size() != 2) return std::nullopt;
  } else if (text.size() == 4) {
    hoursText = text.substr(0, 2);
    minutesText = text.substr(2);
  }
  std::optional<int> hours;
  if (hoursText.size() == 1 && hoursText[0] >= '0' && hoursText[0] <= '9') {
    hours = hoursText[0] - '0';
  } else {
    hours = twoDigits(hoursText);
  }
  const std::optional<int> minutes = minutesText.empty() ? std::optional<int>(0) : twoDigits(minutesText);
  if (!hours || !minutes || *minutes >= 60) return std::nullopt;
  const int seconds = *hours * kSecondsPerHour + *minutes * kSecondsPerMinute;
  if (seconds > kLargestFixedOffsetSeconds) return std::nullopt;
  return sign * seconds;
}

std::string fixedOffsetText(int seconds) { return "UTC" + UtOffset{seconds}.text(); }

std::string unknownZone(std::string_view text) {
  return "時間帯「" + withControlsReplaced(text) +
         "」が分かりません。「Asia/Tokyo」のような地域名か「UTC+09:00」の形で指定してください。";
}

}  // namespace

Checked<SiteZone> SiteZone::fromText(std::string_view text) {
  SiteZone zone;
  if (const std::optional<int> seconds = fixedOffsetSeconds(text)) {
    zone.fixedSeconds_ = *seconds;
    zone.text_ = fixedOffsetText(*seconds);
    return Checked<SiteZone>::success(zone);
  }
  if (text.empty()) {
    return Checked<SiteZone>::failure(unknownZone(text));
  }
  try {
    zone.zone_ = date::locate_zone(text);
  } catch (const std::exception&) {
    return Checked<SiteZone>::failure(unknownZone(text));
  }
  zone.text_ = std::string(text);
  zone.footer_ = ZoneFooterRule::ofZone(zone.text_);
  return Checked<SiteZone>::success(zone);
}

std::optional<UtOffset> SiteZone::fixedOffset() const {
  if (zone_ != nullptr) return std::nullopt;
  return UtOffset{fixedSeconds_};
}

Checked<UtOffset> SiteZone::offsetAtLocal(double nen, double tuki, double hi, double ji, double hun) const {
  if (zone_ == nullptr) return Checked<UtOffset>::success(UtOffset{fixedSeconds_});
  const double localSeconds = std::round((js(nen, tuki, hi, ji, hun) - kJulianDayOfUnixEpoch) * kSecondsPerDay);
  if (!(std::fabs(localSeconds) < kLargestZoneSeconds)) {
    return Checked<UtOffset>::failure("日時が範囲外のため、時間帯「" + text_ + "」で変換できません。");
  }
  const date::local_seconds local{std::chrono::seconds{static_cast<std::int64_t>(localSeconds)}};
  // The instants that read as this local time: the zone file's listed transitions
  // speak for instants before its last one, the footer's rule for the rest.
  const std::int64_t lastListed = footer_ ? footer_->lastTransition() : std::numeric_limits<std::int64_t>::max();
  std::optional<std::int64_t> earliest;
  std::chrono::seconds earliestOffset{0};
  auto consider = [&](const date::sys_info& in, bool listed) {
    const std::int64_t instant = (local - in.offset).time_since_epoch().count();
    if ((instant < lastListed) != listed || (earliest && *earliest <= instant)) return;
    earliest = instant;
    earliestOffset = in.offset;
  };
  auto collect = [&](const date::local_info& info, bool listed) {
    if (info.result == date::local_info::nonexistent) return;
    consider(info.first, listed);
    if (info.result == date::local_info::ambiguous) consider(info.second, listed);
  };
  const date::local_info listedInfo = zone_->get_info(local);
  collect(listedInfo, true);
  // Offsets stay within a day: long before the last listed transition the rule has
  // nothing to say.
  std::optional<date::local_info> ruleInfo;
  if (footer_ && local.time_since_epoch().count() > lastListed - kSecondsPerDayWhole) {
    ruleInfo = footer_->infoAt(local);
    collect(*ruleInfo, false);
  }
  // At a fall-back change the earlier instant is meant (the summer-time one).
  if (earliest) return Checked<UtOffset>::success(UtOffset{static_cast<int>(earliestOffset.count())});
  const date::local_info& gap =
      listedInfo.result == date::local_info::nonexistent || !ruleInfo ? listedInfo : *ruleInfo;
  // A gap where summer time starts or stops; a zone moving across the date line
  // keeps its summer-time state and skips the time all the same.
  const bool summerTimeChanges = gap.result == date::local_info::nonexistent && gap.first.save != gap.second.save;
  return Checked<UtOffset>::failure(date::format("%Y-%m-%d %H:%M", local) + " は時間帯「" + text_ + "」では" +
                                    (summerTimeChanges ? "夏時間への切り替えで" : "時差の変更で飛ばされ、") +
                                    "存在しない時刻です。");
}

UtOffset SiteZone::offsetAtUt(double julianDayUt) const {
  if (zone_ == nullptr) return UtOffset{fixedSeconds_};
  // To the nearest millisecond first, so that a Julian day meant as a whole second
  // (held a few microseconds short) falls on that second.
  double seconds = std::floor(std::round((julianDayUt - kJulianDayOfUnixEpoch) * kSecondsPerDay * 1000) / 1000);
  if (!(seconds > -kLargestZoneSeconds)) seconds = -kLargestZoneSeconds;
  if (seconds > kLargestZoneSeconds) seconds = kLargestZoneSeconds;
  const date::sys_seconds instant{std::chrono::seconds{static_cast<std::int64_t>(seconds)}};
  if (footer_ && instant.time_since_epoch().count() >= footer_->lastTransition()) {
    return UtOffset{static_cast<int>(footer_->infoAt(instant).offset.count())};
  }
  return UtOffset{static_cast<int>(zone_->get_info(instant).offset.count())};
}

Checked<double> SiteZone::localToUt(double nen, double tuki, double hi, double ji, double hun) const {
  const Checked<UtOffset> offset = offsetAtLocal(nen, tuki, hi, ji, hun);
  if (!offset) return Checked<double>::failure(offset.message());
  return Checked<double>::success(utJulianDayOf(nen, tuki, hi, ji, hun, *offset));
}

ZonedMinute SiteZone::utToLocal(double julianDayUt) const {
  const UtOffset offset = offsetAtUt(julianDayUt);
  return ZonedMinute{localMinuteAt(julianDayUt, offset), offset};
}

std::vector<std::string> knownZoneNames() {
  std::vector<std::string> names;
  try {
    for (const date::time_zone& zone : date::get_tzdb().zones) names.emplace_back(zone.name());
  } catch (const std::exception&) {
    return names;
  }
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace tenmirel::sky
