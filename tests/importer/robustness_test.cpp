// Input that is not a clean catalogue: other line ends, short and long lines,
// '|' where a split would break, binary and cut-off files, values that do not
// read. A file is refused with its line named; a bad value costs only itself.
#include <gtest/gtest.h>

#include "importer/epoch_rules.h"
#include "sample_lines.h"

namespace tenmirel::importer {
namespace {

using testing::catalogueSample;
using testing::fileLines;
using testing::fileText;
using testing::readText;

std::string joined(const std::vector<std::string>& lines, const std::string& end) {
  std::string text;
  for (const auto& line : lines) text += line + end;
  return text;
}

TEST(ImportRobustness, LfAndCrLfReadTheSame) {
  const auto lines = fileLines(catalogueSample("gcvs5-awkward-lines.txt"));
  const auto crlf = readText(joined(lines, "\r\n"));
  const auto lf = readText(joined(lines, "\n"));
  ASSERT_TRUE(crlf.ok && lf.ok);
  ASSERT_EQ(crlf.stars.size(), lf.stars.size());
  for (std::size_t i = 0; i < lf.stars.size(); ++i) {
    EXPECT_EQ(crlf.stars[i].name, lf.stars[i].name);
    EXPECT_EQ(crlf.stars[i].epoch.digits, lf.stars[i].epoch.digits);
    EXPECT_EQ(crlf.stars[i].skip, lf.stars[i].skip);
  }
  // And a last line without its line end, when it is whole.
  const auto noFinalEnd = readText(joined(lines, "\r\n").substr(0, joined(lines, "\r\n").size() - 2));
  ASSERT_TRUE(noFinalEnd.ok) << noFinalEnd.message;
  EXPECT_EQ(noFinalEnd.stars.size(), lf.stars.size());
}

struct RefusedCase {
  const char* caseName;
  std::string (*text)(const std::vector<std::string>& lines);  // from the awkward lines, read when the test runs
  const char* mentions;                                        // part of the message
};

std::string firstTwo(const std::vector<std::string>& lines) { return lines[0] + "\r\n" + lines[1] + "\r\n"; }

const RefusedCase kRefused[] = {
    {"line_longer_than_the_layout", [](const auto& l) { return firstTwo(l) + l[2] + "EXTRA\r\n"; }, "3行目"},
    {"file_cut_inside_a_line", [](const auto& l) { return firstTwo(l) + l[2].substr(0, 120); }, "途中で終わって"},
    {"binary_bytes",
     [](const auto& l) {
       return firstTwo(l) +
              std::string(
                  "\x7f"
                  "ELF\x02\x01\x01\0\0\0",
                  10) +
              "\n";
     },
     "バイナリ"},
    {"unknown_format", [](const auto&) { return std::string("hello world\nthis is not a catalogue\n"); }, "形式"},
    {"no_star_lines", [](const auto&) { return std::string("\n\n   \n"); }, "星の行がありません"},
    {"gcvs_bars_out_of_place",
     [](const auto& l) { return firstTwo(l) + l[2].substr(0, 40) + "X" + l[2].substr(41) + "\r\n"; }, "3行目"},
    {"json_cut_short", [](const auto&) { return std::string("{\"VSXObject\":{\"Name\":\"X\",\"Period\":\"1"); },
     "途中で終わって"},
    {"csv_quote_left_open",
     [](const auto&) { return std::string("#OID,Name,RAdeg,DEdeg,Epoch,Period\n1,\"Open,1,1,2450000,1\n"); }, "引用符"},
};

class RefusedFiles : public ::testing::TestWithParam<RefusedCase> {};

TEST_P(RefusedFiles, SayWhyInJapaneseNamingTheLine) {
  const auto lines = fileLines(catalogueSample("gcvs5-awkward-lines.txt"));
  ASSERT_EQ(lines.size(), 23u);
  const auto reading = readText(GetParam().text(lines));
  EXPECT_FALSE(reading.ok);
  EXPECT_NE(reading.message.find(GetParam().mentions), std::string::npos) << reading.message;
}

INSTANTIATE_TEST_SUITE_P(, RefusedFiles, ::testing::ValuesIn(kRefused),
                         [](const auto& info) { return std::string(info.param.caseName); });

TEST(ImportRobustness, AMalformedValueCostsOnlyThatValue) {
  auto lines = fileLines(catalogueSample("gcvs5-awkward-lines.txt"));
  std::string& rtAnd = lines[1];
  ASSERT_NE(rtAnd.find("RT    And"), std::string::npos);
  rtAnd.replace(62, 12, "  9.8x3 ?   ");  // minimum
  std::string& rAnd = lines[0];
  rAnd.replace(91, 12, "5382O.      ");  // epoch with a letter O
  const auto reading = readText(joined(lines, "\r\n"));
  ASSERT_TRUE(reading.ok) << reading.message;
  ASSERT_EQ(reading.stars.size(), lines.size());
  EXPECT_FALSE(reading.stars[1].minMagnitude.value);
  EXPECT_FALSE(reading.stars[1].problems.empty());
  EXPECT_EQ(reading.stars[1].skip, SkipReason::none);
  EXPECT_EQ(reading.stars[0].skip, SkipReason::badElements);
}

// The declination's sign has a column of its own: a part written with a sign
// of its own is no position, never a right ascension of "-2h".
TEST(ImportRobustness, SignedPositionPartsAreNoPosition) {
  auto lines = fileLines(catalogueSample("gcvs5-awkward-lines.txt"));
  std::string& rAnd = lines[0];
  ASSERT_NE(rAnd.find("R     And"), std::string::npos);
  ASSERT_EQ(rAnd.substr(20, 9), "002401.95");
  for (const char* position : {"-02401.95", "00-401.95", "0024-1.95"}) {
    rAnd.replace(20, 9, position);
    const auto reading = readText(joined(lines, "\r\n"));
    ASSERT_TRUE(reading.ok) << reading.message;
    EXPECT_FALSE(reading.stars[0].raDegrees) << position;
    EXPECT_EQ(reading.stars[0].skip, SkipReason::noPosition) << position;
  }
}

TEST(ImportRobustness, ShortGcvsLinesReadAsPadded) {
  const auto lines = fileLines(catalogueSample("gcvs5-awkward-lines.txt"));
  // Cut after the period field (column 130), then a complete last line.
  const auto reading = readText(lines[1].substr(0, 131) + "\r\n" + lines[0] + "\r\n");
  ASSERT_TRUE(reading.ok) << reading.message;
  ASSERT_EQ(reading.stars.size(), 2u);
  EXPECT_EQ(reading.stars[0].period.digits, "0.6289216");
  EXPECT_FALSE(reading.stars[0].durationPercent);
}

struct EpochCase {
  const char* caseName;
  const char* digits;
  const char* fullDay;
  bool trusted;
};

const EpochCase kEpochs[] = {
    {"reduced_whole_day", "53820.", "2453820", true},
    {"reduced_with_leading_zero", "08247.950", "2408247.950", true},
    {"full_day_stays", "2457991.86", "2457991.86", true},
    {"before_1800", "2378496.4", "2378496.4", false},
    {"first_day_of_1800", "2378496.5", "2378496.5", true},
    {"more_than_five_years_ahead", "2463300", "2463300", false},
    {"reduced_decimals_only", "52500.1211", "2452500.1211", true},
};

class EpochRules : public ::testing::TestWithParam<EpochCase> {};

TEST_P(EpochRules, FullDayWithTheWrittenDigits) {
  const auto epoch = readEpochDigits(GetParam().digits, testing::kTestLatestEpoch);
  ASSERT_TRUE(epoch);
  EXPECT_EQ(epoch->text, GetParam().fullDay);
  EXPECT_EQ(epoch->trusted, GetParam().trusted);
}

INSTANTIATE_TEST_SUITE_P(, EpochRules, ::testing::ValuesIn(kEpochs),
                         [](const auto& info) { return std::string(info.param.caseName); });

TEST(EpochRulesText, NotNumbersAreNoEpochs) {
  for (const char* text : {"", "-5", "1e5", "12 34", "abc", "."}) {
    EXPECT_FALSE(readEpochDigits(text, testing::kTestLatestEpoch)) << text;
  }
}

}  // namespace
}  // namespace tenmirel::importer
