// tenmirel-cli obs: the observations log — add, list, remove, exclude/include,
// export and import of times of extremum.
#include <fstream>
#include <iostream>
#include <sstream>

#include "cli/cli.h"
#include "cli/cli_args.h"
#include "cli/terminal_text.h"
#include "cli/text_table.h"
#include "cli/timing_texts.h"
#include "common/number_text.h"
#include "observations/log_csv.h"

namespace tenmirel::cli {
namespace {

constexpr const char* kCommand = "obs";
constexpr int kExitFailure = 1;
constexpr int kDayDecimals = 6;
constexpr double kFullJulianDayFrom = 2'000'000;
constexpr double kFullJulianDayTo = 3'000'000;
constexpr std::size_t kMaxImportBytes = 256u * 1024u * 1024u;

void printHelp(std::ostream& out) {
  out << "使い方: tenmirel-cli obs add --star NAME --time JD [--sigma DAYS] [--time-system jd|hjd|bjd]\n"
         "                            [--kind primary|secondary|maximum] [--method TEXT] [--observer NAME]\n"
         "                            [--band NAME] [--note TEXT]\n"
         "        tenmirel-cli obs list [--star NAME] [--format text|csv|json]\n"
         "        tenmirel-cli obs remove ID...\n"
         "        tenmirel-cli obs exclude ID...    （O−C の当てはめから外す）\n"
         "        tenmirel-cli obs include ID...    （外したものを戻す）\n"
         "        tenmirel-cli obs export [FILE]    （CSV、FILE なしで標準出力）\n"
         "        tenmirel-cli obs import FILE      （export の CSV を読み込む。番号は新しく付く）\n"
         "\n"
         "観測記録（極小・極大の時刻）を扱います。記録は $XDG_DATA_HOME/Tenmirel/observations.sqlite\n"
         "（XDG_DATA_HOME がなければ ~/.local/share/Tenmirel/）にあり、ウィンドウと共有します。\n"
         "時刻は完全なユリウス日、誤差は日で指定します（誤差なしも可）。\n"
         "\n"
         "終了状態: 0 できた、1 失敗（記録が使用中・壊れている、番号がない）、2 使い方の誤り\n";
}

int failed(std::ostream& err, const std::string& message) {
  err << "tenmirel-cli obs: " << message << '\n';
  return kExitFailure;
}

int runAdd(const ParsedArgs& parsed, std::ostream& out, std::ostream& err) {
  if (!parsed.positional.empty()) return usageError(err, kCommand, "余分な引数「" + parsed.positional.front() + "」");
  if (!parsed.has("--star") || parsed.get("--star").empty())
    return usageError(err, kCommand, "--star で星名を指定してください");
  if (!parsed.has("--time")) return usageError(err, kCommand, "--time で極の時刻（ユリウス日）を指定してください");
  observations::LogEntry entry;
  entry.star = parsed.get("--star");
  const auto time = parseStrict(parsed.get("--time"));
  if (!time || *time < kFullJulianDayFrom || *time >= kFullJulianDayTo) {
    return usageError(
        err, kCommand,
        "--time の値「" + parsed.get("--time") + "」は完全なユリウス日（例 2460123.4567）で指定してください");
  }
  entry.time = *time;
  if (parsed.has("--sigma")) {
    const auto sigma = parseStrict(parsed.get("--sigma"));
    if (!sigma || *sigma < 0 || *sigma > 1) {
      return usageError(err, kCommand,
                        "--sigma の値「" + parsed.get("--sigma") + "」は 0 から 1 までの日数で指定してください");
    }
    entry.sigmaDays = sigma;
  }
  const auto system = timeSystemOption(parsed.get("--time-system"));
  if (!system) return usageError(err, kCommand, "--time-system は jd、hjd、bjd のどれかです");
  entry.system = *system;
  const auto kind = timing::parseExtremumKind(parsed.get("--kind", "primary"));
  if (!kind) return usageError(err, kCommand, "--kind は primary、secondary、maximum のどれかです");
  entry.kind = *kind;
  entry.method = parsed.get("--method");
  entry.observer = parsed.get("--observer");
  entry.band = parsed.get("--band");
  entry.note = parsed.get("--note");
  auto log = openObservationLog(kCommand, err);
  if (!log) return kExitFailure;
  const auto id = log->add(entry);
  if (!id) return failed(err, id.message());
  out << *id << '\n';
  return 0;
}

int runListing(const ParsedArgs& parsed, std::ostream& out, std::ostream& err) {
  if (!parsed.positional.empty()) return usageError(err, kCommand, "余分な引数「" + parsed.positional.front() + "」");
  const std::string format = parsed.get("--format", "text");
  if (format != "text" && format != "csv" && format != "json") {
    return usageError(err, kCommand, "--format は text、csv、json のどれかです");
  }
  auto log = openObservationLog(kCommand, err);
  if (!log) return kExitFailure;
  const auto entries =
      log->list(parsed.has("--star") ? std::optional<std::string>(parsed.get("--star")) : std::nullopt);
  if (!entries) return failed(err, entries.message());
  if (format == "csv") {
    out << observations::logCsvText(*entries);
  } else if (format == "json") {
    nlohmann::ordered_json rows = nlohmann::ordered_json::array();
    for (const auto& entry : *entries) rows.push_back(observationJson(entry, nullptr));
    out << rows.dump(2) << '\n';
  } else {
    TextTable table({"番号", "星名", "時刻", "誤差（日）", "時刻系", "種類", "方法", "観測者", "除外"});
    table.alignRight(0);
    table.alignRight(2);
    table.alignRight(3);
    for (const auto& e : *entries) {
      table.addRow({std::to_string(e.id), shownOnTerminal(e.star), fixedText(e.time, kDayDecimals),
                    e.sigmaDays ? fixedText(*e.sigmaDays, kDayDecimals) : "-", sky::elementsTimeName(e.system),
                    timing::extremumKindName(e.kind), shownOnTerminal(e.method), shownOnTerminal(e.observer),
                    e.excluded ? "除外" : ""});
    }
    table.print(out);
  }
  return 0;
}

std::optional<std::vector<long long>> idsOf(const ParsedArgs& parsed, std::ostream& err, int& status) {
  if (parsed.positional.empty()) {
    status =
        usageError(err, kCommand, "観測の番号を一つ以上指定してください（tenmirel-cli obs list で確かめられます）");
    return std::nullopt;
  }
  std::vector<long long> ids;
  for (const std::string& text : parsed.positional) {
    const auto value = parseStrict(text);
    if (!value || *value < 1 || *value != std::floor(*value) || *value > 9e15 ||
        text.find_first_not_of(" 0123456789") != std::string::npos) {
      status = usageError(err, kCommand, "番号「" + text + "」は 1 以上の整数で指定してください");
      return std::nullopt;
    }
    ids.push_back(static_cast<long long>(*value));
  }
  return ids;
}

int runRemove(const ParsedArgs& parsed, std::ostream& err) {
  int status = 0;
  const auto ids = idsOf(parsed, err, status);
  if (!ids) return status;
  auto log = openObservationLog(kCommand, err);
  if (!log) return kExitFailure;
  if (auto refused = log->remove(*ids)) return failed(err, *refused);
  return 0;
}

int runExclude(const ParsedArgs& parsed, std::ostream& err, bool excluded) {
  int status = 0;
  const auto ids = idsOf(parsed, err, status);
  if (!ids) return status;
  auto log = openObservationLog(kCommand, err);
  if (!log) return kExitFailure;
  for (long long id : *ids) {
    if (auto refused = log->setExcluded(id, excluded)) return failed(err, *refused);
  }
  return 0;
}

int runExport(const ParsedArgs& parsed, std::ostream& out, std::ostream& err) {
  if (parsed.positional.size() > 1) return usageError(err, kCommand, "書き出すファイルは一つです");
  auto log = openObservationLog(kCommand, err);
  if (!log) return kExitFailure;
  const auto entries = log->list();
  if (!entries) return failed(err, entries.message());
  const std::string text = observations::logCsvText(*entries);
  if (parsed.positional.empty()) {
    out << text;
    return 0;
  }
  const std::string& file = parsed.positional.front();
  std::ofstream target(file, std::ios::binary | std::ios::trunc);
  if (!(target << text) || !target.flush()) return failed(err, "「" + file + "」に書き出せませんでした");
  err << "tenmirel-cli obs: " << entries->size() << " 件を「" << file << "」に書き出しました\n";
  return 0;
}

int runImport(const ParsedArgs& parsed, std::ostream& err) {
  if (parsed.positional.size() != 1) return usageError(err, kCommand, "読み込む CSV ファイルを一つ指定してください");
  const std::string& file = parsed.positional.front();
  std::error_code code;
  if (!std::filesystem::is_regular_file(file, code)) return failed(err, "CSV ファイル「" + file + "」が見つかりません");
  if (std::filesystem::file_size(file, code) > kMaxImportBytes)
    return failed(err, "「" + file + "」が大きすぎます（256 MB まで）");
  std::ifstream in(file, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  const auto entries = observations::readLogCsv(text.str());
  if (!entries) return failed(err, file + ": " + entries.message());
  auto log = openObservationLog(kCommand, err);
  if (!log) return kExitFailure;
  const auto added = log->addAll(*entries);
  if (!added) return failed(err, added.message());
  err << "tenmirel-cli obs: " << *added << " 件を読み込みました\n";
  return 0;
}

}  // namespace

int runObs(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  if (args.empty()) {
    printHelp(err);
    return usageError(err, kCommand, "add、list、remove、exclude、include、export、import のどれかを指定してください");
  }
  const std::string& action = args.front();
  if (action == "--help" || action == "-h" || action == "help") {
    printHelp(out);
    return 0;
  }
  const std::vector<std::string> rest(args.begin() + 1, args.end());
  std::string error;
  std::set<std::string> withValue;
  if (action == "add") {
    withValue = {"--star",   "--time",     "--sigma", "--time-system", "--kind",
                 "--method", "--observer", "--band",  "--note"};
  } else if (action == "list") {
    withValue = {"--star", "--format"};
  } else if (action != "remove" && action != "exclude" && action != "include" && action != "export" &&
             action != "import") {
    return usageError(err, kCommand, "知らない操作「" + action.substr(0, kMaxOptionValueBytes) + "」");
  }
  const auto parsed = parseArgs(rest, withValue, {"--help"}, error, {});
  if (!parsed) return usageError(err, kCommand, error);
  if (parsed->flags.count("--help")) {
    printHelp(out);
    return 0;
  }
  if (action == "add") return runAdd(*parsed, out, err);
  if (action == "list") return runListing(*parsed, out, err);
  if (action == "remove") return runRemove(*parsed, err);
  if (action == "exclude" || action == "include") return runExclude(*parsed, err, action == "exclude");
  if (action == "export") return runExport(*parsed, out, err);
  return runImport(*parsed, err);
}

}  // namespace tenmirel::cli
