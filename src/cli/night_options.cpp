#include "cli/night_options.h"

#include <cmath>
#include <iterator>

#include "cli/site_option.h"
#include "common/number_text.h"

namespace tenmirel::cli {
namespace {

constexpr double kRightAngleDegrees = 90;
constexpr double kStraightAngleDegrees = 180;
constexpr double kLongestAroundMinutes = 720;
// Beyond ten days a prediction is no prediction; the filter takes up to that.
constexpr double kLargestUncertaintyMinutes = 14400;

}  // namespace

std::set<std::string> nightOptionNames() {
  return {"--sun-below",       "--window", "--min-altitude", "--moon-distance", "--around",
          "--max-uncertainty", "--format", "--xlsx",         kElementsOption};
}

std::set<std::string> nightFlagNames() { return {"--help", "--refraction", "--open", "--secondary", "--bom"}; }

std::string nightOptionsHelp() {
  return "  --sun-below DEG      太陽高度が DEG 度より下の間を夜とする（既定 -12）\n"
         "  --window clock       太陽の代わりに 7時から翌朝6時59分まで（地方時）を夜とする\n"
         "  --min-altitude DEG   星の高度が DEG 度以上の極だけを表示（既定 0）\n"
         "  --moon-distance DEG  月から DEG 度以上離れた極だけを表示（既定 なし）\n"
         "  --around MIN         極の前後 MIN 分の間ずっと高度・太陽の条件を満たす極だけを表示\n"
         "                       （省くと、メモに食の継続時間 D= のある星の極小は食の始めから終わりまで）\n"
         "  --secondary          食変光星・楕円体変光星・おうし座RV型星の副極小も加える\n"
         "                       （位相はメモの II=、なければ 0.5）\n"
         "  --max-uncertainty MIN  予報の不確かさが MIN 分を超える極を隠す\n"
         "                       （要素に「:」の付いた星の極は不確かさの上限が分からないので隠す）\n"
         "  --refraction         大気差（標準大気）を高度に入れる\n"
         "  --format FORMAT      text（既定、桁をそろえた表）、csv、json、ics（iCalendar）\n"
         "  --bom                CSV の先頭に BOM を付ける（表計算ソフトで開くファイル向け）\n"
         "  --xlsx PATH          表計算ファイル（.xlsx）に書き出す（同じ名前のファイルは置き換えます）\n"
         "  --open               書き出した表計算ファイルを既定のアプリケーションで開く\n"
         "  --help               この説明\n";
}

std::optional<std::string> checkOutputOptions(const ParsedArgs& parsed) {
  const std::string format = parsed.get("--format", "text");
  if (format != "text" && format != "csv" && format != "json" && format != "ics") {
    return "--format は text、csv、json、ics のどれかです";
  }
  if (parsed.has("--xlsx") && parsed.has("--format")) return "--xlsx と --format は同時に指定できません";
  if (parsed.flags.count("--open") && !parsed.has("--xlsx")) return "--open は --xlsx と組で指定してください";
  if (parsed.flags.count("--bom") && format != "csv") return "--bom は --format csv と組で指定してください";
  return std::nullopt;
}

std::optional<std::string> readNightOptions(const ParsedArgs& parsed, sky::NightOptions& options) {
  if (parsed.has("--window")) {
    if (parsed.get("--window") != "clock") return "--window に指定できるのは clock だけです";
    if (parsed.has("--sun-below")) return "--sun-below と --window は同時に指定できません";
    options.window = sky::NightWindow::clock;
  }
  struct NumberOption {
    const char* name;
    double lowest, highest;
  };
  const NumberOption ranges[] = {{"--sun-below", -kRightAngleDegrees, kRightAngleDegrees},
                                 {"--min-altitude", -kRightAngleDegrees, kRightAngleDegrees},
                                 {"--moon-distance", 0, kStraightAngleDegrees},
                                 {"--around", 0, kLongestAroundMinutes},
                                 {"--max-uncertainty", 0, kLargestUncertaintyMinutes}};
  std::optional<double> values[std::size(ranges)];
  std::string error;
  for (std::size_t i = 0; i < std::size(ranges); ++i) {
    if (!parsed.has(ranges[i].name)) continue;
    values[i] = numberOption(parsed, ranges[i].name, ranges[i].lowest, ranges[i].highest, error);
    if (!values[i]) return error;
  }
  if (values[0]) options.sunLimitDegrees = *values[0];
  if (values[1]) options.minimumAltitudeDegrees = *values[1];
  options.moonDistanceDegrees = values[2];
  if (values[3]) options.aroundMinutes = *values[3];
  options.aroundFromDuration = !values[3];
  options.maxUncertaintyMinutes = values[4];
  options.secondaryMinima = parsed.flags.count("--secondary") != 0;
  options.refraction = parsed.flags.count("--refraction") != 0;
  return std::nullopt;
}

std::optional<int> chooseNightSite(const ParsedArgs& parsed, const std::string& command, std::ostream& err,
                                   sky::NightOptions& options, NightSiteChoice& choice) {
  constexpr int kExitFailure = 1;
  if (const std::optional<int> status =
          chooseSiteOptions(parsed, parsed.get("--catalogue"), command, err, choice.chosen)) {
    return *status;
  }
  options.elementsTime = choice.chosen.elements;
  const sky::Checked<sky::SiteZone> zone = sky::SiteZone::fromText(choice.chosen.site.zone);
  if (!zone) {
    err << "tenmirel-cli " << command << ": " << zone.message() << '\n';
    return kExitFailure;
  }
  choice.zone = *zone;
  return std::nullopt;
}

void printMemoWarnings(const std::string& command, const sky::NightPlan& plan, std::ostream& err) {
  for (const std::string& warning : plan.memoWarnings) err << "tenmirel-cli " << command << ": " << warning << '\n';
}

}  // namespace tenmirel::cli
