#include "timing/elements_writer.h"

#include <gtest/gtest.h>

#include "catalogue/memo_tokens.h"

namespace tenmirel::timing {
namespace {

TEST(FittedElements, AreRoundedBelowTheirErrorsAndNoteTheFitInTheMemo) {
  ElementsFit fit;
  fit.epoch = 2455000.123456789;
  fit.period = 2.867312345678;
  fit.sigmaEpoch = 0.000123;
  fit.sigmaPeriod = 4.04e-7;
  fit.covarianceEpochPeriod = -1.249e-11;
  fit.points = 12;
  fit.firstTime = 2448000;  // 1990
  fit.lastTime = 2461000;   // 2025
  const ElementsReplacement replacement = fittedReplacement("Algol", "EA/SD D=10 σE0=1 σP=1 O−C(3点,1990–1991)", fit);
  EXPECT_EQ(replacement.epoch, "2455000.123457");  // two digits below 0.000123
  EXPECT_EQ(replacement.period, "2.867312346");
  EXPECT_EQ(replacement.memo.find("O−C(3点"), std::string::npos);
  EXPECT_NE(replacement.memo.find("O-C(12点,1990-2025)"), std::string::npos);
  const MemoTokens tokens = readMemoTokens(replacement.memo);
  ASSERT_TRUE(tokens.fitErrors.has_value());
  EXPECT_DOUBLE_EQ(tokens.fitErrors->sigmaEpochDays, 0.00012);  // two significant digits
  EXPECT_DOUBLE_EQ(tokens.fitErrors->sigmaPeriodDays, 4e-7);
  EXPECT_DOUBLE_EQ(tokens.fitErrors->covarianceEpochPeriod, -1.2e-11);
  EXPECT_EQ(tokens.durationPercent, 10);
}

}  // namespace
}  // namespace tenmirel::timing
