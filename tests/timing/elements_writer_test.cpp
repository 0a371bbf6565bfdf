#include "timing/elements_writer.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "catalogue/catalogue_writer.h"
#include "catalogue/memo_tokens.h"
#include "catalogue/star_file.h"

namespace tenmirel::timing {
namespace {

std::string fileText(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

class ElementsWriting : public testing::Test {
 protected:
  void SetUp() override {
    folder = std::filesystem::temp_directory_path() /
             ("tenmirel-elements-" + std::string(testing::UnitTest::GetInstance()->current_test_info()->name()));
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    catalogue = folder / "stars.vsd";
    std::ofstream(catalogue, std::ios::binary)
        << catalogueFileText({{"Algol", "2445641.5135", "2.8673043", "3", "8.2", "True", "40", "57",
                               "EA/SD D=10 σE0=1 σP=1 O−C(3点,1990–1991)"},
                              {"RZ Cas", "2443200.3063", "1.1952499", "2", "48.9", "True", "69", "38", "EA/SD"}});
    original = fileText(catalogue);
  }
  void TearDown() override { std::filesystem::remove_all(folder); }
  std::filesystem::path folder, catalogue;
  std::string original;
};

TEST_F(ElementsWriting, ReplacesOneStarAndKeepsTheOldFileAsBackup) {
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
  EXPECT_NE(replacement.memo.find("O−C(12点,1990–2025)"), std::string::npos);
  const MemoTokens tokens = readMemoTokens(replacement.memo);
  ASSERT_TRUE(tokens.fitErrors.has_value());
  EXPECT_DOUBLE_EQ(tokens.fitErrors->sigmaEpochDays, 0.00012);  // two significant digits
  EXPECT_DOUBLE_EQ(tokens.fitErrors->sigmaPeriodDays, 4e-7);
  EXPECT_DOUBLE_EQ(tokens.fitErrors->covarianceEpochPeriod, -1.2e-11);
  EXPECT_EQ(tokens.durationPercent, 10);

  CatalogueFileElementsWriter writer;
  ASSERT_EQ(writer.replaceElements(catalogue.string(), replacement), std::nullopt);
  EXPECT_EQ(fileText(catalogue.string() + "~"), original);
  const StarFileReadResult written = readStarFile(catalogue);
  ASSERT_TRUE(written.ok());
  ASSERT_EQ(written.count, 2);
  EXPECT_EQ(written.records[0].ganki, replacement.epoch);
  EXPECT_EQ(written.records[0].syuki, replacement.period);
  EXPECT_EQ(written.records[0].memo, replacement.memo);
  EXPECT_EQ(written.records[1].ganki, "2443200.3063");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), {}), 2);  // no temporary left
}

TEST_F(ElementsWriting, AnUnknownStarOrFileChangesNothing) {
  CatalogueFileElementsWriter writer;
  const auto refused = writer.replaceElements(catalogue.string(), {"Mira", "1", "2", ""});
  ASSERT_TRUE(refused.has_value());
  EXPECT_NE(refused->find("Mira"), std::string::npos);
  EXPECT_EQ(fileText(catalogue), original);
  EXPECT_FALSE(std::filesystem::exists(catalogue.string() + "~"));
  EXPECT_TRUE(writer.replaceElements((folder / "none.vsd").string(), {"Algol", "1", "2", ""}).has_value());
}

}  // namespace
}  // namespace tenmirel::timing
