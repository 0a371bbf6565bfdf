#include "timing/o_minus_c.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "astro/julian_day.h"
#include "sky/time_system.h"
#include "timing/oc_svg.h"

namespace tenmirel::timing {
namespace {

constexpr double kSecondDays = 1.0 / 86400;

StarElements elementsOf(double epoch, double period, sky::ElementsTime system = sky::ElementsTime::jd) {
  StarElements elements;
  elements.epoch = epoch;
  elements.period = period;
  elements.system = system;
  elements.direction = sky::starDirection(47.0422, 40.9556);
  return elements;
}

ObservedExtremum observed(double time, std::optional<double> sigma, ExtremumKind kind = ExtremumKind::primary) {
  ObservedExtremum one;
  one.time = time;
  one.sigmaDays = sigma;
  one.kind = kind;
  return one;
}

// A straightforward weighted least-squares solution written out independently:
// the normal equations' sums and Cramer's rule (3 × 3; the linear case uses the
// upper-left 2 × 2).
struct Reference {
  double a = 0, b = 0, c = 0;  // T = a + b x + c x^2
  double cov[3][3] = {};       // unscaled inverse of the normal matrix
};

double det3(const double m[3][3]) {
  return m[0][0] * (m[1][1] * m[2][2] - m[1][2] * m[2][1]) - m[0][1] * (m[1][0] * m[2][2] - m[1][2] * m[2][0]) +
         m[0][2] * (m[1][0] * m[2][1] - m[1][1] * m[2][0]);
}

Reference referenceFit(const std::vector<double>& x, const std::vector<double>& y, const std::vector<double>& w,
                       bool quadratic) {
  double s[5] = {};  // sums of w x^k
  double t[3] = {};  // sums of w x^k y
  for (std::size_t i = 0; i < x.size(); ++i) {
    double power = w[i];
    for (int k = 0; k < 5; ++k, power *= x[i]) s[k] += power;
    t[0] += w[i] * y[i];
    t[1] += w[i] * x[i] * y[i];
    t[2] += w[i] * x[i] * x[i] * y[i];
  }
  Reference r;
  if (!quadratic) {
    const double d = s[0] * s[2] - s[1] * s[1];
    r.a = (t[0] * s[2] - s[1] * t[1]) / d;
    r.b = (s[0] * t[1] - s[1] * t[0]) / d;
    r.cov[0][0] = s[2] / d;
    r.cov[1][1] = s[0] / d;
    r.cov[0][1] = r.cov[1][0] = -s[1] / d;
    return r;
  }
  const double n[3][3] = {{s[0], s[1], s[2]}, {s[1], s[2], s[3]}, {s[2], s[3], s[4]}};
  const double d = det3(n);
  double solution[3];
  for (int k = 0; k < 3; ++k) {
    double m[3][3];
    for (int i = 0; i < 3; ++i)
      for (int j = 0; j < 3; ++j) m[i][j] = j == k ? t[i] : n[i][j];
    solution[k] = det3(m) / d;
  }
  r.a = solution[0], r.b = solution[1], r.c = solution[2];
  for (int i = 0; i < 3; ++i) {
    for (int j = 0; j < 3; ++j) {
      const int r0 = (j + 1) % 3, r1 = (j + 2) % 3, c0 = (i + 1) % 3, c1 = (i + 2) % 3;
      r.cov[i][j] = (n[r0][c0] * n[r1][c1] - n[r0][c1] * n[r1][c0]) / d;  // adjugate / det
    }
  }
  return r;
}

struct FitCase {
  const char* name;
  FitKind kind;
  double q;  // days per cycle², of the simulated period change
};

class AgainstNormalEquations : public testing::TestWithParam<FitCase> {};

TEST_P(AgainstNormalEquations, SameElementsErrorsAndCovariance) {
  const double epoch = 2452500.3, period = 2.8673;
  std::mt19937 random(4);
  std::normal_distribution<double> noise(0, 1);
  std::uniform_int_distribution<int> cycle(-1500, 2500);
  std::vector<ObservedExtremum> observations;
  for (int i = 0; i < 40; ++i) {
    const double e = cycle(random);
    const double sigma = 0.0002 + 0.0001 * (i % 5);
    observations.push_back(
        observed(epoch + 0.001 + period * 1.000001 * e + GetParam().q * e * e + sigma * noise(random), sigma));
  }
  const OcDiagram diagram = ocDiagram(observations, elementsOf(epoch, period), GetParam().kind);
  ASSERT_TRUE(diagram.fit.has_value()) << diagram.fitProblem;
  const ElementsFit& fit = *diagram.fit;

  std::vector<double> x, y, w;
  double weightSum = 0, weighted = 0;
  for (const OcPoint& p : diagram.points) {
    const double wi = 1 / (*p.observed.sigmaDays * *p.observed.sigmaDays);
    weightSum += wi;
    weighted += wi * p.cycle;
  }
  const double eref = std::round(weighted / weightSum);
  for (const OcPoint& p : diagram.points) {
    x.push_back(p.cycle - eref);
    y.push_back(p.time - epoch);
    w.push_back(1 / (*p.observed.sigmaDays * *p.observed.sigmaDays));
  }
  const bool quadratic = GetParam().kind == FitKind::quadratic;
  const Reference r = referenceFit(x, y, w, quadratic);
  double chi2 = 0;
  for (std::size_t i = 0; i < x.size(); ++i) {
    const double residual = y[i] - (r.a + r.b * x[i] + r.c * x[i] * x[i]);
    chi2 += w[i] * residual * residual;
  }
  const int dof = static_cast<int>(x.size()) - (quadratic ? 3 : 2);
  const double scale = chi2 / dof;

  EXPECT_EQ(fit.referenceCycle, eref);
  EXPECT_NEAR(fit.epoch, epoch + r.a, 1e-8);
  EXPECT_NEAR(fit.period, r.b, 1e-11);
  EXPECT_NEAR(fit.q, r.c, 1e-15);
  EXPECT_EQ(fit.dof, dof);
  EXPECT_NEAR(fit.chi2PerDof(), scale, 1e-6 * scale);
  EXPECT_NEAR(fit.sigmaEpoch, std::sqrt(r.cov[0][0] * scale), 1e-6 * fit.sigmaEpoch);
  EXPECT_NEAR(fit.sigmaPeriod, std::sqrt(r.cov[1][1] * scale), 1e-6 * fit.sigmaPeriod);
  EXPECT_NEAR(fit.covarianceEpochPeriod, r.cov[0][1] * scale, 1e-6 * std::fabs(fit.covarianceEpochPeriod));
  if (quadratic) {
    EXPECT_NEAR(fit.sigmaQ, std::sqrt(r.cov[2][2] * scale), 1e-6 * fit.sigmaQ);
    EXPECT_DOUBLE_EQ(fit.dpDe(), 2 * fit.q);
    EXPECT_NEAR(fit.q, GetParam().q, 5 * fit.sigmaQ);
  }
  EXPECT_NEAR(fit.period, period * 1.000001 + (quadratic ? 2 * fit.q * eref : 0), 5 * fit.sigmaPeriod + 1e-5);
}

INSTANTIATE_TEST_SUITE_P(Fits, AgainstNormalEquations,
                         testing::Values(FitCase{"Linear", FitKind::linear, 0},
                                         FitCase{"QuadraticWithAPeriodChange", FitKind::quadratic, 2e-10}),
                         [](const testing::TestParamInfo<FitCase>& info) { return std::string(info.param.name); });

// A perfectly fitting set has chi² far below its degrees of freedom; the errors
// shrink with it instead of keeping the observers' sigmas.
TEST(Covariance, IsScaledByChiSquarePerDegreeEvenBelowOne) {
  std::vector<ObservedExtremum> observations;
  const double wobble[] = {1e-6, -1e-6, 0.5e-6, -0.5e-6, 0};
  for (int e = 0; e < 5; ++e) observations.push_back(observed(2450000 + 2 * e + wobble[e], 0.001));
  const OcDiagram diagram = ocDiagram(observations, elementsOf(2450000, 2), FitKind::linear);
  ASSERT_TRUE(diagram.fit.has_value());
  EXPECT_LT(diagram.fit->chi2PerDof(), 1e-4);
  EXPECT_LT(diagram.fit->sigmaEpoch, 1e-5);  // unscaled it would be 0.001/√5
  EXPECT_EQ(diagram.fit->referenceCycle, 2);
}

TEST(Weights, MissingSigmaTakesTheMedianAndNoneMeansEqual) {
  // With one sigma missing it weighs as the median of the others (0.002), so the
  // fit is the one where it is given that sigma.
  std::vector<ObservedExtremum> some = {observed(2450000.001, 0.001), observed(2450002.0, 0.002),
                                        observed(2450004.002, std::nullopt), observed(2450006.0, 0.003),
                                        observed(2450008.001, 0.002)};
  std::vector<ObservedExtremum> filled = some;
  filled[2].sigmaDays = 0.002;
  const auto a = ocDiagram(some, elementsOf(2450000, 2), FitKind::linear).fit;
  const auto b = ocDiagram(filled, elementsOf(2450000, 2), FitKind::linear).fit;
  ASSERT_TRUE(a && b);
  EXPECT_DOUBLE_EQ(a->epoch, b->epoch);
  EXPECT_DOUBLE_EQ(a->sigmaPeriod, b->sigmaPeriod);
  EXPECT_FALSE(a->equalWeights);
  for (auto& one : some) one.sigmaDays.reset();
  const auto equal = ocDiagram(some, elementsOf(2450000, 2), FitKind::linear).fit;
  ASSERT_TRUE(equal);
  EXPECT_TRUE(equal->equalWeights);
  EXPECT_GT(equal->sigmaEpoch, 0);
}

TEST(Outliers, AreMarkedAndKeptUnlessExcluded) {
  std::vector<ObservedExtremum> observations;
  std::mt19937 random(9);
  std::normal_distribution<double> noise(0, 0.0005);
  for (int e = 0; e < 20; ++e) observations.push_back(observed(2450000 + 3 * e + noise(random), 0.0005));
  observations[7].time += 0.02;
  auto diagram = ocDiagram(observations, elementsOf(2450000, 3), FitKind::linear);
  ASSERT_TRUE(diagram.fit.has_value());
  EXPECT_TRUE(diagram.points[7].outlier);
  EXPECT_EQ(diagram.fit->points, 20);  // still in the fit
  int marked = 0;
  for (const OcPoint& p : diagram.points) marked += p.outlier;
  EXPECT_EQ(marked, 1);

  observations[7].excluded = true;
  const double before = diagram.fit->chi2PerDof();
  diagram = ocDiagram(observations, elementsOf(2450000, 3), FitKind::linear);
  EXPECT_EQ(diagram.fit->points, 19);
  EXPECT_LT(diagram.fit->chi2PerDof(), before / 10);
  EXPECT_NEAR(diagram.points[7].residualDays, 0.02, 0.003);  // still shown against the fit
}

TEST(Cycles, SecondariesSitAtTheSecondaryPhase) {
  StarElements elements = elementsOf(2450000, 2);
  const auto primary = ocDiagram({observed(2450020.01, 0.001)}, elements, FitKind::none);
  EXPECT_EQ(primary.points[0].cycle, 10);
  EXPECT_NEAR(primary.points[0].oMinusCDays, 0.01, 1e-9);
  const auto secondary =
      ocDiagram({observed(2450021.0 - 0.02, 0.001, ExtremumKind::secondary)}, elements, FitKind::none);
  EXPECT_EQ(secondary.points[0].cycle, 10.5);
  EXPECT_NEAR(secondary.points[0].oMinusCDays, -0.02, 1e-9);
  elements.secondaryPhase = 0.4;  // II=0.4 in the memo
  const auto eccentric = ocDiagram({observed(2450020.8, 0.001, ExtremumKind::secondary)}, elements, FitKind::none);
  EXPECT_EQ(eccentric.points[0].cycle, 10.4);
  EXPECT_NEAR(eccentric.points[0].oMinusCDays, 0, 1e-9);
}

TEST(Fits, AreRefusedWithTooFewObservations) {
  const auto diagram =
      ocDiagram({observed(2450000, 0.001), observed(2450002, 0.001)}, elementsOf(2450000, 2), FitKind::linear);
  EXPECT_FALSE(diagram.fit.has_value());
  EXPECT_NE(diagram.fitProblem.find("3 つ以上"), std::string::npos) << diagram.fitProblem;
  const auto sameCycle =
      ocDiagram({observed(2450000, 0.001), observed(2450000.001, 0.001), observed(2450000.002, 0.001)},
                elementsOf(2450000, 2), FitKind::linear);
  EXPECT_FALSE(sameCycle.fit.has_value());
}

// An observation timed in HJD against BJD_TDB elements is moved by TDB - UTC and
// the few seconds between the Sun and the barycentre before its O − C is taken;
// timed in JD it moves by the light time as well.
TEST(TimeSystems, ObservationsAreConvertedToTheElementsSystem) {
  const sky::StarDirection algol = sky::starDirection(47.0422, 40.9556);
  const double seen = js(2024, 12, 15, 0, 0);  // UT, geocentric
  const double hjd = sky::elementsTimeOf(seen, sky::ElementsTime::hjd, algol);
  const double bjd = sky::elementsTimeOf(seen, sky::ElementsTime::bjdTdb, algol);
  const StarElements elements = elementsOf(bjd - 100 * 2.867, 2.867, sky::ElementsTime::bjdTdb);

  ObservedExtremum inHjd = observed(hjd, 0.0001);
  inHjd.system = sky::ElementsTime::hjd;
  ObservedExtremum inJd = observed(seen, 0.0001);
  const auto diagram = ocDiagram({inHjd, inJd}, elements, FitKind::none);
  for (const OcPoint& p : diagram.points) {
    EXPECT_EQ(p.cycle, 100);
    EXPECT_NEAR(p.oMinusCDays, 0, 0.01 * kSecondDays);
  }
  EXPECT_NEAR((bjd - hjd) / kSecondDays, 69.184, 8);
  EXPECT_GT((hjd - seen) / kSecondDays, 5 * 60);  // Algol in December: minutes late at the Earth
}

TEST(StarElementsFromTheCatalogue, ReadEpochPeriodPlaceAndSecondaryPhase) {
  StarRecord star{"RZ Cas", "2443200.3063", "1.1952499", "2", "48.9", "True", "69", "38", "EA/SD II=0.5"};
  const auto elements = starElementsOf(star, sky::ElementsTime::hjd);
  ASSERT_TRUE(elements.ok());
  EXPECT_EQ(elements->epoch, 2443200.3063);
  EXPECT_EQ(elements->period, 1.1952499);
  EXPECT_EQ(elements->system, sky::ElementsTime::hjd);
  star.syuki = "";
  EXPECT_FALSE(starElementsOf(star, sky::ElementsTime::jd).ok());
  star.syuki = "-1";
  EXPECT_FALSE(starElementsOf(star, sky::ElementsTime::jd).ok());
}

}  // namespace
}  // namespace tenmirel::timing

namespace tenmirel::timing {
namespace {

// The diagram's cycle axis never labels a cycle twice: a diagram of no points
// (or of one cycle) still reads 0, 1, … and not 0, 0, 0, 1, 1, 1.
TEST(OcSvg, CycleTicksAreWholeDistinctCycles) {
  StarElements elements;
  elements.epoch = 2452501.7271;
  elements.period = 1.8125917;
  for (const OcDiagram& diagram : {OcDiagram{}, ocDiagram({}, elements, FitKind::none)}) {
    const std::string svg = ocDiagramSvg(diagram, elements, "TV Cas");
    std::vector<std::string> labels;
    const std::string anchor = "text-anchor=\"middle\">";
    for (std::size_t at = svg.find(anchor); at != std::string::npos; at = svg.find(anchor, at + 1)) {
      const std::size_t start = at + anchor.size();
      labels.push_back(svg.substr(start, svg.find('<', start) - start));
    }
    labels.pop_back();  // the axis title
    ASSERT_FALSE(labels.empty());
    std::set<std::string> distinct(labels.begin(), labels.end());
    EXPECT_EQ(distinct.size(), labels.size()) << svg;
  }
}

}  // namespace
}  // namespace tenmirel::timing
