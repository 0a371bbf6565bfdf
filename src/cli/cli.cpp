#include "cli/cli.h"

#include <cerrno>
#include <new>

#include "cli/cli_args.h"
#include "sheet/os_file_adapter.h"

namespace tenmirel::cli {
namespace {

constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

void printUsage(std::ostream& out) {
  out << "使い方: tenmirel-cli <コマンド> [オプション]\n"
         "\n"
         "変光星の極（極小・極大）の日時と高度を予報します。観測地は東経139°00′・北緯35°、\n"
         "日時はすべて地方時（世界時＋9時間）です。\n"
         "\n"
         "コマンド:\n"
         "  predict   1つの星の次の極（元期・周期を直接指定、またはカタログの星）\n"
         "  stars     変光星データファイルの星の一覧\n"
         "  list      カタログの星の次の N 回の極（時間・高度の制限つき）\n"
         "  today     今夜の観測夜に極を迎えるカタログの星すべて\n"
         "  night     観測地の暗い夜に迎える全ての星の全ての極（星・太陽・月の高度つき）\n"
         "  season    選んだ星の極を何夜にもわたって夜ごとに（night と同じ条件）\n"
         "  sites     観測地の一覧・追加・削除・既定の観測地の設定\n"
         "  import    GCVS・VSX などのカタログから星を選んで変光星データファイルに書き出す\n"
         "  edit      変光星データファイルの星の元期・周期を書き換える\n"
         "  tom       光度曲線から極小（極大）の時刻と誤差（Kwee–van Woerden 法）\n"
         "  obs       観測記録（極の時刻）の追加・一覧・削除・書き出し・読み込み\n"
         "  oc        観測記録の O−C 図と新しい要素の当てはめ\n"
         "\n"
         "各コマンドのオプションは 'tenmirel-cli <コマンド> --help' で表示します。\n";
}

int runCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  if (args.empty()) {
    printUsage(err);
    return kExitUsage;
  }
  const std::string& command = args.front();
  const std::vector<std::string> rest(args.begin() + 1, args.end());
  if (command == "--help" || command == "-h" || command == "help") {
    printUsage(out);
    return 0;
  }
  if (command == "predict") return runPredict(rest, out, err);
  if (command == "stars") return runStars(rest, out, err);
  if (command == "list") return runList(rest, out, err);
  if (command == "today") return runToday(rest, out, err);
  if (command == "night") return runNight(rest, out, err);
  if (command == "season") return runSeason(rest, out, err);
  if (command == "sites") return runSites(rest, out, err);
  if (command == "import") return runImport(rest, out, err);
  if (command == "edit") return runEdit(rest, out, err);
  if (command == "tom") return runTom(rest, out, err);
  if (command == "obs") return runObs(rest, out, err);
  if (command == "oc") return runOc(rest, out, err);
  err << "tenmirel-cli: 知らないコマンド「" << command.substr(0, kMaxOptionValueBytes) << "」\n\n";
  printUsage(err);
  return kExitUsage;
}

}  // namespace

int run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  int status = kExitFailure;
  try {
    status = runCommand(args, out, err);
  } catch (const std::bad_alloc&) {
    err << "tenmirel-cli: メモリが足りません。\n";
    return kExitFailure;
  }
  // Output that did not arrive is a failure, whatever the command thought of itself.
  errno = 0;
  out.flush();
  if (!out) {
    const int reason = errno;
    err << "tenmirel-cli: 結果を出力できませんでした"
        << (reason != 0 ? "（" + describeFileError(reason) + "）" : std::string()) << "。\n";
    return kExitFailure;
  }
  return status;
}

}  // namespace tenmirel::cli
