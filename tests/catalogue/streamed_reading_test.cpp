// Reading a catalogue record by record gives what reading it whole gives: the
// same records in the same order, the same encoding judgement, the same
// failure (and then no record at all).
#include <gtest/gtest.h>

#include <fstream>

#include "catalogue/star_file.h"
#include "support/recording_ports.h"

namespace tenmirel {
namespace {

std::vector<StarRecord> streamed(const std::filesystem::path& file, StarFileReadResult& result) {
  std::vector<StarRecord> records;
  result = streamStarFile(file, RecordLimit::none, [&](StarRecord&& record) { records.push_back(std::move(record)); });
  return records;
}

bool sameRecords(const std::vector<StarRecord>& a, const std::vector<StarRecord>& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    for (const auto field : kStarRecordFields) {
      if (a[i].*field != b[i].*field) return false;
    }
  }
  return true;
}

TEST(StreamedReading, GivesTheRecordsOfTheWholeReading) {
  const testing::TempDir dir;
  const std::string utf8 =
      "Quorrelith 1999\n2\nα Star\n2450000\n1\n1\n2\nTrue\n3\n4\n食変光星\nB\n2450001\n2\n3\n4\nFalse\n5\n6\n\n";
  const std::string mixed =
      "Quorrelith 1999\r\n1\r\nX\r\n1\r\n1\r\n1\r\n1\r\nTrue\r\n1\r\n1\r\n\x90\xaf\r\n";  // CP932 "星"
  for (const std::filesystem::path& file :
       {testing::sourceDir() / "data" / "sample.vsd", testing::sourceDir() / "tests" / "data" / "gcvs-1001.vsd",
        dir.write("utf8.vsd", utf8), dir.write("cp932.vsd", mixed)}) {
    SCOPED_TRACE(file.string());
    const StarFileReadResult whole = readStarFile(file, kPipeWriterWait, RecordLimit::none);
    StarFileReadResult result;
    const std::vector<StarRecord> records = streamed(file, result);
    ASSERT_TRUE(whole.ok() && result.ok());
    EXPECT_EQ(result.count, whole.count);
    EXPECT_TRUE(result.records.empty());
    EXPECT_TRUE(sameRecords(records, whole.records));
  }
}

TEST(StreamedReading, FailsAsTheWholeReadingAndHandsNothing) {
  const testing::TempDir dir;
  for (const std::string& text :
       {std::string("Quorrelith 1999\r\n2\r\nA\r\n1\r\n1\r\n1\r\n1\r\nTrue\r\n1\r\n1\r\n\r\nB\r\n"),
        std::string("Quorrelith 1998\r\n1\r\n"), std::string("Quorrelith 1999\r\nzwei\r\n"), std::string()}) {
    const auto file = dir.write("bad.vsd", text);
    const StarFileReadResult whole = readStarFile(file, kPipeWriterWait, RecordLimit::none);
    StarFileReadResult result;
    const std::vector<StarRecord> records = streamed(file, result);
    EXPECT_FALSE(result.ok());
    EXPECT_EQ(result.failure, whole.failure);
    EXPECT_EQ(result.failedRecord, whole.failedRecord);
    EXPECT_EQ(describeStarFileFailure(file, result), describeStarFileFailure(file, whole));
    EXPECT_TRUE(records.empty());
  }
  StarFileReadResult missing;
  streamed(dir.path() / "none.vsd", missing);
  EXPECT_EQ(missing.failure, StarFileFailure::notFound);
}

}  // namespace
}  // namespace tenmirel
