// Where a catalogue comes from: the line bound, pipes with and without a
// writer, devices, and the reasons given for each.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <fstream>
#include <thread>

#include "catalogue/star_file.h"
#include "catalogue_text.h"
#include "support/recording_ports.h"

namespace tenmirel {
namespace {

using namespace std::chrono_literals;
using testing::joinLines;
using testing::recordLines;
using testing::TempDir;

std::string oneStarNamed(const std::string& name) {
  StarRecord star = testing::zzExa();
  star.starName = name;
  return catalogueFileText({star});
}

TEST(CatalogueLines, ALineOverTheBoundFailsTheLoadNamingTheRecord) {
  struct Case {
    const char* label;
    std::string bytes;
    StarFileFailure failure;
    int record;
  };
  const std::string longest(kMaxCatalogueLineBytes, 'n');
  const Case cases[] = {
      {"name at the bound", oneStarNamed(longest), StarFileFailure::none, 0},
      {"name one byte over", oneStarNamed(longest + "n"), StarFileFailure::lineTooLong, 1},
      {"memo of the second star over",
       "Quorrelith 1999\r\n2\r\n" + joinLines(recordLines(testing::zzExa())) +
           joinLines({"YY", "1", "1", "1", "1", "", "1", "1", longest + "xx"}),
       StarFileFailure::lineTooLong, 2},
      {"count line over", "Quorrelith 1999\r\n" + std::string(kMaxCatalogueLineBytes + 1, ' ') + "1\r\n",
       StarFileFailure::lineTooLong, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    TempDir dir;
    const auto file = dir.write("long.vsd", c.bytes);
    const StarFileReadResult result = readStarFile(file);
    EXPECT_EQ(result.failure, c.failure);
    EXPECT_EQ(result.failedRecord, c.record);
    if (c.failure == StarFileFailure::lineTooLong) {
      const std::string where = c.record == 0 ? "の2行目" : "の" + std::to_string(c.record) + "件目の星のデータ";
      EXPECT_EQ(describeStarFileFailure(file, result),
                "ファイル「" + file.string() + "」" + where + "に長すぎる行があります（1行 65536 バイトまで）。");
    }
  }
}

TEST(CatalogueSources, DevicesAreRefusedWithAReason) {
  const StarFileReadResult result = readStarFile("/dev/null");
  EXPECT_EQ(result.failure, StarFileFailure::notAFile);
  EXPECT_EQ(describeStarFileFailure("/dev/null", result),
            "ファイル「/dev/null」はデバイスです。読み込めるのはファイルかパイプだけです。");
}

TEST(CatalogueSources, APipeWithoutAWriterIsGivenUpInsteadOfWaitedFor) {
  TempDir dir;
  const auto pipe = dir.path() / "catalogue.fifo";
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
  const auto started = std::chrono::steady_clock::now();
  const StarFileReadResult result = readStarFile(pipe, 50ms);
  EXPECT_LT(std::chrono::steady_clock::now() - started, 2s);
  EXPECT_EQ(result.failure, StarFileFailure::noWriter);
  EXPECT_EQ(describeStarFileFailure(pipe, result),
            "ファイル「" + pipe.string() + "」はパイプですが、書き込むものがありません。");
}

TEST(CatalogueSources, APipeIsReadOnceToItsEnd) {
  TempDir dir;
  const auto pipe = dir.path() / "catalogue.fifo";
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
  const std::string bytes = oneStarNamed("Piped");
  std::thread writer([&] {
    std::ofstream out(pipe, std::ios::binary);  // waits for the reader to open
    out << bytes.substr(0, 20) << std::flush;
    std::this_thread::sleep_for(20ms);  // the rest arrives later, as from a slow writer
    out << bytes.substr(20);
  });
  const StarFileReadResult result = readStarFile(pipe);
  writer.join();
  ASSERT_TRUE(result.ok()) << describeStarFileFailure(pipe, result);
  EXPECT_EQ(result.records.at(0).starName, "Piped");
}

}  // namespace
}  // namespace tenmirel
