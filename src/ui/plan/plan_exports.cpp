#include "ui/plan/plan_exports.h"

#include "sky/event_calendar_texts.h"
#include "sky/event_kind.h"

#include <libical/ical.h>

#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QSvgGenerator>
#include <cmath>
#include <cstdio>

#include "common/number_text.h"
#include "sheet/sheet_files.h"
#include "ui/plan/night_picture_painter.h"
#include "ui/plan/plan_texts.h"

namespace tenmirel::ui {
namespace {

constexpr double kUnixEpochJulianDay = 2440587.5;
constexpr double kSecondsPerDay = 86400;
constexpr double kSecondsPerMinute = 60;
constexpr double kPercent = 100;

std::string csvField(const std::string& value) {
  if (value.find_first_of(",\"\r\n") == std::string::npos) return value;
  std::string quoted = "\"";
  for (char c : value) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  return quoted + "\"";
}

std::string fixed(double value, int decimals) {
  if (!std::isfinite(value)) return {};
  char text[64];
  std::snprintf(text, sizeof text, "%.*f", decimals, value);
  return text;
}

long long unixSecondsOf(double julianDayUt) {
  return std::llround((julianDayUt - kUnixEpochJulianDay) * kSecondsPerDay);
}

icaltimetype utcTime(long long unixSeconds) {
  return icaltime_from_timet_with_zone(static_cast<time_t>(unixSeconds), 0, icaltimezone_get_utc_timezone());
}

std::string localClock(const std::optional<sky::SiteZone>& zone, double julianDayUt) {
  if (!zone) return "--:--";
  return clockText(zone->utToLocal(julianDayUt).minute);
}

// "−12°", "−0.833°": the typographic minus, as the window's choices write it.
std::string signedDegrees(double degrees) {
  std::string text = numberToText(degrees);
  if (!text.empty() && text[0] == '-') text = "−" + text.substr(1);
  return text + "°";
}

}  // namespace

std::string planCsv(const PlanRows& rows) {
  std::string csv =
      "日時,ISO 8601,星名,回帰,ユリウス日(UT),高度,方位,方位名,太陽高度,月高度,月輝面比,月との距離,条件外,"
      "種類,食の継続(分),予報の不確かさ(分),不確かさは下限\n";
  for (const sky::NightEvent* e : rows) {
    const std::string fields[] = {e->localText,
                                  e->isoText,
                                  e->name,
                                  std::to_string(e->cycle),
                                  fixed(e->julianDayUt, 6),
                                  e->hasPlace ? fixed(e->altitudeDegrees, 2) : "",
                                  e->hasPlace ? fixed(e->azimuthDegrees, 2) : "",
                                  e->hasPlace ? compassPoint(e->azimuthDegrees) : "",
                                  fixed(e->sunAltitudeDegrees, 2),
                                  fixed(e->moonAltitudeDegrees, 2),
                                  fixed(e->moonIlluminatedFraction, 3),
                                  e->hasPlace ? fixed(e->moonSeparationDegrees, 2) : "",
                                  failedFiltersText(*e),
                                  sky::eventKindWord(e->kind),
                                  e->durationMinutes ? fixed(*e->durationMinutes, 1) : "",
                                  fixed(e->uncertaintyMinutes, 1),
                                  e->uncertainElements ? "はい" : ""};
    std::string line;
    for (const std::string& field : fields) {
      if (!line.empty() || &field != &fields[0]) line += ',';
      line += csvField(field);
    }
    csv += line + "\n";
  }
  return csv;
}

std::string planIcs(const PlanRows& rows, const sky::NightSummary& night, double aroundMinutes,
                    long long dtstampUnixSeconds) {
  icalcomponent* calendar = icalcomponent_new(ICAL_VCALENDAR_COMPONENT);
  icalcomponent_add_property(calendar, icalproperty_new_version("2.0"));
  icalcomponent_add_property(calendar, icalproperty_new_prodid("-//Tenmirel//Night plan//JA"));
  for (const sky::NightEvent* e : rows) {
    // The span the event was checked over: the minutes around it, or its whole eclipse.
    const double halfMinutes = e->checkedHalfMinutes > 0 ? e->checkedHalfMinutes : std::max(0.0, aroundMinutes);
    const long long halfSpan = std::llround(halfMinutes * kSecondsPerMinute);
    const long long at = unixSecondsOf(e->julianDayUt);
    // Every event lasts at least a minute.
    const bool spans = 2 * halfSpan >= static_cast<long long>(kSecondsPerMinute);
    const long long from = spans ? at - halfSpan : at;
    const long long to = spans ? at + halfSpan : at + static_cast<long long>(kSecondsPerMinute);
    icalcomponent* event = icalcomponent_new(ICAL_VEVENT_COMPONENT);
    icalcomponent_add_property(event, icalproperty_new_uid(sky::eventUid(*e).c_str()));
    icalcomponent_add_property(event, icalproperty_new_dtstamp(utcTime(dtstampUnixSeconds)));
    icalcomponent_add_property(event, icalproperty_new_dtstart(utcTime(from)));
    icalcomponent_add_property(event, icalproperty_new_dtend(utcTime(to)));
    icalcomponent_add_property(event, icalproperty_new_summary(sky::eventSummary(*e).c_str()));
    icalcomponent_add_property(event, icalproperty_new_location(sky::calendarText(night.site.name).c_str()));
    std::string description = e->localText + " (" + e->isoText + ")";
    if (e->hasPlace) description += "\n方位 " + azimuthText(e->azimuthDegrees);
    description += "\n太陽高度 " + degreesText(e->sunAltitudeDegrees);
    if (e->hasPlace) description += "\n月との距離 " + degreesText(e->moonSeparationDegrees);
    icalcomponent_add_property(event, icalproperty_new_description(description.c_str()));
    icalcomponent_add_component(calendar, event);
  }
  char* text = icalcomponent_as_ical_string_r(calendar);
  std::string ics = text != nullptr ? text : "";
  std::free(text);
  icalcomponent_free(calendar);
  return ics;
}

std::string nightSummaryText(const sky::NightSummary& night) {
  std::optional<sky::SiteZone> zone;
  if (auto parsed = sky::SiteZone::fromText(night.site.zone)) zone = *parsed;
  std::string text;
  auto add = [&text](const std::string& part) {
    if (!text.empty()) text += "　";
    text += part;
  };
  const sky::DarkStretch* sunset = nullptr;
  for (const sky::TwilightLevel& level : night.twilights) {
    if (level.limitDegrees == sky::kSunsetAltitudeDegrees) sunset = &level.stretch;
  }
  if (sunset != nullptr && sunset->evening) add("日没 " + localClock(zone, *sunset->evening));
  if (night.options.window == sky::NightWindow::clock) {
    add("観測夜 " + clockText(night.windowStartLocal.minute) + "〜" + clockText(night.windowEndLocal.minute));
  } else if (night.darkness == sky::Darkness::normal) {
    add("暗くなる " + clockText(night.windowStartLocal.minute) + "　明るくなる " +
        clockText(night.windowEndLocal.minute) + "（太陽高度 " + signedDegrees(night.options.sunLimitDegrees) +
        " 以下）");
  } else {
    add(night.darknessMessage);
  }
  if (sunset != nullptr && sunset->morning) add("日の出 " + localClock(zone, *sunset->morning));
  add("月 輝面 " + std::to_string(std::lround(night.moonIlluminatedFraction * kPercent)) + "%（" +
      (night.moonWaxing ? "満ちていく" : "欠けていく") + "）");
  for (const sky::MoonCrossing& crossing : night.moonCrossings) {
    add(std::string(crossing.rising ? "月の出 " : "月の入り ") + localClock(zone, crossing.julianDayUt));
  }
  return text;
}

namespace {
QString exportFolderKey(const QString& kind) { return QStringLiteral("exports/") + kind + QStringLiteral("Folder"); }
}  // namespace

QString exportStartFolder(QSettings& settings, const QString& kind,
                          const std::optional<std::filesystem::path>& documents) {
  const QString last = settings.value(exportFolderKey(kind)).toString();
  if (!last.isEmpty() && QFileInfo(last).isDir()) return last;
  const std::filesystem::path base = documents.value_or(std::filesystem::path("."));
  return QString::fromStdString((base / kSheetFolderName).string());
}

void rememberExportFolder(QSettings& settings, const QString& kind, const QString& writtenPath) {
  settings.setValue(exportFolderKey(kind), QFileInfo(writtenPath).absolutePath());
  settings.sync();
}

bool savePicturePng(const NightPictureData& data, QSize size, double devicePixelRatio, const QString& path) {
  const double ratio = devicePixelRatio > 0 ? devicePixelRatio : 1;
  QImage image(size * ratio, QImage::Format_ARGB32_Premultiplied);
  image.setDevicePixelRatio(ratio);
  image.fill(Qt::white);
  {
    QPainter painter(&image);
    paintNightPicture(painter, QRectF(QPointF(0, 0), QSizeF(size)), data);
  }
  return image.save(path, "PNG");
}

bool savePictureSvg(const NightPictureData& data, QSize size, const QString& path) {
  QSvgGenerator generator;
  generator.setFileName(path);
  generator.setSize(size);
  generator.setViewBox(QRect(QPoint(0, 0), size));
  generator.setTitle(QString::fromUtf8(kPlanListName));
  QPainter painter;
  if (!painter.begin(&generator)) return false;
  paintNightPicture(painter, QRectF(QPointF(0, 0), QSizeF(size)), data);
  return painter.end();
}

}  // namespace tenmirel::ui
