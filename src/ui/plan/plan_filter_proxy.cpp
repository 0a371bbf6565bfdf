#include "ui/plan/plan_filter_proxy.h"

#include "ui/plan/plan_table_model.h"

namespace tenmirel::ui {

PlanFilterProxy::PlanFilterProxy(QObject* parent) : QSortFilterProxyModel(parent) {
  setSortRole(PlanTableModel::kSortRole);
  setDynamicSortFilter(true);
}

void PlanFilterProxy::setNameFilter(const QString& text) {
  const QString trimmed = text.trimmed();
  if (trimmed == name_) return;
  name_ = trimmed;
  invalidateFilter();
}

void PlanFilterProxy::setShowFailing(bool show) {
  if (show == showFailing_) return;
  showFailing_ = show;
  invalidateFilter();
}

bool PlanFilterProxy::filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const {
  const QAbstractItemModel* source = sourceModel();
  if (!showFailing_ && !source->index(sourceRow, 0, sourceParent).data(PlanTableModel::kPassesRole).toBool()) {
    return false;
  }
  return !sourceParent.isValid() ? matchesName(sourceRow) : true;
}

bool PlanFilterProxy::matchesName(int sourceRow) const {
  if (name_.isEmpty()) return true;
  const QString name = sourceModel()->index(sourceRow, PlanTableModel::kStar).data(Qt::DisplayRole).toString();
  return name.contains(name_, Qt::CaseInsensitive);
}

bool PlanFilterProxy::lessThan(const QModelIndex& left, const QModelIndex& right) const {
  const QVariant a = left.data(sortRole());
  const QVariant b = right.data(sortRole());
  if (a.typeId() == QMetaType::QString) {
    const int order = QString::localeAwareCompare(a.toString(), b.toString());
    if (order != 0) return order < 0;
  } else if (a.toDouble() != b.toDouble()) {
    return a.toDouble() < b.toDouble();
  }
  return left.row() < right.row();  // the engine's order among equals
}

}  // namespace tenmirel::ui
