#include "ui/plan/night_picture_labels.h"

#include <QLineF>
#include <algorithm>
#include <cmath>

namespace tenmirel::ui {
namespace {

constexpr double kGap = 6;           // between a marker and its label
constexpr double kPadding = 2;       // kept free around every label
constexpr double kMarkerRadius = 5;  // the marker, kept clear
constexpr double kCurveStep = 14;    // pixels along the curve between tries
constexpr int kCurveTries = 24;      // tries either way along the curve
constexpr double kGridStep = 12;     // the free-place search's step
constexpr int kGridRings = 25;

// The plate's places around a point: above right first, as a reader expects.
std::vector<QRectF> around(QPointF at, QSizeF size, double gap) {
  const double w = size.width();
  const double h = size.height();
  return {QRectF(at.x() + gap, at.y() - gap - h, w, h),       QRectF(at.x() - gap - w, at.y() - gap - h, w, h),
          QRectF(at.x() + gap, at.y() + gap, w, h),           QRectF(at.x() - gap - w, at.y() + gap, w, h),
          QRectF(at.x() + gap + 2, at.y() - h / 2, w, h),     QRectF(at.x() - gap - 2 - w, at.y() - h / 2, w, h),
          QRectF(at.x() - w / 2, at.y() - gap - 2 - h, w, h), QRectF(at.x() - w / 2, at.y() + gap + 2, w, h)};
}

// Points along the polyline at steps of kCurveStep from the point nearest to at,
// alternately after and before it, nearest first.
std::vector<QPointF> alongCurve(const QPolygonF& curve, QPointF at) {
  std::vector<QPointF> points;
  if (curve.size() < 2) return points;
  // Arc lengths of the vertices and the arc length nearest to the anchor.
  std::vector<double> lengths{0};
  for (qsizetype i = 1; i < curve.size(); ++i)
    lengths.push_back(lengths.back() + QLineF(curve[i - 1], curve[i]).length());
  double anchorLength = 0;
  double best = 1e300;
  for (qsizetype i = 1; i < curve.size(); ++i) {
    const QLineF segment(curve[i - 1], curve[i]);
    const double length = segment.length();
    double t = 0;
    if (length > 0) {
      t = ((at.x() - segment.x1()) * segment.dx() + (at.y() - segment.y1()) * segment.dy()) / (length * length);
      t = std::clamp(t, 0.0, 1.0);
    }
    const double distance = QLineF(segment.pointAt(t), at).length();
    if (distance < best) {
      best = distance;
      anchorLength = lengths[static_cast<std::size_t>(i - 1)] + t * length;
    }
  }
  auto pointAt = [&](double length) {
    const auto upper = std::upper_bound(lengths.begin(), lengths.end(), length);
    const auto i = static_cast<qsizetype>(std::clamp<std::ptrdiff_t>(upper - lengths.begin(), 1, curve.size() - 1));
    const double from = lengths[static_cast<std::size_t>(i - 1)];
    const double span = lengths[static_cast<std::size_t>(i)] - from;
    return QLineF(curve[i - 1], curve[i]).pointAt(span > 0 ? (length - from) / span : 0);
  };
  for (int k = 1; k <= kCurveTries; ++k) {
    for (double direction : {1.0, -1.0}) {
      const double length = anchorLength + direction * k * kCurveStep;
      if (length >= 0 && length <= lengths.back()) points.push_back(pointAt(length));
    }
  }
  return points;
}

}  // namespace

std::vector<PlacedLabel> placeLabels(const QRectF& plot, const std::vector<LabelRequest>& requests,
                                     const std::vector<QRectF>& keepClear) {
  std::vector<PlacedLabel> placed(requests.size());
  std::vector<QRectF> taken;
  std::vector<QRectF> avoid = keepClear;
  for (const LabelRequest& request : requests) {
    avoid.emplace_back(request.anchor - QPointF(kMarkerRadius, kMarkerRadius),
                       QSizeF(2 * kMarkerRadius, 2 * kMarkerRadius));
  }
  auto free = [&](const QRectF& box, bool strict) {
    if (!plot.contains(box)) return false;
    const QRectF padded = box.adjusted(-kPadding, -kPadding, kPadding, kPadding);
    for (const QRectF& other : taken) {
      if (padded.intersects(other)) return false;
    }
    if (strict) {
      for (const QRectF& other : avoid) {
        if (box.intersects(other)) return false;
      }
    }
    return true;
  };
  for (std::size_t i = 0; i < requests.size(); ++i) {
    const LabelRequest& request = requests[i];
    if (request.size.isEmpty()) continue;
    std::vector<std::pair<QRectF, bool>> candidates;  // the box, and whether it needs a leader
    for (const QRectF& box : around(request.anchor, request.size, kGap)) candidates.emplace_back(box, false);
    for (const QPointF& point : alongCurve(request.curve, request.anchor)) {
      for (const QRectF& box : around(point, request.size, kGap)) candidates.emplace_back(box, true);
    }
    // The nearest free place, ring by ring around the marker.
    for (int ring = 1; ring <= kGridRings; ++ring) {
      for (int dx = -ring; dx <= ring; ++dx) {
        for (int dy = -ring; dy <= ring; ++dy) {
          if (std::max(std::abs(dx), std::abs(dy)) != ring) continue;
          const QPointF centre = request.anchor + QPointF(dx * kGridStep * 2, dy * kGridStep);
          candidates.emplace_back(
              QRectF(centre - QPointF(request.size.width() / 2, request.size.height() / 2), request.size), true);
        }
      }
    }
    for (bool strict : {true, false}) {
      for (const auto& [box, leader] : candidates) {
        if (!free(box, strict)) continue;
        placed[i] = {true, box, leader};
        taken.push_back(box);
        break;
      }
      if (placed[i].placed) break;
    }
  }
  return placed;
}

}  // namespace tenmirel::ui
