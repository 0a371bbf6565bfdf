// data/sample.vsd: it loads, every star predicts, and it holds the reference
// list's numbers as they stand.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <sstream>

#include "catalogue/star_file.h"
#include "catalogue/text_decoding.h"
#include "common/number_text.h"
#include "prediction/frm_yohou_model.h"
#include "support/recording_ports.h"

namespace tenmirel {
namespace {

using testing::RecordingCheckWindow;
using testing::RecordingMessages;
using testing::ScriptedChooser;

constexpr int kSampleStars = 39;

std::filesystem::path samplePath() { return testing::sourceDir() / "data" / "sample.vsd"; }

TEST(SampleCatalogue, IsWrittenInCp932WithCrLf) {
  std::ifstream in(samplePath(), std::ios::binary);
  ASSERT_TRUE(in) << samplePath();
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_EQ(bytes.rfind("Quorrelith 1999\r\n39\r\n", 0), 0u);
  EXPECT_FALSE(isValidUtf8(bytes));  // Japanese memos in the Windows code page
  std::size_t bareLineFeeds = 0;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] == '\n' && (i == 0 || bytes[i - 1] != '\r')) ++bareLineFeeds;
  }
  EXPECT_EQ(bareLineFeeds, 0u);
}

TEST(SampleCatalogue, LoadsAndEveryStarPredicts) {
  RecordingMessages messages;
  RecordingCheckWindow checkWindow;
  ScriptedChooser chooser;
  FrmYohouModel form(messages, checkWindow, chooser);
  form.Form_Load(std::chrono::sys_days{std::chrono::year{2025} / 1 / 1});
  chooser.answers.push_back(samplePath().string());
  form.Command1_Click();
  ASSERT_EQ(form.starCount, kSampleStars);
  EXPECT_EQ(form.caption, "TenmirelVar1.5");
  EXPECT_EQ(form.combo1Items.back(), "手動入力");

  for (int i = 0; i < kSampleStars; ++i) {
    const std::string& name = form.combo1Items[static_cast<std::size_t>(i)];
    form.setCombo1ListIndex(i);
    EXPECT_NE(form.lblMemo.find("GCVS"), std::string::npos) << name;
    EXPECT_NE(form.lblMemo.find("等("), std::string::npos) << name;  // the range, in Japanese
    EXPECT_TRUE(isValidUtf8(form.lblMemo)) << name;
    EXPECT_EQ(form.lblMemo.find("\xEF\xBF\xBD"), std::string::npos) << name;  // nothing undecodable
    ASSERT_TRUE(form.Command2_Click()) << name;
    EXPECT_FALSE(form.txtOutputKoudo.empty()) << name;
    EXPECT_NE(form.txtOutputKoudo, "？？？") << name;
    EXPECT_GE(form.koudo, -90) << name;
    EXPECT_LE(form.koudo, 90) << name;
    EXPECT_FALSE(form.txtOutputYear.empty()) << name;
    EXPECT_GE(form.julKekka, form.julKijun) << name;
  }
  EXPECT_TRUE(messages.shown.empty());
}

std::vector<std::string> splitTabs(const std::string& line) {
  std::vector<std::string> fields;
  std::istringstream in(line);
  for (std::string field; std::getline(in, field, '\t');) fields.push_back(field);
  return fields;
}

// h m s (or ° ′ ″) to hours (degrees).
double sexagesimal(const std::string& text) {
  std::istringstream in(text);
  std::string whole;
  double minutes = 0, seconds = 0;
  in >> whole >> minutes >> seconds;
  const double value = std::abs(std::stod(whole)) + minutes / 60 + seconds / 3600;
  return whole.front() == '-' ? -value : value;
}

TEST(SampleCatalogue, HoldsTheReferenceValuesAsTheyStand) {
  const auto reference = testing::sourceDir() / "data" / "sample-stars.tsv";
  std::ifstream in(reference);
  ASSERT_TRUE(in) << "reference list missing: " << reference;
  const StarFileReadResult sample = readStarFile(samplePath());
  ASSERT_TRUE(sample.ok());

  std::string line;
  std::getline(in, line);  // header
  int row = 0;
  while (std::getline(in, line)) {
    if (line.empty()) continue;
    const auto fields = splitTabs(line);
    ASSERT_GE(fields.size(), 5u);
    ASSERT_LT(row, sample.count);
    const StarRecord& star = sample.records[static_cast<std::size_t>(row++)];
    EXPECT_EQ(star.starName, fields[0]);
    EXPECT_EQ(star.ganki, fields[1]);  // digit for digit
    EXPECT_EQ(star.syuki, fields[2]);
    const double hours = parseLenient(star.alphaHour) + parseLenient(star.alphaMin) / 60;
    EXPECT_NEAR(hours, sexagesimal(fields[3]), 1e-12) << star.starName;
    double degrees = parseLenient(star.deltaDeg) + parseLenient(star.deltaMin) / 60;
    if (star.deltaSign == "False") degrees = -degrees;
    EXPECT_NEAR(degrees, sexagesimal(fields[4]), 1e-12) << star.starName;
    EXPECT_NE(star.memo.find(fields[5]), std::string::npos) << star.starName;  // the GCVS type code
  }
  EXPECT_EQ(row, sample.count);
}

}  // namespace
}  // namespace tenmirel
