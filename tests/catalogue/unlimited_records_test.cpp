// Reading a catalogue without the star table's limit, as the night plan does; the
// window's reading keeps its 1001 rows.
#include <gtest/gtest.h>

#include <sstream>

#include "catalogue/star_file.h"
#include "catalogue_text.h"

namespace tenmirel {
namespace {

struct LimitCase {
  const char* name;
  int stars;
  RecordLimit limit;
  StarFileFailure failure;
};

class RecordLimits : public ::testing::TestWithParam<LimitCase> {};

TEST_P(RecordLimits, DecideHowManyStarsAFileMayHold) {
  const LimitCase& c = GetParam();
  const std::vector<StarRecord> stars = testing::numberedStars(c.stars);
  std::istringstream in(testing::catalogueText(stars));
  const StarFileReadResult result = readStarStream(in, c.limit);
  EXPECT_EQ(result.failure, c.failure);
  if (c.failure == StarFileFailure::none) {
    ASSERT_EQ(result.records.size(), stars.size());
    EXPECT_EQ(result.records.back().starName, stars.back().starName);
    EXPECT_EQ(result.records.back().memo, stars.back().memo);
  } else {
    EXPECT_TRUE(result.records.empty());
    EXPECT_NE(describeStarFileFailure("big.vsd", result).find(std::to_string(kMaxStarRecords) + "件まで"),
              std::string::npos);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Catalogue, RecordLimits,
    ::testing::Values(LimitCase{"TableFull", 1001, RecordLimit::starTable, StarFileFailure::none},
                      LimitCase{"TableOverfull", 1002, RecordLimit::starTable, StarFileFailure::tooManyRecords},
                      LimitCase{"UnlimitedSmall", 3, RecordLimit::none, StarFileFailure::none},
                      LimitCase{"UnlimitedLarge", 25000, RecordLimit::none, StarFileFailure::none}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(RecordLimits, AHugeCountCostsNoMemoryBeforeTheLinesArrive) {
  // Ten million stars announced, one given: the file ends inside the second record.
  std::istringstream in(testing::catalogueText(testing::numberedStars(1), testing::kCrLf, "10000000"));
  const StarFileReadResult result = readStarStream(in, RecordLimit::none);
  EXPECT_EQ(result.failure, StarFileFailure::endsInsideRecord);
  EXPECT_EQ(result.failedRecord, 2);

  std::istringstream over(testing::catalogueText(testing::numberedStars(1), testing::kCrLf, "10000001"));
  const StarFileReadResult refused = readStarStream(over, RecordLimit::none);
  EXPECT_EQ(refused.failure, StarFileFailure::tooManyRecords);
  EXPECT_NE(describeStarFileFailure("huge.vsd", refused).find("10000000件まで"), std::string::npos);
}

}  // namespace
}  // namespace tenmirel
