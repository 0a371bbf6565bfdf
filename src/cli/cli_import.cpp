// tenmirel-cli import FILE --to OUT.vsd: the stars of a catalogue observers
// download (GCVS, VSX, any table), chosen by filters, written as a catalogue
// file; and tenmirel-cli edit FILE --star NAME: a star's elements replaced.
#include <cmath>
#include <fstream>
#include <iostream>

#include "cli/cli.h"
#include "cli/cli_args.h"
#include "cli/import_report.h"
#include "cli/site_option.h"
#include "common/number_text.h"
#include "importer/catalogue_editor.h"
#include "importer/catalogue_import.h"
#include "importer/vsd_output.h"
#include "sky/elements_settings.h"

namespace tenmirel::cli {
namespace {

constexpr const char* kImport = "import";
constexpr const char* kEdit = "edit";
constexpr int kExitFailure = 1;
constexpr double kFaintestMagnitude = 40;
constexpr double kRightAngleDegrees = 90;
constexpr double kLongestPeriodDays = 1e6;

void printImportHelp(std::ostream& out) {
  out << "使い方: tenmirel-cli import FILE --to OUT.vsd [--format 形式] [--format text|json]\n"
         "                           [--type EA,EB,EW,RR*] [--brighter MAG] [--dec-above DEG | --visible-from SITE]\n"
         "                           [--period-below DAYS] [--name PATTERN ...] [--split] [--force]\n"
         "                           [--columns name=列,ra=列,dec=列,epoch=列,period=列[,type=列]] [--readme ReadMe]\n"
         "                           [--release TEXT] [--elements jd|hjd|bjd]\n"
         "\n"
         "変光星カタログ（GCVS 5.1 の gcvs5.txt、GCVS の旧ウェブ形式、VSX の CSV・VizieR の vsx.dat・\n"
         "ウェブ API の JSON、列名を指定した CSV/TSV の表）から予報できる星を選び、変光星データファイル\n"
         "（.vsd、CP932、CR LF）に書き出します。周期か元期のない星などは理由をつけて報告します。\n"
         "\n"
         "  --to OUT.vsd         書き出すファイル（同じ名前のファイルは --force がなければ置き換えません）\n"
         "  --format 形式        入力の形式（既定は内容から判断）: gcvs5, gcvs-iii, vsx-csv, vsx-dat, vsx-json, table\n"
         "  --format text|json   報告の形式（既定 text）。入力の形式と両方指定するときは2回書きます\n"
         "  --type LIST          型（EA,EB,EW,RR* のように、* と ? が使えます）の星だけ\n"
         "  --brighter MAG       極大が MAG 等より明るい星だけ\n"
         "  --dec-above DEG      赤緯が DEG 度より北の星だけ\n"
         "  --visible-from SITE  登録した観測地 SITE で地平線より上に昇る星だけ\n"
         "  --period-below DAYS  周期が DAYS 日より短い星だけ\n"
         "  --name PATTERN       星名が PATTERN（* と ?、大文字小文字を区別しない）に合う星だけ（繰り返し可）\n"
         "  --split              1001星ずつの番号つきファイル（OUT-001.vsd …）に分けて書く\n"
         "  --force              同じ名前のファイルを置き換える\n"
         "  --columns LIST       表（table）の列名: name, ra, dec, epoch, period（type は任意）\n"
         "  --readme FILE        vsx.dat に付いている ReadMe（桁の表を読みます）\n"
         "  --release TEXT       メモの出典に添える版（例 2024-06）\n"
         "  --elements SYSTEM    書き出したファイルの元期の時刻系（既定: GCVS は JD、VSX は HJD）\n"
         "  --help               この説明\n"
         "\n"
         "終了状態: 0 書き出した、1 失敗（何も書いていません）、2 使い方の誤り\n"
         "\n"
         "例:\n"
         "  tenmirel-cli import gcvs5.txt --type EA,EB,EW --brighter 10 --visible-from 自宅 --to eclipsing.vsd\n";
}

void printEditHelp(std::ostream& out) {
  out << "使い方: tenmirel-cli edit FILE --star NAME --epoch JD --period DAYS [--memo TEXT]\n"
         "\n"
         "変光星データファイルの星の元期と周期（とメモ）を書き換えます。カタログ編集と同じ検査をし、\n"
         "元のファイルは FILE~ として残します。\n"
         "\n"
         "  --star NAME    星名（または一覧の番号、0から）\n"
         "  --epoch JD     新しい元期（ユリウス日）\n"
         "  --period DAYS  新しい周期（日）\n"
         "  --memo TEXT    新しいメモ（省くと今のまま）\n"
         "  --help         この説明\n"
         "\n"
         "終了状態: 0 書き換えた、1 失敗（ファイルはそのまま）、2 使い方の誤り\n";
}

// The values of an option that may be given more than once, taken out of args.
std::vector<std::string> takeRepeated(std::vector<std::string>& args, const std::string& name) {
  std::vector<std::string> values;
  std::vector<std::string> rest;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == name && i + 1 < args.size()) {
      values.push_back(args[++i]);
    } else if (args[i].rfind(name + "=", 0) == 0) {
      values.push_back(args[i].substr(name.size() + 1));
    } else {
      rest.push_back(args[i]);
    }
  }
  args = rest;
  return values;
}

}  // namespace

int runImport(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err) {
  std::vector<std::string> args = arguments;
  const std::vector<std::string> formats = takeRepeated(args, "--format");
  const std::vector<std::string> names = takeRepeated(args, "--name");
  std::string error;
  const auto parsed = parseArgs(args,
                                {"--to", "--type", "--brighter", "--dec-above", "--visible-from", "--period-below",
                                 "--columns", "--readme", "--release", kElementsOption},
                                {"--help", "--force", "--split"}, error, {"--to", "--readme"});
  if (!parsed) return usageError(err, kImport, error);
  if (parsed->flags.count("--help")) {
    printImportHelp(out);
    return 0;
  }
  if (parsed->positional.size() != 1)
    return usageError(err, kImport, "取り込むカタログのファイルを一つ指定してください");
  if (!parsed->has("--to")) return usageError(err, kImport, "--to で書き出すファイルを指定してください");

  importer::ImportSettings settings;
  std::string report = "text";
  for (const std::string& format : formats) {
    if (format == "text" || format == "json") {
      report = format;
    } else if (const auto input = importer::parseFormatKey(format)) {
      settings.read.format = input;
    } else {
      return usageError(err, kImport,
                        "--format「" + format.substr(0, kMaxOptionValueBytes) +
                            "」は gcvs5, gcvs-iii, vsx-csv, vsx-dat, vsx-json, table か text, json です");
    }
  }
  if (parsed->has("--columns")) {
    const auto columns = importer::parseColumnNames(parsed->get("--columns"));
    if (!columns) return usageError(err, kImport, "--columns: " + columns.message());
    settings.read.columns = *columns;
  }
  if (settings.read.format == importer::CatalogueFormat::delimited && !settings.read.columns.named()) {
    return usageError(err, kImport, "--format table には --columns で列名を指定してください");
  }
  if (parsed->has("--type")) settings.filter.types = importer::patternList(parsed->get("--type"));
  if (parsed->has("--brighter")) {
    settings.filter.brighterThan = numberOption(*parsed, "--brighter", -kFaintestMagnitude, kFaintestMagnitude, error);
    if (!settings.filter.brighterThan) return usageError(err, kImport, error);
  }
  if (parsed->has("--dec-above") && parsed->has("--visible-from")) {
    return usageError(err, kImport, "--dec-above と --visible-from は同時に指定できません");
  }
  if (parsed->has("--dec-above")) {
    settings.filter.decAbove = numberOption(*parsed, "--dec-above", -kRightAngleDegrees, kRightAngleDegrees, error);
    if (!settings.filter.decAbove) return usageError(err, kImport, error);
  }
  if (parsed->has("--visible-from")) {
    ParsedArgs site;
    site.options["--site"] = parsed->get("--visible-from");
    const OptionChoice<sky::Site> chosen = siteFromOptions(site);
    if (!chosen.value) {
      err << "tenmirel-cli " << kImport << ": " << chosen.error << '\n';
      return chosen.usageMistake ? usageError(err, kImport, "--visible-from") : kExitFailure;
    }
    importer::limitToVisibleFrom(settings.filter, chosen.value->latitudeDegrees);
  }
  if (parsed->has("--period-below")) {
    settings.filter.periodBelow = numberOption(*parsed, "--period-below", 0, kLongestPeriodDays, error);
    if (!settings.filter.periodBelow) return usageError(err, kImport, error);
  }
  settings.filter.names = names;
  settings.release = parsed->get("--release");
  if (settings.release.find_first_of(" \t") != std::string::npos) {
    return usageError(err, kImport, "--release には空白を含めないでください");
  }
  std::optional<sky::ElementsTime> elements;
  if (parsed->has(kElementsOption)) {
    elements = sky::parseElementsTime(parsed->get(kElementsOption));
    if (!elements) return usageError(err, kImport, "--elements は jd、hjd、bjd のどれかです");
  }
  if (parsed->has("--readme")) {
    std::ifstream readMe(parsed->get("--readme"));
    if (!readMe) {
      err << "tenmirel-cli " << kImport << ": ReadMe「" << parsed->get("--readme") << "」を開けません。\n";
      return kExitFailure;
    }
    auto layout = importer::readVsxDatReadMe(readMe);
    if (!layout) {
      err << "tenmirel-cli " << kImport << ": " << layout.message() << '\n';
      return kExitFailure;
    }
    settings.read.datLayout = *layout;
  }

  const std::string input = parsed->positional.front();
  std::ifstream file;
  std::istream* in = &std::cin;
  if (input != "-") {
    std::error_code code;
    if (std::filesystem::is_directory(input, code)) {
      err << "tenmirel-cli " << kImport << ": 「" << input << "」はフォルダです。\n";
      return kExitFailure;
    }
    file.open(input, std::ios::binary);
    if (!file) {
      err << "tenmirel-cli " << kImport << ": 「" << input
          << "」を開けません（ファイルがないか、読む権限がありません）。\n";
      return kExitFailure;
    }
    in = &file;
  }

  const std::filesystem::path target = parsed->get("--to");
  const auto replace = parsed->flags.count("--force") ? importer::Replace::plainly : importer::Replace::never;
  auto output = importer::VsdOutput::open(target, parsed->flags.count("--split") != 0, replace);
  if (!output) {
    err << "tenmirel-cli " << kImport << ": " << output.message() << '\n';
    return kExitFailure;
  }
  Refusal writeFailure;
  const auto imported = importer::importCatalogue(*in, settings, [&](const importer::ImportedRow& row) {
    if (row.outcome == importer::StarOutcome::imported && !writeFailure) writeFailure = (*output)->add(*row.record);
  });
  if (!imported) {
    err << "tenmirel-cli " << kImport << ": 「" << input << "」を取り込めません。" << imported.message()
        << "何も書き出していません。\n";
    return kExitFailure;
  }
  if (writeFailure) {
    err << "tenmirel-cli " << kImport << ": " << *writeFailure << " 何も書き出していません。\n";
    return kExitFailure;
  }
  ImportOutcome outcome{input, *imported, elements.value_or(importer::defaultElementsTime(imported->format)), {}};
  if (imported->imported == 0) {
    (report == "json" ? printImportJson : printImportText)(outcome, out);
    err << "tenmirel-cli " << kImport << ": 予報できる星が一つもないので、ファイルは書き出していません。\n";
    return kExitFailure;
  }
  auto written = (*output)->commit();
  if (!written) {
    err << "tenmirel-cli " << kImport << ": " << written.message() << '\n';
    return kExitFailure;
  }
  outcome.written = *written;
  // The time system of the elements travels beside the file, where every command reads it.
  sky::ElementsSettings timeSystems;
  for (const auto& path : outcome.written) {
    if (Refusal refusal = timeSystems.setTimeSystem(path, outcome.elementsTime)) {
      err << "tenmirel-cli " << kImport << ": " << *refusal << '\n';
    }
  }
  (report == "json" ? printImportJson : printImportText)(outcome, out);
  return 0;
}

int runEdit(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  std::string error;
  const auto parsed = parseArgs(args, {"--star", "--epoch", "--period", "--memo"}, {"--help"}, error, {});
  if (!parsed) return usageError(err, kEdit, error);
  if (parsed->flags.count("--help")) {
    printEditHelp(out);
    return 0;
  }
  if (parsed->positional.size() != 1) return usageError(err, kEdit, "変光星データファイルを一つ指定してください");
  for (const char* needed : {"--star", "--epoch", "--period"}) {
    if (!parsed->has(needed)) return usageError(err, kEdit, std::string(needed) + " を指定してください");
  }
  importer::ElementsChange change{parsed->get("--epoch"), parsed->get("--period"), std::nullopt};
  if (parsed->has("--memo")) change.memo = parsed->get("--memo");
  const std::filesystem::path file = parsed->positional.front();
  if (Refusal refusal = importer::replaceStarElements(file, parsed->get("--star"), change)) {
    err << "tenmirel-cli " << kEdit << ": " << *refusal << " ファイルは変えていません。\n";
    return kExitFailure;
  }
  out << "「" << parsed->get("--star") << "」の元期を " << change.epoch << "、周期を " << change.period
      << " に書き換えました（元のファイルは " << importer::backupPath(file).string() << "）。\n";
  return 0;
}

}  // namespace tenmirel::cli
