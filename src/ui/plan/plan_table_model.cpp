#include "ui/plan/plan_table_model.h"

#include <QApplication>
#include <QBrush>
#include <QColor>
#include <QPalette>

#include "ui/plan/plan_texts.h"

namespace tenmirel::ui {
namespace {

constexpr const char* kHeaders[] = {"時刻",     "星名",       "回帰", "高度",     "方位",
                                    "太陽高度", "月との距離", "種類", "食の継続", "±分"};
constexpr double kShownAboveMinutes = 1;

// Why the plan's altitude and the main window's differ in the last digits.
constexpr const char* kAltitudeHeaderTooltip =
    "見かけの高度：歳差・章動・光行差を入れた、いまの空での星の位置から求めています（大気差なし）。\n"
    "主ウィンドウの高度角は設計どおりの簡略式（元の座標のまま）なので、同じ極でも 0.3° ほど違うことがあります。";

QString text(const std::string& utf8) { return QString::fromStdString(utf8); }

}  // namespace

PlanTableModel::PlanTableModel(QObject* parent) : QAbstractTableModel(parent) {}

void PlanTableModel::setPlan(std::shared_ptr<const sky::NightPlan> plan) {
  beginResetModel();
  plan_ = std::move(plan);
  endResetModel();
}

void PlanTableModel::verdictsChanged() {
  if (rowCount() == 0) return;
  emit dataChanged(index(0, 0), index(rowCount() - 1, kColumnCount - 1));
}

int PlanTableModel::rowCount(const QModelIndex& parent) const {
  if (parent.isValid() || !plan_) return 0;
  return static_cast<int>(plan_->events.size());
}

int PlanTableModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : kColumnCount; }

QVariant PlanTableModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rowCount()) return {};
  const sky::NightEvent& e = event(index.row());
  const auto column = static_cast<Column>(index.column());
  switch (role) {
    case Qt::DisplayRole:
      switch (column) {
        case kTime:
          return text(e.localText);
        case kStar:
          return text(e.name);
        case kCycle:
          return QString::number(e.cycle);
        case kAltitude:
          return e.hasPlace ? text(degreesText(e.altitudeDegrees)) : QStringLiteral("—");
        case kAzimuth:
          return e.hasPlace ? text(azimuthText(e.azimuthDegrees)) : QStringLiteral("—");
        case kSunAltitude:
          return text(degreesText(e.sunAltitudeDegrees));
        case kMoonDistance:
          return e.hasPlace ? text(degreesText(e.moonSeparationDegrees)) : QStringLiteral("—");
        case kKind:
          return QString::fromUtf8(sky::eventKindWord(e.kind));
        case kDuration:
          return e.durationMinutes ? QStringLiteral("%1 分").arg(*e.durationMinutes, 0, 'f', 0) : QString();
        case kUncertainty:
          // "≥" when the elements are uncertain beyond their digits: the figure is a lower bound.
          if (e.uncertainElements) return QStringLiteral("≥±%1").arg(e.uncertaintyMinutes, 0, 'f', 1);
          if (e.uncertaintyMinutes > kShownAboveMinutes)
            return QStringLiteral("±%1").arg(e.uncertaintyMinutes, 0, 'f', 1);
          return QString();
        case kColumnCount:
          break;
      }
      return {};
    case kSortRole:
      switch (column) {
        case kTime:
          return e.julianDayUt;
        case kStar:
          return text(e.name);
        case kCycle:
          return static_cast<qlonglong>(e.cycle);
        case kAltitude:
          return e.altitudeDegrees;
        case kAzimuth:
          return e.azimuthDegrees;
        case kSunAltitude:
          return e.sunAltitudeDegrees;
        case kMoonDistance:
          return e.moonSeparationDegrees;
        case kKind:
          return static_cast<int>(e.kind);
        case kDuration:
          return e.durationMinutes.value_or(-1);
        case kUncertainty:
          return e.uncertaintyMinutes;
        case kColumnCount:
          break;
      }
      return {};
    case kPassesRole:
      return e.passesAll();
    case Qt::ForegroundRole:
      if (e.passesAll()) return {};
      return QApplication::palette().brush(QPalette::Disabled, QPalette::Text);
    case Qt::ToolTipRole:
      if (e.passesAll()) return text(e.isoText);
      return text(failedFiltersTooltip(e, *plan_));
    case Qt::TextAlignmentRole:
      if (column == kStar || column == kTime || column == kKind) return QVariant(Qt::AlignLeft | Qt::AlignVCenter);
      return QVariant(Qt::AlignRight | Qt::AlignVCenter);
    default:
      return {};
  }
}

QVariant PlanTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || section < 0 || section >= kColumnCount) return {};
  if (role == Qt::DisplayRole) return QString::fromUtf8(kHeaders[section]);
  if (role == Qt::ToolTipRole && section == kAltitude) return QString::fromUtf8(kAltitudeHeaderTooltip);
  return {};
}

}  // namespace tenmirel::ui
