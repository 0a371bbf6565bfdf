#include "timing/extremum_time.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>

namespace tenmirel::timing {
namespace {

constexpr double kTrueMinimum = 2460123.4567;
constexpr double kDepth = 0.8;
constexpr double kWidthDays = 0.02;  // Gaussian sigma of the dip

struct Dip {
  const char* name;
  double asymmetry = 0;  // the right side this much narrower, the left this much wider
  bool uneven = false;
  double noise = 0;  // magnitudes
  int points = 200;
  unsigned seed = 1;
};

// A dip of a Gaussian profile over ±0.12 d, deepest at kTrueMinimum.
LightCurve dipCurve(const Dip& dip) {
  std::mt19937 random(dip.seed);
  std::normal_distribution<double> noise(0, dip.noise > 0 ? dip.noise : 1);
  std::uniform_real_distribution<double> place(-0.12, 0.12);
  LightCurve curve;
  for (int i = 0; i < dip.points; ++i) {
    const double dt = dip.uneven ? place(random) : -0.12 + 0.24 * i / (dip.points - 1);
    const double width = kWidthDays * (dt < 0 ? 1 + dip.asymmetry / 2 : 1 - dip.asymmetry / 2);
    double magnitude = 10 + kDepth * std::exp(-dt * dt / (2 * width * width));
    if (dip.noise > 0) magnitude += noise(random);
    curve.points.push_back({kTrueMinimum + dt, magnitude, dip.noise});
  }
  std::sort(curve.points.begin(), curve.points.end(),
            [](const LightPoint& a, const LightPoint& b) { return a.julianDay < b.julianDay; });
  return curve;
}

class KnownMinimum : public testing::TestWithParam<Dip> {};

// The time found lies within three of its own standard errors of the truth (for
// the noiseless dips the error is what the linear interpolation leaves), and the
// polynomial agrees.
TEST_P(KnownMinimum, KweeVanWoerdenFindsItWithinItsError) {
  const auto found = findExtremum(dipCurve(GetParam()), {});
  ASSERT_TRUE(found.ok()) << found.message();
  const double error = found->julianDay - kTrueMinimum;
  EXPECT_LE(std::fabs(error), 3 * found->sigmaDays) << "σ = " << found->sigmaDays;
  EXPECT_GT(found->sigmaDays, 0);
  EXPECT_LT(found->sigmaDays, 0.005);  // a quarter of the dip's width
  ASSERT_TRUE(found->check.has_value()) << found->checkProblem;
  if (GetParam().asymmetry == 0) {
    EXPECT_LE(std::fabs(found->check->time - kTrueMinimum), 3 * found->check->sigma);
  }
  EXPECT_TRUE(found->disagreement.empty()) << found->disagreement;
}

INSTANTIATE_TEST_SUITE_P(
    SyntheticDips, KnownMinimum,
    testing::Values(Dip{"Symmetric"}, Dip{"SymmetricUneven", 0, true}, Dip{"SymmetricNoisy", 0, false, 0.01},
                    Dip{"UnevenNoisy", 0, true, 0.01, 300, 7}, Dip{"OnePercentAsymmetricNoisy", 0.01, false, 0.01},
                    Dip{"OnePercentAsymmetricUnevenNoisy", 0.01, true, 0.005, 400, 3},
                    Dip{"FewPointsNoisy", 0, true, 0.02, 60, 11}, Dip{"ManyPointsNoisy", 0, false, 0.02, 5000, 5}),
    [](const testing::TestParamInfo<Dip>& info) { return std::string(info.param.name); });

// Over many noise draws the stated error is honest: about 95 % of the times lie
// within two sigma (a badly scaled error would give far more or far fewer).
TEST(KweeVanWoerdenError, CoversTheTruthAsOften) {
  int within = 0;
  constexpr int kDraws = 100;
  for (unsigned seed = 1; seed <= kDraws; ++seed) {
    const auto found = findExtremum(dipCurve(Dip{"", 0, true, 0.02, 150, seed}), {});
    ASSERT_TRUE(found.ok()) << "seed " << seed << ": " << found.message();
    if (std::fabs(found->julianDay - kTrueMinimum) <= 2 * found->sigmaDays) ++within;
  }
  EXPECT_GE(within, 80);
  EXPECT_LE(within, 100);
}

TEST(Maximum, MirrorsTheMagnitudes) {
  LightCurve curve = dipCurve(Dip{"", 0, false, 0.005});
  for (LightPoint& point : curve.points) point.magnitude = 20 - point.magnitude;
  const auto found = findExtremum(curve, {std::nullopt, std::nullopt, true});
  ASSERT_TRUE(found.ok()) << found.message();
  EXPECT_LE(std::fabs(found->julianDay - kTrueMinimum), 3 * found->sigmaDays);
}

TEST(ChosenSpan, UsesOnlyThePointsBetween) {
  const LightCurve curve = dipCurve(Dip{"", 0, false, 0.01});
  const auto found = findExtremum(curve, {kTrueMinimum - 0.05, kTrueMinimum + 0.04, false});
  ASSERT_TRUE(found.ok()) << found.message();
  EXPECT_GE(found->from, kTrueMinimum - 0.05);
  EXPECT_LE(found->to, kTrueMinimum + 0.04);
  EXPECT_LT(found->points, 200);
  EXPECT_LE(std::fabs(found->julianDay - kTrueMinimum), 3 * found->sigmaDays);
}

// A span reaching further on one side than the other: every trial time must
// compare the same stretch either side, or the longer side's steep branch pulls
// the time towards the shorter one (dense, quiet data show it far beyond 3σ).
TEST(ChosenSpan, LopsidedSpanOfADenseCurveIsNotPulledAside) {
  const LightCurve curve = dipCurve(Dip{"", 0, false, 0.002, 20000, 4});
  for (const auto& [from, to] : {std::pair{-0.065, 0.028}, std::pair{-0.028, 0.065}}) {
    const auto found = findExtremum(curve, {kTrueMinimum + from, kTrueMinimum + to, false});
    ASSERT_TRUE(found.ok()) << found.message();
    EXPECT_LE(std::fabs(found->julianDay - kTrueMinimum), 3 * found->sigmaDays) << from << " " << to;
  }
}

struct Refusal {
  const char* name;
  double from, to;
  const char* saying;
};

class SpanRefusals : public testing::TestWithParam<Refusal> {};

TEST_P(SpanRefusals, AreSaidInWords) {
  const auto found = findExtremum(dipCurve(Dip{"", 0, false, 0.01}), {GetParam().from, GetParam().to, false});
  ASSERT_FALSE(found.ok());
  EXPECT_NE(found.message().find(GetParam().saying), std::string::npos) << found.message();
}

INSTANTIATE_TEST_SUITE_P(
    Spans, SpanRefusals,
    testing::Values(Refusal{"FewerThanTenPoints", kTrueMinimum - 0.004, kTrueMinimum + 0.004, "10 点"},
                    Refusal{"OnlyTheDescendingBranch", kTrueMinimum - 0.1, kTrueMinimum - 0.01, "折り返し点"},
                    Refusal{"OnlyTheRisingBranch", kTrueMinimum + 0.005, kTrueMinimum + 0.1, "折り返し点"},
                    Refusal{"StartAfterEnd", kTrueMinimum + 0.1, kTrueMinimum - 0.1, "後"}),
    [](const testing::TestParamInfo<Refusal>& info) { return std::string(info.param.name); });

TEST(SpanRefusals, OneBranchAlmostEmpty) {
  // The minimum sits two points from the span's start.
  std::vector<SpanPoint> points;
  for (int i = 0; i < 40; ++i) {
    const double t = i * 0.001;
    points.push_back({t, 10 - std::fabs(t - 0.0015)});
  }
  EXPECT_FALSE(kweeVanWoerden(points).ok());
}

}  // namespace
}  // namespace tenmirel::timing
