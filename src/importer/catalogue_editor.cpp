#include "importer/catalogue_editor.h"

#include "catalogue/star_file.h"
#include "importer/atomic_file.h"
#include "importer/record_checks.h"

namespace tenmirel::importer {

Checked<CatalogueEditor> CatalogueEditor::open(const std::filesystem::path& file) {
  StarFileReadResult read = readStarFile(file, kPipeWriterWait, RecordLimit::none);
  if (!read.ok()) return Checked<CatalogueEditor>::failure(describeStarFileFailure(file, read));
  return Checked<CatalogueEditor>::success(CatalogueEditor(std::move(read.records), file));
}

CatalogueEditor::CatalogueEditor(std::vector<StarRecord> stars, std::filesystem::path file)
    : stars_(std::move(stars)), file_(std::move(file)) {}

std::optional<std::size_t> CatalogueEditor::find(std::string_view nameOrIndex) const {
  for (std::size_t i = 0; i < stars_.size(); ++i) {
    if (stars_[i].starName == nameOrIndex) return i;
  }
  if (const auto found = findStar(stars_, nameOrIndex)) return static_cast<std::size_t>(*found);
  return std::nullopt;
}

Refusal CatalogueEditor::checkName(const StarRecord& star, std::optional<std::size_t> self) const {
  for (std::size_t i = 0; i < stars_.size(); ++i) {
    if (i != self && stars_[i].starName == star.starName) {
      return "「" + star.starName + "」という星はもうあります（" + std::to_string(i) + "番）。別の名前にしてください。";
    }
  }
  return std::nullopt;
}

Refusal CatalogueEditor::add(const StarRecord& star, std::optional<std::size_t> at) {
  if (Refusal refusal = checkStarRecord(star)) return refusal;
  if (Refusal refusal = checkName(star, std::nullopt)) return refusal;
  const std::size_t index = at ? std::min(*at, stars_.size()) : stars_.size();
  stars_.insert(stars_.begin() + static_cast<std::ptrdiff_t>(index), star);
  modified_ = true;
  return std::nullopt;
}

Refusal CatalogueEditor::replace(std::size_t index, const StarRecord& star) {
  if (index >= stars_.size()) return "その番号（" + std::to_string(index) + "）の星はありません。";
  if (Refusal refusal = checkStarRecord(star)) return refusal;
  if (Refusal refusal = checkName(star, index)) return refusal;
  stars_[index] = star;
  modified_ = true;
  return std::nullopt;
}

Refusal CatalogueEditor::remove(std::size_t index) {
  if (index >= stars_.size()) return "その番号（" + std::to_string(index) + "）の星はありません。";
  stars_.erase(stars_.begin() + static_cast<std::ptrdiff_t>(index));
  modified_ = true;
  return std::nullopt;
}

Refusal CatalogueEditor::move(std::size_t from, std::size_t to) {
  if (from >= stars_.size() || to >= stars_.size()) return std::string("その位置には動かせません。");
  if (from == to) return std::nullopt;
  StarRecord star = std::move(stars_[from]);
  stars_.erase(stars_.begin() + static_cast<std::ptrdiff_t>(from));
  stars_.insert(stars_.begin() + static_cast<std::ptrdiff_t>(to), std::move(star));
  modified_ = true;
  return std::nullopt;
}

Refusal CatalogueEditor::save() {
  if (stars_.empty()) return std::string("星が一つもないカタログは保存できません（読み込めないファイルになります）。");
  auto file = AtomicFile::create(file_);
  if (!file) return file.message();
  Cp932Encoder encoder;
  std::ostream& out = (*file)->stream();
  out << kCatalogueMagicLine << "\r\n" << stars_.size() << "\r\n";
  for (const StarRecord& star : stars_) {
    const auto text = cp932RecordText(star, encoder);
    if (!text) return "「" + star.starName + "」には CP932（Shift_JIS）で書けない文字があります。保存しませんでした。";
    out << *text;
  }
  if (Refusal refusal = (*file)->commit(Replace::keepBackup)) return refusal;
  modified_ = false;
  return std::nullopt;
}

Refusal replaceStarElements(const std::filesystem::path& file, std::string_view star, const ElementsChange& change) {
  auto editor = CatalogueEditor::open(file);
  if (!editor) return editor.message();
  CatalogueEditor edited = *editor;
  const auto index = edited.find(star);
  if (!index) return "「" + file.string() + "」に「" + std::string(star) + "」という星はありません。";
  StarRecord record = edited.stars()[*index];
  record.ganki = change.epoch;
  record.syuki = change.period;
  if (change.memo) record.memo = *change.memo;
  if (Refusal refusal = edited.replace(*index, record)) return refusal;
  return edited.save();
}

}  // namespace tenmirel::importer
