#pragma once
// One or a few stars across many nights: the night plan of each evening in turn,
// the Sun's twilights worked out once a night for all the stars together.
#include <vector>

#include "sky/checked.h"
#include "sky/night_plan.h"

namespace tenmirel::sky {

inline constexpr int kMostSeasonNights = 3660;  // ten years

struct SeasonPlan {
  // One plan per evening from the first; each without its prepared sky, which a
  // season has no use for and would hold a day's grid per night, and without the
  // Moon's rising and setting (its events are those of planNight all the same).
  std::vector<NightPlan> nights;
};

// The evening days after date (negative days before it) in the calendar.
NightDate nightAfter(NightDate date, int days);

// Refused with a Japanese message: nights outside 1..kMostSeasonNights, or any
// refusal of planNight for one of the evenings (the first one's message).
Checked<SeasonPlan> planSeason(const std::vector<NightStar>& stars, const Site& site, NightDate first, int nights,
                               const NightOptions& options);

}  // namespace tenmirel::sky
