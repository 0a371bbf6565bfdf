// tenmirel-cli season: the events of one or a few catalogue stars night by night
// over many nights, each night planned exactly as `night` plans it, as a table,
// CSV, JSON or iCalendar, or written as an .xlsx file.
#include <cmath>
#include <cstdio>

#include "catalogue/star_file.h"
#include "cli/catalogue_option.h"
#include "cli/cli.h"
#include "cli/cli_args.h"
#include "cli/default_application.h"
#include "cli/night_json.h"
#include "cli/night_options.h"
#include "cli/night_report.h"
#include "cli/site_option.h"
#include "cli/terminal_text.h"
#include "cli/text_table.h"
#include "common/number_text.h"
#include "common/utf8_bom.h"
#include "prediction/night_stars.h"
#include "sky/season_plan.h"

namespace tenmirel::cli {
namespace {

constexpr const char* kCommand = "season";
constexpr int kExitFailure = 1;
constexpr const char* kStarOption = "--star";

void printHelp(std::ostream& out) {
  out << "使い方: tenmirel-cli season --catalogue FILE --star NAME [--star NAME …] --from YYYY-MM-DD --nights N\n"
         "                           [観測地のオプション] [--elements SYSTEM] [night と同じ条件のオプション]\n"
         "                           [--format text|csv|json|ics [--bom] | --xlsx PATH [--open]]\n"
         "\n"
         "星ごとの予報：選んだ星が観測地の暗い夜に迎える極を、--from の夜から N 夜にわたって\n"
         "夜ごとに時刻順に一覧にします。各夜の極は同じ条件の night がその日に出すものと同じです。\n"
         "\n"
         "  --catalogue FILE     変光星データファイル（.vsd）。- で標準入力\n"
         "  --star NAME          星の名前またはカタログでの番号（何度でも指定可）\n"
         "  --from YYYY-MM-DD    最初の夜の日付（夕方の日付、観測地の地方時）\n"
         "  --nights N           夜の数（1 から "
      << sky::kMostSeasonNights << " まで）\n"
      << siteOptionsHelp() << nightOptionsHelp()
      << "\n"
         "終了状態: 0 計画できた、1 失敗、2 使い方の誤り\n"
         "\n"
         "例:\n"
         "  tenmirel-cli season --catalogue data/sample.vsd --star \"RZ Cas\" --from 2026-12-01 --nights 30 "
         "--secondary\n";
}

std::set<std::string> optionsWithValues() {
  std::set<std::string> names = nightOptionNames();
  names.insert({"--catalogue", "--from", "--nights"});
  names.insert(siteOptionNames().begin(), siteOptionNames().end());
  return names;
}

// The --star values, every one of them, and the arguments without them.
std::vector<std::string> takeStars(std::vector<std::string>& args, std::string& error) {
  std::vector<std::string> stars, rest;
  const std::string withEquals = std::string(kStarOption) + "=";
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == kStarOption) {
      if (i + 1 == args.size()) {
        error = "--star に星の名前を指定してください";
        return {};
      }
      stars.push_back(args[++i]);
    } else if (args[i].rfind(withEquals, 0) == 0) {
      stars.push_back(args[i].substr(withEquals.size()));
    } else {
      rest.push_back(args[i]);
    }
  }
  args = std::move(rest);
  return stars;
}

std::string isoDate(const sky::NightDate& date) {
  char text[16];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d", date.year, date.month, date.day);
  return text;
}

// The nights' reports, and every shown event in time order with its night's.
struct SeasonReport {
  std::vector<NightReport> nights;
  std::vector<ReportedEvent> shown;
  std::size_t hiddenEvents = 0;
  std::size_t skippedStars = 0;

  SeasonReport(const sky::SeasonPlan& season, const sky::SiteZone& zone, sky::ElementsTime elements) {
    nights.reserve(season.nights.size());
    for (const sky::NightPlan& plan : season.nights) nights.emplace_back(plan, zone, elements);
    for (const NightReport& night : nights) {
      for (const sky::NightEvent* event : night.shown) shown.push_back({&night, event});
      hiddenEvents += night.hiddenEvents;
    }
    if (!nights.empty()) skippedStars = nights.front().skippedStars();
  }
};

std::string shownLine(const SeasonReport& report) {
  return "極 " + std::to_string(report.shown.size()) + " 件を表示しました（条件に合わずに隠した極 " +
         std::to_string(report.hiddenEvents) + " 件）。";
}

void printText(const SeasonReport& report, const std::vector<std::string>& names, std::ostream& out) {
  const NightReport& first = report.nights.front();
  const NightReport& last = report.nights.back();
  out << nightDateText(first.plan.night.date) << "から" << nightDateText(last.plan.night.date) << "までの "
      << report.nights.size() << " 夜  " << siteLine(first) << "  元期の時刻系 "
      << sky::elementsTimeName(first.elements) << '\n';
  out << "星: ";
  for (std::size_t i = 0; i < names.size(); ++i) out << (i ? "、" : "") << shownOnTerminal(names[i]);
  out << '\n' << conditionsLine(first) << "\n\n";
  std::vector<std::string> columns = {"夜"};
  const std::vector<std::string>& nightColumns = nightTableColumns();
  columns.insert(columns.end(), nightColumns.begin(), nightColumns.end());
  TextTable table(columns);
  alignNightColumns(table, 1);
  for (const ReportedEvent& shown : report.shown) {
    std::vector<std::string> cells = {isoDate(shown.report->plan.night.date)};
    const std::vector<std::string> eventCells = nightEventCells(*shown.report, *shown.event, false);
    cells.insert(cells.end(), eventCells.begin(), eventCells.end());
    table.addRow(cells);
  }
  printTrimmed(table, out);
  out << shownLine(report) << '\n' << skippedCountLine(first) << '\n';
}

void printCsv(const SeasonReport& report, std::ostream& out) {
  out << "night";
  for (const std::string& column : nightCsvColumns()) out << ',' << column;
  out << '\n';
  for (const ReportedEvent& shown : report.shown) {
    out << isoDate(shown.report->plan.night.date);
    const std::vector<std::string> cells = nightEventCells(*shown.report, *shown.event, true);
    for (std::size_t column = 0; column < cells.size(); ++column) {
      out << ',' << (column == 0 ? cells[column] : csvField(cells[column]));
    }
    out << '\n';
  }
}

void printJson(const SeasonReport& report, const std::vector<std::string>& names, std::ostream& out) {
  const NightReport& first = report.nights.front();
  const Json summary = nightSummaryJson(first);
  Json season;
  season["from"] = isoDate(first.plan.night.date);
  season["nights"] = report.nights.size();
  season["stars"] = names;
  season["site"] = summary["site"];
  season["elements"] = summary["elements"];
  season["window"] = summary["window"];
  season["sun_limit_deg"] = summary["sun_limit_deg"];
  Json nights = Json::array();
  for (const NightReport& night : report.nights) {
    const Json each = nightSummaryJson(night);
    nights.push_back(Json{{"night", each["date"]},
                          {"darkness", each["darkness"]},
                          {"start", each["start"]},
                          {"end", each["end"]},
                          {"start_jd", each["start_jd"]},
                          {"end_jd", each["end_jd"]}});
  }
  Json events = Json::array();
  for (const ReportedEvent& shown : report.shown) {
    Json event = Json{{"night", isoDate(shown.report->plan.night.date)}};
    event.update(nightEventJson(*shown.event));
    events.push_back(std::move(event));
  }
  Json result;
  result["season"] = std::move(season);
  result["filters"] = nightFiltersJson(first.plan.night.options);
  result["nights"] = std::move(nights);
  result["events"] = std::move(events);
  result["hidden_events"] = report.hiddenEvents;
  result["skipped_stars"] = report.skippedStars;
  out << result.dump(1, ' ', false, nlohmann::json::error_handler_t::replace) << '\n';
}

}  // namespace

int runSeason(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  std::string error;
  std::vector<std::string> rest = args;
  const std::vector<std::string> starTexts = takeStars(rest, error);
  if (!error.empty()) return usageError(err, kCommand, error);
  const auto parsed = parseArgs(rest, optionsWithValues(), nightFlagNames(), error);
  if (!parsed) return usageError(err, kCommand, error);
  if (parsed->flags.count("--help")) {
    printHelp(out);
    return 0;
  }
  if (!parsed->positional.empty()) return usageError(err, kCommand, "余分な引数「" + parsed->positional.front() + "」");
  for (const char* required : {"--catalogue", "--from", "--nights"}) {
    if (!parsed->has(required)) return usageError(err, kCommand, std::string(required) + " を指定してください");
  }
  if (starTexts.empty()) return usageError(err, kCommand, "--star で星を1つ以上指定してください");
  const std::optional<int> nights = parseCount(parsed->get("--nights"), 1, sky::kMostSeasonNights);
  if (!nights) {
    return usageError(err, kCommand,
                      "--nights の値「" + parsed->get("--nights") + "」は 1 から " +
                          std::to_string(sky::kMostSeasonNights) + " までの整数で指定してください");
  }
  const auto texts = parseDateTime(parsed->get("--from"), TimePart::forbidden, error);
  if (!texts) return usageError(err, kCommand, "--from: " + error);
  const sky::NightDate from{std::stoi(texts->year), std::stoi(texts->month), std::stoi(texts->day)};
  if (const std::optional<std::string> wrong = checkOutputOptions(*parsed)) return usageError(err, kCommand, *wrong);
  sky::NightOptions options;
  if (const std::optional<std::string> wrong = readNightOptions(*parsed, options)) {
    return usageError(err, kCommand, *wrong);
  }

  NightSiteChoice site;
  if (const std::optional<int> status = chooseNightSite(*parsed, kCommand, err, options, site)) return *status;
  const SiteChoice& chosen = site.chosen;
  const sky::SiteZone& zone = *site.zone;

  StarFileReadResult reading = readCatalogueArgument(parsed->get("--catalogue"), RecordLimit::none);
  if (!reading.ok()) {
    err << "tenmirel-cli " << kCommand << ": " << describeStarFileFailure(parsed->get("--catalogue"), reading) << '\n';
    return kExitFailure;
  }
  std::vector<sky::NightStar> stars;
  std::vector<std::string> names;
  for (const std::string& text : starTexts) {
    const std::optional<int> index = findStar(reading.records, text);
    if (!index) {
      return usageError(err, kCommand,
                        "星「" + text + "」がカタログにありません（tenmirel-cli stars で一覧を確かめてください）");
    }
    stars.push_back(nightStarOf(reading.records[static_cast<std::size_t>(*index)]));
    names.push_back(stars.back().name);
  }
  reading.records.clear();

  const sky::Checked<sky::SeasonPlan> season = sky::planSeason(stars, chosen.site, from, *nights, options);
  if (!season) {
    err << "tenmirel-cli " << kCommand << ": " << season.message() << '\n';
    return kExitFailure;
  }
  printMemoWarnings(kCommand, season->nights.front(), err);
  const SeasonReport report(*season, zone, options.elementsTime);
  const std::string format = parsed->get("--format", "text");
  if (parsed->has("--xlsx")) {
    std::string message;
    DefaultApplication opener;
    const bool written = writeSeasonWorkbook(*season, names, report.shown, parsed->get("--xlsx"),
                                             parsed->flags.count("--open") != 0, &opener, message);
    (written ? out : err) << (written ? "" : "tenmirel-cli season: ") << message << '\n';
    if (written) out << shownLine(report) << '\n';
    return written ? 0 : kExitFailure;
  }
  if (format == "text") printText(report, names, out);
  if (format == "csv") {
    if (parsed->flags.count("--bom")) out << kUtf8ByteOrderMark;
    printCsv(report, out);
  }
  if (format == "json") printJson(report, names, out);
  if (format == "ics") {
    const std::string calendar = eventsCalendar(report.shown, chosen.site.name, error);
    if (calendar.empty()) {
      err << "tenmirel-cli " << kCommand << ": " << error << '\n';
      return kExitFailure;
    }
    out << calendar;
  }
  if (format == "csv" || format == "ics") {
    err << shownLine(report) << '\n' << skippedCountLine(report.nights.front()) << '\n';
  }
  return 0;
}

}  // namespace tenmirel::cli
