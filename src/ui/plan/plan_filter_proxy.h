#pragma once
// What the table shows of the plan: the events whose star name contains the typed
// text, and of those only the events passing every filter unless the failing ones
// are asked for (then shown greyed). Sorts by each column's number.
#include <QSortFilterProxyModel>

namespace tenmirel::ui {

class PlanFilterProxy : public QSortFilterProxyModel {
 public:
  explicit PlanFilterProxy(QObject* parent = nullptr);

  void setNameFilter(const QString& text);
  void setShowFailing(bool show);
  bool showFailing() const { return showFailing_; }
  const QString& nameFilter() const { return name_; }
  // Whether the source row's star name contains the typed text.
  bool matchesName(int sourceRow) const;

 protected:
  bool filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const override;
  bool lessThan(const QModelIndex& left, const QModelIndex& right) const override;

 private:
  QString name_;
  bool showFailing_ = false;
};

}  // namespace tenmirel::ui
