// tenmirel-cli stars, run in-process.
#include <gtest/gtest.h>

#include "catalogue/catalogue_writer.h"
#include "support/cli_runner.h"
#include "support/recording_ports.h"

namespace tenmirel::cli {
namespace {

using tenmirel::testing::TempDir;

using tenmirel::testing::CliRun;
using tenmirel::testing::lines;
using tenmirel::testing::runCli;

bool contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

const std::string kTwoStars =
    catalogueFileText({{"ZZ Exa", "2451545.1234", "0.7654321", "5", "30.5", "True", "12", "15", "EA, min. 11.2"},
                       {"YY Sam", "2450000.5", "2.25", "18", "2", "False", "0", "30", "period uncertain"}});

TEST(CliStars, ListsEveryColumnOfEachStar) {
  TempDir dir;
  const auto file = dir.write("two.vsd", kTwoStars).string();
  const CliRun result = runCli({"stars", file});
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.err, "");
  const auto text = lines(result.out);
  ASSERT_EQ(text.size(), 4u);
  EXPECT_EQ(text[0], file + ": 2件");
  EXPECT_EQ(text[1], "番号  星名    元期          周期       赤経      赤緯      メモ");
  EXPECT_EQ(text[2], "   0  ZZ Exa  2451545.1234  0.7654321  5h 30.5m  +12° 15′  EA, min. 11.2");
  EXPECT_EQ(text[3], "   1  YY Sam  2450000.5     2.25       18h 2m    -0° 30′   period uncertain");
}

TEST(CliStars, ListsTheSampleWithItsJapaneseMemos) {
  const auto sample = (tenmirel::testing::sourceDir() / "data" / "sample.vsd").string();
  const CliRun result = runCli({"stars", sample});
  ASSERT_EQ(result.status, 0) << result.err;
  const auto text = lines(result.out);
  ASSERT_EQ(text.size(), 2u + 39u);
  EXPECT_EQ(text[0], sample + ": 39件");
  EXPECT_TRUE(contains(result.out, "Algol (bet Per)"));
  EXPECT_TRUE(contains(result.out, "ミラ型長周期変光星(M) 2.0～10.1等(V)。元期は極大。"));
  EXPECT_TRUE(contains(result.out, "-2° 58.6666666666667′"));  // omi Cet, south
  EXPECT_FALSE(contains(result.out, "\xEF\xBF\xBD"));
}

TEST(CliStars, ControlCharactersDoNotBreakTheColumns) {
  TempDir dir;
  std::string bytes = kTwoStars;
  bytes.replace(bytes.find("EA, min."), 3, "EA\t");
  const CliRun result = runCli({"stars", dir.write("tab.vsd", bytes).string()});
  ASSERT_EQ(result.status, 0);
  EXPECT_TRUE(contains(result.out, "EA\xEF\xBF\xBD min. 11.2"));
}

struct FailingFile {
  const char* label;
  std::string bytes;  // not written for "missing"
  std::string reason;
};

TEST(CliStars, AFileThatDoesNotLoadIsNamedWithItsReason) {
  const FailingFile cases[] = {
      {"missing", "", "が見つかりません。"},
      {"magic", "Quorrelith 1999 \r\n2\r\n", "は変光星データファイルではありません"},
      {"count", "Quorrelith 1999\r\nmany\r\n", "の2行目「many」は星の数ではありません"},
      {"short", kTwoStars.substr(0, kTwoStars.size() - 30), "は2件目の星のデータの途中で終わっています"},
      {"toomany", "Quorrelith 1999\r\n1002\r\n", "の星の数「1002」は多すぎます（1001件まで読み込めます）。"},
  };
  for (const FailingFile& c : cases) {
    TempDir dir;
    const std::string label = c.label;
    const auto file =
        label == "missing" ? (dir.path() / "missing.vsd").string() : dir.write(label + ".vsd", c.bytes).string();
    const CliRun result = runCli({"stars", file});
    EXPECT_EQ(result.status, 1) << label;
    EXPECT_EQ(result.out, "") << label;
    EXPECT_EQ(result.err.rfind("tenmirel-cli stars: ファイル「" + file + "」" + c.reason, 0), 0u)
        << label << ": " << result.err;
    EXPECT_EQ(lines(result.err).size(), 1u) << label;
  }
}

TEST(CliStars, UsageMistakes) {
  const CliRun none = runCli({"stars"});
  EXPECT_EQ(none.status, 2);
  EXPECT_TRUE(contains(none.err, "変光星データファイルを一つ指定してください"));
  EXPECT_TRUE(contains(none.err, "使い方: tenmirel-cli stars ファイル"));

  EXPECT_EQ(runCli({"stars", "a.vsd", "b.vsd"}).status, 2);
  const CliRun unknown = runCli({"stars", "--sort", "a.vsd"});
  EXPECT_EQ(unknown.status, 2);
  EXPECT_TRUE(contains(unknown.err, "--sort"));

  const CliRun help = runCli({"stars", "--help"});
  EXPECT_EQ(help.status, 0);
  EXPECT_EQ(help.err, "");
  EXPECT_TRUE(contains(help.out, "使い方: tenmirel-cli stars ファイル"));
}

}  // namespace
}  // namespace tenmirel::cli
