// What the night plan learns of a star from its memo: the kind its epoch names,
// its secondary minimum, the eclipse's duration, the flags and the fitted errors,
// and the faults that cost it its place in the plan.
#include "prediction/night_stars.h"

#include <gtest/gtest.h>

#include <map>

#include "catalogue/star_file.h"
#include "support/recording_ports.h"

namespace tenmirel {
namespace {

using sky::EventKind;

StarRecord withMemo(const std::string& memo) {
  return {"V", "2452501.7271", "1.8125917", "6", "0", "True", "5", "0", memo};
}

TEST(NightStarsOfTheSample, TakeTheirKindFromTheParenthesisedType) {
  const StarFileReadResult read = readStarFile(testing::sourceDir() / "data" / "sample.vsd");
  ASSERT_TRUE(read.ok());
  struct Expected {
    EventKind kind;
    bool secondary;
  };
  const std::map<std::string, Expected> expected = {
      {"RZ Cas", {EventKind::primary, true}},           // (EA/SD)
      {"W UMa", {EventKind::primary, true}},            // (EW/KW)
      {"RS CVn", {EventKind::primary, true}},           // (EA/AR+RS): eclipsing as well
      {"omi Cet (Mira)", {EventKind::maximum, false}},  // (M)
      {"DY Peg", {EventKind::maximum, false}},          // (SXPHE(B))
      {"del Cep", {EventKind::maximum, false}},         // (DCEP)
      {"RR Lyr", {EventKind::maximum, false}},          // (RRAB)
  };
  std::size_t seen = 0;
  for (const StarRecord& record : read.records) {
    const sky::NightStar star = nightStarOf(record);
    EXPECT_TRUE(star.memoProblem.empty()) << record.starName;
    const auto found = expected.find(record.starName);
    if (found == expected.end()) continue;
    ++seen;
    EXPECT_EQ(star.epochKind, found->second.kind) << record.starName;
    EXPECT_EQ(star.hasSecondaryMinimum, found->second.secondary) << record.starName;
    EXPECT_EQ(star.secondaryPhase, 0.5);
    EXPECT_FALSE(star.durationPercent.has_value());
  }
  EXPECT_EQ(seen, expected.size());
}

TEST(NightStarsOfImportedMemos, CarryTheirPlanningTokens) {
  const sky::NightStar eccentric = nightStarOf(withMemo("EA/DM D=8.5 II=0.47 P: GCVS"));
  EXPECT_EQ(eccentric.epochKind, EventKind::primary);
  EXPECT_TRUE(eccentric.hasSecondaryMinimum);
  EXPECT_EQ(eccentric.secondaryPhase, 0.47);
  EXPECT_EQ(eccentric.durationPercent, 8.5);
  EXPECT_TRUE(eccentric.elementsFlaggedUncertain);
  EXPECT_FALSE(eccentric.fittedErrors.has_value());

  struct Case {
    const char* memo;
    EventKind kind;
    bool secondary;
  };
  for (const Case& c : {Case{"RS", EventKind::primary, false}, Case{"ELL:", EventKind::primary, true},
                        Case{"RVA", EventKind::primary, true}, Case{"EA+DSCT", EventKind::primary, true},
                        Case{"M:", EventKind::maximum, false}, Case{"", EventKind::extremum, false},
                        Case{"写真観測のみ", EventKind::extremum, false}}) {
    const sky::NightStar star = nightStarOf(withMemo(c.memo));
    EXPECT_EQ(star.epochKind, c.kind) << c.memo;
    EXPECT_EQ(star.hasSecondaryMinimum, c.secondary) << c.memo;
  }

  const sky::NightStar fitted = nightStarOf(withMemo("EW σE0=0.00012 σP=4e-07 cov=-1.2e-11 E0:"));
  ASSERT_TRUE(fitted.fittedErrors.has_value());
  EXPECT_EQ(fitted.fittedErrors->sigmaEpochDays, 0.00012);
  EXPECT_EQ(fitted.fittedErrors->sigmaPeriodDays, 4e-07);
  EXPECT_EQ(fitted.fittedErrors->covarianceDays2, -1.2e-11);
  EXPECT_TRUE(fitted.elementsFlaggedUncertain);
}

TEST(NightStarsOfImportedMemos, BadTokensSayWhy) {
  for (const char* memo : {"EA II=1.5", "EA D=250", "EA D=-3", "EA D=0", "EA D=10 D=12"}) {
    const sky::NightStar star = nightStarOf(withMemo(memo));
    EXPECT_FALSE(star.memoProblem.empty()) << memo;
  }
}

}  // namespace
}  // namespace tenmirel
