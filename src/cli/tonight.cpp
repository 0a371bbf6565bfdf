#include "cli/tonight.h"

namespace tenmirel::cli {
namespace {

constexpr double kUnixEpochJulianDay = 2440587.5;
constexpr double kSecondsPerDay = 86400;
constexpr int kNoonHour = 12;

}  // namespace

double julianDayOf(std::chrono::system_clock::time_point now) {
  const auto seconds = std::chrono::duration<double>(now.time_since_epoch()).count();
  return kUnixEpochJulianDay + seconds / kSecondsPerDay;
}

sky::NightDate eveningDateAt(const sky::SiteZone& zone, double julianDayUt) {
  const LocalMinute local = zone.utToLocal(julianDayUt).minute;
  std::chrono::year_month_day day{std::chrono::year{local.year}, std::chrono::month(static_cast<unsigned>(local.month)),
                                  std::chrono::day(static_cast<unsigned>(local.day))};
  if (local.hour < kNoonHour) {
    day = std::chrono::year_month_day{std::chrono::sys_days{day} - std::chrono::days{1}};
    // The morning after a day the zone skipped (Samoa's 2011-12-30) belongs to the
    // evening before that day.
    if (!zone.localToUt(static_cast<int>(day.year()), static_cast<unsigned>(day.month()),
                        static_cast<unsigned>(day.day()), kNoonHour, 0)) {
      day = std::chrono::year_month_day{std::chrono::sys_days{day} - std::chrono::days{1}};
    }
  }
  return {static_cast<int>(day.year()), static_cast<int>(static_cast<unsigned>(day.month())),
          static_cast<int>(static_cast<unsigned>(day.day()))};
}

}  // namespace tenmirel::cli
