// tenmirel-cli predict: fills the main window's fields as a user would, presses
// "予報開始" once and "次の回帰の予報" for every further cycle.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <nlohmann/json.hpp>

#include "astro/julian_day.h"
#include "cli/catalogue_option.h"
#include "cli/cli.h"
#include "cli/cli_args.h"
#include "cli/plain_scan.h"
#include "cli/site_option.h"
#include "cli/terminal_text.h"
#include "cli/text_table.h"
#include "common/number_text.h"

namespace tenmirel::cli {
namespace {

constexpr int kMaxCycles = 10000;
constexpr const char* kCommandLineStarName = "(座標指定)";

void printHelp(std::ostream& out) {
  out << "使い方: tenmirel-cli predict --epoch JD --period DAYS --from \"YYYY-MM-DD HH:MM\"\n"
         "                            [--cycles N] [--ra \"HH MM.m\" --dec \"+DD MM\"] [--format text|json]\n"
         "        tenmirel-cli predict --catalogue FILE --star NAME|INDEX --from \"YYYY-MM-DD HH:MM\"\n"
         "                            [--cycles N] [--format text|json]\n"
         "\n"
         "基準日時より後の最初の極と、その後の N − 1 回の極を予報します。\n"
         "観測地は既定で東経139°00′・北緯35°、日時はすべてその観測地の地方時（既定は世界時＋9時間）です。\n"
         "\n"
         "  --epoch JD         元期：極のユリウス日（世界時）\n"
         "  --period DAYS      周期（日）\n"
         "  --from DATETIME    基準日時（地方時）\"YYYY-MM-DD HH:MM\"\n"
         "  --cycles N         予報する極の数（1〜10000、既定 1）\n"
         "  --ra \"HH MM.m\"     赤経（時 分）。--dec と組で指定すると高度を計算します\n"
         "  --dec \"+DD MM\"     赤緯（度 分）。南は \"-\"\n"
         "  --catalogue FILE   変光星データファイル（.vsd、- で標準入力）から星を選ぶ\n"
         "  --star NAME|INDEX  カタログの星の名前、または番号（tenmirel-cli stars の番号）\n"
         "                     --epoch / --period を併せて指定するとカタログの値を置き換えます\n"
         "  --format FORMAT    text（既定、桁をそろえた表）または json（極ごとに1つのオブジェクト：\n"
         "                     cycle、local_time、jd_reference、jd、altitude_deg と、\n"
         "                     texts に画面に出る出力欄の文字列、calc に高度計算の17項目）\n"
      << siteOptionsHelp()
      << "  --help             この説明\n"
         "\n"
         "例:\n"
         "  tenmirel-cli predict --epoch 2451545.0 --period 1.5 --from \"2000-01-02 09:00\" --cycles 3\n"
         "  tenmirel-cli predict --epoch 2452500.2 --period 2.8673 --from \"2026-12-07 18:00\" \\\n"
         "      --ra \"03 08.2\" --dec \"+40 57\" --format json\n"
         "  tenmirel-cli predict --catalogue data/sample.vsd --star Algol --from \"2026-12-07 18:00\"\n";
}

// One or more blanks or colons between two parts.
bool separator(PlainScan& scan) {
  bool any = false;
  while (scan.blanks() > 0 || scan.take(":")) any = true;
  return any;
}

// "HH MM.m" or "HH:MM.m" into the two texts of the star table.
bool splitRightAscension(const std::string& text, std::string& hours, std::string& minutes) {
  PlainScan scan(text);
  std::string_view hourDigits, minuteText;
  scan.blanks();
  if (!scan.digits(1, 2, hourDigits) || !separator(scan) || !scan.decimal(2, minuteText)) return false;
  scan.blanks();
  if (!scan.atEnd()) return false;
  hours = hourDigits;
  minutes = minuteText;
  return parseLenient(hours) < 24 && parseLenient(minutes) < 60;
}

// "+DD MM" or "-DD:MM.m" into sign, degrees and minutes texts.
bool splitDeclination(const std::string& text, std::string& sign, std::string& degrees, std::string& minutes) {
  PlainScan scan(text);
  std::string_view degreeDigits, minuteText;
  scan.blanks();
  const bool south = scan.take("-");
  if (!south) scan.take("+");
  if (!scan.digits(1, 2, degreeDigits) || !separator(scan) || !scan.decimal(2, minuteText)) return false;
  scan.blanks();
  if (!scan.atEnd()) return false;
  sign = south ? kSouthSignText : "True";
  degrees = degreeDigits;
  minutes = minuteText;
  const double total = parseLenient(degrees) + parseLenient(minutes) / 60;
  return parseLenient(minutes) < 60 && total <= 90;
}

std::string twoDigits(const std::string& text) { return text.size() == 1 ? "0" + text : text; }

// "2000-01-03T09:00+09:00": the extremum's local minute as the window shows it.
std::string isoLocalTime(const FrmYohouModel& form) {
  return form.txtOutputYear + "-" + twoDigits(form.txtOutputMonth) + "-" + twoDigits(form.txtOutputDay) + "T" +
         twoDigits(form.txtOutputHour) + ":" + twoDigits(form.txtOutputMin) +
         form.site().zone().offsetAtUt(form.julKekka).text();
}

// A whole cycle number as a JSON integer while one can hold it exactly.
nlohmann::ordered_json cycleNumber(double cycle) {
  constexpr double kExactIntegerLimit = 9007199254740992.0;  // 2^53
  if (std::abs(cycle) < kExactIntegerLimit && std::floor(cycle) == cycle) {
    return static_cast<std::int64_t>(cycle);
  }
  return cycle;
}

// One extremum. The numbers are the values of the texts the window shows, so
// that they agree with texts to the last digit.
nlohmann::ordered_json extremumJson(const FrmYohouModel& form) {
  const bool withAltitude = form.txtOutputKoudo != kNoCoordinatesText;
  nlohmann::ordered_json texts;
  texts["txtOutputKaiki"] = form.txtOutputKaiki;
  texts["txtOutputYear"] = form.txtOutputYear;
  texts["txtOutputMonth"] = form.txtOutputMonth;
  texts["txtOutputDay"] = form.txtOutputDay;
  texts["txtOutputHour"] = form.txtOutputHour;
  texts["txtOutputMin"] = form.txtOutputMin;
  texts["txtOutputKoudo"] = form.txtOutputKoudo;
  texts["lblJulKijun"] = form.lblJulKijun;
  texts["lblJulKekka"] = form.lblJulKekka;
  nlohmann::ordered_json calc = nlohmann::ordered_json::object();
  forEachCalcCell(form.calc, [&](const std::string& name, const std::string& text) {
    calc[name] = withAltitude ? text : std::string();
  });
  nlohmann::ordered_json extremum;
  extremum["cycle"] = cycleNumber(parseLenient(form.txtOutputKaiki));
  extremum["local_time"] = isoLocalTime(form);
  extremum["jd_reference"] = parseLenient(form.lblJulKijun);
  extremum["jd"] = parseLenient(form.lblJulKekka);
  extremum["altitude_deg"] = withAltitude ? nlohmann::ordered_json(parseLenient(form.txtOutputKoudo)) : nullptr;
  extremum["texts"] = std::move(texts);
  extremum["calc"] = std::move(calc);
  return extremum;
}

// One object a line, so that a long run can be read line by line too.
void printJson(const FrmYohouModel& form, std::ostream& out, bool first, bool last) {
  out << (first ? "[" : " ") << extremumJson(form).dump(-1, ' ', false, nlohmann::json::error_handler_t::replace)
      << (last ? "]" : ",") << '\n';
}

std::string localTimeText(const FrmYohouModel& form) {
  return form.txtOutputYear + "-" + twoDigits(form.txtOutputMonth) + "-" + twoDigits(form.txtOutputDay) + " " +
         twoDigits(form.txtOutputHour) + ":" + twoDigits(form.txtOutputMin);
}

}  // namespace

int runPredict(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  std::string error;
  const auto parsed = parseArgs(args,
                                withSiteOptions({"--epoch", "--period", "--from", "--cycles", "--ra", "--dec",
                                                 "--format", "--catalogue", "--star"}),
                                {"--help"}, error);
  if (!parsed) return usageError(err, "predict", error);
  if (parsed->flags.count("--help")) {
    printHelp(out);
    return 0;
  }
  if (!parsed->positional.empty())
    return usageError(err, "predict", "余分な引数「" + parsed->positional.front() + "」");

  const bool fromCatalogue = parsed->has("--catalogue") || parsed->has("--star");
  if (fromCatalogue && !(parsed->has("--catalogue") && parsed->has("--star"))) {
    return usageError(err, "predict", "--catalogue と --star は組で指定してください");
  }
  if (fromCatalogue && (parsed->has("--ra") || parsed->has("--dec"))) {
    return usageError(err, "predict",
                      "カタログの星には --ra / --dec を指定できません（座標はカタログのものを使います）");
  }
  if (!fromCatalogue && !(parsed->has("--epoch") && parsed->has("--period"))) {
    return usageError(err, "predict", "--epoch と --period（または --catalogue と --star）を指定してください");
  }
  if (parsed->has("--ra") != parsed->has("--dec"))
    return usageError(err, "predict", "--ra と --dec は組で指定してください");
  if (!parsed->has("--from")) return usageError(err, "predict", "--from で基準日時を指定してください");
  for (const char* name : {"--epoch", "--period"}) {
    if (parsed->has(name) && !parseStrict(parsed->get(name))) {
      return usageError(err, "predict", std::string(name) + " の値「" + parsed->get(name) + "」は数ではありません");
    }
  }
  const auto from = parseDateTime(parsed->get("--from"), TimePart::required, error);
  if (!from) return usageError(err, "predict", error);
  const auto cycles = parseCount(parsed->get("--cycles", "1"), 1, kMaxCycles);
  if (!cycles) return usageError(err, "predict", "--cycles は 1 から 10000 までの整数で指定してください");
  const std::string format = parsed->get("--format", "text");
  if (format != "text" && format != "json") return usageError(err, "predict", "--format は text か json です");

  FormSession session(err);
  FrmYohouModel& form = session.form;
  if (const std::optional<int> status = useSiteOptions(*parsed, parsed->get("--catalogue"), form, "predict", err)) {
    return *status;
  }
  form.Form_Load(std::chrono::system_clock::now());
  if (fromCatalogue) {
    if (!loadCatalogue(session, parsed->get("--catalogue"), error) || !selectStar(form, parsed->get("--star"), error)) {
      err << "tenmirel-cli predict: " << error << '\n';
      return 1;
    }
  } else if (parsed->has("--ra")) {
    StarRecord star;
    star.starName = kCommandLineStarName;
    if (!splitRightAscension(parsed->get("--ra"), star.alphaHour, star.alphaMin)) {
      return usageError(err, "predict",
                        "--ra「" + parsed->get("--ra") + "」は \"HH MM.m\"（0〜23時、0〜59.9分）で指定してください");
    }
    if (!splitDeclination(parsed->get("--dec"), star.deltaSign, star.deltaDeg, star.deltaMin)) {
      return usageError(err, "predict",
                        "--dec「" + parsed->get("--dec") + "」は \"+DD MM\"（−90〜+90度）で指定してください");
    }
    // A one-star catalogue, as if loaded from a file.
    form.useCatalogue({star});
  } else {
    form.setCombo1ListIndex(form.starCount);  // "手動入力"
  }
  if (parsed->has("--epoch")) form.txtGanki = parsed->get("--epoch");
  if (parsed->has("--period")) form.txtSyuki = parsed->get("--period");
  form.typeReference(*from);

  TextTable table({"回帰", "日時（地方時）", "ユリウス日（世界時）", "高度（°）"});
  table.alignRight(0);
  table.alignRight(2);
  table.alignRight(3);
  for (int i = 0; i < *cycles; ++i) {
    const bool predicted = i == 0 ? form.Command2_Click() : form.Command3_Click();
    if (!predicted) return 1;  // the form's own message is already on the error stream
    if (format == "json") {
      printJson(form, out, i == 0, i + 1 == *cycles);
    } else {
      table.addRow({form.txtOutputKaiki, localTimeText(form), form.lblJulKekka, form.txtOutputKoudo});
    }
  }
  if (format == "text") {
    if (fromCatalogue) out << shownOnTerminal(form.combo1Text()) << "  " << shownOnTerminal(form.lblMemo) << '\n';
    out << "基準 " << from->year << "-" << from->month << "-" << from->day << " " << from->hour << ":"
        << (from->minute.size() == 1 ? "0" : "") << from->minute << "（地方時）  ユリウス日 " << form.lblJulKijun
        << "  元期 " << form.txtGanki << "  周期 " << form.txtSyuki << '\n';
    table.print(out);
  }
  return 0;
}

}  // namespace tenmirel::cli
