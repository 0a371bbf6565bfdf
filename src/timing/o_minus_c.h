#pragma once
// The O−C diagram of a star: every observed extremum converted to the elements'
// time system, its cycle and its O − C against the elements, and the weighted
// least-squares fits of new elements.
//
// Cycle E: the nearest whole number for primaries and maxima, the nearest whole
// number plus the secondary phase for secondaries (E + 0.5 unless the memo says
// II=). O − C = T − (E0 + E P).
//
// Fits: linear T = E0' + P'(E - Eref), quadratic T = E0' + P'(E - Eref) + Q(E - Eref)^2,
// Eref the whole cycle nearest the weighted mean cycle of the fitted observations.
// Weights 1/sigma^2; an observation without sigma gets the median sigma of the
// others, and when none has one all weigh the same (sigma 1 day, which the scaling
// below makes irrelevant). The covariance (A^T W A)^-1 is always multiplied by
// chi^2/dof, also when that is below 1; standard errors are the square roots of
// its diagonal. An observation whose residual exceeds 3 sigma_i sqrt(chi^2/dof) is
// marked as an outlier and stays in the fit; only those the user excluded are left
// out (their residuals are still given).
#include <optional>
#include <string>
#include <vector>

#include "common/checked.h"
#include "timing/observed_extremum.h"
#include "timing/star_elements.h"

namespace tenmirel::timing {

struct OcPoint {
  ObservedExtremum observed;
  double time = 0;   // in the elements' time system
  double cycle = 0;  // E, whole or whole + secondary phase
  double oMinusCDays = 0;
  double residualDays = 0;  // against the fit, when there is one
  bool outlier = false;
};

enum class FitKind { none, linear, quadratic };
const char* fitKindName(FitKind kind);

struct ElementsFit {
  FitKind kind = FitKind::linear;
  double referenceCycle = 0;
  double epoch = 0;   // E0' at Eref, Julian day in the elements' system
  double period = 0;  // P', days
  double q = 0;       // days; 0 for the linear fit
  double sigmaEpoch = 0;
  double sigmaPeriod = 0;
  double sigmaQ = 0;
  double covarianceEpochPeriod = 0;             // days^2
  std::vector<std::vector<double>> covariance;  // E0', P'[, Q], scaled by chi^2/dof
  double chi2 = 0;
  int dof = 0;
  double chi2PerDof() const { return dof > 0 ? chi2 / dof : 0; }
  double dpDe() const { return 2 * q; }  // days per cycle
  int points = 0;                        // observations fitted
  bool equalWeights = false;             // no observation had a sigma
  double firstTime = 0;                  // the fitted observations' span
  double lastTime = 0;
  // T at cycle E by the fit.
  double timeAt(double cycle) const;
};

struct OcDiagram {
  std::vector<OcPoint> points;  // in the order of the observations given
  std::optional<ElementsFit> fit;
  std::string fitProblem;  // why there is no fit when one was asked for
};

// The points of the O−C diagram and, unless kind is none, the fit.
OcDiagram ocDiagram(const std::vector<ObservedExtremum>& observed, const StarElements& elements, FitKind kind);

// The fit alone, over the points that are not excluded; the points' residuals
// and outlier marks are filled in.
Checked<ElementsFit> fitElements(std::vector<OcPoint>& points, FitKind kind);

}  // namespace tenmirel::timing
