#include "ui/catalogue/catalogue_editor_model.h"

#include "ui/catalogue/catalogue_ports.h"

namespace tenmirel::ui {

CatalogueEditorModel::CatalogueEditorModel(importer::CatalogueEditor editor,
                                           std::function<void(const std::string&)> tell, QObject* parent)
    : QAbstractTableModel(parent), editor_(std::move(editor)), tell_(std::move(tell)) {}

bool CatalogueEditorModel::done(const Refusal& refusal) {
  if (refusal) tell_(*refusal);
  return !refusal;
}

bool CatalogueEditorModel::addStar(const StarRecord& star, int afterRow) {
  const int at = afterRow < 0 ? rowCount() : std::min(afterRow + 1, rowCount());
  importer::CatalogueEditor changed = editor_;
  if (!done(changed.add(star, static_cast<std::size_t>(at)))) return false;
  beginInsertRows({}, at, at);
  editor_ = std::move(changed);
  endInsertRows();
  return true;
}

bool CatalogueEditorModel::removeStar(int row) {
  if (row < 0 || row >= rowCount()) return false;
  beginRemoveRows({}, row, row);
  const bool removed = done(editor_.remove(static_cast<std::size_t>(row)));
  endRemoveRows();
  return removed;
}

bool CatalogueEditorModel::moveStar(int from, int to) {
  if (from < 0 || to < 0 || from >= rowCount() || to >= rowCount() || from == to) return false;
  // Qt names the row the moved one goes before.
  if (!beginMoveRows({}, from, from, {}, to > from ? to + 1 : to)) return false;
  const bool moved = done(editor_.move(static_cast<std::size_t>(from), static_cast<std::size_t>(to)));
  endMoveRows();
  return moved;
}

bool CatalogueEditorModel::save() { return done(editor_.save()); }

int CatalogueEditorModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(editor_.stars().size());
}

int CatalogueEditorModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(kStarRecordFields.size());
}

QVariant CatalogueEditorModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rowCount()) return {};
  if (role != Qt::DisplayRole && role != Qt::EditRole && role != Qt::ToolTipRole) return {};
  const StarRecord& star = editor_.stars()[static_cast<std::size_t>(index.row())];
  return qs(star.*kStarRecordFields[static_cast<std::size_t>(index.column())]);
}

bool CatalogueEditorModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (!index.isValid() || role != Qt::EditRole) return false;
  StarRecord star = editor_.stars()[static_cast<std::size_t>(index.row())];
  std::string& field = star.*kStarRecordFields[static_cast<std::size_t>(index.column())];
  const std::string text = value.toString().toStdString();
  if (field == text) return true;
  field = text;
  if (!done(editor_.replace(static_cast<std::size_t>(index.row()), star))) return false;
  emit dataChanged(index, index);
  return true;
}

Qt::ItemFlags CatalogueEditorModel::flags(const QModelIndex& index) const {
  return QAbstractTableModel::flags(index) | Qt::ItemIsEditable;
}

QVariant CatalogueEditorModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role != Qt::DisplayRole) return {};
  if (orientation == Qt::Vertical) return section;
  static const char* const kTitles[] = {"星名",     "元期",     "周期", "赤経(時)", "赤経(分)", "北(True)/南(False)",
                                        "赤緯(度)", "赤緯(分)", "メモ"};
  return QString::fromUtf8(kTitles[section]);
}

}  // namespace tenmirel::ui
