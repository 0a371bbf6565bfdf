#pragma once
// Where the labels of the picture's extrema go: each beside its marker if there
// is room, else moved along its curve or into the nearest free place with a
// leader line back to the marker; never over another label, never out of the
// plot. A label that finds no room anywhere is left out (its marker stays).
#include <QPointF>
#include <QPolygonF>
#include <QRectF>
#include <QSizeF>
#include <vector>

namespace tenmirel::ui {

struct LabelRequest {
  QPointF anchor;   // the marker
  QSizeF size;      // the label's plate
  QPolygonF curve;  // the star's curve, in the picture's coordinates (may be empty)
};

struct PlacedLabel {
  bool placed = false;
  QRectF box;
  bool leader = false;  // away from its marker: a line joins them
};

// In the requests' order of priority. keepClear: what labels should not cover
// where they can avoid it (the markers are avoided on their own).
std::vector<PlacedLabel> placeLabels(const QRectF& plot, const std::vector<LabelRequest>& requests,
                                     const std::vector<QRectF>& keepClear = {});

}  // namespace tenmirel::ui
