#include "timing/kwee_van_woerden.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <optional>
#include <string>

#include "timing/small_solve.h"

namespace tenmirel::timing {
namespace {

constexpr int kCoarseTrials = 64;
constexpr int kFineTrials = 16;
constexpr int kRefinements = 8;
constexpr int kParabolaHalfWidth = 2;  // trial times each side of the best
constexpr int kParabolaRounds = 2;
constexpr double kFewestTrialSteps = 40;                         // per span
constexpr double kIndependentPairsPerPoint = 0.25;               // Z = N / 4
constexpr int kPolynomialTerms = 5;                              // c0 … c4
constexpr int kPolynomialFreeParameters = kPolynomialTerms + 1;  // and T
constexpr double kGoldenRatio = 0.6180339887498949;
constexpr int kGoldenSteps = 60;

const char* kTooFew = "極小を決める範囲の点が 10 点に足りません（";
const char* kNoTurningPoint = "範囲に極小（折り返し点）が見つかりません。範囲を極小の前後に取り直してください";

// Mean squared difference between the points within halfWidth of T and the other
// branch reflected about T; nothing when no point's reflection falls inside the span.
std::optional<double> reflectedDifference(const std::vector<SpanPoint>& p, double trial,
                                          double halfWidth = std::numeric_limits<double>::infinity()) {
  const std::size_t n = p.size();
  const double first = std::max(p.front().time, trial - halfWidth);
  const double last = std::min(p.back().time, trial + halfWidth);
  double sum = 0;
  std::size_t used = 0;
  std::size_t j = n - 1;  // p[j-1].time <= mirror <= p[j].time, moving down as i moves up
  for (std::size_t i = 0; i < n; ++i) {
    const double mirror = 2 * trial - p[i].time;
    if (mirror > last) continue;
    if (mirror < first) break;
    if (p[i].time < first) continue;
    while (j > 1 && p[j - 1].time > mirror) --j;
    const SpanPoint& a = p[j - 1];
    const SpanPoint& b = p[j];
    const double width = b.time - a.time;
    const double fraction = width > 0 ? (mirror - a.time) / width : 0.5;
    const double other = a.magnitude + fraction * (b.magnitude - a.magnitude);
    const double difference = p[i].magnitude - other;
    sum += difference * difference;
    ++used;
  }
  if (used == 0) return std::nullopt;
  return sum / static_cast<double>(used);
}

double medianStep(const std::vector<SpanPoint>& p) {
  std::vector<double> steps;
  for (std::size_t i = 1; i < p.size(); ++i) {
    if (p[i].time > p[i - 1].time) steps.push_back(p[i].time - p[i - 1].time);
  }
  if (steps.empty()) return 0;
  std::nth_element(steps.begin(), steps.begin() + static_cast<std::ptrdiff_t>(steps.size() / 2), steps.end());
  return steps[steps.size() / 2];
}

// The trial time of least S on a grid of count + 1 times over [lo, hi].
struct GridBest {
  double time = 0;
  int index = 0;
};
std::optional<GridBest> bestOnGrid(const std::vector<SpanPoint>& p, double lo, double hi, int count) {
  std::optional<GridBest> best;
  double least = std::numeric_limits<double>::infinity();
  for (int k = 0; k <= count; ++k) {
    const double trial = lo + (hi - lo) * k / count;
    const auto s = reflectedDifference(p, trial);
    if (s && *s < least) least = *s, best = GridBest{trial, k};
  }
  return best;
}

// The least-squares parabola a + b x + c x^2 through (x, y).
std::optional<std::array<double, 3>> parabola(const std::vector<double>& x, const std::vector<double>& y) {
  SquareMatrix normal(3, std::vector<long double>(3, 0));
  long double right[3] = {0, 0, 0};
  for (std::size_t i = 0; i < x.size(); ++i) {
    const long double powers[3] = {1, x[i], static_cast<long double>(x[i]) * x[i]};
    for (int r = 0; r < 3; ++r) {
      right[r] += powers[r] * y[i];
      for (int c = 0; c < 3; ++c) normal[r][c] += powers[r] * powers[c];
    }
  }
  const auto inverse = inverted(normal);
  if (!inverse) return std::nullopt;
  std::array<double, 3> coefficients{};
  for (int r = 0; r < 3; ++r) {
    long double sum = 0;
    for (int c = 0; c < 3; ++c) sum += (*inverse)[r][c] * right[c];
    coefficients[static_cast<std::size_t>(r)] = static_cast<double>(sum);
  }
  return coefficients;
}

Checked<MinimumEstimate> tooFew(std::size_t count) {
  return Checked<MinimumEstimate>::failure(kTooFew + std::to_string(count) + " 点）");
}

Checked<MinimumEstimate> branchCheck(const std::vector<SpanPoint>& p, const MinimumEstimate& estimate) {
  int before = 0;
  int after = 0;
  for (const SpanPoint& point : p) {
    if (point.time < estimate.time) ++before;
    if (point.time > estimate.time) ++after;
  }
  if (before < kMinBranchPoints || after < kMinBranchPoints) {
    return Checked<MinimumEstimate>::failure(std::string("極小の") + (before < kMinBranchPoints ? "前" : "後") +
                                             "の枝に点がほとんどありません（3 点未満）。範囲を広げてください");
  }
  return Checked<MinimumEstimate>::success(estimate);
}

}  // namespace

Checked<MinimumEstimate> kweeVanWoerden(const std::vector<SpanPoint>& p) {
  using Result = Checked<MinimumEstimate>;
  if (p.size() < static_cast<std::size_t>(kMinSpanPoints)) return tooFew(p.size());
  const double width = p.back().time - p.front().time;
  // Dense light curves: trial times closer than a fortieth of the span would
  // fit the parabola to the noise of S rather than to its shape.
  const double step = std::max(medianStep(p), width / kFewestTrialSteps);
  if (!(step > 0) || !(width > 0)) return Result::failure(kNoTurningPoint);

  // Coarse, then finer grids over the middle half.
  const double lo = p.front().time + width / 4;
  const double hi = p.back().time - width / 4;
  auto coarse = bestOnGrid(p, lo, hi, kCoarseTrials);
  if (!coarse || coarse->index == 0 || coarse->index == kCoarseTrials) return Result::failure(kNoTurningPoint);
  double best = coarse->time;
  double cell = (hi - lo) / kCoarseTrials;
  for (int round = 0; round < kRefinements && cell > step / 4; ++round) {
    const auto fine = bestOnGrid(p, best - cell, best + cell, kFineTrials);
    if (!fine) break;
    best = fine->time;
    cell = 2 * cell / kFineTrials;
  }

  // The parabola through S at trial times one median step apart. Every trial time
  // compares the same stretch either side of it: a stretch that grew towards one
  // side would weigh that side's steeper branch more and pull the vertex away.
  const double halfWidth = std::min(best - p.front().time, p.back().time - best) - kParabolaHalfWidth * step;
  if (!(halfWidth > 0)) return Result::failure(kNoTurningPoint);
  double minimum = best;
  double sMinimum = 0;
  double curvature = 0;
  for (int round = 0; round < kParabolaRounds; ++round) {
    std::vector<double> x;
    std::vector<double> s;
    for (int k = -kParabolaHalfWidth; k <= kParabolaHalfWidth; ++k) {
      const auto value = reflectedDifference(p, minimum + k * step, halfWidth);
      if (!value) return Result::failure(kNoTurningPoint);
      x.push_back(k);
      s.push_back(*value);
    }
    const auto c = parabola(x, s);
    if (!c || !((*c)[2] > 0)) return Result::failure(kNoTurningPoint);
    const double shift = -(*c)[1] / (2 * (*c)[2]);
    if (!std::isfinite(shift) || std::fabs(shift) > 2 * kParabolaHalfWidth) return Result::failure(kNoTurningPoint);
    minimum += shift * step;
    sMinimum = std::max(0.0, (*c)[0] - (*c)[1] * (*c)[1] / (4 * (*c)[2]));
    curvature = (*c)[2] / (step * step);
  }
  if (minimum <= lo || minimum >= hi) return Result::failure(kNoTurningPoint);
  // S at the minimum itself rather than the parabola's vertex, which may dip
  // below zero for a light curve without noise.
  sMinimum = std::max(sMinimum, reflectedDifference(p, minimum, halfWidth).value_or(sMinimum));

  const double pairs = kIndependentPairsPerPoint * static_cast<double>(p.size());
  MinimumEstimate estimate;
  estimate.time = minimum;
  estimate.sigma = std::sqrt(sMinimum / (curvature * (pairs - 1)));
  estimate.points = static_cast<int>(p.size());
  if (!std::isfinite(estimate.sigma)) return Result::failure(kNoTurningPoint);
  return branchCheck(p, estimate);
}

namespace {

// The residual sum of squares of the symmetric polynomial about T.
std::optional<double> polynomialResiduals(const std::vector<SpanPoint>& p, double trial, double halfWidth) {
  SquareMatrix normal(kPolynomialTerms, std::vector<long double>(kPolynomialTerms, 0));
  std::vector<long double> right(kPolynomialTerms, 0);
  std::vector<std::array<long double, kPolynomialTerms>> rows(p.size());
  for (std::size_t i = 0; i < p.size(); ++i) {
    const long double x = (p[i].time - trial) / halfWidth;
    const long double u = x * x;
    long double power = 1;
    for (int k = 0; k < kPolynomialTerms; ++k, power *= u) rows[i][static_cast<std::size_t>(k)] = power;
    for (int r = 0; r < kPolynomialTerms; ++r) {
      right[static_cast<std::size_t>(r)] += rows[i][static_cast<std::size_t>(r)] * p[i].magnitude;
      for (int c = 0; c < kPolynomialTerms; ++c) {
        normal[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)] +=
            rows[i][static_cast<std::size_t>(r)] * rows[i][static_cast<std::size_t>(c)];
      }
    }
  }
  const auto inverse = inverted(normal);
  if (!inverse) return std::nullopt;
  std::array<long double, kPolynomialTerms> coefficients{};
  for (std::size_t r = 0; r < kPolynomialTerms; ++r) {
    for (std::size_t c = 0; c < kPolynomialTerms; ++c) coefficients[r] += (*inverse)[r][c] * right[c];
  }
  long double sum = 0;
  for (std::size_t i = 0; i < p.size(); ++i) {
    long double model = 0;
    for (std::size_t k = 0; k < kPolynomialTerms; ++k) model += coefficients[k] * rows[i][k];
    const long double residual = p[i].magnitude - model;
    sum += residual * residual;
  }
  return static_cast<double>(sum);
}

}  // namespace

Checked<MinimumEstimate> symmetricPolynomialMinimum(const std::vector<SpanPoint>& p, double start) {
  using Result = Checked<MinimumEstimate>;
  if (p.size() < static_cast<std::size_t>(kMinSpanPoints)) return tooFew(p.size());
  const double width = p.back().time - p.front().time;
  if (!(width > 0)) return Result::failure(kNoTurningPoint);
  const double halfWidth = width / 2;
  auto rss = [&](double t) {
    return polynomialResiduals(p, t, halfWidth).value_or(std::numeric_limits<double>::infinity());
  };

  // Golden-section search within a quarter of the span around the start.
  double a = start - width / 8;
  double b = start + width / 8;
  double x1 = b - kGoldenRatio * (b - a);
  double x2 = a + kGoldenRatio * (b - a);
  double f1 = rss(x1);
  double f2 = rss(x2);
  for (int step = 0; step < kGoldenSteps; ++step) {
    if (f1 < f2) {
      b = x2, x2 = x1, f2 = f1;
      x1 = b - kGoldenRatio * (b - a);
      f1 = rss(x1);
    } else {
      a = x1, x1 = x2, f1 = f2;
      x2 = a + kGoldenRatio * (b - a);
      f2 = rss(x2);
    }
  }
  const double minimum = (a + b) / 2;
  const double delta = width / 200;
  const double centre = rss(minimum);
  const double second = (rss(minimum + delta) - 2 * centre + rss(minimum - delta)) / (delta * delta);
  const double dof = static_cast<double>(p.size()) - kPolynomialFreeParameters;
  if (!std::isfinite(centre) || !(second > 0)) return Result::failure(kNoTurningPoint);
  MinimumEstimate estimate;
  estimate.time = minimum;
  estimate.sigma = std::sqrt(2 * (centre / dof) / second);
  estimate.points = static_cast<int>(p.size());
  if (!std::isfinite(estimate.sigma)) return Result::failure(kNoTurningPoint);
  return branchCheck(p, estimate);
}

}  // namespace tenmirel::timing
