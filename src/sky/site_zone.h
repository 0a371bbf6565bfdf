#pragma once
// A site's clock: an IANA time zone from the system's zoneinfo (through the date/tz
// library) or a fixed offset from UT. Local time to UT takes the offset in force at
// that local time: a time skipped by a spring-forward change is refused, and a time
// that occurs twice at a fall-back change means the earlier instant. UT to local
// time takes the offset in force at that instant. After the last transition its
// zone file lists, the file's own rule (its POSIX TZ footer) carries on.
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "sky/checked.h"
#include "sky/local_minute.h"

namespace date {
class time_zone;
}

namespace tenmirel::sky {

class ZoneFooterRule;

// A local minute together with the offset it was read with.
struct ZonedMinute {
  LocalMinute minute;
  UtOffset offset;
};

class SiteZone {
 public:
  // "Asia/Tokyo", "Europe/Prague", ...; or "UTC", "UTC+9", "UTC+09:00", "UTC-03:30",
  // "UTC+0530" (at most 14 hours either way).
  static Checked<SiteZone> fromText(std::string_view text);

  // The zone as it is stored: the IANA name, or the fixed offset as "UTC+09:00".
  const std::string& text() const { return text_; }
  // The offset when it never changes (a fixed offset), nothing for an IANA zone.
  std::optional<UtOffset> fixedOffset() const;

  // The offset in force at the local calendar time given as js takes it (parts
  // counted arithmetically); refused inside a spring-forward gap.
  Checked<UtOffset> offsetAtLocal(double nen, double tuki, double hi, double ji, double hun) const;
  // The offset in force at the instant.
  UtOffset offsetAtUt(double julianDayUt) const;

  // The UT Julian day of a local time: utJulianDayOf with offsetAtLocal. For
  // "UTC+09:00" this is exactly js(nen, tuki, hi, ji - 9, hun).
  Checked<double> localToUt(double nen, double tuki, double hi, double ji, double hun) const;
  // The local minute of an instant: localMinuteAt with offsetAtUt, so sj itself for
  // "UTC+09:00".
  ZonedMinute utToLocal(double julianDayUt) const;

 private:
  SiteZone() = default;
  std::string text_;
  int fixedSeconds_ = 0;
  const date::time_zone* zone_ = nullptr;
  std::shared_ptr<const ZoneFooterRule> footer_;
};

// Every IANA zone name the system knows, sorted, for a chooser.
std::vector<std::string> knownZoneNames();

}  // namespace tenmirel::sky
