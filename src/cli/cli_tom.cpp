// tenmirel-cli tom FILE: the time of minimum (or maximum) of an observer's light
// curve by Kwee–van Woerden, with the symmetric polynomial as a check; --add
// records it in the observations log.
#include <filesystem>
#include <nlohmann/json.hpp>

#include "cli/cli.h"
#include "cli/cli_args.h"
#include "cli/timing_texts.h"
#include "common/number_text.h"
#include "timing/day_units.h"
#include "timing/extremum_time.h"

namespace tenmirel::cli {
namespace {

constexpr const char* kCommand = "tom";
constexpr int kExitFailure = 1;
constexpr int kDayDecimals = 6;
constexpr double kFullJulianDayFrom = 2'000'000;

void printHelp(std::ostream& out) {
  out << "使い方: tenmirel-cli tom FILE [--time-column NAME] [--mag-column NAME | --flux-column NAME]\n"
         "                        [--error-column NAME] [--from JD --to JD] [--maximum]\n"
         "                        [--time-system jd|hjd|bjd] [--format text|json]\n"
         "                        [--add --star NAME [--kind primary|secondary] [--observer NAME] [--band NAME] "
         "[--note TEXT]]\n"
         "\n"
         "測光ソフトの光度曲線（CSV・TSV・空白区切り、見出し行つき、# はコメント）から、\n"
         "極小（--maximum で極大）の時刻とその標準誤差を Kwee–van Woerden 法で求めます。\n"
         "対称多項式の当てはめを確認に添え、両者が 3σ を超えてずれればそう伝えます。\n"
         "\n"
         "  --time-column NAME   時刻の列（既定: BJD_TDB、BJD、HJD、JD、MJD、JD-2400000、Time の順に探す）\n"
         "  --mag-column NAME    等級の列（既定: mag、Magnitude、V、rel_flux…）\n"
         "  --flux-column NAME   流量の列（等級 -2.5 log10 に変換）\n"
         "  --error-column NAME  誤差の列（既定: err、error、mag_err などがあれば）\n"
         "  --from JD --to JD    使う範囲（ユリウス日）。既定は最も暗い点のまわりを自動で選ぶ\n"
         "  --maximum            極小ではなく極大を求める\n"
         "  --time-system SYS    光度曲線の時刻系 jd（既定）、hjd、bjd\n"
         "  --format FORMAT      text（既定）か json\n"
         "  --add --star NAME    求めた時刻を観測記録に加える（--kind、--observer、--band、--note も記録）\n"
         "  --help               この説明\n"
         "\n"
         "時刻が JD − 2400000 や JD − 2450000 で書かれていれば足して完全なユリウス日にし、\n"
         "どちらと見なしたかを標準エラーに書きます。\n"
         "\n"
         "終了状態: 0 求められた、1 失敗（読めない・範囲に極小がない）、2 使い方の誤り\n";
}

std::optional<double> julianDayOption(const ParsedArgs& parsed, const std::string& name, std::string& error) {
  const auto value = parseStrict(parsed.get(name));
  if (!value || *value < kFullJulianDayFrom) {
    error = name + " の値「" + parsed.get(name) + "」はユリウス日（2400000 台など）で指定してください";
    return std::nullopt;
  }
  return value;
}

}  // namespace

int runTom(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  std::string error;
  const auto parsed = parseArgs(args,
                                {"--time-column", "--mag-column", "--flux-column", "--error-column", "--from", "--to",
                                 "--time-system", "--format", "--star", "--kind", "--observer", "--band", "--note"},
                                {"--help", "--maximum", "--add"}, error);
  if (!parsed) return usageError(err, kCommand, error);
  if (parsed->flags.count("--help")) {
    printHelp(out);
    return 0;
  }
  if (parsed->positional.size() != 1) return usageError(err, kCommand, "光度曲線のファイルを一つ指定してください");
  if (parsed->has("--mag-column") && parsed->has("--flux-column")) {
    return usageError(err, kCommand, "--mag-column と --flux-column は同時に指定できません");
  }
  const std::string format = parsed->get("--format", "text");
  if (format != "text" && format != "json") return usageError(err, kCommand, "--format は text か json です");
  const auto system = timeSystemOption(parsed->get("--time-system"));
  if (!system) return usageError(err, kCommand, "--time-system は jd、hjd、bjd のどれかです");
  const bool add = parsed->flags.count("--add") != 0;
  if (add && !parsed->has("--star")) return usageError(err, kCommand, "--add には --star で星名を指定してください");
  for (const char* name : {"--star", "--kind", "--observer", "--band", "--note"}) {
    if (!add && parsed->has(name))
      return usageError(err, kCommand, std::string(name) + " は --add と組で指定してください");
  }
  timing::ExtremumKind kind =
      parsed->flags.count("--maximum") ? timing::ExtremumKind::maximum : timing::ExtremumKind::primary;
  if (parsed->has("--kind")) {
    const auto named = timing::parseExtremumKind(parsed->get("--kind"));
    if (!named || *named == timing::ExtremumKind::maximum) {
      return usageError(err, kCommand, "--kind は primary か secondary です（極大は --maximum）");
    }
    if (kind == timing::ExtremumKind::maximum)
      return usageError(err, kCommand, "--kind と --maximum は同時に指定できません");
    kind = *named;
  }
  timing::ExtremumRequest request;
  request.maximum = kind == timing::ExtremumKind::maximum;
  if (parsed->has("--from") != parsed->has("--to")) {
    return usageError(err, kCommand, "--from と --to は組で指定してください");
  }
  if (parsed->has("--from")) {
    request.from = julianDayOption(*parsed, "--from", error);
    if (!request.from) return usageError(err, kCommand, error);
    request.to = julianDayOption(*parsed, "--to", error);
    if (!request.to) return usageError(err, kCommand, error);
  }

  const std::string& file = parsed->positional.front();
  const timing::ColumnChoice columns{parsed->get("--time-column"), parsed->get("--mag-column"),
                                     parsed->get("--flux-column"), parsed->get("--error-column")};
  const auto curve = timing::readLightCurveFile(file, columns);
  if (!curve) {
    err << "tenmirel-cli tom: " << file << ": " << curve.message() << '\n';
    return kExitFailure;
  }
  for (const std::string& note : curve->notes) err << "tenmirel-cli tom: " << note << '\n';
  const auto found = timing::findExtremum(*curve, request);
  if (!found) {
    err << "tenmirel-cli tom: " << found.message() << '\n';
    return kExitFailure;
  }
  if (!found->disagreement.empty()) err << "tenmirel-cli tom: " << found->disagreement << '\n';
  const char* systemName = sky::elementsTimeName(*system);

  if (format == "json") {
    nlohmann::ordered_json result;
    result["time"] = found->julianDay;
    result["sigma"] = found->sigmaDays;
    result["method"] = "KvW";
    result["points"] = found->points;
    result["time_system"] = systemName;
    result["kind"] = request.maximum ? "maximum" : "minimum";
    result["from"] = found->from;
    result["to"] = found->to;
    result["check"] = found->check ? nlohmann::ordered_json{{"method", "symmetric_polynomial"},
                                                            {"time", found->check->time},
                                                            {"sigma", found->check->sigma}}
                                   : nlohmann::ordered_json(nullptr);
    result["disagreement"] = !found->disagreement.empty();
    out << result.dump(2) << '\n';
  } else {
    out << (request.maximum ? "極大" : "極小") << "の時刻: " << fixedText(found->julianDay, kDayDecimals) << " "
        << systemName << '\n'
        << "標準誤差: " << fixedText(found->sigmaDays, kDayDecimals) << " 日（"
        << fixedText(found->sigmaDays * timing::kSecondsPerDay, 1) << " 秒）\n"
        << "方法: Kwee–van Woerden、" << fixedText(found->from, kDayDecimals) << " – "
        << fixedText(found->to, kDayDecimals) << " の " << found->points << " 点\n";
    if (found->check) {
      out << "確認（対称多項式）: " << fixedText(found->check->time, kDayDecimals) << " ± "
          << fixedText(found->check->sigma, kDayDecimals) << " 日\n";
    } else {
      out << "確認（対称多項式）: 求められませんでした（" << found->checkProblem << "）\n";
    }
  }

  if (add) {
    auto log = openObservationLog(kCommand, err);
    if (!log) return kExitFailure;
    observations::LogEntry entry;
    entry.star = parsed->get("--star");
    entry.time = found->julianDay;
    entry.sigmaDays = found->sigmaDays;
    entry.system = *system;
    entry.kind = kind;
    entry.method = "KvW";
    entry.observer = parsed->get("--observer");
    entry.band = parsed->get("--band");
    entry.source = std::filesystem::path(file).filename().string();
    entry.note = parsed->get("--note");
    const auto id = log->add(entry);
    if (!id) {
      err << "tenmirel-cli tom: " << id.message() << '\n';
      return kExitFailure;
    }
    err << "tenmirel-cli tom: 観測記録に番号 " << *id << " で記録しました\n";
  }
  return 0;
}

}  // namespace tenmirel::cli
