#pragma once
// The events of the night as a table: local time, star, cycle, altitude, azimuth,
// Sun altitude, Moon distance, the kind of extremum, the eclipse's duration and
// how far the prediction can be trusted. Each row is one event of the engine's plan in
// the engine's order; events failing a filter stay in the model, greyed.
#include <QAbstractTableModel>
#include <memory>

#include "sky/night_plan.h"

namespace tenmirel::ui {

class PlanTableModel : public QAbstractTableModel {
 public:
  enum Column {
    kTime,
    kStar,
    kCycle,
    kAltitude,
    kAzimuth,
    kSunAltitude,
    kMoonDistance,
    kKind,
    kDuration,
    kUncertainty,
    kColumnCount
  };
  // The number each column sorts by.
  static constexpr int kSortRole = Qt::UserRole;
  static constexpr int kPassesRole = Qt::UserRole + 1;

  explicit PlanTableModel(QObject* parent = nullptr);

  void setPlan(std::shared_ptr<const sky::NightPlan> plan);
  // The filters' verdicts changed in place.
  void verdictsChanged();
  const sky::NightPlan* plan() const { return plan_.get(); }
  const sky::NightEvent& event(int row) const { return plan_->events.at(static_cast<std::size_t>(row)); }

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

 private:
  std::shared_ptr<const sky::NightPlan> plan_;
};

}  // namespace tenmirel::ui
