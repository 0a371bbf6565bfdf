#include "timing/o_minus_c.h"

#include <algorithm>
#include <cmath>

#include "timing/small_solve.h"

namespace tenmirel::timing {
namespace {

constexpr double kOutlierSigmas = 3;
constexpr double kEqualWeightSigmaDays = 1;

double cycleOf(double time, ExtremumKind kind, const StarElements& elements) {
  const double phase = (time - elements.epoch) / elements.period;
  if (kind == ExtremumKind::secondary) return std::round(phase - elements.secondaryPhase) + elements.secondaryPhase;
  return std::round(phase);
}

double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const std::size_t n = values.size();
  return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

}  // namespace

const char* fitKindName(FitKind kind) {
  switch (kind) {
    case FitKind::none:
      return "none";
    case FitKind::quadratic:
      return "quadratic";
    case FitKind::linear:
      break;
  }
  return "linear";
}

double ElementsFit::timeAt(double cycle) const {
  const double x = cycle - referenceCycle;
  return epoch + period * x + q * x * x;
}

Checked<ElementsFit> fitElements(std::vector<OcPoint>& points, FitKind kind) {
  using Result = Checked<ElementsFit>;
  const std::size_t terms = kind == FitKind::quadratic ? 3 : 2;
  std::vector<const OcPoint*> used;
  std::vector<double> known;
  for (const OcPoint& point : points) {
    if (point.observed.excluded) continue;
    used.push_back(&point);
    if (point.observed.sigmaDays && *point.observed.sigmaDays > 0) known.push_back(*point.observed.sigmaDays);
  }
  if (used.size() < terms + 1) {
    return Result::failure(std::string(kind == FitKind::quadratic ? "2次式" : "直線") + "の当てはめには観測が " +
                           std::to_string(terms + 1) + " つ以上必要です（除外していない観測は " +
                           std::to_string(used.size()) + " つ）");
  }
  ElementsFit fit;
  fit.kind = kind;
  fit.equalWeights = known.empty();
  const double fallbackSigma = known.empty() ? kEqualWeightSigmaDays : median(known);
  auto sigmaOf = [&](const OcPoint& point) {
    return point.observed.sigmaDays && *point.observed.sigmaDays > 0 ? *point.observed.sigmaDays : fallbackSigma;
  };

  long double weightSum = 0;
  long double weightedCycles = 0;
  for (const OcPoint* point : used) {
    const long double w = 1 / (static_cast<long double>(sigmaOf(*point)) * sigmaOf(*point));
    weightSum += w;
    weightedCycles += w * point->cycle;
  }
  fit.referenceCycle = std::round(static_cast<double>(weightedCycles / weightSum));
  // Times from the first fitted observation keep the fractions of a day.
  const double origin = used.front()->time;
  SquareMatrix normal(terms, std::vector<long double>(terms, 0));
  std::vector<long double> right(terms, 0);
  for (const OcPoint* point : used) {
    const long double x = point->cycle - fit.referenceCycle;
    const long double w = 1 / (static_cast<long double>(sigmaOf(*point)) * sigmaOf(*point));
    const long double row[3] = {1, x, x * x};
    for (std::size_t r = 0; r < terms; ++r) {
      right[r] += w * row[r] * (point->time - origin);
      for (std::size_t c = 0; c < terms; ++c) normal[r][c] += w * row[r] * row[c];
    }
  }
  const auto inverse = inverted(normal);
  if (!inverse)
    return Result::failure("観測の周期番号が足りないため、要素を当てはめられません（周期番号の違う観測が必要です）");
  std::vector<long double> solution(terms, 0);
  for (std::size_t r = 0; r < terms; ++r) {
    for (std::size_t c = 0; c < terms; ++c) solution[r] += (*inverse)[r][c] * right[c];
  }
  fit.epoch = origin + static_cast<double>(solution[0]);
  fit.period = static_cast<double>(solution[1]);
  fit.q = terms == 3 ? static_cast<double>(solution[2]) : 0;

  long double chi2 = 0;
  for (OcPoint& point : points) {
    point.residualDays = point.time - fit.timeAt(point.cycle);
  }
  for (const OcPoint* point : used) {
    const double r = point->residualDays / sigmaOf(*point);
    chi2 += static_cast<long double>(r) * r;
  }
  fit.chi2 = static_cast<double>(chi2);
  fit.dof = static_cast<int>(used.size() - terms);
  fit.points = static_cast<int>(used.size());
  const double scale = fit.chi2PerDof();
  fit.covariance.assign(terms, std::vector<double>(terms, 0));
  for (std::size_t r = 0; r < terms; ++r) {
    for (std::size_t c = 0; c < terms; ++c) fit.covariance[r][c] = static_cast<double>((*inverse)[r][c]) * scale;
  }
  fit.sigmaEpoch = std::sqrt(std::max(0.0, fit.covariance[0][0]));
  fit.sigmaPeriod = std::sqrt(std::max(0.0, fit.covariance[1][1]));
  fit.sigmaQ = terms == 3 ? std::sqrt(std::max(0.0, fit.covariance[2][2])) : 0;
  fit.covarianceEpochPeriod = fit.covariance[0][1];
  fit.firstTime = fit.lastTime = used.front()->time;
  for (const OcPoint* point : used) {
    fit.firstTime = std::min(fit.firstTime, point->time);
    fit.lastTime = std::max(fit.lastTime, point->time);
  }
  const double spread = std::sqrt(scale);
  for (OcPoint& point : points) {
    point.outlier = std::fabs(point.residualDays) > kOutlierSigmas * sigmaOf(point) * spread;
  }
  if (!std::isfinite(fit.epoch) || !std::isfinite(fit.period) || !std::isfinite(fit.sigmaEpoch) ||
      !std::isfinite(fit.sigmaPeriod) || !std::isfinite(fit.q) || !std::isfinite(fit.sigmaQ)) {
    return Result::failure("要素の当てはめが数値として定まりませんでした");
  }
  return Result::success(fit);
}

OcDiagram ocDiagram(const std::vector<ObservedExtremum>& observed, const StarElements& elements, FitKind kind) {
  OcDiagram diagram;
  for (const ObservedExtremum& one : observed) {
    OcPoint point;
    point.observed = one;
    point.time = convertedTime(one.time, one.system, elements.system, elements.direction);
    point.cycle = cycleOf(point.time, one.kind, elements);
    point.oMinusCDays = point.time - (elements.epoch + point.cycle * elements.period);
    diagram.points.push_back(point);
  }
  if (kind != FitKind::none) {
    auto fit = fitElements(diagram.points, kind);
    if (fit)
      diagram.fit = *fit;
    else
      diagram.fitProblem = fit.message();
  }
  return diagram;
}

}  // namespace tenmirel::timing
