#include "ui/plan/season_picture.h"

#include <QImage>
#include <QPainter>
#include <QSvgGenerator>
#include <algorithm>

#include "sky/site_zone.h"
#include "ui/plan/night_picture_painter.h"

namespace tenmirel::ui {
namespace {

constexpr double kHoursPerDay = 24;
constexpr double kMinuteDays = 1.0 / 1440;
constexpr int kNoonHour = 12;
constexpr double kLabelWidth = 48;
constexpr double kTopMargin = 18;
constexpr double kEventTickHours = 0.08;  // an extremum without an eclipse: a short tick

}  // namespace

SeasonPictureData buildSeasonPicture(const sky::SeasonPlan& season, const std::string& starName) {
  SeasonPictureData data;
  if (season.nights.empty()) return data;
  const sky::Site& site = season.nights.front().night.site;
  data.caption = QString::fromStdString(site.name);
  const auto zone = sky::SiteZone::fromText(site.zone);
  if (!zone) return data;
  for (const sky::NightPlan& night : season.nights) {
    const sky::NightDate& date = night.night.date;
    const sky::Checked<double> noon = zone->localToUt(date.year, date.month, date.day, kNoonHour, 0);
    if (!noon) continue;
    const auto hours = [&](double julianDayUt) { return (julianDayUt - *noon) * kHoursPerDay; };
    SeasonPictureRow row;
    row.label = QStringLiteral("%1-%2").arg(date.month, 2, 10, QLatin1Char('0')).arg(date.day, 2, 10, QLatin1Char('0'));
    row.dark = night.night.darkness != sky::Darkness::neverDark;
    row.windowStartHours = hours(night.night.windowStartUt);
    row.windowEndHours = hours(night.night.windowEndUt);
    for (const sky::NightEvent& event : night.events) {
      if (!event.passesAll() || (!starName.empty() && event.name != starName)) continue;
      const double half = event.durationMinutes ? *event.durationMinutes / 2 * kMinuteDays : 0;
      row.marks.push_back(
          {hours(event.julianDayUt - half), hours(event.julianDayUt + half), event.kind == sky::EventKind::secondary});
    }
    data.rows.push_back(std::move(row));
  }
  return data;
}

SeasonPictureWidget::SeasonPictureWidget(QWidget* parent) : QWidget(parent) {}

void SeasonPictureWidget::setData(SeasonPictureData data) {
  data_ = std::move(data);
  update();
}

void paintSeasonPicture(QPainter& painter, const QRectF& area, const SeasonPictureData& data, const QColor& ink) {
  painter.fillRect(area, skyBandColour(SkyBand::daylight));
  if (data.rows.empty()) return;
  const QRectF plot(area.left() + kLabelWidth, area.top() + kTopMargin, area.width() - kLabelWidth - 8,
                    area.height() - kTopMargin - 4);
  const double rowHeight = plot.height() / static_cast<double>(data.rows.size());
  const auto xOf = [&](double hours) {
    return plot.left() + plot.width() * std::clamp(hours, 0.0, kHoursPerDay) / kHoursPerDay;
  };
  painter.setPen(ink);
  for (int hour = 0; hour <= kHoursPerDay; hour += 3) {
    const double x = xOf(hour);
    painter.drawText(QPointF(x - 8, plot.top() - 4), QString::number((hour + kNoonHour) % 24));
  }
  const bool labelEvery = rowHeight >= painter.fontMetrics().height();
  for (std::size_t i = 0; i < data.rows.size(); ++i) {
    const SeasonPictureRow& row = data.rows[i];
    const double top = plot.top() + rowHeight * static_cast<double>(i);
    if (row.dark) {
      painter.fillRect(
          QRectF(QPointF(xOf(row.windowStartHours), top), QPointF(xOf(row.windowEndHours), top + rowHeight)),
          skyBandColour(SkyBand::night));
    }
    if (labelEvery || i % 7 == 0) {
      painter.setPen(ink);
      painter.drawText(QPointF(area.left() + 2, top + std::min(rowHeight, painter.fontMetrics().height() * 1.0)),
                       row.label);
    }
    for (const SeasonPictureRow::Mark& mark : row.marks) {
      const double end = std::max(mark.endHours, mark.startHours + kEventTickHours);
      painter.fillRect(
          QRectF(QPointF(xOf(mark.startHours), top + rowHeight * 0.2), QPointF(xOf(end), top + rowHeight * 0.8)),
          mark.secondary ? QColor(120, 200, 255) : QColor(255, 190, 60));
    }
  }
}

void SeasonPictureWidget::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  paintSeasonPicture(painter, QRectF(rect()), data_, palette().color(QPalette::WindowText));
}

bool saveSeasonPicturePng(const SeasonPictureData& data, QSize size, double devicePixelRatio, const QString& path) {
  const double ratio = devicePixelRatio > 0 ? devicePixelRatio : 1;
  QImage image(size * ratio, QImage::Format_ARGB32_Premultiplied);
  image.setDevicePixelRatio(ratio);
  image.fill(Qt::white);
  {
    QPainter painter(&image);
    paintSeasonPicture(painter, QRectF(QPointF(0, 0), QSizeF(size)), data, Qt::black);
  }
  return image.save(path, "PNG");
}

bool saveSeasonPictureSvg(const SeasonPictureData& data, QSize size, const QString& path) {
  QSvgGenerator generator;
  generator.setFileName(path);
  generator.setSize(size);
  generator.setViewBox(QRect(QPoint(0, 0), size));
  generator.setTitle(data.caption);
  QPainter painter;
  if (!painter.begin(&generator)) return false;
  paintSeasonPicture(painter, QRectF(QPointF(0, 0), QSizeF(size)), data, Qt::black);
  return painter.end();
}

}  // namespace tenmirel::ui
