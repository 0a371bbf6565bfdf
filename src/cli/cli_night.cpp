// tenmirel-cli night: every extremum of every catalogue star within one night at
// the observer's site, with where the star, the Sun and the Moon stand, filtered
// and printed as a table, CSV, JSON or iCalendar, or written as an .xlsx file.
#include <cmath>
#include <filesystem>

#include "catalogue/star_file.h"
#include "cli/catalogue_option.h"
#include "cli/cli.h"
#include "cli/cli_args.h"
#include "cli/default_application.h"
#include "cli/night_options.h"
#include "cli/night_report.h"
#include "cli/site_option.h"
#include "cli/tonight.h"
#include "common/utf8_bom.h"
#include "prediction/night_stars.h"
#include "sky/night_plan.h"

namespace tenmirel::cli {
namespace {

constexpr const char* kCommand = "night";
constexpr int kExitFailure = 1;
constexpr int kFirstYear = 1600;
constexpr int kLastYear = 3000;

void printHelp(std::ostream& out) {
  out << "使い方: tenmirel-cli night --catalogue FILE [--date YYYY-MM-DD] [観測地のオプション] [--elements SYSTEM]\n"
         "                          [--sun-below DEG | --window clock] [--min-altitude DEG]\n"
         "                          [--moon-distance DEG] [--around MIN] [--secondary]\n"
         "                          [--max-uncertainty MIN] [--refraction]\n"
         "                          [--format text|csv|json|ics [--bom] | --xlsx PATH [--open]]\n"
         "\n"
         "今夜の計画：観測地で太陽が沈んで暗くなってから明け方までに迎える、カタログの全ての星の\n"
         "全ての極を時刻順に一覧にします。星・太陽・月の高度、月の輝面と月との角距離つき。\n"
         "\n"
         "  --catalogue FILE     変光星データファイル（.vsd、星の数に上限なし）。- で標準入力\n"
         "  --date YYYY-MM-DD    夜の日付（夕方の日付、観測地の地方時）。既定は観測地の今夜\n"
         "                       （正午より前なら前の日の夕方からの夜）\n"
      << siteOptionsHelp() << nightOptionsHelp()
      << "\n"
         "終了状態: 0 計画できた（暗くならない夜もその旨を表示して 0）、1 失敗、2 使い方の誤り\n"
         "\n"
         "例:\n"
         "  tenmirel-cli night --catalogue data/sample.vsd --date 2026-12-07 --min-altitude 20\n"
         "  tenmirel-cli night --catalogue data/sample.vsd --lon 14.42 --lat 50.09 --tz Europe/Prague --format ics\n";
}

std::set<std::string> optionsWithValues() {
  std::set<std::string> names = nightOptionNames();
  names.insert({"--catalogue", "--date"});
  names.insert(siteOptionNames().begin(), siteOptionNames().end());
  return names;
}

}  // namespace

int runNight(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  std::string error;
  const auto parsed = parseArgs(args, optionsWithValues(), nightFlagNames(), error);
  if (!parsed) return usageError(err, kCommand, error);
  if (parsed->flags.count("--help")) {
    printHelp(out);
    return 0;
  }
  if (!parsed->positional.empty()) return usageError(err, kCommand, "余分な引数「" + parsed->positional.front() + "」");
  if (!parsed->has("--catalogue")) return usageError(err, kCommand, "--catalogue を指定してください");
  const std::string format = parsed->get("--format", "text");
  if (const std::optional<std::string> wrong = checkOutputOptions(*parsed)) return usageError(err, kCommand, *wrong);
  sky::NightOptions options;
  if (const std::optional<std::string> wrong = readNightOptions(*parsed, options)) {
    return usageError(err, kCommand, *wrong);
  }

  std::optional<sky::NightDate> date;
  if (parsed->has("--date")) {
    const auto texts = parseDateTime(parsed->get("--date"), TimePart::forbidden, error);
    if (!texts) return usageError(err, kCommand, "--date: " + error);
    date = sky::NightDate{std::stoi(texts->year), std::stoi(texts->month), std::stoi(texts->day)};
    if (date->year < kFirstYear || date->year > kLastYear) {
      return usageError(err, kCommand, "--date は 1600年から 3000年までの日付で指定してください");
    }
  }

  NightSiteChoice site;
  if (const std::optional<int> status = chooseNightSite(*parsed, kCommand, err, options, site)) return *status;
  const SiteChoice& chosen = site.chosen;
  const sky::SiteZone& zone = *site.zone;
  if (!date) {
    const double now = julianDayOf(std::chrono::system_clock::now());
    date = eveningDateAt(zone, now);
    err << "tenmirel-cli " << kCommand << ": --date を省いたので、" << chosen.site.name << "の今 ("
        << sky::localMinuteText(zone.utToLocal(now).minute) << ") から " << nightDateText(*date)
        << "の夜を計画します。\n";
  }

  // A regular file is read a record at a time, keeping only what the night
  // needs of each star: a survey's millions of stars fit in memory once.
  const std::string cataloguePath = parsed->get("--catalogue");
  std::vector<sky::NightStar> stars;
  std::error_code notRegular;
  StarFileReadResult reading;
  if (cataloguePath != kStandardInputArgument && std::filesystem::is_regular_file(cataloguePath, notRegular)) {
    reading = streamStarFile(
        cataloguePath, RecordLimit::none, [&](StarRecord&& record) { stars.push_back(nightStarOf(record)); },
        [&](int count) { stars.reserve(static_cast<std::size_t>(count)); });
  } else {
    reading = readCatalogueArgument(cataloguePath, RecordLimit::none);
    if (reading.ok()) stars = nightStarsOf(reading.records);
    reading.records.clear();
  }
  if (!reading.ok()) {
    err << "tenmirel-cli " << kCommand << ": " << describeStarFileFailure(cataloguePath, reading) << '\n';
    return kExitFailure;
  }
  const sky::Checked<sky::NightPlan> plan = sky::planNight(stars, chosen.site, *date, options);
  if (!plan) {
    err << "tenmirel-cli " << kCommand << ": " << plan.message() << '\n';
    return kExitFailure;
  }
  printMemoWarnings(kCommand, *plan, err);

  const NightReport report(*plan, zone, options.elementsTime);
  const std::string& darkness = plan->night.darknessMessage;
  const bool neverDark = plan->night.darkness == sky::Darkness::neverDark;
  if (parsed->has("--xlsx")) {
    if (neverDark) err << "tenmirel-cli " << kCommand << ": " << darkness << '\n';
    DefaultApplication opener;
    std::string message;
    const bool written =
        writeNightWorkbook(report, parsed->get("--xlsx"), parsed->flags.count("--open") != 0, &opener, message);
    (written ? out : err) << (written ? "" : "tenmirel-cli night: ") << message << '\n';
    if (written) out << shownCountLine(report) << '\n' << skippedCountLine(report) << '\n';
    return written ? 0 : kExitFailure;
  }
  if (format == "text") {
    printNightText(report, out);
    return 0;
  }
  // The machine formats keep their stream clean: what a reader should know goes to the error stream.
  if (neverDark) err << "tenmirel-cli " << kCommand << ": " << darkness << '\n';
  if (format == "csv") {
    if (parsed->flags.count("--bom")) out << kUtf8ByteOrderMark;
    printNightCsv(report, out);
  }
  if (format == "json") printNightJson(report, out);
  if (format == "ics") {
    const std::string calendar = nightCalendar(report, error);
    if (calendar.empty()) {
      err << "tenmirel-cli " << kCommand << ": " << error << '\n';
      return kExitFailure;
    }
    out << calendar;
  }
  if (format != "json") err << shownCountLine(report) << '\n' << skippedCountLine(report) << '\n';
  return 0;
}

}  // namespace tenmirel::cli
