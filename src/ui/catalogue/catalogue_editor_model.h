#pragma once
// The stars of a catalogue as an editable table, one column a field of the
// record, over the importer's CatalogueEditor: every change passes its checks,
// and a refused change leaves the cell as it was and says why.
#include <QAbstractTableModel>
#include <functional>
#include <string>

#include "importer/catalogue_editor.h"

namespace tenmirel::ui {

class CatalogueEditorModel : public QAbstractTableModel {
 public:
  CatalogueEditorModel(importer::CatalogueEditor editor, std::function<void(const std::string&)> tell,
                       QObject* parent = nullptr);

  importer::CatalogueEditor& editor() { return editor_; }

  // Adds a star after the row (at the end for -1) with placeholder values the
  // user then edits; refused changes are said.
  bool addStar(const StarRecord& star, int afterRow);
  bool removeStar(int row);
  bool moveStar(int from, int to);
  bool save();

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role) override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

 private:
  bool done(const Refusal& refusal);
  importer::CatalogueEditor editor_;
  std::function<void(const std::string&)> tell_;
};

}  // namespace tenmirel::ui
