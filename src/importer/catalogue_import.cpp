#include "importer/catalogue_import.h"

#include <numeric>

#include "catalogue/text_encoding.h"
#include "importer/import_record.h"

namespace tenmirel::importer {

std::uint64_t ImportReport::skippedTotal() const {
  return std::accumulate(skipped.begin(), skipped.end(), std::uint64_t{0});
}

std::uint64_t ImportReport::filteredTotal() const {
  return std::accumulate(filtered.begin(), filtered.end(), std::uint64_t{0});
}

Checked<ImportReport> importCatalogue(std::istream& in, const ImportSettings& settings, const RowSink& sink) {
  ImportReport report;
  Cp932Encoder encoder;
  std::string source;
  StarRecord record;

  const auto skip = [&](const ImportedStar& star) {
    ++report.skipped[static_cast<std::size_t>(star.skip)];
    if (report.firstSkipped.size() < kMaxListedNotes) report.firstSkipped.push_back({star.line, star.name, star.skip});
    sink(ImportedRow{star, StarOutcome::skipped});
  };

  const auto each = [&](ImportedStar&& star) {
    ++report.read;
    if (!star.problems.empty()) ++report.valueProblems;
    if (star.skip != SkipReason::none) {
      skip(star);
      return;
    }
    const FilterMiss miss = checkFilter(settings.filter, star);
    if (miss != FilterMiss::none) {
      ++report.filtered[static_cast<std::size_t>(miss)];
      sink(ImportedRow{star, StarOutcome::filtered, miss});
      return;
    }
    const auto name = writableName(star.name, encoder);
    if (!name) {
      if (report.names.size() < kMaxListedNotes) report.names.push_back({star.line, star.name, {}});
      star.skip = SkipReason::nameNotEncodable;
      skip(star);
      return;
    }
    if (name->transliterated) {
      ++report.transliterated;
      if (report.names.size() < kMaxListedNotes) report.names.push_back({star.line, star.name, name->text});
    }
    record = importRecord(star, name->text, importMemo(star, source, encoder));
    ++report.imported;
    ImportedRow row{star, StarOutcome::imported, FilterMiss::none, &record, name->transliterated};
    sink(row);
  };

  ReadOptions options = settings.read;
  options.formatKnown = [&](CatalogueFormat format) {
    source = formatSource(format);
    if (!settings.release.empty()) source += "-" + settings.release;
    if (settings.read.formatKnown) settings.read.formatKnown(format);
  };
  auto summary = readStars(in, options, each);
  if (!summary) return Checked<ImportReport>::failure(summary.message());
  report.format = summary->format;
  report.lines = summary->lines;
  report.elementsTime = defaultElementsTime(summary->format);
  return Checked<ImportReport>::success(std::move(report));
}

}  // namespace tenmirel::importer
