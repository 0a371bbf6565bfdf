// Loading through the seam of the open dialog, and the main form's load command.
#include <gtest/gtest.h>

#include "catalogue/star_file.h"
#include "catalogue_text.h"
#include "common/number_text.h"
#include "prediction/frm_yohou_model.h"
#include "support/recording_ports.h"

namespace tenmirel {
namespace {

using testing::catalogueText;
using testing::numberedStars;
using testing::RecordingCheckWindow;
using testing::RecordingMessages;
using testing::recordLines;
using testing::ScriptedChooser;
using testing::TempDir;

const std::string kTwoStars = catalogueText({testing::zzExa(), testing::yySam()});

// --- LoadStarFile ---------------------------------------------------------

class LoadStarFileTest : public ::testing::Test {
 protected:
  int load(const std::string& bytes) {
    chooser.answers.push_back(dir.write("c.vsd", bytes).string());
    return LoadStarFile(chooser, messages, table);
  }
  void fillTableWithSentinels() {
    for (int i = 0; i < kStarTableRows; ++i) table[i] = testing::numberedStar(i, "Old");
  }
  void expectSentinelsKept() {
    for (int i = 0; i < kStarTableRows; ++i) {
      ASSERT_EQ(recordLines(table[i]), recordLines(testing::numberedStar(i, "Old"))) << "row " << i;
    }
  }

  TempDir dir;
  ScriptedChooser chooser;
  RecordingMessages messages;
  StarTable table;
};

TEST_F(LoadStarFileTest, OffersTheOneFilterAndFillsTheRows) {
  EXPECT_EQ(load(kTwoStars), 2);
  ASSERT_EQ(chooser.filtersSeen.size(), 1u);
  EXPECT_EQ(chooser.filtersSeen[0], "変光星ﾃﾞｰﾀﾌｧｲﾙ(*.vsd)|*.vsd");
  EXPECT_EQ(recordLines(table[0]), recordLines(testing::zzExa()));
  EXPECT_EQ(recordLines(table[1]), recordLines(testing::yySam()));
  EXPECT_EQ(recordLines(table[2]), std::vector<std::string>(9, ""));
  EXPECT_TRUE(messages.shown.empty());
}

TEST_F(LoadStarFileTest, CancelIsAQuietFailure) {
  fillTableWithSentinels();
  EXPECT_EQ(LoadStarFile(chooser, messages, table), 0);  // nothing queued: the user cancels
  EXPECT_EQ(chooser.filtersSeen.size(), 1u);
  EXPECT_TRUE(messages.shown.empty());
  expectSentinelsKept();
}

TEST_F(LoadStarFileTest, WrongMagicLineIsTheOnlyMessage) {
  fillTableWithSentinels();
  EXPECT_EQ(load("Quorrelith 1999 \r\n2\r\n"), 0);
  EXPECT_EQ(messages.shown, std::vector<std::string>{"Error!"});
  expectSentinelsKept();
}

TEST_F(LoadStarFileTest, EveryOtherFailureIsSilentAndTouchesNoRow) {
  fillTableWithSentinels();
  const std::string failing[] = {
      "",
      "Quorrelith 1999\r\n",
      "Quorrelith 1999\r\nabc\r\n",
      "Quorrelith 1999\r\n0\r\n",
      "Quorrelith 1999\r\n-1\r\n",
      "Quorrelith 1999\r\n2.5\r\n",
      catalogueText(numberedStars(1002)),
      kTwoStars.substr(0, kTwoStars.size() - 20),  // ends inside record 2, after record 1 was read
  };
  for (const auto& bytes : failing) EXPECT_EQ(load(bytes), 0);
  chooser.answers.push_back((dir.path() / "missing.vsd").string());
  EXPECT_EQ(LoadStarFile(chooser, messages, table), 0);
  chooser.answers.push_back(dir.path().string());
  EXPECT_EQ(LoadStarFile(chooser, messages, table), 0);
  EXPECT_TRUE(messages.shown.empty());
  expectSentinelsKept();
}

TEST_F(LoadStarFileTest, ReplacesOnlyTheRowsOfTheNewFile) {
  fillTableWithSentinels();
  EXPECT_EQ(load(kTwoStars), 2);
  EXPECT_EQ(recordLines(table[1]), recordLines(testing::yySam()));
  EXPECT_EQ(recordLines(table[2]), recordLines(testing::numberedStar(2, "Old")));
}

// --- the form's load command --------------------------------------------------

class LoadCommandTest : public ::testing::Test {
 protected:
  LoadCommandTest() : form(messages, checkWindow, chooser) {
    form.Form_Load(std::chrono::sys_days{std::chrono::year{2000} / 1 / 1});
  }
  void queue(const std::string& bytes, const std::string& name = "c.vsd") {
    chooser.answers.push_back(dir.write(name, bytes).string());
  }
  void setReference(const char* year, const char* month, const char* day, const char* hour, const char* minute) {
    form.typeReference({year, month, day, hour, minute});
  }

  TempDir dir;
  ScriptedChooser chooser;
  RecordingMessages messages;
  RecordingCheckWindow checkWindow;
  FrmYohouModel form;
};

TEST_F(LoadCommandTest, TwoStarExampleFillsSelectorAndFields) {
  queue(kTwoStars);
  form.Command1_Click();
  EXPECT_EQ(form.starCount, 2);
  EXPECT_EQ(form.combo1Items, (std::vector<std::string>{"ZZ Exa", "YY Sam", "手動入力"}));
  EXPECT_EQ(form.combo1ListIndex(), 0);
  EXPECT_EQ(form.txtGanki, "2451545.1234");
  EXPECT_EQ(form.txtSyuki, "0.7654321");
  EXPECT_EQ(form.lblMemo, "EA, min. 11.2");
  EXPECT_EQ(form.caption, "TenmirelVar1.5");
  EXPECT_TRUE(messages.shown.empty());
}

TEST_F(LoadCommandTest, MenuOpenLoadsAlike) {
  queue(kTwoStars);
  form.MenuOpen_Click();
  EXPECT_EQ(form.starCount, 2);
  EXPECT_EQ(form.caption, "TenmirelVar1.5");
}

TEST_F(LoadCommandTest, FailedFirstLoadKeepsTheStartState) {
  queue("Quorrelith 1999 \r\n1\r\n");
  form.Command1_Click();
  EXPECT_EQ(messages.shown, std::vector<std::string>{"Error!"});
  EXPECT_EQ(form.starCount, 0);
  EXPECT_EQ(form.combo1Items, std::vector<std::string>{"手動入力"});
  EXPECT_EQ(form.combo1ListIndex(), -1);
  EXPECT_EQ(form.caption, "Tenmirel");
}

TEST_F(LoadCommandTest, FailureAfterALoadChangesNothing) {
  queue(catalogueText(numberedStars(8, "Eight")), "eight.vsd");
  form.Command1_Click();
  form.setCombo1ListIndex(3);
  const auto items = form.combo1Items;
  const std::string ganki = form.txtGanki;
  // A file cut inside its third record, after two records would have been read.
  const std::string cut = catalogueText(numberedStars(5, "Five"));
  const std::string failing[] = {cut.substr(0, cut.size() / 2), "Quorrelith 1999\r\n-5\r\n", "Quorrelith 1999\r\n"};
  for (const auto& bytes : failing) {
    queue(bytes);
    form.Command1_Click();
    EXPECT_EQ(form.starCount, 8);
    EXPECT_EQ(form.combo1Items, items);
    EXPECT_EQ(form.combo1ListIndex(), 3);
    EXPECT_EQ(form.txtGanki, ganki);
    EXPECT_EQ(form.caption, "TenmirelVar1.5");
    for (int i = 0; i < 8; ++i) EXPECT_EQ(form.starTable[i].starName, "Eight " + std::to_string(i));
  }
  EXPECT_TRUE(messages.shown.empty());
}

TEST_F(LoadCommandTest, FiveStarsAfterEightKeepRowsFiveToSeven) {
  queue(catalogueText(numberedStars(8, "Eight")), "eight.vsd");
  form.Command1_Click();
  queue(catalogueText(numberedStars(5, "Five")), "five.vsd");
  form.Command1_Click();
  EXPECT_EQ(form.starCount, 5);
  EXPECT_EQ(form.combo1Items, (std::vector<std::string>{"Five 0", "Five 1", "Five 2", "Five 3", "Five 4", "手動入力"}));
  EXPECT_EQ(form.combo1ListIndex(), 0);
  EXPECT_EQ(form.txtGanki, "2450000.0");
  for (int i = 0; i < 5; ++i) EXPECT_EQ(recordLines(form.starTable[i]), recordLines(testing::numberedStar(i, "Five")));
  for (int i = 5; i < 8; ++i) EXPECT_EQ(recordLines(form.starTable[i]), recordLines(testing::numberedStar(i, "Eight")));
  // The manual-input entry copies the old row 5, as the window does.
  form.setCombo1ListIndex(5);
  EXPECT_EQ(form.txtGanki, "2450000.5");
  EXPECT_EQ(form.lblMemo, "Eight memo 5");
}

TEST_F(LoadCommandTest, CancelAfterALoadKeepsListSelectionAndManualPosition) {
  queue(kTwoStars);
  form.Command1_Click();
  form.setCombo1ListIndex(2);  // 手動入力
  form.txtGanki = "2451545.0";
  form.txtSyuki = "1.5";
  form.Command1_Click();  // nothing queued: cancelled
  EXPECT_EQ(form.starCount, 2);
  EXPECT_EQ(form.combo1Items, (std::vector<std::string>{"ZZ Exa", "YY Sam", "手動入力"}));
  EXPECT_EQ(form.combo1ListIndex(), 2);
  EXPECT_EQ(form.txtGanki, "2451545.0");
  setReference("2000", "1", "2", "9", "0");
  ASSERT_TRUE(form.Command2_Click());
  EXPECT_EQ(form.txtOutputKoudo, "？？？");  // still the manual-input entry
  EXPECT_EQ(form.alpha, 0);
  EXPECT_EQ(form.delta, 0);
  EXPECT_EQ(form.txtOutputKaiki, "1");
}

TEST_F(LoadCommandTest, CatalogueOf1001StarsPutsManualInputBeyondTheTable) {
  queue(catalogueText(numberedStars(1001)));
  form.Command1_Click();
  EXPECT_EQ(form.starCount, 1001);
  ASSERT_EQ(form.combo1Items.size(), 1002u);
  EXPECT_EQ(form.combo1Items[1000], "Star 1000");
  EXPECT_EQ(form.combo1Items[1001], "手動入力");
  form.setCombo1ListIndex(1000);
  EXPECT_EQ(form.txtGanki, "2450000.1000");
  ASSERT_TRUE(form.Command2_Click());
  EXPECT_NE(form.txtOutputKoudo, "？？？");
  form.setCombo1ListIndex(1001);  // no row: the fields are cleared
  EXPECT_EQ(form.txtGanki, "");
  EXPECT_EQ(form.lblMemo, "");
}

TEST_F(LoadCommandTest, CatalogueOf1002RecordsIsRefused) {
  queue(catalogueText(numberedStars(1002)));
  form.Command1_Click();
  EXPECT_EQ(form.starCount, 0);
  EXPECT_EQ(form.combo1Items, std::vector<std::string>{"手動入力"});
  EXPECT_TRUE(messages.shown.empty());
}

TEST_F(LoadCommandTest, PredictionOfACataloguedStarCarriesCoordinatesAndAltitude) {
  queue(kTwoStars);
  form.Command1_Click();
  setReference("2000", "1", "2", "9", "0");
  ASSERT_TRUE(form.Command2_Click());
  EXPECT_DOUBLE_EQ(form.alpha, (5 + 30.5 / 60) * 15);
  EXPECT_DOUBLE_EQ(form.delta, 12.25);
  EXPECT_EQ(form.txtOutputKoudo, numberToText(form.koudo));
  EXPECT_NE(form.txtOutputKoudo, "？？？");
}

TEST_F(LoadCommandTest, FalseWithZeroDegreesIsSouth) {
  StarRecord south{"South", "2451545.0", "1.5", "5", "30", "False", "0", "30", ""};
  StarRecord lower = south;
  lower.deltaSign = "false";
  queue(catalogueText({south, lower}));
  form.Command1_Click();
  setReference("2000", "1", "2", "9", "0");
  ASSERT_TRUE(form.Command2_Click());
  EXPECT_EQ(form.alpha, 82.5);
  EXPECT_EQ(form.delta, -0.5);
  form.setCombo1ListIndex(1);
  ASSERT_TRUE(form.Command2_Click());
  EXPECT_EQ(form.delta, 0.5);  // only "False" itself means south
}

TEST_F(LoadCommandTest, LfOnlyAndUtf8CataloguesLoadInTheWindowToo) {
  StarRecord star{"アルゴル", "2451545.0", "2.867", "3", "8.2", "True", "40", "57.3", "食変光星"};
  queue(catalogueText({star}, "\n"));
  form.Command1_Click();
  EXPECT_EQ(form.combo1Items, (std::vector<std::string>{"アルゴル", "手動入力"}));
  EXPECT_EQ(form.lblMemo, "食変光星");
}

}  // namespace
}  // namespace tenmirel
