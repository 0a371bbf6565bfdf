// tenmirel-cli list and today: the two spreadsheet lists of the window, driven
// through the same form model and list logic, printed as text or CSV, or
// written as an .xlsx file by the window's own writer.
#include <memory>

#include "catalogue/star_file.h"
#include "cli/catalogue_option.h"
#include "cli/cli.h"
#include "cli/cli_args.h"
#include "cli/default_application.h"
#include "cli/plain_scan.h"
#include "cli/site_option.h"
#include "cli/terminal_text.h"
#include "cli/text_table.h"
#include "common/number_text.h"
#include "common/utf8_bom.h"
#include "lists/frm_excel_model.h"
#include "lists/message_gate.h"
#include "lists/today_list.h"
#include "sheet/memory_sheet.h"
#include "sheet/xlsx_component.h"

namespace tenmirel::cli {
namespace {

constexpr int kMaxCountOption = 10000;
constexpr int kLastHour = 23;

void printListHelp(std::ostream& out) {
  out << "使い方: tenmirel-cli list --catalogue FILE --star NAME|INDEX --from \"YYYY-MM-DD[ HH:MM]\"\n"
         "                         [--count N] [--hide-hours FROM-TO] [--min-altitude DEG]\n"
         "                         [--xlsx PATH [--open] | --csv [--bom]]\n"
         "\n"
         "指定回数予報：基準日時より後の極を N 回分、時間制限と高度制限をかけて一覧にします。\n"
         "観測地は既定で東経139°00′・北緯35°、日時はすべてその観測地の地方時（既定は世界時＋9時間）です。\n"
         "\n"
         "  --catalogue FILE      変光星データファイル（.vsd）。- で標準入力\n"
         "  --star NAME|INDEX     星の名前、または番号（tenmirel-cli stars の番号）\n"
         "  --from DATETIME       基準日時（地方時）。時刻を省くと 0時0分\n"
         "  --count N             何回帰分を予報するか（既定 10、100 を超えると 100 回）\n"
         "  --hide-hours FROM-TO  FROM 時から TO 時の前までの極を表示しない（例 8-20）\n"
         "  --min-altitude DEG    高度が DEG 度以下の極を表示しない\n"
         "  --xlsx PATH           表計算ファイル（.xlsx）に書き出す（同じ名前のファイルは置き換えます）\n"
         "  --open                書き出した表計算ファイルを既定のアプリケーションで開く\n"
         "  --csv                 桁をそろえた表の代わりに CSV（UTF-8）で出力する\n"
         "  --bom                 CSV の先頭に BOM を付ける（表計算ソフトで開くファイル向け）\n"
      << siteOptionsHelp()
      << "  --help                この説明\n"
         "\n"
         "例:\n"
         "  tenmirel-cli list --catalogue data/sample.vsd --star Algol --from 2026-12-07 --count 20 \\\n"
         "      --hide-hours 8-18 --min-altitude 20\n";
}

void printTodayHelp(std::ostream& out) {
  out << "使い方: tenmirel-cli today --catalogue FILE [--date YYYY-MM-DD] [--xlsx PATH [--open] | --csv [--bom]]\n"
         "\n"
         "今日の変光星：その日の観測夜（7時から翌朝6時59分まで、地方時）に極を迎える\n"
         "カタログの星をすべて一覧にします。夜半過ぎの極はその日の 24時〜30時として書きます。\n"
         "\n"
         "  --catalogue FILE   変光星データファイル（.vsd）。- で標準入力\n"
         "  --date YYYY-MM-DD  観測夜の日付（既定は今日、地方時）\n"
         "  --xlsx PATH        表計算ファイル（.xlsx）に書き出す（同じ名前のファイルは置き換えます）\n"
         "  --open             書き出した表計算ファイルを既定のアプリケーションで開く\n"
         "  --csv              桁をそろえた表の代わりに CSV（UTF-8）で出力する\n"
         "  --bom              CSV の先頭に BOM を付ける（表計算ソフトで開くファイル向け）\n"
      << siteOptionsHelp()
      << "  --help             この説明\n"
         "\n"
         "例:\n"
         "  tenmirel-cli today --catalogue data/sample.vsd --date 2026-12-07\n";
}

// Where the rows go: the sheet in memory for printing, or an .xlsx file.
struct Destination {
  MemorySheet memory;
  DefaultApplication opener;
  std::unique_ptr<XlsxFileComponent> file;
  SheetOutput output() { return file ? SheetOutput{*file, file.get()} : SheetOutput{memory, nullptr}; }
  // A command-line user asked for a file at a path; it is opened only on --open.
  void writeTo(const std::string& path, bool open) {
    XlsxFileSettings settings;
    settings.exactPath = path;
    settings.openWhenShown = open;
    settings.opener = &opener;
    file = std::make_unique<XlsxFileComponent>(settings);
  }
};

// Which cells of a list came from the catalogue (names, elements) rather than
// from the calculation.
using CatalogueCells = bool (*)(int row, int column);

void printCsv(const MemorySheet& sheet, std::ostream& out, CatalogueCells fromCatalogue) {
  for (int row = 1; row <= sheet.rowCount(); ++row) {
    for (int column = 1; column <= sheet.columnCount(); ++column) {
      if (column > 1) out << ',';
      const std::string& text = sheet.text(row, column);
      out << (fromCatalogue(row, column) ? csvTextFromCatalogue(text) : csvField(shownOnTerminal(text)));
    }
    out << '\n';
  }
}

constexpr int kTodayFirstDataRow = 2;
constexpr int kFixedCountStarRow = 2;
constexpr int kFixedCountStarColumns = 3;  // name, epoch, period
bool todayCatalogueCell(int row, int column) { return row >= kTodayFirstDataRow && column == 1; }
bool fixedCountCatalogueCell(int row, int column) {
  return row == kFixedCountStarRow && column <= kFixedCountStarColumns;
}

// Rows firstRow.. of the sheet as a table whose header is the row before them;
// the time parts and the altitude are aligned to the right so their digits line up.
void printTable(const MemorySheet& sheet, int headerRow, int firstAligned, int lastAligned, std::ostream& out) {
  const int columns = sheet.columnCount();
  std::vector<std::string> header;
  for (int column = 1; column <= columns; ++column) header.push_back(sheet.text(headerRow, column));
  TextTable table(header);
  for (int column = firstAligned; column <= lastAligned; ++column)
    table.alignRight(static_cast<std::size_t>(column - 1));
  for (int row = headerRow + 1; row <= sheet.rowCount(); ++row) {
    std::vector<std::string> cells;
    for (int column = 1; column <= columns; ++column) cells.push_back(shownOnTerminal(sheet.text(row, column)));
    table.addRow(cells);
  }
  table.print(out);
}

int reportFile(const Destination& destination, const std::string& command, std::ostream& out, std::ostream& err) {
  const std::optional<SavedFile> file = destination.file->lastFile();
  if (!file || !file->saved) {
    // The list has already shown why on the error stream.
    err << "tenmirel-cli " << command << ": 書き出せませんでした\n";
    return 1;
  }
  out << "表計算ファイル「" << file->path << "」に書き出しました。\n";
  return 0;
}

// "8-20" into the two hour positions.
bool parseHourBand(const std::string& text, int& from, int& to) {
  PlainScan scan(text);
  std::string_view first, second;
  scan.blanks();
  if (!scan.digits(1, 2, first)) return false;
  scan.blanks();
  if (!scan.take("-")) return false;
  scan.blanks();
  if (!scan.digits(1, 2, second)) return false;
  scan.blanks();
  if (!scan.atEnd()) return false;
  from = std::stoi(std::string(first));
  to = std::stoi(std::string(second));
  return from <= kLastHour && to <= kLastHour;
}

}  // namespace

int runList(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  const std::string command = "list";
  std::string error;
  const auto parsed = parseArgs(
      args, withSiteOptions({"--catalogue", "--star", "--from", "--count", "--hide-hours", "--min-altitude", "--xlsx"}),
      {"--help", "--csv", "--open", "--bom"}, error);
  if (!parsed) return usageError(err, command, error);
  if (parsed->flags.count("--help")) {
    printListHelp(out);
    return 0;
  }
  if (!parsed->positional.empty()) return usageError(err, command, "余分な引数「" + parsed->positional.front() + "」");
  for (const char* required : {"--catalogue", "--star", "--from"}) {
    if (!parsed->has(required)) return usageError(err, command, std::string(required) + " を指定してください");
  }
  if (parsed->has("--xlsx") && parsed->flags.count("--csv")) {
    return usageError(err, command, "--xlsx と --csv は同時に指定できません");
  }
  if (parsed->flags.count("--bom") && !parsed->flags.count("--csv")) {
    return usageError(err, command, "--bom は --csv と組で指定してください");
  }
  if (parsed->flags.count("--open") && !parsed->has("--xlsx")) {
    return usageError(err, command, "--open は --xlsx と組で指定してください");
  }
  const auto from = parseDateTime(parsed->get("--from"), TimePart::optional, error);
  if (!from) return usageError(err, command, error);
  const std::string count = parsed->get("--count", "10");
  if (!parseCount(count, 1, kMaxCountOption)) {
    return usageError(err, command, "--count は 1 から 10000 までの整数で指定してください");
  }
  int hideFrom = 0, hideTo = 0;
  if (parsed->has("--hide-hours") && !parseHourBand(parsed->get("--hide-hours"), hideFrom, hideTo)) {
    return usageError(err, command, "--hide-hours は \"FROM-TO\"（0〜23時、例 8-20）で指定してください");
  }
  if (parsed->has("--min-altitude") && !parseStrict(parsed->get("--min-altitude"))) {
    return usageError(err, command, "--min-altitude の値「" + parsed->get("--min-altitude") + "」は数ではありません");
  }

  FormSession session(err);
  FrmYohouModel& form = session.form;
  if (const std::optional<int> status = useSiteOptions(*parsed, parsed->get("--catalogue"), form, command, err)) {
    return *status;
  }
  form.Form_Load(std::chrono::system_clock::now());
  if (!loadCatalogue(session, parsed->get("--catalogue"), error) || !selectStar(form, parsed->get("--star"), error)) {
    err << "tenmirel-cli " << command << ": " << error << '\n';
    return 1;
  }
  form.typeReference(*from);

  Destination destination;
  if (parsed->has("--xlsx")) destination.writeTo(parsed->get("--xlsx"), parsed->flags.count("--open") != 0);
  FrmExcelModel dialog(form, destination.output());
  if (!mnuExcelNtime_Click(form, dialog)) return 1;
  dialog.txtTimes = count;
  if (parsed->has("--hide-hours")) {
    dialog.selectOption2();
    dialog.combo1ListIndex = hideFrom;
    dialog.combo2ListIndex = hideTo;
  }
  if (parsed->has("--min-altitude")) {
    dialog.selectOption4();
    dialog.text2 = parsed->get("--min-altitude");
  }
  const ListRunResult result = dialog.Command1_Click();
  if (result != ListRunResult::kWritten) return 1;
  if (destination.file) return reportFile(destination, command, out, err);
  if (parsed->flags.count("--csv")) {
    if (parsed->flags.count("--bom")) out << kUtf8ByteOrderMark;
    printCsv(destination.memory, out, fixedCountCatalogueCell);
  } else {
    const MemorySheet& sheet = destination.memory;
    out << sheet.text(1, 1) << "  " << shownOnTerminal(sheet.text(2, 1)) << "  " << sheet.text(1, 2) << " "
        << shownOnTerminal(sheet.text(2, 2)) << "  " << sheet.text(1, 3) << " " << shownOnTerminal(sheet.text(2, 3))
        << '\n';
    printTable(sheet, 4, 1, 6, out);
  }
  return 0;
}

int runToday(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  const std::string command = "today";
  std::string error;
  const auto parsed = parseArgs(args, withSiteOptions({"--catalogue", "--date", "--xlsx"}),
                                {"--help", "--csv", "--open", "--bom"}, error);
  if (!parsed) return usageError(err, command, error);
  if (parsed->flags.count("--help")) {
    printTodayHelp(out);
    return 0;
  }
  if (!parsed->positional.empty()) return usageError(err, command, "余分な引数「" + parsed->positional.front() + "」");
  if (!parsed->has("--catalogue")) return usageError(err, command, "--catalogue を指定してください");
  if (parsed->has("--xlsx") && parsed->flags.count("--csv")) {
    return usageError(err, command, "--xlsx と --csv は同時に指定できません");
  }
  if (parsed->flags.count("--bom") && !parsed->flags.count("--csv")) {
    return usageError(err, command, "--bom は --csv と組で指定してください");
  }
  if (parsed->flags.count("--open") && !parsed->has("--xlsx")) {
    return usageError(err, command, "--open は --xlsx と組で指定してください");
  }
  std::optional<DateTimeTexts> date;
  if (parsed->has("--date")) {
    date = parseDateTime(parsed->get("--date"), TimePart::forbidden, error);
    if (!date) return usageError(err, command, "--date: " + error);
  }

  FormSession session(err);
  FrmYohouModel& form = session.form;
  if (const std::optional<int> status = useSiteOptions(*parsed, parsed->get("--catalogue"), form, command, err)) {
    return *status;
  }
  form.Form_Load(std::chrono::system_clock::now());
  if (!loadCatalogue(session, parsed->get("--catalogue"), error)) {
    err << "tenmirel-cli " << command << ": " << error << '\n';
    return 1;
  }
  if (date) {
    form.txtInputYear = date->year;
    form.txtInputMonth = date->month;
    form.txtInputDay = date->day;
  }

  Destination destination;
  if (parsed->has("--xlsx")) destination.writeTo(parsed->get("--xlsx"), parsed->flags.count("--open") != 0);
  TodayList list(form, session.gate, destination.output());
  // A run the list refused (a night beyond the calendar) fails whatever it collected
  // before, in every format.
  if (!list.mnuExcelToday_Click()) return 1;
  if (list.buffers.todayCount == 0) return 0;
  if (destination.file) return reportFile(destination, command, out, err);
  if (parsed->flags.count("--csv")) {
    if (parsed->flags.count("--bom")) out << kUtf8ByteOrderMark;
    printCsv(destination.memory, out, todayCatalogueCell);
  } else {
    printTable(destination.memory, 1, 2, 7, out);
  }
  return 0;
}

}  // namespace tenmirel::cli
