#include "timing/extremum_time.h"
#include "timing/day_units.h"

#include <algorithm>
#include <cmath>

#include "common/number_text.h"

namespace tenmirel::timing {
namespace {

constexpr std::size_t kSmoothingFraction = 50;  // of the points
constexpr std::size_t kSmoothingLeast = 5;
constexpr std::size_t kSmoothingMost = 51;
constexpr double kDisagreementSigmas = 3;
constexpr double kSpanDepthFraction = 0.2;  // the span's ends stand a fifth of the depth below the brightest

double brightnessKey(const LightPoint& point, bool maximum) { return maximum ? -point.magnitude : point.magnitude; }

std::vector<double> smoothed(const LightCurve& curve, bool maximum) {
  const std::size_t n = curve.points.size();
  const std::size_t window = std::clamp(n / kSmoothingFraction, kSmoothingLeast, kSmoothingMost);
  const std::size_t half = window / 2;
  std::vector<double> prefix(n + 1, 0);
  for (std::size_t i = 0; i < n; ++i) prefix[i + 1] = prefix[i] + brightnessKey(curve.points[i], maximum);
  std::vector<double> out(n);
  for (std::size_t i = 0; i < n; ++i) {
    const std::size_t lo = i >= half ? i - half : 0;
    const std::size_t hi = std::min(n, i + half + 1);
    out[i] = (prefix[hi] - prefix[lo]) / static_cast<double>(hi - lo);
  }
  return out;
}

}  // namespace

Checked<SpanIndices> chooseSpan(const LightCurve& curve, const ExtremumRequest& request) {
  using Result = Checked<SpanIndices>;
  const auto& p = curve.points;
  if (p.empty()) return Result::failure("光度曲線に点がありません");
  double from = 0;
  double to = 0;
  if (request.from || request.to) {
    if (!request.from || !request.to) return Result::failure("範囲は始まりと終わりの両方を指定してください");
    if (!(*request.from < *request.to)) return Result::failure("範囲の始まりが終わりより後です");
    from = *request.from;
    to = *request.to;
  } else {
    const std::vector<double> s = smoothed(curve, request.maximum);
    const auto faintest = static_cast<std::size_t>(std::max_element(s.begin(), s.end()) - s.begin());
    const double brightest = *std::min_element(s.begin(), s.end());
    const double level = brightest + kSpanDepthFraction * (s[faintest] - brightest);
    std::size_t left = faintest;
    while (left > 0 && s[left - 1] >= level) --left;
    std::size_t right = faintest;
    while (right + 1 < s.size() && s[right + 1] >= level) ++right;
    if (left == faintest || right == faintest) {
      return Result::failure(std::string("光度曲線の端が最も") + (request.maximum ? "明るい" : "暗い") + "ため、" +
                             (request.maximum ? "極大" : "極小") +
                             "（折り返し点）が見つかりません。前後の枝を含む光度曲線を使うか、範囲を指定してください");
    }
    const double centre = p[faintest].julianDay;
    const double half = std::min(centre - p[left].julianDay, p[right].julianDay - centre);
    from = centre - half;
    to = centre + half;
  }
  const auto first =
      std::lower_bound(p.begin(), p.end(), from, [](const LightPoint& point, double t) { return point.julianDay < t; });
  const auto last =
      std::upper_bound(p.begin(), p.end(), to, [](double t, const LightPoint& point) { return t < point.julianDay; });
  const auto count = last - first;
  if (count < kMinSpanPoints) {
    return Result::failure("極小を決める範囲（" + numberToText(from) + " – " + numberToText(to) + "）の点が " +
                           std::to_string(count) + " 点しかありません（10 点以上必要です）");
  }
  return Result::success(
      SpanIndices{static_cast<std::size_t>(first - p.begin()), static_cast<std::size_t>(last - p.begin()) - 1});
}

Checked<ExtremumTime> findExtremum(const LightCurve& curve, const ExtremumRequest& request) {
  using Result = Checked<ExtremumTime>;
  const auto span = chooseSpan(curve, request);
  if (!span) return Result::failure(span.message());
  // Times from the span's first point, so the trial times keep their precision.
  const double origin = curve.points[span->first].julianDay;
  std::vector<SpanPoint> points;
  for (std::size_t i = span->first; i <= span->last; ++i) {
    points.push_back({curve.points[i].julianDay - origin, brightnessKey(curve.points[i], request.maximum)});
  }
  const auto kvw = kweeVanWoerden(points);
  if (!kvw) return Result::failure(kvw.message());
  ExtremumTime result;
  result.julianDay = origin + kvw->time;
  result.sigmaDays = kvw->sigma;
  result.points = kvw->points;
  result.from = curve.points[span->first].julianDay;
  result.to = curve.points[span->last].julianDay;
  const auto polynomial = symmetricPolynomialMinimum(points, kvw->time);
  if (polynomial) {
    MinimumEstimate check = *polynomial;
    check.time += origin;
    result.check = check;
    const double difference = std::fabs(check.time - result.julianDay);
    const double combined = std::hypot(check.sigma, result.sigmaDays);
    if (difference > kDisagreementSigmas * combined) {
      result.disagreement =
          "Kwee–van Woerden 法と対称多項式の極小時刻が " +
          numberToText(std::round(difference * kSecondsPerDay * 10) / 10) +
          " 秒ずれています（両者の誤差を合わせた 3σ を超えています）。範囲や光度曲線を確かめてください";
    }
  } else {
    result.checkProblem = polynomial.message();
  }
  return Result::success(result);
}

}  // namespace tenmirel::timing
