#include "observations/log_csv.h"

#include <gtest/gtest.h>

#include <random>

#include "observations/log_folder.h"
#include "observations/observation_log.h"

namespace tenmirel::observations {
namespace {

std::vector<LogEntry> awkwardEntries() {
  std::vector<LogEntry> entries;
  std::mt19937_64 random(3);
  std::uniform_real_distribution<double> fraction(0, 1);
  for (int i = 0; i < 50; ++i) {
    LogEntry e;
    e.star = i % 3 == 0 ? "RZ Cas" : "V1 \"odd\", name";
    e.time = 2440000 + 20000 * fraction(random);  // every bit of the double counts
    if (i % 4 != 0) e.sigmaDays = 1e-5 * fraction(random);
    e.system = static_cast<sky::ElementsTime>(i % 3);
    e.kind = static_cast<timing::ExtremumKind>(i % 3);
    e.method = "KvW";
    e.observer = "観測者 " + std::to_string(i);
    e.band = i % 2 ? "V" : "";
    e.source = "lc,one.csv";
    e.note = i % 5 == 0 ? "line one\r\nline two, \"quoted\"" : " blank around ";
    e.recorded = "2026-12-07T18:40:12Z";
    e.excluded = i % 7 == 0;
    entries.push_back(e);
  }
  return entries;
}

void expectSameButIds(const std::vector<LogEntry>& a, const std::vector<LogEntry>& b) {
  ASSERT_EQ(a.size(), b.size());
  for (std::size_t i = 0; i < a.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(a[i].star, b[i].star);
    EXPECT_EQ(a[i].time, b[i].time);
    EXPECT_EQ(a[i].sigmaDays, b[i].sigmaDays);
    EXPECT_EQ(a[i].system, b[i].system);
    EXPECT_EQ(a[i].kind, b[i].kind);
    EXPECT_EQ(a[i].method, b[i].method);
    EXPECT_EQ(a[i].observer, b[i].observer);
    EXPECT_EQ(a[i].band, b[i].band);
    EXPECT_EQ(a[i].source, b[i].source);
    EXPECT_EQ(a[i].note, b[i].note);
    EXPECT_EQ(a[i].recorded, b[i].recorded);
    EXPECT_EQ(a[i].excluded, b[i].excluded);
  }
}

// Exported from one log and imported into another, every field comes back bit
// for bit; only the ids are new.
TEST(LogCsv, RoundTripThroughTwoLogsIsExact) {
  const auto folder = freshFolder("csv");
  auto first = *ObservationLog::open(folder / "a.sqlite");
  ASSERT_TRUE(first->addAll(awkwardEntries()).ok());
  const std::string exported = logCsvText(*first->list());
  const auto read = readLogCsv(exported);
  ASSERT_TRUE(read.ok()) << read.message();
  auto second = *ObservationLog::open(folder / "b.sqlite");
  ASSERT_TRUE(second->add(awkwardEntries().front()).ok());  // so the new ids differ
  ASSERT_TRUE(second->remove({second->list()->front().id}) == std::nullopt);
  ASSERT_TRUE(second->addAll(*read).ok());
  expectSameButIds(*first->list(), *second->list());
  EXPECT_NE(first->list()->front().id, second->list()->front().id);
  std::filesystem::remove_all(folder);
}

TEST(LogCsv, NumbersAreTheShortestExactTexts) {
  LogEntry e;
  e.star = "Algol";
  e.time = 2460123.45678;
  e.sigmaDays = 0.00012;
  const std::string text = logCsvText({e});
  EXPECT_NE(text.find(",2460123.45678,0.00012,JD,primary,"), std::string::npos) << text;
}

struct BadCsv {
  const char* name;
  std::string text;
  const char* saying;
};

class BadLogCsv : public testing::TestWithParam<BadCsv> {};

TEST_P(BadLogCsv, IsRefusedNamingTheLine) {
  const auto read = readLogCsv(GetParam().text);
  ASSERT_FALSE(read.ok());
  EXPECT_NE(read.message().find(GetParam().saying), std::string::npos) << read.message();
}

const std::string kHeader = std::string(kLogCsvHeader) + "\n";
INSTANTIATE_TEST_SUITE_P(
    Refusals, BadLogCsv,
    testing::Values(BadCsv{"Empty", "", "空"}, BadCsv{"OtherHeader", "JD,mag\n1,2\n", "見出し"},
                    BadCsv{"TooFewFields", kHeader + "1,Algol,2460000\n", "2行目"},
                    BadCsv{"TimeNotANumber", kHeader + "1,Algol,x,,JD,primary,,,,,,,0\n", "時刻"},
                    BadCsv{"NegativeSigma", kHeader + "1,Algol,2460000,-1,JD,primary,,,,,,,0\n", "誤差"},
                    BadCsv{"UnknownSystem", kHeader + "1,Algol,2460000,,TT,primary,,,,,,,0\n", "時刻系"},
                    BadCsv{"UnknownKind", kHeader + "1,Algol,2460000,,JD,min,,,,,,,0\n", "種類"},
                    BadCsv{"EmptyStar", kHeader + "1,,2460000,,JD,primary,,,,,,,0\n", "星名"},
                    BadCsv{"ExcludedNotZeroOrOne", kHeader + "1,Algol,2460000,,JD,primary,,,,,,,yes\n", "除外"},
                    BadCsv{"OpenQuote", kHeader + "1,\"Algol,2460000\n", "引用符"},
                    BadCsv{"InfinityIsNoTime", kHeader + "1,Algol,inf,,JD,primary,,,,,,,0\n", "時刻"}),
    [](const testing::TestParamInfo<BadCsv>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tenmirel::observations
