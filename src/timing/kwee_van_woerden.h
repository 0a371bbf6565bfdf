#pragma once
// The time of minimum of a light curve by the method of Kwee & van Woerden (1956,
// Bull. Astron. Inst. Netherlands 12, 327).
//
// Variant: the observed points are not first interpolated onto an even grid.
// For a trial time T every point t_i of the span is reflected to 2T - t_i, the
// other branch is interpolated linearly there, and S(T) is the mean squared
// magnitude difference over the points whose reflection falls inside the span.
// T is first found on a coarse and then finer grids of trial times over the
// middle half of the span; S is then evaluated at five trial times one median
// point spacing apart around it, each over the same stretch either side (the
// widest the span allows all five), and fitted by a least-squares parabola
// S(T) = S0 + A (T - T0)^2. As in the original:
//     sigma^2(T0) = S0 / (A (Z - 1)),   Z = N / 4,
// N the points of the span (Z the independent pairs of the original, where every
// second reflected pair comes from an interpolation).
#include <vector>

#include "common/checked.h"

namespace tenmirel::timing {

struct SpanPoint {
  double time = 0;  // days, any origin
  double magnitude = 0;
};

struct MinimumEstimate {
  double time = 0;   // same origin as the input
  double sigma = 0;  // days
  int points = 0;
};

// The fewest points a span may hold, and on each side of the minimum.
inline constexpr int kMinSpanPoints = 10;
inline constexpr int kMinBranchPoints = 3;

// The points in time order (a larger magnitude is fainter). Refuses fewer than
// kMinSpanPoints points, a span whose minimum has fewer than kMinBranchPoints
// points on one side, and a span without a turning point.
Checked<MinimumEstimate> kweeVanWoerden(const std::vector<SpanPoint>& points);

// Symmetric polynomial check: m(t) = c0 + c1 u + … + c4 u^4 with u = (t - T)^2,
// fitted by least squares, T chosen to minimise the residual sum of squares RSS;
// its formal error from the curvature, sigma^2 = 2 s^2 / RSS''(T), s^2 = RSS/(N - 6).
// Searched within a quarter of the span around the given start.
Checked<MinimumEstimate> symmetricPolynomialMinimum(const std::vector<SpanPoint>& points, double start);

}  // namespace tenmirel::timing
