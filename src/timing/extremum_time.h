#pragma once
// The time of one minimum (or maximum) of a light curve: the span chosen, the
// Kwee–van Woerden time with its error, and the symmetric polynomial beside it.
//
// The span is [from, to] when given. Otherwise it is found around the faintest
// point of the light curve smoothed by a running mean (over 1/50 of the points,
// from 5 to 51 points wide): the smoothed curve is followed both ways while it
// stays at least a fifth of the depth (faintest - brightest) fainter than the
// brightest, and the shorter of the two sides is taken on both, so the span is
// symmetric about the faintest point and holds the eclipse without the flat
// light outside it.
// For a maximum the magnitudes are mirrored first (the brightest point leads).
#include <optional>
#include <string>
#include <vector>

#include "common/checked.h"
#include "timing/kwee_van_woerden.h"
#include "timing/light_curve.h"

namespace tenmirel::timing {

struct ExtremumRequest {
  std::optional<double> from;  // Julian days, both or neither
  std::optional<double> to;
  bool maximum = false;
};

struct ExtremumTime {
  double julianDay = 0;  // Kwee–van Woerden, in the light curve's time system
  double sigmaDays = 0;
  int points = 0;
  double from = 0;  // the span used
  double to = 0;
  std::optional<MinimumEstimate> check;  // the symmetric polynomial (times in Julian days)
  std::string checkProblem;              // why there is no check, when there is none
  // Said when the two methods differ by more than 3 sigma (both sigmas combined).
  std::string disagreement;
};

// The span the request chooses: indices [first, last] of the curve's points.
struct SpanIndices {
  std::size_t first = 0;
  std::size_t last = 0;
};
Checked<SpanIndices> chooseSpan(const LightCurve& curve, const ExtremumRequest& request);

Checked<ExtremumTime> findExtremum(const LightCurve& curve, const ExtremumRequest& request);

}  // namespace tenmirel::timing
