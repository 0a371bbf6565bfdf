#include "lists/night_workbook.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "common/number_text.h"
#include "sky/elements_time.h"
#include "sky/event_kind.h"
#include "sky/site_zone.h"

namespace tenmirel {
namespace {

constexpr double kPercent = 100;
constexpr const char* kWholeFormat = "0";
constexpr const char* kJulianDayFormat = "0.00000";
constexpr const char* kDegreesFormat = "0.0";
constexpr const char* kPercentFormat = "0%";
constexpr const char* kDateTimeFormat = "yyyy-mm-dd hh:mm";
constexpr const char* kMinutesFormat = "0.0";
constexpr const char* kDateFormat = "yyyy-mm-dd";
constexpr double kDateWidth = 11;

TypedCell degreesWithPlace(const sky::NightEvent& event, double degrees) {
  if (!event.hasPlace || !std::isfinite(degrees)) return std::monostate{};
  return degrees;
}

TypedCell finite(double value) {
  if (!std::isfinite(value)) return std::monostate{};
  return value;
}

std::string failedFilters(const sky::NightEvent& event) {
  std::string text;
  auto add = [&text](const char* part) { text += (text.empty() ? "" : "・") + std::string(part); };
  if (!event.passesAltitude) add("高度");
  if (!event.passesMoonDistance) add("月との距離");
  if (!event.passesAround) add("前後の時間");
  if (!event.passesUncertainty) add("予報の不確かさ");
  return text;
}

// Where the uncertainty comes from; with a catalogue's ':' the figure is only a lower bound.
const char* uncertaintySourceText(const sky::NightEvent& event) {
  if (event.uncertaintyFromFit) return "当てはめた要素の誤差";
  if (event.uncertainElements) return "要素の桁（「:」付き、下限）";
  return "要素の桁";
}

// "−12°": the typographic minus, as the window's choices write it.
std::string degreesText(double degrees) {
  std::string text = numberToText(degrees);
  if (!text.empty() && text[0] == '-') text = "−" + text.substr(1);
  return text + "°";
}

std::string localText(const std::optional<sky::SiteZone>& zone, double julianDayUt) {
  if (!zone) return "--:--";
  return sky::localMinuteText(zone->utToLocal(julianDayUt).minute);
}

std::vector<std::string> siteFact(const sky::Site& site) {
  return {"観測地", site.name + "（経度 " + numberToText(site.longitudeDegrees) + "°、緯度 " +
                        numberToText(site.latitudeDegrees) + "°、標高 " + numberToText(site.heightMetres) + " m、" +
                        site.zone + "）"};
}

std::string filtersText(const sky::NightOptions& options) {
  std::string filters = "高度 " + degreesText(options.minimumAltitudeDegrees) + " 以上";
  if (options.moonDistanceDegrees) {
    filters += "、月との距離 " + degreesText(*options.moonDistanceDegrees) + " 以上";
  }
  if (options.aroundMinutes > 0) filters += "、極の前後 " + numberToText(options.aroundMinutes) + " 分も";
  if (options.aroundFromDuration) filters += "、食の継続時間のわかる極小は食の全体も";
  if (options.secondaryMinima) filters += "、副極小も";
  if (options.maxUncertaintyMinutes) {
    filters += "、予報の不確かさ " + numberToText(*options.maxUncertaintyMinutes) + " 分以内";
  }
  filters += options.refraction ? "、大気差あり" : "、大気差なし";
  return filters;
}

std::string dateText(const sky::NightDate& d) {
  return std::to_string(d.year) + "年" + std::to_string(d.month) + "月" + std::to_string(d.day) + "日";
}

// The table of the events: the leading columns, then the night's (the failed
// filters' only when some event fails).
TypedSheet eventsSheet(std::vector<NightWorkbookColumn> leading, const std::vector<const sky::NightEvent*>& events,
                       const std::function<void(std::size_t, std::vector<TypedCell>&)>& leadingCells) {
  TypedSheet sheet;
  const bool someFail =
      std::any_of(events.begin(), events.end(), [](const sky::NightEvent* e) { return !e->passesAll(); });
  std::vector<const NightWorkbookColumn*> columns;
  for (const NightWorkbookColumn& column : nightWorkbookColumns()) {
    if (someFail || !column.onlyWhenAnEventFails) columns.push_back(&column);
  }
  for (const NightWorkbookColumn& column : leading) sheet.columns.push_back(column.column);
  for (const NightWorkbookColumn* column : columns) sheet.columns.push_back(column->column);
  sheet.rows.reserve(events.size());
  for (std::size_t i = 0; i < events.size(); ++i) {
    std::vector<TypedCell> row;
    row.reserve(leading.size() + columns.size());
    if (leadingCells) leadingCells(i, row);
    for (const NightWorkbookColumn* column : columns) row.push_back(column->cell(*events[i]));
    sheet.rows.push_back(std::move(row));
  }
  return sheet;
}

}  // namespace

const std::vector<NightWorkbookColumn>& nightWorkbookColumns() {
  static const std::vector<NightWorkbookColumn> columns = {
      {{"星名", "", 16}, [](const sky::NightEvent& e) -> TypedCell { return e.name; }},
      {{"日時（地方時）", kDateTimeFormat, 17},
       [](const sky::NightEvent& e) -> TypedCell {
         const LocalMinute& m = e.local.minute;
         return SheetDateTime{m.year, m.month, m.day, m.hour, m.minute};
       }},
      {{"ISO 8601", "", 23}, [](const sky::NightEvent& e) -> TypedCell { return e.isoText; }},
      {{"回帰", kWholeFormat, 10}, [](const sky::NightEvent& e) -> TypedCell { return static_cast<double>(e.cycle); }},
      {{"ユリウス日（世界時）", kJulianDayFormat, 16},
       [](const sky::NightEvent& e) -> TypedCell { return finite(e.julianDayUt); }},
      {{"高度（°）", kDegreesFormat, 9},
       [](const sky::NightEvent& e) { return degreesWithPlace(e, e.altitudeDegrees); }},
      {{"方位（°）", kDegreesFormat, 9},
       [](const sky::NightEvent& e) { return degreesWithPlace(e, e.azimuthDegrees); }},
      {{"太陽高度（°）", kDegreesFormat, 12},
       [](const sky::NightEvent& e) -> TypedCell { return finite(e.sunAltitudeDegrees); }},
      {{"月高度（°）", kDegreesFormat, 10},
       [](const sky::NightEvent& e) -> TypedCell { return finite(e.moonAltitudeDegrees); }},
      {{"月の輝面", kPercentFormat, 9},
       [](const sky::NightEvent& e) -> TypedCell { return finite(e.moonIlluminatedFraction); }},
      {{"月との角距離（°）", kDegreesFormat, 14},
       [](const sky::NightEvent& e) { return degreesWithPlace(e, e.moonSeparationDegrees); }},
      {{"種類", "", 8}, [](const sky::NightEvent& e) -> TypedCell { return std::string(sky::eventKindWord(e.kind)); }},
      {{"食の継続（分）", kWholeFormat, 13},
       [](const sky::NightEvent& e) -> TypedCell {
         if (!e.durationMinutes) return std::monostate{};
         return finite(*e.durationMinutes);
       }},
      {{"予報の不確かさ（分）", kMinutesFormat, 16},
       [](const sky::NightEvent& e) -> TypedCell { return finite(e.uncertaintyMinutes); }},
      {{"不確かさの根拠", "", 22},
       [](const sky::NightEvent& e) -> TypedCell { return std::string(uncertaintySourceText(e)); }},
      {{"条件外", "", 14}, [](const sky::NightEvent& e) -> TypedCell { return failedFilters(e); }, true},
  };
  return columns;
}

std::vector<std::vector<std::string>> nightWorkbookFacts(const sky::NightSummary& night, std::size_t events) {
  std::optional<sky::SiteZone> zone;
  if (auto parsed = sky::SiteZone::fromText(night.site.zone)) zone = *parsed;
  const sky::NightDate& d = night.date;
  const sky::Site& site = night.site;
  std::vector<std::vector<std::string>> facts;
  facts.push_back({kNightWorkbookName,
                   std::to_string(d.year) + "年" + std::to_string(d.month) + "月" + std::to_string(d.day) + "日の夜"});
  facts.push_back(siteFact(site));
  facts.push_back({"元期の時刻系", sky::elementsTimeName(night.options.elementsTime)});
  std::string window;
  if (night.options.window == sky::NightWindow::clock) {
    window = sky::localMinuteText(night.windowStartLocal.minute) + " 〜 " +
             sky::localMinuteText(night.windowEndLocal.minute) + "（地方時 07:00〜06:59）";
  } else if (night.darkness == sky::Darkness::neverDark) {
    window = night.darknessMessage;
  } else {
    window = sky::localMinuteText(night.windowStartLocal.minute) + " 〜 " +
             sky::localMinuteText(night.windowEndLocal.minute) + "（太陽高度 " +
             degreesText(night.options.sunLimitDegrees) + " 以下）";
    if (!night.darknessMessage.empty()) window += "　" + night.darknessMessage;
  }
  facts.push_back({"夜", window});
  for (const sky::TwilightLevel& level : night.twilights) {
    if (level.limitDegrees != sky::kSunsetAltitudeDegrees) continue;
    std::string sun;
    if (level.stretch.evening) sun += "日の入り " + localText(zone, *level.stretch.evening);
    if (level.stretch.morning)
      sun += (sun.empty() ? "" : "　") + std::string("日の出 ") + localText(zone, *level.stretch.morning);
    if (!sun.empty()) facts.push_back({"太陽", sun});
  }
  std::string moon = "輝面 " + std::to_string(std::lround(night.moonIlluminatedFraction * kPercent)) + "%（" +
                     (night.moonWaxing ? "満ちていく" : "欠けていく") + "）";
  for (const sky::MoonCrossing& crossing : night.moonCrossings) {
    moon += std::string(crossing.rising ? "　月の出 " : "　月の入り ") + localText(zone, crossing.julianDayUt);
  }
  facts.push_back({"月", moon});
  facts.push_back({"条件", filtersText(night.options)});
  facts.push_back({"極", std::to_string(events) + " 件"});
  return facts;
}

TypedSheet nightWorkbookSheet(const sky::NightSummary& night, const std::vector<const sky::NightEvent*>& events) {
  TypedSheet sheet = eventsSheet({}, events, {});
  sheet.name = kNightWorkbookName;
  sheet.facts = nightWorkbookFacts(night, events.size());
  return sheet;
}

std::vector<std::vector<std::string>> seasonWorkbookFacts(const sky::SeasonPlan& season,
                                                          const std::vector<std::string>& stars, std::size_t events) {
  std::vector<std::vector<std::string>> facts;
  if (season.nights.empty()) {
    facts.push_back({kSeasonWorkbookName, "0 夜"});
    facts.push_back({"極", std::to_string(events) + " 件"});
    return facts;
  }
  const sky::NightSummary& first = season.nights.front().night;
  const sky::NightSummary& last = season.nights.back().night;
  facts.push_back({kSeasonWorkbookName, dateText(first.date) + "の夜から" + dateText(last.date) + "の夜までの " +
                                            std::to_string(season.nights.size()) + " 夜"});
  std::string names;
  for (const std::string& name : stars) names += (names.empty() ? "" : "、") + name;
  facts.push_back({"星", names});
  facts.push_back(siteFact(first.site));
  facts.push_back({"元期の時刻系", sky::elementsTimeName(first.options.elementsTime)});
  if (first.options.window == sky::NightWindow::clock) {
    facts.push_back({"夜", "地方時 07:00〜06:59（表の「夜」はその夕方の日付）"});
  } else {
    facts.push_back({"夜", "太陽高度 " + degreesText(first.options.sunLimitDegrees) +
                               " 以下の暗い時間（表の「夜」はその夕方の日付）"});
  }
  facts.push_back({"条件", filtersText(first.options)});
  facts.push_back({"極", std::to_string(events) + " 件"});
  return facts;
}

TypedSheet seasonWorkbookSheet(const sky::SeasonPlan& season, const std::vector<std::string>& stars,
                               const std::vector<SeasonWorkbookEvent>& events) {
  std::vector<const sky::NightEvent*> plain;
  plain.reserve(events.size());
  for (const SeasonWorkbookEvent& each : events) plain.push_back(each.event);
  const NightWorkbookColumn night{{"夜", kDateFormat, kDateWidth}, {}};
  TypedSheet sheet = eventsSheet({night}, plain, [&events](std::size_t i, std::vector<TypedCell>& row) {
    const sky::NightDate& d = events[i].night->date;
    row.push_back(SheetDateTime{d.year, d.month, d.day, 0, 0});
  });
  sheet.name = kSeasonWorkbookName;
  sheet.facts = seasonWorkbookFacts(season, stars, events.size());
  return sheet;
}

SavedFile writeNightWorkbook(XlsxFileComponent& files, const sky::NightSummary& night,
                             const std::vector<const sky::NightEvent*>& events, bool show) {
  return files.writeTypedWorkbook(kNightWorkbookName, {nightWorkbookSheet(night, events)}, show);
}

SavedFile writeSeasonWorkbook(XlsxFileComponent& files, const sky::SeasonPlan& season,
                              const std::vector<std::string>& stars, const std::vector<SeasonWorkbookEvent>& events,
                              bool show) {
  return files.writeTypedWorkbook(kSeasonWorkbookName, {seasonWorkbookSheet(season, stars, events)}, show);
}

}  // namespace tenmirel
