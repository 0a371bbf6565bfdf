// tenmirel-cli stars FILE: lists a catalogue file so a user can check it.
#include <string>

#include "catalogue/star_file.h"
#include "cli/catalogue_option.h"
#include "cli/cli.h"
#include "cli/cli_args.h"
#include "cli/terminal_text.h"
#include "cli/text_table.h"

namespace tenmirel::cli {
namespace {

constexpr int kExitLoadFailed = 1;
constexpr int kExitUsage = 2;

void printStarsUsage(std::ostream& out) {
  out << "使い方: tenmirel-cli stars ファイル\n"
         "\n"
         "変光星データファイル（.vsd）を読み込み、星の一覧を表示します。ファイルを - とすると標準入力から読みます。\n"
         "列: 番号（選択欄の位置、0から）、星名、元期、周期、赤経、赤緯、メモ。\n"
         "赤経・赤緯はファイルの文字をそのまま並べ、赤緯の符号はプログラムの解釈\n"
         "（符号の行がちょうど \"False\" なら南、-）を示します。\n"
         "番号や星名は tenmirel-cli predict --catalogue ファイル --star 番号|星名 に使えます。\n"
         "\n"
         "オプション:\n"
         "  --help   この説明を表示します\n";
}

std::string shown(const std::string& text) { return shownOnTerminal(text); }

std::string rightAscension(const StarRecord& star) { return shown(star.alphaHour) + "h " + shown(star.alphaMin) + "m"; }

std::string declination(const StarRecord& star) {
  const char* sign = star.deltaSign == kSouthSignText ? "-" : "+";
  return sign + shown(star.deltaDeg) + "° " + shown(star.deltaMin) + "′";
}

}  // namespace

int runStars(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  std::string error;
  const auto parsed = parseArgs(args, {}, {"--help"}, error);
  if (!parsed) {
    err << "tenmirel-cli stars: " << error << "\n\n";
    printStarsUsage(err);
    return kExitUsage;
  }
  if (parsed->flags.count("--help") != 0) {
    printStarsUsage(out);
    return 0;
  }
  if (parsed->positional.size() != 1) {
    err << "tenmirel-cli stars: 変光星データファイルを一つ指定してください\n\n";
    printStarsUsage(err);
    return kExitUsage;
  }

  const std::string& file = parsed->positional.front();
  const StarFileReadResult catalogue = readCatalogueArgument(file);
  if (!catalogue.ok()) {
    err << "tenmirel-cli stars: " << describeStarFileFailure(file, catalogue) << '\n';
    return kExitLoadFailed;
  }

  out << file << ": " << catalogue.count << "件\n";
  TextTable table({"番号", "星名", "元期", "周期", "赤経", "赤緯", "メモ"});
  table.alignRight(0);
  for (int i = 0; i < catalogue.count; ++i) {
    const StarRecord& star = catalogue.records[static_cast<std::size_t>(i)];
    table.addRow({std::to_string(i), shown(star.starName), shown(star.ganki), shown(star.syuki), rightAscension(star),
                  declination(star), shown(star.memo)});
  }
  table.print(out);
  return 0;
}

}  // namespace tenmirel::cli
