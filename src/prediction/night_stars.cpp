#include "prediction/night_stars.h"

#include <algorithm>
#include <cmath>

#include "catalogue/memo_tokens.h"
#include "prediction/star_place.h"

namespace tenmirel {
namespace {

sky::EventKind kindOfEpoch(EpochKind kind) {
  switch (kind) {
    case EpochKind::primaryMinimum:
      return sky::EventKind::primary;
    case EpochKind::maximum:
      return sky::EventKind::maximum;
    case EpochKind::unknown:
      return sky::EventKind::extremum;
  }
  return sky::EventKind::extremum;
}

// What the memo says for planning: the type, the secondary's phase, the eclipse's
// duration, the flags and the fitted errors; its faults cost the star.
void readPlanningTokens(const std::string& memo, sky::NightStar& star) {
  const MemoTokens tokens = readMemoTokens(memo);
  for (const std::string& problem : tokens.problems) star.memoProblem += problem;
  star.epochKind = kindOfEpoch(tokens.type.epochKind);
  star.hasSecondaryMinimum = tokens.type.hasSecondaryMinimum;
  if (tokens.secondaryPhase) star.secondaryPhase = *tokens.secondaryPhase;
  star.durationPercent = tokens.durationPercent;
  star.elementsFlaggedUncertain = tokens.periodUncertain || tokens.epochUncertain;
  if (tokens.fitErrors) {
    star.fittedErrors = sky::FittedErrors{tokens.fitErrors->sigmaEpochDays, tokens.fitErrors->sigmaPeriodDays,
                                          tokens.fitErrors->covarianceEpochPeriod};
  }
}

}  // namespace

sky::NightStar nightStarOf(const StarRecord& record) {
  sky::NightStar star;
  star.name = record.starName;
  star.epoch = record.ganki;
  star.period = record.syuki;
  // A row without any coordinate text has no place; the altitude is then unknown.
  star.hasPlace = rowHasPlace(record);
  // The place exactly as the main window reads it, so both see the star at the same spot.
  const StarPlace place = starPlaceOf(record);
  star.rightAscensionDegrees = place.alphaDegrees;
  star.declinationDegrees = place.deltaDegrees;
  readPlanningTokens(record.memo, star);
  return star;
}

std::vector<sky::NightStar> nightStarsOf(const StarTable& table, int count) {
  std::vector<sky::NightStar> stars;
  const int rows = std::clamp(count, 0, kStarTableRows);
  stars.reserve(static_cast<std::size_t>(rows));
  for (int i = 0; i < rows; ++i) stars.push_back(nightStarOf(table[i]));
  return stars;
}

std::vector<sky::NightStar> nightStarsOf(const std::vector<StarRecord>& records) {
  std::vector<sky::NightStar> stars;
  stars.reserve(records.size());
  for (const StarRecord& record : records) stars.push_back(nightStarOf(record));
  return stars;
}

}  // namespace tenmirel
