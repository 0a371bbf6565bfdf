// tenmirel-cli oc: the O−C diagram of a catalogue star from the observations
// log, the weighted fit of new elements, and its picture; --use-fit writes the
// fitted elements into the catalogue.
#include <cmath>
#include <fstream>

#include "catalogue/memo_tokens.h"
#include "catalogue/star_file.h"
#include "cli/catalogue_option.h"
#include "cli/cli.h"
#include "cli/cli_args.h"
#include "cli/editor_elements_writer.h"
#include "cli/png_renderer.h"
#include "cli/site_option.h"
#include "cli/terminal_text.h"
#include "cli/text_table.h"
#include "cli/timing_texts.h"
#include "common/number_text.h"
#include "observations/oc_csv.h"
#include "timing/day_units.h"
#include "timing/elements_writer.h"
#include "timing/oc_svg.h"
#include "timing/star_elements.h"

namespace tenmirel::cli {
namespace {

constexpr const char* kCommand = "oc";
constexpr int kExitFailure = 1;
constexpr int kDayDecimals = 6;

void printHelp(std::ostream& out) {
  out << "使い方: tenmirel-cli oc --star NAME --catalogue FILE [--elements jd|hjd|bjd]\n"
         "                       [--fit none|linear|quadratic] [--format text|csv|json]\n"
         "                       [--svg FILE | --png FILE] [--use-fit]\n"
         "\n"
         "観測記録にある星の極の時刻から O−C 図（観測 − 計算）を作り、重み付き最小二乗法で\n"
         "新しい要素を当てはめます。観測は要素の時刻系に変換し、周期番号は最も近い整数\n"
         "（副極小は整数 + 副極小の位相、メモの II=、既定 0.5）です。\n"
         "\n"
         "  --star NAME          星（カタログの星名または番号）。観測記録はカタログの星名で探します\n"
         "  --catalogue FILE     変光星データファイル（.vsd）\n"
         "  --elements SYSTEM    要素の時刻系 jd、hjd、bjd（既定: カタログに覚えた時刻系、なければ jd）\n"
         "  --fit FIT            none、linear（既定）、quadratic\n"
         "  --format FORMAT      text（既定）、csv、json\n"
         "  --svg FILE           O−C 図を SVG で書き出す\n"
         "  --png FILE           O−C 図を PNG で書き出す（SVG の倍の大きさ。描くのは tenmirel-render で、\n"
         "                       tenmirel-cli と同じフォルダか /usr/bin にあるもの）\n"
         "  --use-fit            直線の当てはめの要素（誤差はメモの σE0= σP= cov=）でカタログの星の\n"
         "                       元期・周期・メモを置き換える（元のファイルは FILE~ に残します）\n"
         "  --help               この説明\n"
         "\n"
         "重みは 1/σ²。誤差のない観測には他の観測の誤差の中央値を使い、どれにも誤差がなければ\n"
         "等しい重みにします。共分散は常に χ²/自由度 を掛けたもの。残差が 3σ√(χ²/自由度) を超える\n"
         "観測は外れ値と印を付けますが当てはめには残します（外すには tenmirel-cli obs exclude）。\n"
         "\n"
         "終了状態: 0 できた（当てはめられない時もその旨を表示して 0）、1 失敗、2 使い方の誤り\n";
}

std::optional<timing::FitKind> fitKindOf(const std::string& text) {
  if (text == "none") return timing::FitKind::none;
  if (text == "linear") return timing::FitKind::linear;
  if (text == "quadratic") return timing::FitKind::quadratic;
  return std::nullopt;
}

nlohmann::ordered_json fitJson(const timing::ElementsFit& fit) {
  nlohmann::ordered_json json;
  json["kind"] = timing::fitKindName(fit.kind);
  json["reference_cycle"] = fit.referenceCycle;
  json["epoch"] = fit.epoch;
  json["period"] = fit.period;
  json["sigma_epoch"] = fit.sigmaEpoch;
  json["sigma_period"] = fit.sigmaPeriod;
  json["covariance_epoch_period"] = fit.covarianceEpochPeriod;
  json["chi2_dof"] = fit.chi2PerDof();
  json["dof"] = fit.dof;
  json["points"] = fit.points;
  json["equal_weights"] = fit.equalWeights;
  if (fit.kind == timing::FitKind::quadratic) {
    json["q"] = fit.q;
    json["sigma_q"] = fit.sigmaQ;
    json["dp_de"] = fit.dpDe();
  }
  json["covariance"] = fit.covariance;
  return json;
}

std::string shortest(double value) { return numberToText(value); }

// A standard error to two significant digits.
std::string sigmaText(double value) {
  if (!(value > 0) || !std::isfinite(value)) return numberToText(value);
  const double scale = std::pow(10, std::floor(std::log10(value)) - 1);
  return numberToText(std::round(value / scale) * scale);
}

void printFit(std::ostream& out, const timing::ElementsFit& fit, const char* system) {
  out << (fit.kind == timing::FitKind::quadratic ? "2次式" : "直線") << "の当てはめ（" << fit.points
      << " 点、基準の周期番号 " << fixedText(fit.referenceCycle, 0) << (fit.equalWeights ? "、等しい重み" : "")
      << "）:\n"
      << "  元期 E0 = " << fixedText(fit.epoch, kDayDecimals) << " ± " << sigmaText(fit.sigmaEpoch) << " " << system
      << '\n'
      << "  周期 P  = " << fixedText(fit.period, 9) << " ± " << sigmaText(fit.sigmaPeriod) << " 日\n";
  if (fit.kind == timing::FitKind::quadratic) {
    out << "  Q      = " << shortest(fit.q) << " ± " << sigmaText(fit.sigmaQ) << " 日（dP/dE = " << shortest(fit.dpDe())
        << " 日/周期）\n";
  }
  out << "  共分散 cov(E0, P) = " << shortest(fit.covarianceEpochPeriod) << " 日²\n"
      << "  χ²/自由度 = " << fixedText(fit.chi2PerDof(), 3) << "（自由度 " << fit.dof << "）\n";
}

}  // namespace

int runOc(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  std::string error;
  const auto parsed = parseArgs(args, {"--star", "--catalogue", "--fit", "--format", "--svg", "--png", kElementsOption},
                                {"--help", "--use-fit"}, error, {"--catalogue", "--svg", "--png"});
  if (!parsed) return usageError(err, kCommand, error);
  if (parsed->flags.count("--help")) {
    printHelp(out);
    return 0;
  }
  if (!parsed->positional.empty()) return usageError(err, kCommand, "余分な引数「" + parsed->positional.front() + "」");
  if (!parsed->has("--star")) return usageError(err, kCommand, "--star を指定してください");
  if (!parsed->has("--catalogue")) return usageError(err, kCommand, "--catalogue を指定してください");
  const auto fitKind = fitKindOf(parsed->get("--fit", "linear"));
  if (!fitKind) return usageError(err, kCommand, "--fit は none、linear、quadratic のどれかです");
  const std::string format = parsed->get("--format", "text");
  if (format != "text" && format != "csv" && format != "json") {
    return usageError(err, kCommand, "--format は text、csv、json のどれかです");
  }
  if (parsed->has("--svg") && parsed->has("--png"))
    return usageError(err, kCommand, "--svg と --png は同時に指定できません");
  const bool useFit = parsed->flags.count("--use-fit") != 0;
  if (useFit && *fitKind != timing::FitKind::linear) {
    return usageError(err, kCommand, "--use-fit は直線の当てはめ（--fit linear）と組で指定してください");
  }
  const std::string cataloguePath = parsed->get("--catalogue");
  if (useFit && cataloguePath == kStandardInputArgument) {
    return usageError(err, kCommand, "--use-fit には標準入力ではなくカタログのファイルを指定してください");
  }

  const auto elementsChoice = elementsFromOptions(*parsed, cataloguePath);
  if (!elementsChoice.warning.empty()) err << "tenmirel-cli oc: " << elementsChoice.warning << '\n';
  if (!elementsChoice.value) {
    if (elementsChoice.usageMistake) return usageError(err, kCommand, elementsChoice.error);
    err << "tenmirel-cli oc: " << elementsChoice.error << '\n';
    return kExitFailure;
  }
  const StarFileReadResult catalogue = readCatalogueArgument(cataloguePath, RecordLimit::none);
  if (!catalogue.ok()) {
    err << "tenmirel-cli oc: " << describeStarFileFailure(cataloguePath, catalogue) << '\n';
    return kExitFailure;
  }
  const auto index = findStar(catalogue.records, parsed->get("--star"));
  if (!index) {
    err << "tenmirel-cli oc: 星「" << parsed->get("--star")
        << "」がカタログにありません（tenmirel-cli stars で一覧を確かめてください）\n";
    return kExitFailure;
  }
  const StarRecord& star = catalogue.records[static_cast<std::size_t>(*index)];
  const auto elements = timing::starElementsOf(star, *elementsChoice.value);
  if (!elements) {
    err << "tenmirel-cli oc: " << elements.message() << '\n';
    return kExitFailure;
  }
  auto log = openObservationLog(kCommand, err);
  if (!log) return kExitFailure;
  const auto entries = log->list(star.starName);
  if (!entries) {
    err << "tenmirel-cli oc: " << entries.message() << '\n';
    return kExitFailure;
  }
  if (entries->empty()) {
    err << "tenmirel-cli oc: 観測記録に星「" << star.starName
        << "」の観測がありません（tenmirel-cli obs add か tom --add で記録できます）\n";
    return kExitFailure;
  }
  std::vector<timing::ObservedExtremum> observed;
  for (const auto& entry : *entries) observed.push_back(observations::observedOf(entry));
  const timing::OcDiagram diagram = timing::ocDiagram(observed, *elements, *fitKind);
  if (*fitKind != timing::FitKind::none && !diagram.fit) err << "tenmirel-cli oc: " << diagram.fitProblem << '\n';
  const char* system = sky::elementsTimeName(elements->system);

  if (format == "json") {
    nlohmann::ordered_json result;
    result["star"] = star.starName;
    result["elements"] = {{"epoch", elements->epoch}, {"period", elements->period}, {"time_system", system}};
    nlohmann::ordered_json rows = nlohmann::ordered_json::array();
    for (std::size_t i = 0; i < entries->size(); ++i) {
      nlohmann::ordered_json row = observationJson((*entries)[i], &diagram.points[i]);
      row["elements_time"] = diagram.points[i].time;
      rows.push_back(std::move(row));
    }
    result["observations"] = std::move(rows);
    result["fit"] = diagram.fit ? fitJson(*diagram.fit) : nlohmann::ordered_json(nullptr);
    result["fit_problem"] =
        diagram.fitProblem.empty() ? nlohmann::ordered_json(nullptr) : nlohmann::ordered_json(diagram.fitProblem);
    out << result.dump(2) << '\n';
  } else if (format == "csv") {
    out << observations::ocCsvText(*entries, diagram, elements->system);
  } else {
    out << shownOnTerminal(star.starName) << "  元期 " << shortest(elements->epoch) << "  周期 "
        << shortest(elements->period) << " 日（" << system << "）\n";
    TextTable table({"番号", "周期番号", "時刻（" + std::string(system) + "）", "O−C（日）", "O−C（分）", "誤差（日）",
                     "種類", "外れ値", "除外"});
    for (std::size_t column : {0, 1, 2, 3, 4, 5}) table.alignRight(column);
    for (std::size_t i = 0; i < entries->size(); ++i) {
      const auto& e = (*entries)[i];
      const auto& p = diagram.points[i];
      table.addRow({std::to_string(e.id), numberToText(p.cycle), fixedText(p.time, kDayDecimals),
                    fixedText(p.oMinusCDays, kDayDecimals), fixedText(p.oMinusCDays * timing::kMinutesPerDay, 2),
                    e.sigmaDays ? fixedText(*e.sigmaDays, kDayDecimals) : "-", timing::extremumKindName(e.kind),
                    p.outlier ? "*" : "", e.excluded ? "除外" : ""});
    }
    table.print(out);
    if (diagram.fit) printFit(out, *diagram.fit, system);
  }

  const std::string title = star.starName + " O−C（" + system + "）";
  if (parsed->has("--svg")) {
    const std::string file = parsed->get("--svg");
    std::ofstream picture(file, std::ios::binary | std::ios::trunc);
    if (!(picture << timing::ocDiagramSvg(diagram, *elements, title)) || !picture.flush()) {
      err << "tenmirel-cli oc: 「" << file << "」に書き出せませんでした\n";
      return kExitFailure;
    }
  }
  if (parsed->has("--png")) {
    if (auto refused = writePngOfSvg(timing::ocDiagramSvg(diagram, *elements, title), parsed->get("--png"))) {
      err << "tenmirel-cli oc: " << *refused << '\n';
      return kExitFailure;
    }
  }
  if (useFit) {
    if (!diagram.fit) {
      err << "tenmirel-cli oc: 当てはめがないため、カタログは変更していません\n";
      return kExitFailure;
    }
    EditorElementsWriter writer;
    const auto replacement = timing::fittedReplacement(star.starName, star.memo, *diagram.fit);
    if (auto refused = writer.replaceElements(cataloguePath, replacement)) {
      err << "tenmirel-cli oc: " << *refused << '\n';
      return kExitFailure;
    }
    err << "tenmirel-cli oc: カタログ「" << cataloguePath << "」の星「" << star.starName << "」の要素を元期 "
        << replacement.epoch << "、周期 " << replacement.period << " に置き換えました（元のファイルは " << cataloguePath
        << "~）\n";
  }
  return 0;
}

}  // namespace tenmirel::cli
