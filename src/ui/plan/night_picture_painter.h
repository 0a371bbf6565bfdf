#pragma once
// Draws the picture of the night with QPainter: the shaded sky, the Moon, the
// stars' altitude curves with their extrema, the minimum altitude and the current
// time. The same code serves the window, PNG and SVG.
#include <QPainter>
#include <QRectF>

#include "ui/plan/night_picture_data.h"
#include "ui/plan/night_picture_labels.h"

namespace tenmirel::ui {

// The shades of the sky by the Sun's altitude.
enum class SkyBand { daylight, civil, nautical, astronomical, night };
SkyBand skyBandAt(double sunAltitudeDegrees);
QColor skyBandColour(SkyBand band);

inline constexpr double kPictureLowestAltitudeDegrees = 0;
inline constexpr double kPictureHighestAltitudeDegrees = 90;

// Where time and altitude fall inside a picture of the given size.
class PictureFrame {
 public:
  PictureFrame(const QRectF& area, const NightPictureData& data);
  const QRectF& plot() const { return plot_; }
  double xOf(double julianDayUt) const;
  double yOf(double altitudeDegrees) const;
  double utAt(double x) const;
  double altitudeAt(double y) const;

 private:
  QRectF plot_;
  double startUt_;
  double endUt_;
};

// The Sun's altitude at an instant, by straight lines between the samples.
double interpolatedAltitude(const std::vector<AltitudeSample>& samples, double julianDayUt);

// The local time of an instant as "21:34", counted from the hour ticks (so a
// change of the clock during the night is followed); empty without ticks.
QString localClockText(const NightPictureData& data, double julianDayUt);

void paintNightPicture(QPainter& painter, const QRectF& area, const NightPictureData& data);

// The plates of the extrema's labels as the painter places them on a device (the
// screen's when null), one for each marker of each curve in their order.
std::vector<PlacedLabel> pictureLabelLayout(const QRectF& area, const NightPictureData& data,
                                            QPaintDevice* device = nullptr);

}  // namespace tenmirel::ui
