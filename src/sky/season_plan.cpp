#include "sky/season_plan.h"

#include <chrono>

namespace tenmirel::sky {

NightDate nightAfter(NightDate date, int days) {
  const std::chrono::year_month_day calendar{std::chrono::year{date.year}, std::chrono::month(date.month),
                                             std::chrono::day(date.day)};
  const std::chrono::year_month_day later{std::chrono::sys_days{calendar} + std::chrono::days{days}};
  return {static_cast<int>(later.year()), static_cast<int>(static_cast<unsigned>(later.month())),
          static_cast<int>(static_cast<unsigned>(later.day()))};
}

Checked<SeasonPlan> planSeason(const std::vector<NightStar>& stars, const Site& site, NightDate first, int nights,
                               const NightOptions& options) {
  if (nights < 1 || nights > kMostSeasonNights) {
    return Checked<SeasonPlan>::failure("夜の数は 1 から " + std::to_string(kMostSeasonNights) +
                                        " までで指定してください。");
  }
  SeasonPlan season;
  season.nights.reserve(static_cast<std::size_t>(nights));
  NightOptions each = options;
  each.moonCrossings = false;
  for (int night = 0; night < nights; ++night) {
    Checked<NightPlan> plan = planNight(stars, site, nightAfter(first, night), each);
    if (!plan) return Checked<SeasonPlan>::failure(plan.message());
    NightPlan kept = std::move(*plan);
    kept.sky.reset();
    season.nights.push_back(std::move(kept));
  }
  return Checked<SeasonPlan>::success(std::move(season));
}

}  // namespace tenmirel::sky
