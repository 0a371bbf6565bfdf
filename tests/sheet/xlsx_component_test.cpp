// The .xlsx writer: file names, never replacing, showing the file, failures,
// and both layouts read back by an independent reader (openpyxl).
#include "sheet/xlsx_component.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>

#include "lists/frm_excel_model.h"
#include "lists/list_fixture.h"
#include "lists/today_list.h"
#include "sheet/memory_sheet.h"
#include "sheet/openpyxl_read.h"
#include "sheet/os_file_adapter.h"
#include "sheet/recording_opener.h"
#include "sheet/sheet_files.h"
#include "sheet/workbook_check.h"

namespace tenmirel {
namespace {

using namespace std::chrono;
using testing::epochAtLocal;
using testing::star;

// 2026-12-07 12:30:00 UT, 21:30 at the site.
const system_clock::time_point kFixedNow = sys_days{year{2026} / 12 / 7} + hours(12) + minutes(30);

using testing::ReadSheet;

// Every cell of the first sheet, as openpyxl reads it.
ReadSheet readBack(const std::filesystem::path& file, int* sheetCount = nullptr) {
  const testing::ReadWorkbook workbook =
      testing::readWorkbookWithOpenpyxl(TENMIREL_PYTHON3, TENMIREL_SHEET_TEST_DIR, file);
  EXPECT_TRUE(workbook.read) << "openpyxl could not read " << file;
  if (sheetCount != nullptr) *sheetCount = workbook.sheets;
  return workbook.firstSheet;
}

// Compares the file with the cells the same list put into an in-memory sheet.
void expectSameCells(const ReadSheet& file, const MemorySheet& expected) {
  EXPECT_EQ(file.size(), expected.cells.size());
  for (const auto& [address, value] : expected.cells) {
    SCOPED_TRACE("row " + std::to_string(address.first) + " column " + std::to_string(address.second));
    auto found = file.find(address);
    ASSERT_NE(found, file.end());
    if (const auto* number = std::get_if<double>(&value)) {
      EXPECT_EQ(found->second.type, 'n');
      EXPECT_EQ(std::strtod(found->second.value.c_str(), nullptr), *number);
      EXPECT_EQ(found->second.format, kJulianDayCellFormat);
    } else {
      EXPECT_EQ(found->second.type, 's');
      EXPECT_EQ(found->second.value, std::get<std::string>(value));
    }
  }
}

std::vector<std::string> folderEntries(const std::filesystem::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) names.push_back(entry.path().filename());
  std::sort(names.begin(), names.end());
  return names;
}

class XlsxLists : public ::testing::Test, public testing::ListFixture {
 public:
  XlsxLists() {
    settings.documentsFolder = dir.path() / "Documents";
    settings.clock = [] { return kFixedNow; };
    settings.opener = &opener;
    load({star("ZZ Exa", epochAtLocal(2026, 12, 7, 21, 5), "1.7654321"),
          star("YY Sam", epochAtLocal(2026, 12, 8, 3, 0), "2.25"),
          star("ＡＢ Ｃｙｇ", epochAtLocal(2026, 12, 7, 7, 0), "400")});
    setReference("2026", "12", "7");
  }
  std::filesystem::path folder() const { return dir.path() / "Documents" / "Tenmirel"; }

  testing::RecordingOpener opener;
  XlsxFileSettings settings;
};

TEST(SheetFiles, NamesCarrySiteDateTimeListAndASuffixForRepeats) {
  EXPECT_EQ(sheetFileName(kFixedNow, "今日の変光星", 1), "2026-12-07_213000_今日の変光星.xlsx");
  EXPECT_EQ(sheetFileName(kFixedNow + seconds(5), "指定回数予報", 1), "2026-12-07_213005_指定回数予報.xlsx");
  EXPECT_EQ(sheetFileName(kFixedNow + hours(3), "今日の変光星", 2), "2026-12-08_003000_今日の変光星 (2).xlsx");
}

TEST(SheetFiles, FileErrorsAreDescribedInJapanese) {
  EXPECT_EQ(describeFileError(EACCES), "書き込みの権限がありません");
  EXPECT_EQ(describeFileError(ENOSPC), "ディスクの空き容量が足りません");
  EXPECT_EQ(describeFileError(EROFS), "読み取り専用の場所には書き込めません");
  EXPECT_EQ(describeFileError(ENOENT), "保存先のフォルダがありません");
  EXPECT_EQ(describeFileError(12345), "システムのエラー番号 12345");
}

TEST(SheetFiles, DocumentsFolderFromTheEnvironment) {
  const char* savedXdg = std::getenv("XDG_DOCUMENTS_DIR");
  const char* savedHome = std::getenv("HOME");
  const std::string xdg = savedXdg ? savedXdg : "", home = savedHome ? savedHome : "";
  ::setenv("XDG_DOCUMENTS_DIR", "/data/書類", 1);
  EXPECT_EQ(defaultDocumentsFolder(), std::filesystem::path("/data/書類"));
  ::unsetenv("XDG_DOCUMENTS_DIR");
  ::setenv("HOME", "/home/kansoku", 1);
  EXPECT_EQ(defaultDocumentsFolder(), std::filesystem::path("/home/kansoku/Documents"));
  ::unsetenv("HOME");
  EXPECT_EQ(defaultDocumentsFolder(), std::nullopt);
  if (savedXdg) ::setenv("XDG_DOCUMENTS_DIR", xdg.c_str(), 1);
  if (savedHome) ::setenv("HOME", home.c_str(), 1);
}

TEST_F(XlsxLists, TodaysListReadsBackCellForCell) {
  MemorySheet memory;
  TodayList inMemory(form, gate, SheetOutput{memory});
  inMemory.mnuExcelToday_Click();
  ASSERT_EQ(inMemory.buffers.todayCount, 3);

  XlsxFileComponent files(settings);
  TodayList toFile(form, gate, SheetOutput{files, &files});
  toFile.mnuExcelToday_Click();
  const auto file = folder() / "2026-12-07_213000_今日の変光星.xlsx";
  ASSERT_EQ(folderEntries(folder()), std::vector<std::string>{file.filename()});
  EXPECT_EQ(opener.opened, std::vector<std::string>{file.string()});
  int sheets = 0;
  const ReadSheet cells = readBack(file, &sheets);
  EXPECT_EQ(sheets, 1);
  expectSameCells(cells, memory);
  // A few cells spelt out: padding, the late hour, the degree sign, full-width names.
  EXPECT_EQ(cells.at({1, 7}).value, "高度");
  EXPECT_EQ(cells.at({2, 1}).value, "ZZ Exa");
  EXPECT_EQ(cells.at({2, 6}).value, "  5分");
  EXPECT_EQ(cells.at({3, 5}).value, "27時");
  EXPECT_EQ(cells.at({4, 1}).value, "ＡＢ Ｃｙｇ");
  EXPECT_EQ(cells.at({4, 5}).value, "  7時");
  EXPECT_EQ(cells.at({4, 7}).value.substr(cells.at({4, 7}).value.size() - 2), "°");
  EXPECT_EQ(boxes.shown, (std::vector<std::string>{kTodayListDoneMessage, kTodayListDoneMessage}));
}

TEST_F(XlsxLists, FixedCountListReadsBackCellForCellWithTheJulianDayAsANumber) {
  form.setCombo1ListIndex(1);
  MemorySheet memory;
  FrmExcelModel inMemory(form, SheetOutput{memory});
  ASSERT_TRUE(mnuExcelNtime_Click(form, inMemory));
  inMemory.txtTimes = "12";
  ASSERT_EQ(inMemory.Command1_Click(), ListRunResult::kWritten);

  XlsxFileComponent files(settings);
  FrmExcelModel toFile(form, SheetOutput{files, &files});
  ASSERT_TRUE(mnuExcelNtime_Click(form, toFile));
  toFile.txtTimes = "12";
  ASSERT_EQ(toFile.Command1_Click(), ListRunResult::kWritten);
  const auto file = folder() / "2026-12-07_213000_指定回数予報.xlsx";
  const ReadSheet cells = readBack(file);
  expectSameCells(cells, memory);
  EXPECT_EQ(cells.size(), 14u + 12u * 8u);
  EXPECT_EQ(cells.at({2, 1}).value, "YY Sam");
  EXPECT_EQ(cells.at({2, 3}).value, "2.25");
  EXPECT_EQ(cells.at({4, 8}).value, "ﾕﾘｳｽ日");
  EXPECT_EQ(cells.at({5, 4}).value, "  3時");
  EXPECT_EQ(cells.at({5, 7}).value, "第0回帰");
  EXPECT_EQ(cells.at({5, 8}).type, 'n');
  EXPECT_EQ(cells.at({5, 8}).format, "0.00000");
  EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(XlsxLists, NeverReplacesAFileAndLeavesNoTemporaryFiles) {
  std::filesystem::create_directories(folder());
  const auto first = folder() / "2026-12-07_213000_今日の変光星.xlsx";
  { std::ofstream(first) << "the user's own file"; }
  XlsxFileComponent files(settings);
  TodayList toFile(form, gate, SheetOutput{files, &files});
  toFile.mnuExcelToday_Click();
  toFile.mnuExcelToday_Click();
  EXPECT_EQ(folderEntries(folder()), (std::vector<std::string>{"2026-12-07_213000_今日の変光星 (2).xlsx",
                                                               "2026-12-07_213000_今日の変光星 (3).xlsx",
                                                               "2026-12-07_213000_今日の変光星.xlsx"}));
  std::ifstream kept(first);
  std::string content;
  std::getline(kept, content);
  EXPECT_EQ(content, "the user's own file");
  EXPECT_EQ(readBack(folder() / "2026-12-07_213000_今日の変光星 (3).xlsx").size(), 7u + 3u * 7u);
}

TEST_F(XlsxLists, WhenNoApplicationOpensTheFileTheUserIsToldWhereItIs) {
  opener.succeeds = false;
  XlsxFileComponent files(settings);
  TodayList toFile(form, gate, SheetOutput{files, &files});
  toFile.mnuExcelToday_Click();
  const auto file = folder() / "2026-12-07_213000_今日の変光星.xlsx";
  // One box ends the run: the closing message, then where the file is.
  EXPECT_EQ(boxes.shown, (std::vector<std::string>{std::string(kTodayListDoneMessage) +
                                                   "\n表計算ファイルを開くアプリケーションが見つかりませんでした。"
                                                   "ファイルは「" +
                                                   file.string() + "」に保存されています。"}));
}

TEST_F(XlsxLists, AFixedCountRunWithoutRowsSaysSoAndWhereTheHeaderOnlySheetIs) {
  opener.succeeds = false;
  XlsxFileComponent files(settings);
  FrmExcelModel toFile(form, SheetOutput{files, &files});
  ASSERT_TRUE(mnuExcelNtime_Click(form, toFile));
  toFile.txtTimes = "abc";
  EXPECT_EQ(toFile.Command1_Click(), ListRunResult::kWritten);
  const auto file = folder() / "2026-12-07_213000_指定回数予報.xlsx";
  EXPECT_EQ(readBack(file).size(), 3u + 3u + 8u);  // the star block and the column titles
  EXPECT_EQ(
      boxes.shown,
      (std::vector<std::string>{"回数「abc」が１回に満たないため、表には見出しだけを書き、予報は１行も書いていません。"
                                "回数には１から１００までの数を入力してください。\n"
                                "表計算ファイルを開くアプリケーションが見つかりませんでした。ファイルは「" +
                                file.string() + "」に保存されています。"}));
  // With rows written, the location stands alone.
  boxes.shown.clear();
  toFile.txtTimes = "2";
  EXPECT_EQ(toFile.Command1_Click(), ListRunResult::kWritten);
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(boxes.shown[0].rfind("表計算ファイルを開くアプリケーションが見つかりませんでした。", 0), 0u);
}

TEST_F(XlsxLists, AFailedSaveEndsTheFixedCountRunWithAMessage) {
  settings.documentsFolder.reset();
  XlsxFileComponent files(settings);
  FrmExcelModel toFile(form, SheetOutput{files, &files});
  ASSERT_TRUE(mnuExcelNtime_Click(form, toFile));
  EXPECT_EQ(toFile.Command1_Click(), ListRunResult::kWriteFailed);
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(boxes.shown[0],
            "表計算ファイル「~/Documents/Tenmirel/2026-12-07_213000_指定回数予報.xlsx」を保存できませんでした。"
            "文書フォルダが見つかりません（環境変数 HOME が設定されていません）。");
  EXPECT_TRUE(opener.opened.empty());
}

TEST_F(XlsxLists, AnExactPathIsReplacedAndAMissingFolderIsAFailure) {
  settings.exactPath = dir.path() / "out.xlsx";
  { std::ofstream(*settings.exactPath) << "old"; }
  XlsxFileComponent files(settings);
  TodayList toFile(form, gate, SheetOutput{files, &files});
  toFile.mnuExcelToday_Click();
  EXPECT_EQ(readBack(*settings.exactPath).size(), 7u + 3u * 7u);
  EXPECT_TRUE(std::filesystem::exists(dir.path() / "stars.vsd"));

  boxes.shown.clear();
  XlsxFileSettings missing = settings;
  missing.exactPath = dir.path() / "no-such-folder" / "out.xlsx";
  XlsxFileComponent nowhere(missing);
  TodayList toNowhere(form, gate, SheetOutput{nowhere, &nowhere});
  toNowhere.mnuExcelToday_Click();
  EXPECT_EQ(boxes.shown, std::vector<std::string>{"表計算ファイル「" + missing.exactPath->string() +
                                                  "」を保存できませんでした。保存先のフォルダがありません。"});
  // Nothing but the catalogue and the one written file remain: no temporary names.
  EXPECT_EQ(folderEntries(dir.path()), (std::vector<std::string>{"out.xlsx", "stars.vsd"}));
}

}  // namespace
}  // namespace tenmirel

namespace tenmirel {
namespace {

TEST(SheetFiles, EveryCommonFileErrorHasJapaneseWords) {
  struct Case {
    int number;
    const char* words;
  };
  for (const Case& c : {Case{EISDIR, "同じ名前のフォルダがあります"}, Case{EFBIG, "ファイルが大きすぎます"},
                        Case{EMFILE, "開いているファイルが多すぎます"}, Case{EBADF, "書き込み先が開かれていません"},
                        Case{EPIPE, "書き込み先が閉じられました"}}) {
    EXPECT_EQ(describeFileError(c.number), c.words);
  }
  // The rarer ones in the system's words, with the number.
  EXPECT_NE(describeFileError(ENOTEMPTY).find("（エラー番号 " + std::to_string(ENOTEMPTY) + "）"), std::string::npos);
}

TEST(SheetFiles, OneDocumentsFolderRuleForBothPrograms) {
  const char* savedXdg = std::getenv("XDG_DOCUMENTS_DIR");
  const char* savedHome = std::getenv("HOME");
  const std::string xdg = savedXdg ? savedXdg : "", home = savedHome ? savedHome : "";
  ::setenv("HOME", "/home/kansoku", 1);
  ::setenv("XDG_DOCUMENTS_DIR", "/data/書類", 1);
  EXPECT_EQ(documentsFolder("/home/kansoku/ドキュメント"), std::filesystem::path("/data/書類"));
  ::unsetenv("XDG_DOCUMENTS_DIR");
  EXPECT_EQ(documentsFolder("/home/kansoku/ドキュメント"), std::filesystem::path("/home/kansoku/ドキュメント"));
  EXPECT_EQ(documentsFolder(""), std::filesystem::path("/home/kansoku/Documents"));
  if (savedXdg) ::setenv("XDG_DOCUMENTS_DIR", xdg.c_str(), 1);
  if (savedHome) ::setenv("HOME", home.c_str(), 1);
}

TEST(WorkbookCheck, OnlyACompleteArchiveCounts) {
  testing::TempDir dir;
  XlsxFileSettings settings;
  settings.exactPath = dir.path() / "good.xlsx";
  XlsxFileComponent files(settings);
  ASSERT_EQ(files.create(kSpreadsheetClassName).error, 0);
  const ObjectRef workbook = files.addWorkbook(ObjectRef{1}).object;
  const ObjectRef sheet = files.activeSheet(workbook).object;
  ASSERT_EQ(files.setCell(sheet, 1, 1, std::string("ZZ Exa")), 0);
  ASSERT_EQ(files.release(workbook), 0);
  const std::string good = dir.path() / "good.xlsx";
  EXPECT_EQ(checkWorkbookFile(good), "");

  std::ifstream in(good, std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  // An archive of empty parts, as libxlsxwriter packs when its temporary files could not be written.
  const auto emptyParts = dir.path() / "empty-parts.xlsx";
  const std::string script =
      std::string(TENMIREL_PYTHON3) +
      " -c 'import sys, zipfile\n"
      "z = zipfile.ZipFile(sys.argv[1], \"w\")\n"
      "for n in [\"[Content_Types].xml\", \"_rels/.rels\", \"docProps/core.xml\", "
      "\"xl/workbook.xml\", \"xl/styles.xml\", \"xl/worksheets/sheet1.xml\"]: z.writestr(n, \"\")\n"
      "z.close()' '" +
      emptyParts.string() + "'";
  ASSERT_EQ(std::system(script.c_str()), 0);
  const std::map<std::string, std::string> broken = {
      {"empty.xlsx", ""},
      {"cut.xlsx", bytes.substr(0, bytes.size() / 2)},
      {"no-end.xlsx", bytes.substr(0, bytes.size() - 10)},
      {"not-zip.xlsx", std::string(4096, 'x')},
  };
  for (const auto& [name, content] : broken) {
    EXPECT_NE(checkWorkbookFile(dir.write(name, content)), "") << name;
  }
  EXPECT_EQ(checkWorkbookFile(emptyParts),
            "書き出したファイルが不完全です（ディスクの空き容量が足りない可能性があります）。");
}

TEST(XlsxCells, ANulDoesNotCutACellShort) {
  testing::TempDir dir;
  XlsxFileSettings settings;
  settings.exactPath = dir.path() / "nul.xlsx";
  XlsxFileComponent files(settings);
  ASSERT_EQ(files.create(kSpreadsheetClassName).error, 0);
  const ObjectRef workbook = files.addWorkbook(ObjectRef{1}).object;
  const ObjectRef sheet = files.activeSheet(workbook).object;
  ASSERT_EQ(files.setCell(sheet, 1, 1, std::string("ZZ\0Exa", 6)), 0);
  ASSERT_EQ(files.release(workbook), 0);
  const ReadSheet cells = readBack(dir.path() / "nul.xlsx");
  ASSERT_EQ(cells.count({1, 1}), 1u);
  EXPECT_EQ(cells.at({1, 1}).value,
            "ZZ\xEF\xBF\xBD"
            "Exa");
}

}  // namespace
}  // namespace tenmirel
