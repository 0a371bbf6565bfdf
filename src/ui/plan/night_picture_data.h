#pragma once
// What the picture of the night shows, as plain numbers and texts: the painter
// draws from this alone, so the same picture goes to the screen, PNG and SVG, and
// tests can build one by hand.
#include <QColor>
#include <QString>
#include <optional>
#include <vector>

namespace tenmirel::ui {

struct AltitudeSample {
  double julianDayUt = 0;
  double altitudeDegrees = 0;
};

struct PictureMarker {
  double julianDayUt = 0;
  double altitudeDegrees = 0;
  QString label;  // "Algol 21:34"
};

// An eclipse of the star, first to last contact.
struct PictureEclipse {
  double firstContactUt = 0;
  double lastContactUt = 0;
};

// One star's altitude across the night, with its extrema in the night marked and
// its eclipses drawn as bars along the curve.
struct PictureCurve {
  QString starName;
  QColor colour;
  bool dashed = false;  // once the colours have all been used
  std::vector<AltitudeSample> samples;
  std::vector<PictureMarker> markers;
  std::vector<PictureEclipse> eclipses;
};

// A whole local hour on the time axis.
struct PictureTick {
  double julianDayUt = 0;
  int localHour = 0;  // 0..23
};

struct NightPictureData {
  // The time axis, evening to morning (UT Julian days).
  double startUt = 0;
  double endUt = 0;
  std::vector<PictureTick> hourTicks;
  // The Sun's airless altitude, which sets the shading of daylight, the three
  // twilights and night.
  std::vector<AltitudeSample> sun;
  // The Moon's altitude, drawn as a thin line where it is up.
  std::vector<AltitudeSample> moon;
  std::vector<PictureCurve> curves;
  // The other events that pass the filters, as small dots.
  std::vector<AltitudeSample> otherEvents;
  double minimumAltitudeDegrees = 0;
  std::optional<double> nowUt;  // only when the night is tonight
  QString caption;              // "2024-11-20 の夜　既定の観測地"
};

}  // namespace tenmirel::ui
