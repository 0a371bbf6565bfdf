#include <gtest/gtest.h>

#include <sstream>

#include "catalogue/star_file.h"
#include "catalogue_text.h"
#include "support/recording_ports.h"

namespace tenmirel {
namespace {

using testing::catalogueText;
using testing::joinLines;
using testing::recordLines;
using testing::TempDir;

StarFileReadResult readBytes(const std::string& bytes) {
  TempDir dir;
  return readStarFile(dir.write("catalogue.vsd", bytes));
}

TEST(StarFile, ReadsTheTwoStarExampleWithCrLf) {
  const std::string bytes =
      "Quorrelith 1999\r\n2\r\nZZ Exa\r\n2451545.1234\r\n0.7654321\r\n5\r\n30.5\r\nTrue\r\n12\r\n15\r\n"
      "EA, min. 11.2\r\nYY Sam\r\n2450000.5\r\n2.25\r\n18\r\n2\r\nFalse\r\n0\r\n30\r\nperiod uncertain\r\n";
  const StarFileReadResult result = readBytes(bytes);
  ASSERT_TRUE(result.ok());
  ASSERT_EQ(result.count, 2);
  ASSERT_EQ(result.records.size(), 2u);
  EXPECT_EQ(recordLines(result.records[0]), recordLines(testing::zzExa()));
  EXPECT_EQ(recordLines(result.records[1]), recordLines(testing::yySam()));
}

struct LineEndCase {
  const char* label;
  std::string bytes;
};

void PrintTo(const LineEndCase& c, std::ostream* os) { *os << c.label; }

class StarFileLineEnds : public ::testing::TestWithParam<LineEndCase> {};

TEST_P(StarFileLineEnds, ReadTheSameRecords) {
  const StarFileReadResult result = readBytes(GetParam().bytes);
  ASSERT_TRUE(result.ok()) << describeStarFileFailure("x", result);
  ASSERT_EQ(result.count, 2);
  EXPECT_EQ(recordLines(result.records[0]), recordLines(testing::zzExa()));
  EXPECT_EQ(recordLines(result.records[1]), recordLines(testing::yySam()));
}

std::string withoutLastLineEnd(std::string text) {
  text.erase(text.size() - 2);
  return text;
}

std::string mixedLineEnds() {
  const std::vector<std::string> ends = {"\r\n", "\n", "\r"};
  auto lines = std::vector<std::string>{"Quorrelith 1999", "2"};
  for (const auto& star : {testing::zzExa(), testing::yySam()}) {
    for (const auto& line : recordLines(star)) lines.push_back(line);
  }
  std::string text;
  for (std::size_t i = 0; i < lines.size(); ++i) text += lines[i] + ends[i % ends.size()];
  return text;
}

INSTANTIATE_TEST_SUITE_P(
    AllForms, StarFileLineEnds,
    ::testing::Values(
        LineEndCase{"CrLf", catalogueText({testing::zzExa(), testing::yySam()})},
        LineEndCase{"LfOnly", catalogueText({testing::zzExa(), testing::yySam()}, "\n")},
        LineEndCase{"CrOnly", catalogueText({testing::zzExa(), testing::yySam()}, "\r")},
        LineEndCase{"Mixed", mixedLineEnds()},
        LineEndCase{"LastLineUnended", withoutLastLineEnd(catalogueText({testing::zzExa(), testing::yySam()}))},
        LineEndCase{"TrailingLinesIgnored", catalogueText({testing::zzExa(), testing::yySam()}) + "extra\r\nlines\r\n"},
        LineEndCase{"CountWithBlanks", catalogueText({testing::zzExa(), testing::yySam()}, "\r\n", " \t2 ")},
        LineEndCase{"WholeCountWithDecimals", catalogueText({testing::zzExa(), testing::yySam()}, "\r\n", "2.0")}),
    [](const auto& info) { return std::string(info.param.label); });

TEST(StarFile, KeepsEveryTextExactlyAsWritten) {
  StarRecord odd{"  spaced name  ", "2451545.5 ", "", "\t5", "30,5", "false", "-0", "abc", ""};
  const StarFileReadResult result = readBytes(catalogueText({odd}));
  ASSERT_TRUE(result.ok());
  EXPECT_EQ(recordLines(result.records[0]), recordLines(odd));
}

TEST(StarFile, EmptyLinesAreValuesAndALoneCrLfIsAnEmptyLine) {
  // "\r\n\r\n" after a CR is two empty lines, never one.
  const std::string bytes = "Quorrelith 1999\r\n1\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n";
  const StarFileReadResult result = readBytes(bytes);
  ASSERT_TRUE(result.ok());
  EXPECT_EQ(recordLines(result.records[0]), std::vector<std::string>(9, ""));
}

TEST(StarFile, ReadsExactly1001Stars) {
  const auto stars = testing::numberedStars(1001);
  const StarFileReadResult result = readBytes(catalogueText(stars));
  ASSERT_TRUE(result.ok());
  ASSERT_EQ(result.count, 1001);
  EXPECT_EQ(recordLines(result.records[0]), recordLines(stars[0]));
  EXPECT_EQ(recordLines(result.records[1000]), recordLines(stars[1000]));
}

struct FailureCase {
  const char* label;
  std::string bytes;
  StarFileFailure failure;
  int failedRecord;
};

void PrintTo(const FailureCase& c, std::ostream* os) { *os << c.label; }

class StarFileFailures : public ::testing::TestWithParam<FailureCase> {};

TEST_P(StarFileFailures, GiveTheReasonAndNoRecords) {
  const StarFileReadResult result = readBytes(GetParam().bytes);
  EXPECT_EQ(result.failure, GetParam().failure);
  EXPECT_FALSE(result.ok());
  EXPECT_TRUE(result.records.empty());
  if (GetParam().failure == StarFileFailure::endsInsideRecord) {
    EXPECT_EQ(result.failedRecord, GetParam().failedRecord);
  }
}

std::string cutAfterLines(const std::string& text, int lines) {
  std::size_t at = 0;
  for (int i = 0; i < lines; ++i) at = text.find("\r\n", at) + 2;
  return text.substr(0, at);
}

const std::string kTwoStars = catalogueText({testing::zzExa(), testing::yySam()});

INSTANTIATE_TEST_SUITE_P(
    EveryReason, StarFileFailures,
    ::testing::Values(
        FailureCase{"EmptyFile", "", StarFileFailure::emptyFile, 0},
        FailureCase{"MagicWithTrailingBlank", "Quorrelith 1999 \r\n1\r\n", StarFileFailure::wrongMagicLine, 0},
        FailureCase{"MagicWithLeadingBlank", " Quorrelith 1999\r\n1\r\n", StarFileFailure::wrongMagicLine, 0},
        FailureCase{"MagicInOtherCase", "quorrelith 1999\r\n1\r\n", StarFileFailure::wrongMagicLine, 0},
        FailureCase{"EmptyFirstLine", "\r\nQuorrelith 1999\r\n", StarFileFailure::wrongMagicLine, 0},
        FailureCase{"LongFirstLine", std::string(100000, 'Q'), StarFileFailure::wrongMagicLine, 0},
        FailureCase{"OnlyTheMagicLine", "Quorrelith 1999\r\n", StarFileFailure::noCountLine, 0},
        FailureCase{"MagicLineUnended", "Quorrelith 1999", StarFileFailure::noCountLine, 0},
        FailureCase{"CountNotANumber", "Quorrelith 1999\r\ntwo\r\n", StarFileFailure::badCount, 0},
        FailureCase{"CountEmpty", "Quorrelith 1999\r\n\r\n", StarFileFailure::badCount, 0},
        FailureCase{"CountWithTrailingText", "Quorrelith 1999\r\n2 stars\r\n", StarFileFailure::badCount, 0},
        FailureCase{"CountZero", "Quorrelith 1999\r\n0\r\n", StarFileFailure::badCount, 0},
        FailureCase{"CountNegative", "Quorrelith 1999\r\n-2\r\n", StarFileFailure::badCount, 0},
        FailureCase{"CountNotWhole", "Quorrelith 1999\r\n1.5\r\n", StarFileFailure::badCount, 0},
        FailureCase{"CountOverflowing", "Quorrelith 1999\r\n1e999\r\n", StarFileFailure::badCount, 0},
        FailureCase{"Count1002", catalogueText(testing::numberedStars(1002)), StarFileFailure::tooManyRecords, 0},
        FailureCase{"CountHuge", "Quorrelith 1999\r\n1e300\r\n", StarFileFailure::tooManyRecords, 0},
        FailureCase{"NoRecordAtAll", "Quorrelith 1999\r\n2\r\n", StarFileFailure::endsInsideRecord, 1},
        FailureCase{"EndsInsideTheFirstRecord", cutAfterLines(kTwoStars, 2 + 4), StarFileFailure::endsInsideRecord, 1},
        FailureCase{"EndsBeforeTheSecondRecord", cutAfterLines(kTwoStars, 2 + 9), StarFileFailure::endsInsideRecord, 2},
        FailureCase{"EndsOneLineShort", cutAfterLines(kTwoStars, 2 + 17), StarFileFailure::endsInsideRecord, 2},
        FailureCase{"LfFileCountSaysMore", catalogueText({testing::zzExa()}, "\n", "3"),
                    StarFileFailure::endsInsideRecord, 2}),
    [](const auto& info) { return std::string(info.param.label); });

TEST(StarFile, MissingFileAndFolderAreNotRead) {
  TempDir dir;
  EXPECT_EQ(readStarFile(dir.path() / "missing.vsd").failure, StarFileFailure::notFound);
  EXPECT_EQ(readStarFile(dir.path()).failure, StarFileFailure::cannotOpen);
}

TEST(StarFile, StreamAndFileReadAlike) {
  std::istringstream in(kTwoStars);
  const StarFileReadResult fromStream = readStarStream(in);
  ASSERT_TRUE(fromStream.ok());
  EXPECT_EQ(recordLines(fromStream.records[1]), recordLines(readBytes(kTwoStars).records[1]));
}

// --- text encodings -------------------------------------------------------

StarRecord withMemo(const std::string& memo, const std::string& name = "Name") {
  StarRecord record = testing::zzExa();
  record.memo = memo;
  record.starName = name;
  return record;
}

struct EncodingCase {
  const char* label;
  std::string bytes;         // file
  std::string expectedName;  // UTF-8
  std::string expectedMemo;  // UTF-8
};

void PrintTo(const EncodingCase& c, std::ostream* os) { *os << c.label; }

class StarFileEncodings : public ::testing::TestWithParam<EncodingCase> {};

TEST_P(StarFileEncodings, DecodeToUtf8) {
  const StarFileReadResult result = readBytes(GetParam().bytes);
  ASSERT_TRUE(result.ok()) << describeStarFileFailure("x", result);
  EXPECT_EQ(result.records[0].starName, GetParam().expectedName);
  EXPECT_EQ(result.records[0].memo, GetParam().expectedMemo);
  EXPECT_EQ(result.records[0].ganki, "2451545.1234");  // ASCII columns untouched
}

INSTANTIATE_TEST_SUITE_P(
    Cp932AndUtf8, StarFileEncodings,
    ::testing::Values(
        // ミラ型 ～ ① ㈱ 纊 (NEC-selected IBM extension) ⅰ (IBM extension)
        EncodingCase{"Cp932",
                     catalogueText({withMemo("\x83\x7E\x83\x89\x8C\x5E \x81\x60 \x87\x40 \x87\x8A \xED\x40 \xFA\x40",
                                             "\x83\x41\x83\x8B\x83\x53\x83\x8B")}),
                     "アルゴル", "ミラ型 ～ ① ㈱ 纊 ⅰ"},
        // Half-width katakana, one byte each in CP932.
        EncodingCase{"Cp932HalfWidthKana", catalogueText({withMemo("\xCA\xDD\xB6\xB8")}), "Name", "ﾊﾝｶｸ"},
        EncodingCase{"Utf8WithoutMark", catalogueText({withMemo("ミラ型 ～ ① ㈱", "アルゴル")}), "アルゴル",
                     "ミラ型 ～ ① ㈱"},
        EncodingCase{"Utf8WithMark", "\xEF\xBB\xBF" + catalogueText({withMemo("食変光星", "アルゴル")}), "アルゴル",
                     "食変光星"},
        EncodingCase{"MarkOnAsciiFile", "\xEF\xBB\xBF" + catalogueText({withMemo("plain")}), "Name", "plain"},
        EncodingCase{"MarkWithBrokenUtf8", "\xEF\xBB\xBF" + catalogueText({withMemo("a\xE3\x81z")}), "Name",
                     "a\xEF\xBF\xBD\xEF\xBF\xBDz"},
        // One UTF-8 line and one CP932 line: not UTF-8, so all of it is CP932.
        EncodingCase{"MixedFallsBackToCp932", catalogueText({withMemo("\x83\x7E", "\xC3\xA9")}), "ﾃｩ", "ミ"},
        // A lead byte without a valid trail byte: replaced, and the rest stays.
        EncodingCase{"UndefinedCp932Sequence",
                     catalogueText({withMemo("abc\x85"
                                             "@def")}),
                     "Name", "abc\xEF\xBF\xBD@def"},
        EncodingCase{"LeadByteBeforeBlank", catalogueText({withMemo("\x81 x")}), "Name", "\xEF\xBF\xBD x"},
        EncodingCase{"LeadByteAtLineEnd", catalogueText({withMemo("memo\x82")}), "Name", "memo\xEF\xBF\xBD"},
        EncodingCase{"StrayBytes", catalogueText({withMemo("\x80z\xA0\xFD")}), "Name",
                     "\xEF\xBF\xBDz\xEF\xBF\xBD\xEF\xBF\xBD"},
        EncodingCase{"BackslashAndTildeStayAscii", catalogueText({withMemo("C:\\data ~x")}), "Name", "C:\\data ~x"}),
    [](const auto& info) { return std::string(info.param.label); });

TEST(StarFile, ATrailByteThatIsALineEndIsNotSwallowed) {
  // A lead byte right before CR LF must not take the CR as its second byte.
  const std::string bytes = "Quorrelith 1999\r\n1\r\nName\x83\r\n1\r\n2\r\n3\r\n4\r\nTrue\r\n5\r\n6\r\nmemo\r\n";
  const StarFileReadResult result = readBytes(bytes);
  ASSERT_TRUE(result.ok());
  EXPECT_EQ(result.records[0].starName, "Name\xEF\xBF\xBD");
  EXPECT_EQ(result.records[0].ganki, "1");
  EXPECT_EQ(result.records[0].memo, "memo");
}

// --- failure descriptions ---------------------------------------------------

struct DescriptionCase {
  const char* label;
  std::string bytes;
  std::string expected;
};

void PrintTo(const DescriptionCase& c, std::ostream* os) { *os << c.label; }

class StarFileDescriptions : public ::testing::TestWithParam<DescriptionCase> {};

TEST_P(StarFileDescriptions, NameTheFileAndTheReason) {
  TempDir dir;
  const auto file = dir.write("c.vsd", GetParam().bytes);
  std::string expected = GetParam().expected;
  expected.replace(expected.find("FILE"), 4, file.string());
  EXPECT_EQ(describeStarFileFailure(file, readStarFile(file)), expected);
}

INSTANTIATE_TEST_SUITE_P(
    EveryReason, StarFileDescriptions,
    ::testing::Values(
        DescriptionCase{"Empty", "", "ファイル「FILE」は空です。変光星データファイルではありません。"},
        DescriptionCase{
            "WrongMagic", "Quorrelith 1999 \r\n",
            "ファイル「FILE」は変光星データファイルではありません（1行目が「Quorrelith 1999」ではありません）。"},
        DescriptionCase{"NoCount", "Quorrelith 1999\r\n", "ファイル「FILE」には星の数を書いた2行目がありません。"},
        DescriptionCase{"BadCount", "Quorrelith 1999\r\n-3\r\n",
                        "ファイル「FILE」の2行目「-3」は星の数ではありません（1以上の整数を書きます）。"},
        DescriptionCase{"LongBadCount", "Quorrelith 1999\r\n" + std::string(50, 'x') + "\r\n",
                        "ファイル「FILE」の2行目「" + std::string(40, 'x') +
                            "…」は星の数ではありません（1以上の整数を書きます）。"},
        DescriptionCase{"EndsInside", "Quorrelith 1999\r\n3\r\n" + joinLines(recordLines(testing::zzExa())) + "YY\r\n",
                        "ファイル「FILE」は2件目の星のデータの途中で終わっています（2行目の星の数は3件）。"},
        DescriptionCase{"TooMany", "Quorrelith 1999\r\n 1002\r\n",
                        "ファイル「FILE」の星の数「 1002」は多すぎます（1001件まで読み込めます）。"}),
    [](const auto& info) { return std::string(info.param.label); });

TEST(StarFile, DescribesMissingAndUnreadableFiles) {
  TempDir dir;
  const auto missing = dir.path() / "missing.vsd";
  EXPECT_EQ(describeStarFileFailure(missing, readStarFile(missing)),
            "ファイル「" + missing.string() + "」が見つかりません。");
  EXPECT_EQ(
      describeStarFileFailure(dir.path(), readStarFile(dir.path())),
      "ファイル「" + dir.path().string() + "」を開けません（読み取りが許されていないか、ファイルではありません）。");
  EXPECT_EQ(describeStarFileFailure("ok.vsd", readBytes(kTwoStars)), "");
}

// --- finding a star -------------------------------------------------------------

TEST(FindStar, ByNamePositionOrShortName) {
  std::vector<StarRecord> stars = {
      withMemo("", "Algol (bet Per)"), withMemo("", "omi Cet (Mira)"), withMemo("", "12"),
      withMemo("", "RR Lyr"),          withMemo("", "RR Lyr (copy)"),  withMemo("", "アルゴル")};
  struct Case {
    const char* typed;
    std::optional<int> expected;
  };
  const Case cases[] = {
      {"Algol (bet Per)", 0},
      {"Algol", 0},
      {"algol", 0},
      {"bet Per", 0},
      {"Mira", 1},
      {"omi cet", 1},
      {"1", 1},
      {"0", 0},
      {"12", 2},
      {"2", 2},
      {"6", std::nullopt},
      {"-1", std::nullopt},
      {"RR Lyr", 3},
      {"rr lyr", std::nullopt},
      {"アルゴル", 5},
      {"", std::nullopt},
      {"Vega", std::nullopt},
      {"Algol (", std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(findStar(stars, c.typed), c.expected) << c.typed;
}

}  // namespace
}  // namespace tenmirel
