#pragma once
// Every star of an import as a table: its line, name, type, position, epoch,
// period, range, and what became of it (取り込む, or the reason it is left out).
// The rows are the importer's, in file order; nothing is computed here.
#include <QAbstractTableModel>
#include <array>
#include <vector>

#include "importer/catalogue_import.h"

namespace tenmirel::ui {

class ImportPreviewModel : public QAbstractTableModel {
 public:
  enum Column {
    kLine,
    kName,
    kType,
    kRightAscension,
    kDeclination,
    kEpoch,
    kPeriod,
    kRange,
    kOutcome,
    kMemo,
    kColumnCount
  };

  explicit ImportPreviewModel(QObject* parent = nullptr);

  // Starts an empty table; add() takes the importer's rows one by one, finish() shows them.
  void clear();
  void add(const importer::ImportedRow& row);
  void finish();

  int imported() const { return imported_; }
  // The table holds the first rows only; a survey's millions are counted, not shown.
  static constexpr std::size_t kMaxRows = 100'000;
  bool cut() const { return cut_; }

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

 private:
  struct Row {
    std::array<QString, kColumnCount> texts;
    bool imported = false;
  };
  std::vector<Row> rows_;
  std::vector<Row> pending_;
  int imported_ = 0;
  bool cut_ = false;
};

}  // namespace tenmirel::ui
