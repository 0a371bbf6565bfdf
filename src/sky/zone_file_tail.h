#pragma once
// What a zone file (TZif, RFC 8536) says about times after its listed transitions:
// the instant of its last transition and the POSIX TZ rule of its footer
// ("EST5EDT,M3.2.0,M11.1.0"). The zone library stops at the last transition; the
// rule carries summer time on to the years beyond it.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tenmirel::sky {

struct ZoneFileTail {
  // Seconds since 1970-01-01 UT of the last listed transition.
  std::int64_t lastTransition = 0;
  // The footer's TZ string; may be empty (the file then says nothing beyond).
  std::string rule;
};

// Reads the tail of a version 2 or later TZif file; nothing for version 1, a file
// without transitions, one whose last transition lies beyond any calendar, or bytes
// that are not a whole TZif file.
std::optional<ZoneFileTail> readZoneFileTail(std::string_view bytes);

}  // namespace tenmirel::sky
