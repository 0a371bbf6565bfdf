#include "ui/plan/night_picture_painter.h"

#include <QFontMetricsF>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

#include "ui/gothic_fonts.h"

namespace tenmirel::ui {
namespace {

// Sun altitudes that divide the bands (degrees, airless).
constexpr double kSunsetDegrees = -0.833;
constexpr double kCivilDegrees = -6;
constexpr double kNauticalDegrees = -12;
constexpr double kAstronomicalDegrees = -18;
constexpr double kBandLimits[] = {kSunsetDegrees, kCivilDegrees, kNauticalDegrees, kAstronomicalDegrees};

constexpr double kMinutesPerDay = 1440;
constexpr double kAltitudeGridStepDegrees = 30;
constexpr double kLeftMargin = 46;
constexpr double kRightMargin = 14;
constexpr double kTopMargin = 26;
constexpr double kBottomMargin = 24;
constexpr double kTextPoints = 9;
constexpr double kMarkerRadius = 4.5;
constexpr double kDotRadius = 2.2;

const QColor kMarginColour(0xf6, 0xf6, 0xf3);
const QColor kAxisTextColour(0x30, 0x30, 0x30);
const QColor kGridColour(255, 255, 255, 46);
const QColor kMoonColour(0xe8, 0xe4, 0xc8);
const QColor kMinimumAltitudeColour(0xff, 0x9f, 0x1c);
const QColor kNowColour(0xff, 0x3b, 0x3b);
const QColor kLabelBackground(10, 14, 28, 170);

struct BandStretch {
  double fromUt;
  double toUt;
  SkyBand band;
};

// The stretches of one band each, found where the Sun's samples cross a limit.
std::vector<BandStretch> bandStretches(const NightPictureData& data) {
  std::vector<double> cuts{data.startUt, data.endUt};
  const auto& sun = data.sun;
  for (std::size_t i = 1; i < sun.size(); ++i) {
    const AltitudeSample& a = sun[i - 1];
    const AltitudeSample& b = sun[i];
    for (double limit : kBandLimits) {
      if ((a.altitudeDegrees - limit) * (b.altitudeDegrees - limit) >= 0 || a.altitudeDegrees == b.altitudeDegrees)
        continue;
      const double fraction = (limit - a.altitudeDegrees) / (b.altitudeDegrees - a.altitudeDegrees);
      const double at = a.julianDayUt + fraction * (b.julianDayUt - a.julianDayUt);
      if (at > data.startUt && at < data.endUt) cuts.push_back(at);
    }
  }
  std::sort(cuts.begin(), cuts.end());
  std::vector<BandStretch> stretches;
  for (std::size_t i = 1; i < cuts.size(); ++i) {
    if (cuts[i] <= cuts[i - 1]) continue;
    const double middle = (cuts[i - 1] + cuts[i]) / 2;
    stretches.push_back({cuts[i - 1], cuts[i], skyBandAt(interpolatedAltitude(sun, middle))});
  }
  return stretches;
}

constexpr int kEclipseBarAlpha = 110;
constexpr double kEclipseBarWidth = 9;

QPolygonF polylineOf(const PictureFrame& frame, const std::vector<AltitudeSample>& samples) {
  QPolygonF line;
  for (const AltitudeSample& s : samples) line << QPointF(frame.xOf(s.julianDayUt), frame.yOf(s.altitudeDegrees));
  return line;
}

QSizeF plateSize(const QFontMetricsF& metrics, const QString& text) {
  return QSizeF(metrics.horizontalAdvance(text) + 6, metrics.height() + 2);
}

// A plate beside an anchor, kept inside the plot.
QRectF plateBeside(const QFontMetricsF& metrics, const QRectF& plot, QPointF anchor, const QString& text) {
  const QSizeF size = plateSize(metrics, text);
  QRectF box(QPointF(anchor.x() + 7, anchor.y() - size.height() - 3), size);
  if (box.right() > plot.right()) box.moveRight(anchor.x() - 7);
  if (box.top() < plot.top()) box.moveTop(anchor.y() + 4);
  if (box.bottom() > plot.bottom()) box.moveBottom(plot.bottom() - 1);
  return box;
}

void drawPlateAt(QPainter& painter, const QRectF& box, const QString& text, const QColor& colour) {
  painter.setPen(Qt::NoPen);
  painter.setBrush(kLabelBackground);
  painter.drawRoundedRect(box, 3, 3);
  painter.setPen(colour);
  painter.drawText(box, Qt::AlignCenter, text);
}

// A text on a dark plate, kept inside the plot.
void drawPlate(QPainter& painter, const QRectF& plot, QPointF anchor, const QString& text, const QColor& colour) {
  drawPlateAt(painter, plateBeside(QFontMetricsF(painter.font()), plot, anchor, text), text, colour);
}

QString nowText(const NightPictureData& data) { return QStringLiteral("現在 ") + localClockText(data, *data.nowUt); }

bool nowShown(const NightPictureData& data) {
  return data.nowUt && *data.nowUt >= data.startUt && *data.nowUt <= data.endUt;
}

void drawLegend(QPainter& painter, const QRectF& area, const NightPictureData& data) {
  const QFontMetricsF metrics(painter.font());
  double x = area.left() + kLeftMargin;
  const double y = area.top() + 5;
  const double swatch = metrics.height() - 4;
  struct Entry {
    SkyBand band;
    const char* name;
  };
  const Entry entries[] = {{SkyBand::daylight, "昼"},
                           {SkyBand::civil, "市民薄明"},
                           {SkyBand::nautical, "航海薄明"},
                           {SkyBand::astronomical, "天文薄明"},
                           {SkyBand::night, "夜"}};
  for (const Entry& entry : entries) {
    painter.setPen(QColor(0x80, 0x80, 0x80));
    painter.setBrush(skyBandColour(entry.band));
    painter.drawRect(QRectF(x, y + 2, swatch, swatch));
    x += swatch + 3;
    const QString name = QString::fromUtf8(entry.name);
    painter.setPen(kAxisTextColour);
    painter.drawText(QPointF(x, y + metrics.ascent()), name);
    x += metrics.horizontalAdvance(name) + 10;
  }
  painter.setPen(QPen(kMoonColour.darker(160), 1, Qt::DashLine));
  painter.drawLine(QPointF(x, y + swatch / 2 + 2), QPointF(x + 16, y + swatch / 2 + 2));
  x += 19;
  painter.setPen(kAxisTextColour);
  painter.drawText(QPointF(x, y + metrics.ascent()), QString::fromUtf8("月"));
  if (!data.caption.isEmpty()) {
    const QRectF captionBox(area.left(), y, area.width() - kRightMargin, metrics.height());
    painter.drawText(captionBox, Qt::AlignRight | Qt::AlignTop, data.caption);
  }
}

void drawAxes(QPainter& painter, const PictureFrame& frame, const NightPictureData& data) {
  const QRectF& plot = frame.plot();
  const QFontMetricsF metrics(painter.font());
  painter.setPen(QPen(kGridColour, 1));
  for (double altitude = kPictureLowestAltitudeDegrees; altitude <= kPictureHighestAltitudeDegrees;
       altitude += kAltitudeGridStepDegrees) {
    painter.drawLine(QPointF(plot.left(), frame.yOf(altitude)), QPointF(plot.right(), frame.yOf(altitude)));
  }
  for (const PictureTick& tick : data.hourTicks) {
    const double x = frame.xOf(tick.julianDayUt);
    if (x < plot.left() || x > plot.right()) continue;
    painter.drawLine(QPointF(x, plot.top()), QPointF(x, plot.bottom()));
  }
  painter.setPen(kAxisTextColour);
  for (double altitude = kPictureLowestAltitudeDegrees; altitude <= kPictureHighestAltitudeDegrees;
       altitude += kAltitudeGridStepDegrees) {
    const QString text = QString::number(altitude, 'f', 0) + QStringLiteral("°");
    const QRectF box(plot.left() - kLeftMargin, frame.yOf(altitude) - metrics.height() / 2, kLeftMargin - 5,
                     metrics.height());
    painter.drawText(box, Qt::AlignRight | Qt::AlignVCenter, text);
  }
  double lastRight = -1e9;
  for (const PictureTick& tick : data.hourTicks) {
    const double x = frame.xOf(tick.julianDayUt);
    if (x < plot.left() || x > plot.right()) continue;
    const QString text = QString::number(tick.localHour) + QStringLiteral("時");
    const double width = metrics.horizontalAdvance(text);
    if (x - width / 2 < lastRight + 4) continue;  // a narrow picture labels every other hour
    painter.drawText(QRectF(x - width / 2, plot.bottom() + 3, width, metrics.height()), Qt::AlignCenter, text);
    lastRight = x + width / 2;
  }
  painter.setPen(QColor(0x90, 0x90, 0x90));
  painter.setBrush(Qt::NoBrush);
  painter.drawRect(plot);
}

}  // namespace

SkyBand skyBandAt(double sunAltitudeDegrees) {
  if (sunAltitudeDegrees >= kSunsetDegrees) return SkyBand::daylight;
  if (sunAltitudeDegrees >= kCivilDegrees) return SkyBand::civil;
  if (sunAltitudeDegrees >= kNauticalDegrees) return SkyBand::nautical;
  if (sunAltitudeDegrees >= kAstronomicalDegrees) return SkyBand::astronomical;
  return SkyBand::night;
}

QColor skyBandColour(SkyBand band) {
  switch (band) {
    case SkyBand::daylight:
      return QColor(0x9e, 0xc8, 0xec);
    case SkyBand::civil:
      return QColor(0x68, 0x8f, 0xc2);
    case SkyBand::nautical:
      return QColor(0x3c, 0x5a, 0x8e);
    case SkyBand::astronomical:
      return QColor(0x24, 0x35, 0x5e);
    case SkyBand::night:
      break;
  }
  return QColor(0x10, 0x17, 0x2e);
}

PictureFrame::PictureFrame(const QRectF& area, const NightPictureData& data)
    : plot_(area.adjusted(kLeftMargin, kTopMargin, -kRightMargin, -kBottomMargin)),
      startUt_(data.startUt),
      endUt_(data.endUt > data.startUt ? data.endUt : data.startUt + 1) {}

double PictureFrame::xOf(double julianDayUt) const {
  return plot_.left() + (julianDayUt - startUt_) / (endUt_ - startUt_) * plot_.width();
}

double PictureFrame::yOf(double altitudeDegrees) const {
  const double span = kPictureHighestAltitudeDegrees - kPictureLowestAltitudeDegrees;
  return plot_.bottom() - (altitudeDegrees - kPictureLowestAltitudeDegrees) / span * plot_.height();
}

double PictureFrame::utAt(double x) const {
  return startUt_ + (x - plot_.left()) / plot_.width() * (endUt_ - startUt_);
}

double PictureFrame::altitudeAt(double y) const {
  const double span = kPictureHighestAltitudeDegrees - kPictureLowestAltitudeDegrees;
  return kPictureLowestAltitudeDegrees + (plot_.bottom() - y) / plot_.height() * span;
}

double interpolatedAltitude(const std::vector<AltitudeSample>& samples, double julianDayUt) {
  if (samples.empty()) return 0;
  auto after = std::lower_bound(samples.begin(), samples.end(), julianDayUt,
                                [](const AltitudeSample& s, double t) { return s.julianDayUt < t; });
  if (after == samples.begin()) return after->altitudeDegrees;
  if (after == samples.end()) return samples.back().altitudeDegrees;
  const AltitudeSample& a = *(after - 1);
  const AltitudeSample& b = *after;
  const double fraction = (julianDayUt - a.julianDayUt) / (b.julianDayUt - a.julianDayUt);
  return a.altitudeDegrees + fraction * (b.altitudeDegrees - a.altitudeDegrees);
}

QString localClockText(const NightPictureData& data, double julianDayUt) {
  if (data.hourTicks.empty()) return {};
  const PictureTick* base = &data.hourTicks.front();
  for (const PictureTick& tick : data.hourTicks) {
    if (tick.julianDayUt <= julianDayUt) base = &tick;
  }
  const long minutes = std::lround(std::floor((julianDayUt - base->julianDayUt) * kMinutesPerDay + 1e-6));
  const long total = ((base->localHour * 60L + minutes) % 1440 + 1440) % 1440;
  return QStringLiteral("%1:%2").arg(total / 60, 2, 10, QLatin1Char('0')).arg(total % 60, 2, 10, QLatin1Char('0'));
}

std::vector<PlacedLabel> pictureLabelLayout(const QRectF& area, const NightPictureData& data, QPaintDevice* device) {
  const QFont font = gothicFont(GothicPitch::kProportional, kTextPoints);
  const QFontMetricsF metrics = device != nullptr ? QFontMetricsF(font, device) : QFontMetricsF(font);
  const PictureFrame frame(area, data);
  const QRectF& plot = frame.plot();
  std::vector<LabelRequest> requests;
  for (const PictureCurve& curve : data.curves) {
    const QPolygonF line = polylineOf(frame, curve.samples);
    for (const PictureMarker& marker : curve.markers) {
      requests.push_back({QPointF(frame.xOf(marker.julianDayUt), frame.yOf(marker.altitudeDegrees)),
                          plateSize(metrics, marker.label), line});
    }
  }
  // The labels keep off the current time's plate and the minimum altitude's.
  std::vector<QRectF> keepClear;
  if (nowShown(data)) {
    keepClear.push_back(plateBeside(metrics, plot, QPointF(frame.xOf(*data.nowUt), plot.top() + 22), nowText(data)));
  }
  keepClear.push_back(QRectF(plot.left(), frame.yOf(data.minimumAltitudeDegrees) - metrics.height() - 6,
                             plateSize(metrics, QStringLiteral("最低高度 90°")).width() + 8, metrics.height() + 6));
  return placeLabels(plot, requests, keepClear);
}

void paintNightPicture(QPainter& painter, const QRectF& area, const NightPictureData& data) {
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing, true);
  painter.setFont(gothicFont(GothicPitch::kProportional, kTextPoints));
  painter.fillRect(area, kMarginColour);
  const PictureFrame frame(area, data);
  const QRectF& plot = frame.plot();
  if (plot.width() <= 0 || plot.height() <= 0) {
    painter.restore();
    return;
  }

  // The sky, band by band; antialiasing off so the bands meet without seams.
  painter.setRenderHint(QPainter::Antialiasing, false);
  painter.fillRect(plot, skyBandColour(SkyBand::night));
  for (const BandStretch& stretch : bandStretches(data)) {
    const double left = std::max(plot.left(), frame.xOf(stretch.fromUt));
    const double right = std::min(plot.right(), frame.xOf(stretch.toUt));
    if (right > left)
      painter.fillRect(QRectF(left, plot.top(), right - left, plot.height()), skyBandColour(stretch.band));
  }
  painter.setRenderHint(QPainter::Antialiasing, true);
  drawAxes(painter, frame, data);
  drawLegend(painter, area, data);

  painter.setClipRect(plot);
  // The Moon: a thin dashed line where it is above the horizon.
  if (!data.moon.empty()) {
    painter.setPen(QPen(kMoonColour, 1.2, Qt::DashLine));
    painter.setBrush(Qt::NoBrush);
    painter.drawPolyline(polylineOf(frame, data.moon));
  }
  // The minimum altitude.
  painter.setPen(QPen(kMinimumAltitudeColour, 1.2, Qt::DashLine));
  const double minimumY = frame.yOf(data.minimumAltitudeDegrees);
  painter.drawLine(QPointF(plot.left(), minimumY), QPointF(plot.right(), minimumY));

  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor(255, 255, 255, 190));
  for (const AltitudeSample& event : data.otherEvents) {
    painter.drawEllipse(QPointF(frame.xOf(event.julianDayUt), frame.yOf(event.altitudeDegrees)), kDotRadius,
                        kDotRadius);
  }
  for (const PictureCurve& curve : data.curves) {
    // The eclipses first, as broad translucent bars along the curve from first to last contact.
    QColor bar = curve.colour;
    bar.setAlpha(kEclipseBarAlpha);
    painter.setPen(QPen(bar, kEclipseBarWidth, Qt::SolidLine, Qt::FlatCap));
    painter.setBrush(Qt::NoBrush);
    for (const PictureEclipse& eclipse : curve.eclipses) {
      std::vector<AltitudeSample> span;
      for (const AltitudeSample& s : curve.samples) {
        if (s.julianDayUt >= eclipse.firstContactUt && s.julianDayUt <= eclipse.lastContactUt) span.push_back(s);
      }
      for (double ends : {eclipse.firstContactUt, eclipse.lastContactUt}) {
        if (ends < data.startUt || ends > data.endUt) continue;
        span.push_back({ends, interpolatedAltitude(curve.samples, ends)});
      }
      std::sort(span.begin(), span.end(),
                [](const AltitudeSample& a, const AltitudeSample& b) { return a.julianDayUt < b.julianDayUt; });
      if (span.size() >= 2) painter.drawPolyline(polylineOf(frame, span));
    }
    painter.setPen(QPen(curve.colour, 1.8, curve.dashed ? Qt::DashLine : Qt::SolidLine));
    painter.drawPolyline(polylineOf(frame, curve.samples));
  }
  const std::vector<PlacedLabel> labels = pictureLabelLayout(area, data, painter.device());
  std::size_t labelIndex = 0;
  for (const PictureCurve& curve : data.curves) {
    for (const PictureMarker& marker : curve.markers) {
      const PlacedLabel& label = labels[labelIndex++];
      if (!label.placed || !label.leader) continue;
      const QPointF at(frame.xOf(marker.julianDayUt), frame.yOf(marker.altitudeDegrees));
      const QPointF nearest(std::clamp(at.x(), label.box.left(), label.box.right()),
                            std::clamp(at.y(), label.box.top(), label.box.bottom()));
      painter.setPen(QPen(curve.colour, 1));
      painter.drawLine(at, nearest);
    }
  }
  for (const PictureCurve& curve : data.curves) {
    for (const PictureMarker& marker : curve.markers) {
      const QPointF at(frame.xOf(marker.julianDayUt), frame.yOf(marker.altitudeDegrees));
      painter.setPen(QPen(Qt::white, 1.5));
      painter.setBrush(curve.colour);
      painter.drawEllipse(at, kMarkerRadius, kMarkerRadius);
    }
  }
  labelIndex = 0;
  for (const PictureCurve& curve : data.curves) {
    for (const PictureMarker& marker : curve.markers) {
      const PlacedLabel& label = labels[labelIndex++];
      if (label.placed) drawPlateAt(painter, label.box, marker.label, curve.colour.lighter(130));
    }
  }
  if (nowShown(data)) {
    const double x = frame.xOf(*data.nowUt);
    painter.setPen(QPen(kNowColour, 1.5));
    painter.drawLine(QPointF(x, plot.top()), QPointF(x, plot.bottom()));
    drawPlate(painter, plot, QPointF(x, plot.top() + 22), nowText(data), QColor(0xff, 0xc0, 0xc0));
  }
  // The minimum altitude's value, on top of everything at the left edge.
  if (data.minimumAltitudeDegrees > kPictureLowestAltitudeDegrees) {
    painter.setFont(gothicFont(GothicPitch::kProportional, kTextPoints - 1));
    drawPlate(painter, plot, QPointF(plot.left() - 7, minimumY),
              QStringLiteral("最低高度 %1°").arg(data.minimumAltitudeDegrees, 0, 'f', 0), kMinimumAltitudeColour);
  }
  painter.restore();
}

}  // namespace tenmirel::ui
