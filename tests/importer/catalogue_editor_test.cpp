// The catalogue editing core: each change checked as the import checks, the
// save atomic with the former file kept as NAME.vsd~, and the one call that
// replaces a star's elements.
#include "importer/catalogue_editor.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "catalogue/star_file.h"
#include "importer/atomic_file.h"
#include "importer/record_checks.h"
#include "sample_lines.h"

namespace tenmirel::importer {
namespace {

class CatalogueEditing : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = std::filesystem::temp_directory_path() /
              ("tenmirel-editor-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    std::filesystem::remove_all(folder_);
    std::filesystem::create_directories(folder_);
    file_ = folder_ / "sample.vsd";
    std::filesystem::copy_file(testing::sourceDir() / "data" / "sample.vsd", file_);
  }
  void TearDown() override { std::filesystem::remove_all(folder_); }
  std::filesystem::path folder_;
  std::filesystem::path file_;
};

StarRecord goodStar() { return {"新星 X", "2450000.5", "0.5", "12", "30.5", "False", "5", "59", "EA 元期:極小"}; }

struct RefusedEdit {
  const char* caseName;
  StarRecord (*make)();
  const char* mentions;
};

const RefusedEdit kRefused[] = {
    {"negative_period",
     [] {
       auto s = goodStar();
       s.syuki = "-1";
       return s;
     },
     "周期"},
    {"epoch_not_a_number",
     [] {
       auto s = goodStar();
       s.ganki = "2450000,5";
       return s;
     },
     "元期"},
    {"hour_24",
     [] {
       auto s = goodStar();
       s.alphaHour = "24";
       return s;
     },
     "赤経"},
    {"minutes_60",
     [] {
       auto s = goodStar();
       s.alphaMin = "60";
       return s;
     },
     "赤経"},
    {"beyond_the_pole",
     [] {
       auto s = goodStar();
       s.deltaDeg = "90";
       s.deltaMin = "1";
       return s;
     },
     "赤緯"},
    {"sign_neither_true_nor_false",
     [] {
       auto s = goodStar();
       s.deltaSign = "-";
       return s;
     },
     "符号"},
    {"name_without_cp932_form",
     [] {
       auto s = goodStar();
       s.starName = "Star ☃";
       return s;
     },
     "CP932"},
    {"memo_too_long",
     [] {
       auto s = goodStar();
       s.memo = std::string(200, 'x') + std::string(40, 'y') + "食変光星食変光星";
       return s;
     },
     "メモが長すぎ"},
    {"line_break_in_memo",
     [] {
       auto s = goodStar();
       s.memo = "EA\r\nx";
       return s;
     },
     "改行"},
    {"duplicate_name",
     [] {
       auto s = goodStar();
       s.starName = "RZ Cas";
       return s;
     },
     "もうあります"},
};

class RefusedEdits : public CatalogueEditing, public ::testing::WithParamInterface<RefusedEdit> {};

TEST_P(RefusedEdits, ChangeNothing) {
  auto editor = CatalogueEditor::open(file_);
  ASSERT_TRUE(editor.ok()) << editor.message();
  CatalogueEditor edited = *editor;
  const auto before = edited.stars();
  const Refusal refusal = edited.add(GetParam().make());
  ASSERT_TRUE(refusal);
  EXPECT_NE(refusal->find(GetParam().mentions), std::string::npos) << *refusal;
  EXPECT_EQ(edited.stars().size(), before.size());
  EXPECT_FALSE(edited.modified());
}

INSTANTIATE_TEST_SUITE_P(, RefusedEdits, ::testing::ValuesIn(kRefused),
                         [](const auto& info) { return std::string(info.param.caseName); });

TEST_F(CatalogueEditing, AddMoveDeleteAndSaveKeepsABackup) {
  const std::string original = testing::fileText(file_);
  auto opened = CatalogueEditor::open(file_);
  ASSERT_TRUE(opened.ok());
  CatalogueEditor editor = *opened;
  ASSERT_EQ(editor.stars().size(), 39u);
  ASSERT_FALSE(editor.add(goodStar(), 0));
  ASSERT_FALSE(editor.move(0, 5));
  ASSERT_FALSE(editor.remove(*editor.find("U Cep")));
  EXPECT_TRUE(editor.modified());
  ASSERT_FALSE(editor.save());
  EXPECT_FALSE(editor.modified());

  EXPECT_EQ(testing::fileText(backupPath(file_)), original);
  const StarFileReadResult saved = readStarFile(file_);
  ASSERT_TRUE(saved.ok());
  ASSERT_EQ(saved.count, 39);
  EXPECT_EQ(saved.records[4].starName, "新星 X");  // U Cep, before it, is gone
  EXPECT_EQ(saved.records[0].starName, "TV Cas");
  EXPECT_FALSE(findStar(saved.records, "U Cep"));
  // Every other record is as it was, memo included.
  const StarFileReadResult backup = readStarFile(backupPath(file_));
  EXPECT_EQ(saved.records[5].memo, backup.records[5].memo);
  EXPECT_EQ(saved.records.back().ganki, backup.records.back().ganki);
}

TEST_F(CatalogueEditing, ReplaceElementsOfANamedStar) {
  ASSERT_FALSE(
      replaceStarElements(file_, "RZ Cas", {"2455000.12345", "1.19525", "EA/SD 元期:極小 σE0=0.0001 σP=1e-07"}));
  const StarFileReadResult saved = readStarFile(file_);
  ASSERT_TRUE(saved.ok());
  const auto index = findStar(saved.records, "RZ Cas");
  ASSERT_TRUE(index);
  EXPECT_EQ(saved.records[static_cast<std::size_t>(*index)].ganki, "2455000.12345");
  EXPECT_EQ(saved.records[static_cast<std::size_t>(*index)].syuki, "1.19525");
  EXPECT_TRUE(std::filesystem::exists(backupPath(file_)));

  const std::string before = testing::fileText(file_);
  const Refusal missing = replaceStarElements(file_, "No Such Star", {"2455000", "1", std::nullopt});
  ASSERT_TRUE(missing);
  EXPECT_NE(missing->find("No Such Star"), std::string::npos);
  const Refusal bad = replaceStarElements(file_, "RZ Cas", {"2455000", "0", std::nullopt});
  ASSERT_TRUE(bad);
  EXPECT_EQ(testing::fileText(file_), before);
}

}  // namespace
}  // namespace tenmirel::importer
