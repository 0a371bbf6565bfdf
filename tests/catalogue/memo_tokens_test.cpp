// The memo's planning tokens and the variability types they name: the sample's
// real memos against the source table's type column, then each token's rules.
#include "catalogue/memo_tokens.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>

#include "catalogue/star_file.h"
#include "support/recording_ports.h"

namespace tenmirel {
namespace {

// name -> type, read from data/sample-stars.tsv, a table the catalogue was made
// from but which the memo reader never sees.
std::map<std::string, std::string> sourceTypes() {
  std::ifstream in(testing::sourceDir() / "data" / "sample-stars.tsv");
  std::map<std::string, std::string> types;
  std::string line;
  std::getline(in, line);  // header
  while (std::getline(in, line)) {
    std::vector<std::string> fields;
    std::stringstream row(line);
    for (std::string field; std::getline(row, field, '\t');) fields.push_back(field);
    if (fields.size() > 5) types[fields[0]] = fields[5];
  }
  return types;
}

TEST(MemoTokens, SampleMemosNameTheSourceTablesTypes) {
  const StarFileReadResult sample = readStarFile(testing::sourceDir() / "data" / "sample.vsd");
  ASSERT_TRUE(sample.ok());
  const std::map<std::string, std::string> types = sourceTypes();
  ASSERT_EQ(types.size(), 39u);
  for (const StarRecord& star : sample.records) {
    const MemoTokens tokens = readMemoTokens(star.memo);
    const std::string& bare = star.starName;
    ASSERT_TRUE(types.count(bare)) << star.starName;
    EXPECT_EQ(tokens.type.text, types.at(bare)) << star.starName;
    EXPECT_TRUE(tokens.usable()) << star.starName;
    const bool eclipsing = types.at(bare).rfind("E", 0) == 0;
    EXPECT_EQ(tokens.type.epochKind, eclipsing ? EpochKind::primaryMinimum : EpochKind::maximum) << star.starName;
    EXPECT_EQ(tokens.type.hasSecondaryMinimum, eclipsing) << star.starName;
  }
}

TEST(VariableTypes, KindsFollowTheClassOfEveryPart) {
  struct Case {
    const char* text;
    EpochKind kind;
    bool secondary;
    bool uncertain;
  };
  const Case cases[] = {
      {"EA", EpochKind::primaryMinimum, true, false},
      {"EA/SD", EpochKind::primaryMinimum, true, false},
      {"EW/KW", EpochKind::primaryMinimum, true, false},
      {"E", EpochKind::primaryMinimum, true, false},
      {"EB:", EpochKind::primaryMinimum, true, true},
      {"EA+DSCT", EpochKind::primaryMinimum, true, false},
      {"DSCT+EA", EpochKind::primaryMinimum, true, false},
      {"ELL", EpochKind::primaryMinimum, true, false},
      {"RS", EpochKind::primaryMinimum, false, false},
      {"EA/RS", EpochKind::primaryMinimum, true, false},
      {"RVA", EpochKind::primaryMinimum, true, false},
      {"RVB:", EpochKind::primaryMinimum, true, true},
      {"RRAB", EpochKind::maximum, false, false},
      {"M", EpochKind::maximum, false, false},
      {"SXPHE(B)", EpochKind::maximum, false, false},
      {"DCEPS", EpochKind::maximum, false, false},
      {"NA", EpochKind::maximum, false, false},
      {"", EpochKind::unknown, false, false},
      {"食変光星", EpochKind::unknown, false, false},
      {"EAX", EpochKind::unknown, false, false},
      {"EA+", EpochKind::unknown, false, false},
      {"EA/D\xFE\xFF\xFFQM", EpochKind::unknown, false, false},
      {"EA/SD\u3000", EpochKind::unknown, false, false},
  };
  for (const Case& c : cases) {
    const VariableType type = classifyVariableType(c.text);
    EXPECT_EQ(type.epochKind, c.kind) << c.text;
    EXPECT_EQ(type.hasSecondaryMinimum, c.secondary) << c.text;
    EXPECT_EQ(type.uncertain, c.uncertain) << c.text;
  }
  EXPECT_STREQ(epochKindWord(EpochKind::primaryMinimum), "極小");
  EXPECT_STREQ(epochKindWord(EpochKind::maximum), "極大");
}

TEST(MemoTokens, TypeIsTheFirstTokenElseTheFirstParenthesisedType) {
  struct Case {
    const char* memo;
    const char* type;
  };
  const Case cases[] = {
      {"EA/SD D=12 8.1-9.2 V 極小 GCVS 5.1", "EA/SD"},
      {"\u3000RRAB\u3000極大", "RRAB"},
      {"ほうおう座SX型(SXPHE(B)) 9.95～10.62等(V)", "SXPHE(B)"},
      {"7.2～8.0等(V) (EA)", "EA"},
      {"Algol (bet Per) 2.1-3.4", ""},
      {"(EA", ""},
      {"", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(readMemoTokens(c.memo).type.text, c.type) << c.memo;
}

TEST(MemoTokens, ValuesAndFlagsAreRead) {
  const MemoTokens tokens = readMemoTokens("EA D=12.5 II=0.47 P: E0: σE0=0.00012 σP=4e-07 cov=-1.5e-11 free text");
  ASSERT_TRUE(tokens.usable());
  EXPECT_EQ(tokens.durationPercent, 12.5);
  EXPECT_EQ(tokens.secondaryPhase, 0.47);
  EXPECT_TRUE(tokens.periodUncertain);
  EXPECT_TRUE(tokens.epochUncertain);
  ASSERT_TRUE(tokens.fitErrors.has_value());
  EXPECT_EQ(tokens.fitErrors->sigmaEpochDays, 0.00012);
  EXPECT_EQ(tokens.fitErrors->sigmaPeriodDays, 4e-07);
  EXPECT_EQ(tokens.fitErrors->covarianceEpochPeriod, -1.5e-11);

  const MemoTokens plain = readMemoTokens("EA 8.1-9.2 V");
  EXPECT_FALSE(plain.durationPercent || plain.secondaryPhase || plain.fitErrors);
  EXPECT_FALSE(plain.periodUncertain || plain.epochUncertain);
}

TEST(MemoTokens, BadTokensAreProblemsNotValues) {
  for (const char* memo : {"EA II=1.5", "EA II=0", "EA D=250", "EA D=-3", "EA D=0", "EA D=12 D=14", "EA D=abc",
                           "EA D=nan", "EA D=inf", "EA σE0=-1 σP=1e-6", "EA σP=x"}) {
    const MemoTokens tokens = readMemoTokens(memo);
    EXPECT_FALSE(tokens.usable()) << memo;
    for (const std::string& problem : tokens.problems) EXPECT_NE(problem.find("メモ"), std::string::npos);
  }
  EXPECT_TRUE(readMemoTokens("EA D=100 II=0.999").usable());
}

TEST(MemoTokens, FitErrorTokensAreReplacedAndReadBack) {
  const FittedElementErrors errors{0.00012, 4e-07, -1.25e-11};
  const std::string once = withFitErrorTokens("EA/SD D=12 σE0=1 σP=2 cov=3 旧い要素", errors);
  EXPECT_EQ(once, "EA/SD D=12 旧い要素 σE0=0.00012 σP=4e-07 cov=-1.25e-11");
  const MemoTokens tokens = readMemoTokens(once);
  ASSERT_TRUE(tokens.fitErrors.has_value());
  EXPECT_EQ(tokens.fitErrors->covarianceEpochPeriod, errors.covarianceEpochPeriod);
  EXPECT_EQ(tokens.type.text, "EA/SD");
  EXPECT_EQ(shortestNumberText(50.08), "50.08");
}

}  // namespace
}  // namespace tenmirel
