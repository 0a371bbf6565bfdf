#include "importer/star_rules.h"

#include "importer/epoch_rules.h"

namespace tenmirel::importer {

const char* skipReasonWords(SkipReason reason) {
  switch (reason) {
    case SkipReason::none:
      return "";
    case SkipReason::synonym:
      return "別名の行（データなし）";
    case SkipReason::noName:
      return "星名なし";
    case SkipReason::noPosition:
      return "位置なし";
    case SkipReason::noPeriod:
      return "周期なし";
    case SkipReason::meanCycle:
      return "平均周期（括弧つき）";
    case SkipReason::periodLimit:
      return "周期が限界値のみ";
    case SkipReason::noEpoch:
      return "元期なし";
    case SkipReason::epochOutOfRange:
      return "元期が1800年より前か5年より先";
    case SkipReason::badElements:
      return "元期か周期が数値として読めない";
    case SkipReason::nameNotEncodable:
      return "星名をCP932で書けない";
  }
  return "";
}

const char* skipReasonKey(SkipReason reason) {
  switch (reason) {
    case SkipReason::none:
      return "none";
    case SkipReason::synonym:
      return "synonym";
    case SkipReason::noName:
      return "no_name";
    case SkipReason::noPosition:
      return "no_position";
    case SkipReason::noPeriod:
      return "no_period";
    case SkipReason::meanCycle:
      return "mean_cycle";
    case SkipReason::periodLimit:
      return "period_limit";
    case SkipReason::noEpoch:
      return "no_epoch";
    case SkipReason::epochOutOfRange:
      return "epoch_out_of_range";
    case SkipReason::badElements:
      return "bad_elements";
    case SkipReason::nameNotEncodable:
      return "name_not_encodable";
  }
  return "none";
}

namespace {

// The flags a catalogue writes beside an epoch and a period; any other
// character means the value was not written as a number.
constexpr std::string_view kEpochFlags = ":";
constexpr std::string_view kPeriodFlags = "()<>:/N*";

bool onlyFlags(const std::string& flags, std::string_view allowed) {
  return flags.find_first_not_of(allowed) == std::string::npos;
}

}  // namespace

void settleElements(ImportedStar& star, double latestTrustedEpoch) {
  star.skip = SkipReason::none;
  // The epoch is rewritten first so that every star shows its full day.
  std::optional<EpochText> epoch;
  if (!star.epoch.digits.empty()) {
    epoch = readEpochDigits(star.epoch.digits, latestTrustedEpoch);
    if (epoch) {
      star.epoch.value = epoch->julianDay;
      star.epoch.digits = epoch->text;
    } else {
      star.epoch.value.reset();
    }
  }
  std::optional<std::string> period;
  if (!star.period.digits.empty()) {
    period = periodText(star.period.digits);
    if (period) star.period.digits = *period;
    if (!period) star.period.value.reset();
  }

  if (!star.synonymOf.empty() && star.period.blank() && star.epoch.blank() && !star.raDegrees) {
    star.skip = SkipReason::synonym;
  } else if (star.name.empty()) {
    star.skip = SkipReason::noName;
  } else if (!star.raDegrees || !star.decDegrees) {
    star.skip = SkipReason::noPosition;
  } else if (star.period.has('(')) {
    star.skip = SkipReason::meanCycle;
  } else if (star.period.has('<') || star.period.has('>')) {
    star.skip = SkipReason::periodLimit;
  } else if (star.period.blank()) {
    star.skip = SkipReason::noPeriod;
  } else if (!period || !star.period.value || !onlyFlags(star.period.flags, kPeriodFlags)) {
    star.skip = SkipReason::badElements;
  } else if (*star.period.value <= 0) {
    star.skip = SkipReason::noPeriod;
  } else if (star.epoch.blank()) {
    star.skip = SkipReason::noEpoch;
  } else if (!epoch || !onlyFlags(star.epoch.flags, kEpochFlags)) {
    star.skip = SkipReason::badElements;
  } else if (!epoch->trusted) {
    star.skip = SkipReason::epochOutOfRange;
  }
}

}  // namespace tenmirel::importer
