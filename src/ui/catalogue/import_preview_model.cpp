#include "ui/catalogue/import_preview_model.h"

#include <QBrush>
#include <QColor>
#include <cmath>

#include "ui/catalogue/catalogue_ports.h"

namespace tenmirel::ui {
namespace {

constexpr double kDegreesPerHour = 15.0;
const QColor kLeftOutColor(128, 128, 128);

QString flagged(const importer::FlaggedNumber& value) {
  if (value.digits.empty()) return qs(value.flags);
  return qs(value.flags.empty() ? value.digits : value.digits + " " + value.flags);
}

QString hours(const std::optional<double>& degrees) {
  if (!degrees) return {};
  const double h = *degrees / kDegreesPerHour;
  return QString::asprintf("%dh %04.1fm", static_cast<int>(h), std::fmod(h * 60, 60));
}

QString degrees(const std::optional<double>& value) {
  if (!value) return {};
  const double a = std::fabs(*value);
  return QString::asprintf("%c%d° %04.1f′", *value < 0 ? '-' : '+', static_cast<int>(a), std::fmod(a * 60, 60));
}

}  // namespace

ImportPreviewModel::ImportPreviewModel(QObject* parent) : QAbstractTableModel(parent) {}

void ImportPreviewModel::clear() {
  beginResetModel();
  rows_.clear();
  pending_.clear();
  imported_ = 0;
  cut_ = false;
  endResetModel();
}

void ImportPreviewModel::add(const importer::ImportedRow& row) {
  if (row.outcome == importer::StarOutcome::imported) ++imported_;
  if (pending_.size() >= kMaxRows) {
    cut_ = true;
    return;
  }
  Row shown;
  const importer::ImportedStar& star = row.star;
  shown.texts[kLine] = QString::number(star.line);
  shown.texts[kName] = qs(row.record ? row.record->starName : star.name);
  shown.texts[kType] = qs(star.type);
  shown.texts[kRightAscension] = hours(star.raDegrees);
  shown.texts[kDeclination] = degrees(star.decDegrees);
  shown.texts[kEpoch] = flagged(star.epoch);
  shown.texts[kPeriod] = flagged(star.period);
  shown.texts[kRange] = flagged(star.maxMagnitude) + QStringLiteral(" – ") + flagged(star.minMagnitude);
  switch (row.outcome) {
    case importer::StarOutcome::imported:
      shown.texts[kOutcome] =
          row.nameTransliterated ? QStringLiteral("取り込む（星名を英字に）") : QStringLiteral("取り込む");
      shown.texts[kMemo] = qs(row.record->memo);
      shown.imported = true;
      break;
    case importer::StarOutcome::skipped:
      shown.texts[kOutcome] = QStringLiteral("予報できない: ") + qs(importer::skipReasonWords(star.skip));
      break;
    case importer::StarOutcome::filtered:
      shown.texts[kOutcome] = QStringLiteral("絞り込みで除外: ") + qs(importer::filterMissWords(row.miss));
      break;
  }
  pending_.push_back(std::move(shown));
}

void ImportPreviewModel::finish() {
  beginResetModel();
  rows_ = std::move(pending_);
  pending_.clear();
  endResetModel();
}

int ImportPreviewModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int ImportPreviewModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : kColumnCount; }

QVariant ImportPreviewModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rowCount()) return {};
  const Row& row = rows_[static_cast<std::size_t>(index.row())];
  if (role == Qt::DisplayRole || role == Qt::ToolTipRole) return row.texts[static_cast<std::size_t>(index.column())];
  if (role == Qt::ForegroundRole && !row.imported) return QBrush(kLeftOutColor);
  return {};
}

QVariant ImportPreviewModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role != Qt::DisplayRole) return {};
  if (orientation == Qt::Vertical) return section + 1;
  static const char* const kTitles[kColumnCount] = {"行",   "星名", "型",   "赤経",     "赤緯",
                                                    "元期", "周期", "範囲", "取り込み", "メモ"};
  return QString::fromUtf8(kTitles[section]);
}

}  // namespace tenmirel::ui
