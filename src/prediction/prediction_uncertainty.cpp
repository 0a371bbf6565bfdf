#include "prediction/prediction_uncertainty.h"

#include <cmath>
#include <cstdio>
#include <optional>

#include "catalogue/memo_tokens.h"
#include "common/number_text.h"
#include "sky/element_uncertainty.h"

namespace tenmirel {
namespace {

constexpr double kMinutesPerDay = 1440;

std::string minutesText(double minutes) {
  char text[48];
  std::snprintf(text, sizeof text, "%.1f", minutes);
  return text;
}

}  // namespace

std::string predictionUncertaintyText(const std::string& epochText, const std::string& periodText, double cycle,
                                      const std::string& memo) {
  if (!std::isfinite(cycle) || !std::isfinite(parseLenient(epochText)) || !std::isfinite(parseLenient(periodText))) {
    return {};
  }
  const MemoTokens tokens = readMemoTokens(memo);
  std::optional<double> days;
  if (tokens.fitErrors) {
    days = sky::fittedUncertaintyDays(cycle, {tokens.fitErrors->sigmaEpochDays, tokens.fitErrors->sigmaPeriodDays,
                                              tokens.fitErrors->covarianceEpochPeriod});
  }
  if (days) return "予報の不確かさ ±" + minutesText(*days * kMinutesPerDay) + " 分（当てはめた要素の誤差から）";
  const double fromDigits =
      sky::digitsUncertaintyDays(cycle, sky::writtenDecimals(periodText), sky::writtenDecimals(epochText));
  if (!std::isfinite(fromDigits)) return {};
  const bool flagged = tokens.periodUncertain || tokens.epochUncertain || sky::writtenUncertain(periodText) ||
                       sky::writtenUncertain(epochText);
  const std::string figure = minutesText(fromDigits * kMinutesPerDay);
  if (flagged) return "予報の不確かさ ≥±" + figure + " 分（要素に「:」があり、桁から見たこの値は下限）";
  return "予報の不確かさ ±" + figure + " 分（元期・周期の桁から）";
}

}  // namespace tenmirel
