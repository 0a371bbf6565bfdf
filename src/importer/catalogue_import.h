#pragma once
// A whole import: read a catalogue (star_reader.h), settle each star's
// elements, choose by the filters and make the record of every predictable star
// that passes. Each star reaches the row sink with what became of it, so the
// command line streams records to its file and a window fills its preview from
// the same calls.
#include <array>
#include <cstdint>
#include <functional>
#include <istream>
#include <string>
#include <vector>

#include "catalogue/star_table.h"
#include "common/checked.h"
#include "importer/import_filter.h"
#include "importer/imported_star.h"
#include "importer/star_reader.h"
#include "sky/elements_time.h"

namespace tenmirel::importer {

struct ImportSettings {
  ReadOptions read;
  ImportFilter filter;
  std::string release;  // the catalogue's release, named in every memo after the source ("2024-06")
};

enum class StarOutcome {
  imported,  // predictable and chosen: `record` is set
  skipped,   // not predictable: star.skip says why
  filtered,  // predictable but left out by a filter: `miss` says which
};

struct ImportedRow {
  const ImportedStar& star;
  StarOutcome outcome;
  FilterMiss miss = FilterMiss::none;
  const StarRecord* record = nullptr;  // UTF-8 texts; only for imported stars
  bool nameTransliterated = false;
};
using RowSink = std::function<void(const ImportedRow&)>;

// A name that could not be written as the catalogue gave it.
struct NameNote {
  std::uint64_t line = 0;
  std::string name;     // as the catalogue writes it
  std::string written;  // the ASCII name written instead; empty when the star was refused
};

// The first of the skipped stars, for a report that cannot list millions.
struct SkippedNote {
  std::uint64_t line = 0;
  std::string name;
  SkipReason reason = SkipReason::none;
};

inline constexpr std::size_t kMaxListedNotes = 1000;

struct ImportReport {
  CatalogueFormat format = CatalogueFormat::gcvs51;
  sky::ElementsTime elementsTime = sky::ElementsTime::jd;  // the catalogue's, before any override
  std::uint64_t lines = 0;
  std::uint64_t read = 0;      // stars read
  std::uint64_t imported = 0;  // records made
  std::array<std::uint64_t, kSkipReasonCount> skipped{};
  std::array<std::uint64_t, kFilterMissCount> filtered{};
  std::uint64_t valueProblems = 0;  // stars with a value that did not read (kept)
  std::vector<NameNote> names;      // at most kMaxListedNotes
  std::uint64_t transliterated = 0;
  std::vector<SkippedNote> firstSkipped;  // at most kMaxListedNotes
  std::uint64_t skippedTotal() const;
  std::uint64_t filteredTotal() const;
};

Checked<ImportReport> importCatalogue(std::istream& in, const ImportSettings& settings, const RowSink& sink);

}  // namespace tenmirel::importer
