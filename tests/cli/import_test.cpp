// tenmirel-cli import and edit, in-process: what is written and reported, what
// is refused (with nothing written), and the elements' time system set beside
// the written file.
#include <gtest/gtest.h>

#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "catalogue/star_file.h"
#include "catalogue/variable_type.h"
#include "cli/site_option.h"
#include "config_home.h"
#include "support/cli_runner.h"

namespace tenmirel {
namespace {

using testing::runCli;

std::string sample(const std::string& name) {
  return (testing::sourceDir() / "data" / "catalogue-samples" / name).string();
}

std::string bytesOf(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

class ImportCommand : public ::testing::Test {
 protected:
  testing::ConfigHome config_;
  testing::TempDir dir_;
  std::filesystem::path out(const std::string& name) const { return dir_.path() / name; }
  std::size_t filesInFolder() const {
    return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(dir_.path()), {}));
  }
};

TEST_F(ImportCommand, WritesTheFileAndReportsEveryStar) {
  const auto r = runCli({"import", sample("gcvs5-hipparcos-stars-2019.txt"), "--to", out("hip.vsd").string(), "--type",
                         "EA,EB,EW", "--brighter", "9", "--format", "json"});
  ASSERT_EQ(r.status, 0) << r.err;
  const auto json = nlohmann::json::parse(r.out);
  EXPECT_EQ(json["format"], "gcvs5");
  EXPECT_EQ(json["read"], 6875);
  std::uint64_t skipped = 0;
  for (const auto& [reason, count] : json["skipped"].items()) skipped += count.get<std::uint64_t>();
  std::uint64_t filtered = 0;
  for (const auto& [filter, count] : json["filtered"].items()) filtered += count.get<std::uint64_t>();
  EXPECT_EQ(json["imported"].get<std::uint64_t>() + skipped + filtered, 6875u);

  const StarFileReadResult written = readStarFile(out("hip.vsd"), kPipeWriterWait, RecordLimit::none);
  ASSERT_TRUE(written.ok());
  EXPECT_EQ(static_cast<std::uint64_t>(written.count), json["imported"].get<std::uint64_t>());
  for (const StarRecord& star : written.records) {
    bool eclipsing = false;
    for (const std::string& c : variableTypeClasses(star.memo.substr(0, star.memo.find(' ')))) {
      eclipsing = eclipsing || c == "EA" || c == "EB" || c == "EW";
    }
    EXPECT_TRUE(eclipsing) << star.memo;
  }
  // The bytes are CP932 with CR LF.
  const std::string bytes = bytesOf(out("hip.vsd"));
  EXPECT_EQ(bytes.substr(0, 17), "Quorrelith 1999\r\n");
  EXPECT_NE(bytes.find("\x8C\xB3\x8A\xFA:\x8B\xC9\x8F\xAC"), std::string::npos);  // 元期:極小
}

TEST_F(ImportCommand, VsxElementsAreMarkedHeliocentricUnlessTheUserSays) {
  ASSERT_EQ(runCli({"import", sample("vsx-api-json.txt"), "--to", out("vsx.vsd").string()}).status, 0);
  ASSERT_EQ(runCli({"import", sample("gcvs5-awkward-lines.txt"), "--to", out("gcvs.vsd").string()}).status, 0);
  ASSERT_EQ(runCli({"import", sample("vsx-api-json.txt"), "--to", out("jd.vsd").string(), "--elements", "jd"}).status,
            0);
  const sky::ElementsSettings settings;
  EXPECT_EQ(settings.timeSystemOf(out("vsx.vsd")), sky::ElementsTime::hjd);
  EXPECT_EQ(settings.timeSystemOf(out("gcvs.vsd")), sky::ElementsTime::jd);
  EXPECT_EQ(settings.timeSystemOf(out("jd.vsd")), sky::ElementsTime::jd);
}

TEST_F(ImportCommand, NeverReplacesWithoutForce) {
  const auto target = dir_.write("mine.vsd", "Quorrelith 1999\r\n1\r\nX\r\n1\r\n1\r\n1\r\n1\r\nTrue\r\n1\r\n1\r\n\r\n");
  const std::string before = bytesOf(target);
  const auto refused = runCli({"import", sample("gcvs5-awkward-lines.txt"), "--to", target.string()});
  EXPECT_EQ(refused.status, 1);
  EXPECT_NE(refused.err.find("--force"), std::string::npos);
  EXPECT_EQ(bytesOf(target), before);
  EXPECT_EQ(filesInFolder(), 1u);
  ASSERT_EQ(runCli({"import", sample("gcvs5-awkward-lines.txt"), "--to", target.string(), "--force"}).status, 0);
  EXPECT_EQ(readStarFile(target).count, 14);
}

struct BadInput {
  const char* caseName;
  std::string (*bytes)(const std::string& gcvs);  // from the awkward lines, read when the test runs
  const char* mentions;
};

const BadInput kBadInputs[] = {
    {"unknown_format", [](const std::string&) { return std::string("just some words\n"); }, "形式"},
    {"truncated", [](const std::string& gcvs) { return gcvs.substr(0, gcvs.size() - 100); }, "途中で終わって"},
    {"binary", [](const std::string&) { return std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16); }, "バイナリ"},
    {"longer_than_the_layout", [](const std::string& gcvs) { return gcvs.substr(0, 236) + "xxxx\r\n"; }, "1行目"},
};

class ImportRefusals : public ImportCommand, public ::testing::WithParamInterface<BadInput> {};

TEST_P(ImportRefusals, SayWhyAndWriteNothing) {
  const std::string gcvs = bytesOf(sample("gcvs5-awkward-lines.txt"));
  ASSERT_GT(gcvs.size(), 1000u);
  const auto input = dir_.write("input.txt", GetParam().bytes(gcvs));
  const auto r = runCli({"import", input.string(), "--to", out("out.vsd").string()});
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find(GetParam().mentions), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("何も書き出していません"), std::string::npos) << r.err;
  EXPECT_FALSE(std::filesystem::exists(out("out.vsd")));
  EXPECT_EQ(filesInFolder(), 1u);  // the input alone: no temporary file left
}

INSTANTIATE_TEST_SUITE_P(, ImportRefusals, ::testing::ValuesIn(kBadInputs),
                         [](const auto& info) { return std::string(info.param.caseName); });

TEST_F(ImportCommand, BadOptionsAreUsageMistakes) {
  const std::string in = sample("gcvs5-awkward-lines.txt");
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"import", in},
        {"import", in, "--to", "x.vsd", "--format", "excel"},
        {"import", in, "--to", "x.vsd", "--brighter", "bright"},
        {"import", in, "--to", "x.vsd", "--dec-above", "10", "--visible-from", "自宅"},
        {"import", in, "--to", "x.vsd", "--format", "table"},
        {"import", in, "--to", "x.vsd", "--columns", "name=a,ra=b"}}) {
    const auto r = runCli(args);
    EXPECT_EQ(r.status, 2) << args.back();
    EXPECT_FALSE(r.err.empty());
  }
}

TEST_F(ImportCommand, VisibleFromASiteKeepsStarsThatRiseThere) {
  ASSERT_EQ(runCli({"sites", "add", "Tromsø", "--lon", "18.96", "--lat", "69.65", "--tz", "Europe/Oslo"}).status, 0);
  const auto r = runCli({"import", sample("gcvs5-awkward-lines.txt"), "--to", out("north.vsd").string(),
                         "--visible-from", "Tromsø", "--format", "json"});
  ASSERT_EQ(r.status, 0) << r.err;
  const StarFileReadResult written = readStarFile(out("north.vsd"));
  ASSERT_TRUE(written.ok());
  // Above -20.35°: SS Crt (-17.9°) and OV Aqr (-19.4°) rise there, AW Gru (-48°) does not.
  EXPECT_EQ(written.count, 13);
  EXPECT_EQ(nlohmann::json::parse(r.out)["filtered"]["declination"], 1);
  EXPECT_NE(runCli({"import", sample("gcvs5-awkward-lines.txt"), "--to", out("x.vsd").string(), "--visible-from",
                    "どこにもない"})
                .status,
            0);
  EXPECT_FALSE(std::filesystem::exists(out("x.vsd")));
}

TEST_F(ImportCommand, ManyStarsSplitIntoPartsOf1001) {
  // 2500 rows of a table with named columns.
  std::string table = "name,ra,dec,epoch,period\n";
  for (int i = 0; i < 2500; ++i) {
    table += "S" + std::to_string(i) + "," + std::to_string(i % 360) + ".5,10,2450000.5,1.25\n";
  }
  const auto input = dir_.write("many.csv", table);
  const auto whole = runCli({"import", input.string(), "--columns", "name=name,ra=ra,dec=dec,epoch=epoch,period=period",
                             "--to", out("all.vsd").string()});
  ASSERT_EQ(whole.status, 0) << whole.err;
  EXPECT_NE(whole.out.find("最初の 1001星だけ"), std::string::npos);
  EXPECT_EQ(readStarFile(out("all.vsd"), kPipeWriterWait, RecordLimit::none).count, 2500);
  const auto split = runCli({"import", input.string(), "--columns", "name=name,ra=ra,dec=dec,epoch=epoch,period=period",
                             "--to", out("part.vsd").string(), "--split"});
  ASSERT_EQ(split.status, 0) << split.err;
  EXPECT_EQ(readStarFile(out("part-001.vsd")).count, 1001);
  EXPECT_EQ(readStarFile(out("part-003.vsd")).count, 498);
}

TEST_F(ImportCommand, EditReplacesElementsAndKeepsABackup) {
  const auto file = out("sample.vsd");
  std::filesystem::copy_file(testing::sourceDir() / "data" / "sample.vsd", file);
  const std::string before = bytesOf(file);
  const auto r = runCli({"edit", file.string(), "--star", "RZ Cas", "--epoch", "2455000.1234", "--period", "1.1952"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(bytesOf(file.string() + "~"), before);
  const auto read = readStarFile(file);
  const auto index = findStar(read.records, "RZ Cas");
  ASSERT_TRUE(index);
  EXPECT_EQ(read.records[static_cast<std::size_t>(*index)].ganki, "2455000.1234");

  const std::string edited = bytesOf(file);
  const auto refused = runCli({"edit", file.string(), "--star", "RZ Cas", "--epoch", "soon", "--period", "1"});
  EXPECT_EQ(refused.status, 1);
  EXPECT_NE(refused.err.find("元期"), std::string::npos);
  EXPECT_EQ(bytesOf(file), edited);
  EXPECT_EQ(runCli({"edit", file.string(), "--star", "RZ Cas"}).status, 2);
}

}  // namespace
}  // namespace tenmirel
