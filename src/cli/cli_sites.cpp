// tenmirel-cli sites: the observer's sites shared with the window, listed, added,
// removed and chosen as the default.
#include "cli/cli.h"
#include "cli/cli_args.h"
#include "cli/site_option.h"
#include "cli/terminal_text.h"
#include "cli/text_table.h"
#include "common/number_text.h"
#include "sky/site_store.h"

namespace tenmirel::cli {
namespace {

constexpr const char* kCommand = "sites";
constexpr int kExitFailure = 1;

void printHelp(std::ostream& out) {
  out << "使い方: tenmirel-cli sites\n"
         "        tenmirel-cli sites add NAME --lon DEG --lat DEG [--height M] --tz ZONE\n"
         "        tenmirel-cli sites remove NAME\n"
         "        tenmirel-cli sites default NAME\n"
         "\n"
         "観測地の一覧・追加・削除・既定の観測地の設定。観測地はウィンドウと共通のファイル\n"
         "（$XDG_CONFIG_HOME/Tenmirel/sites.toml）に書きます。組み込みの「既定の観測地」\n"
         "（東経139°00′・北緯35°00′・0 m・UTC+09:00）は削除できません。\n"
         "\n"
         "  --lon DEG    経度（東が正、西は負か W）。\"139.5\"、\"139 00\"、\"139°00′\" の形\n"
         "  --lat DEG    緯度（北が正、南は負か S）\n"
         "  --height M   標高（m、既定 0）\n"
         "  --tz ZONE    時間帯：IANA の名前（\"Asia/Tokyo\"、\"Europe/Prague\"）か \"UTC+09:00\"\n"
         "  --help       この説明\n"
         "\n"
         "例:\n"
         "  tenmirel-cli sites add 富士山頂 --lon \"138 43 39\" --lat \"35 21 38\" --height 3776 --tz Asia/Tokyo\n"
         "  tenmirel-cli sites default 富士山頂\n";
}

int printSites(const sky::SiteStore& store, std::ostream& out, std::ostream& err) {
  if (!store.problem().empty()) err << "tenmirel-cli sites: " << store.problem() << '\n';
  TextTable table({"", "名前", "経度（°）", "緯度（°）", "標高（m）", "時間帯"});
  table.alignRight(2);
  table.alignRight(3);
  table.alignRight(4);
  const std::string& defaultName = store.defaultSite().name;
  for (const sky::Site& site : store.sites()) {
    table.addRow({site.name == defaultName ? "*" : "", shownOnTerminal(site.name), numberToText(site.longitudeDegrees),
                  numberToText(site.latitudeDegrees), numberToText(site.heightMetres), shownOnTerminal(site.zone)});
  }
  table.print(out);
  out << "* は既定の観測地（--site を省いたときの観測地）です。観測地ファイル: " << store.file().string() << '\n';
  return store.problem().empty() ? 0 : kExitFailure;
}

int changed(const sky::Refusal& refusal, const std::string& done, std::ostream& out, std::ostream& err) {
  if (refusal) {
    err << "tenmirel-cli sites: " << *refusal << '\n';
    return kExitFailure;
  }
  out << done << '\n';
  return 0;
}

}  // namespace

int runSites(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  std::string error;
  const auto parsed = parseArgs(args, {"--lon", "--lat", "--height", "--tz"}, {"--help"}, error);
  if (!parsed) return usageError(err, kCommand, error);
  if (parsed->flags.count("--help")) {
    printHelp(out);
    return 0;
  }
  const std::vector<std::string>& words = parsed->positional;
  const bool coordinates = !parsed->options.empty();
  sky::SiteStore store;
  if (words.empty()) {
    if (coordinates) return usageError(err, kCommand, "座標のオプションは sites add と組で指定してください");
    return printSites(store, out, err);
  }
  const std::string& action = words.front();
  if (action != "add" && action != "remove" && action != "default") {
    return usageError(err, kCommand, "知らない操作「" + action + "」（add、remove、default のどれか）");
  }
  if (words.size() < 2) return usageError(err, kCommand, action + " には観測地の名前を指定してください");
  if (words.size() > 2) return usageError(err, kCommand, "余分な引数「" + words[2] + "」");
  const std::string& name = words[1];
  if (action != "add") {
    if (coordinates) return usageError(err, kCommand, "座標のオプションは sites add と組で指定してください");
    if (action == "remove") {
      return changed(store.remove(name), "観測地「" + shownOnTerminal(name) + "」を削除しました。", out, err);
    }
    return changed(store.setDefault(name), "観測地「" + shownOnTerminal(name) + "」を既定にしました。", out, err);
  }
  for (const char* required : {"--lon", "--lat", "--tz"}) {
    if (!parsed->has(required)) return usageError(err, kCommand, std::string(required) + " を指定してください");
  }
  const OptionChoice<sky::Site> site =
      siteFromTexts(name, parsed->get("--lon"), parsed->get("--lat"), parsed->get("--height"), parsed->get("--tz"));
  if (!site.value) return usageError(err, kCommand, site.error);
  return changed(store.add(*site.value), "観測地「" + shownOnTerminal(name) + "」を追加しました。", out, err);
}

}  // namespace tenmirel::cli
