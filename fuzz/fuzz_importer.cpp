// Arbitrary bytes as a catalogue to import, through each reader in turn (the
// first byte chooses: told from the content, GCVS 5.1, GCVS iii, VSX CSV,
// vsx.dat, VSX JSON, a named-column table, or a vsx.dat ReadMe). Nothing may
// crash; every record made must pass the record checks, and every memo must
// read back through the memo reader with the type it was written with.
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "catalogue/memo_tokens.h"
#include "importer/catalogue_import.h"
#include "importer/import_record.h"
#include "importer/record_checks.h"
#include "importer/vsx_dat_layout.h"

namespace {

void require(bool condition) {
  if (!condition) std::abort();
}

constexpr double kLatestEpoch = 2463208.0;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tenmirel;
  using namespace tenmirel::importer;
  if (size == 0) return 0;
  const unsigned choice = data[0] % 8;
  std::istringstream in(std::string(reinterpret_cast<const char*>(data + 1), size - 1));
  if (choice == 7) {
    const auto layout = readVsxDatReadMe(in);
    if (layout) {
      for (const auto& column : layout->columns) require(column.begin < column.end);
    }
    return 0;
  }
  ImportSettings settings;
  settings.read.latestTrustedEpoch = kLatestEpoch;
  constexpr CatalogueFormat kFormats[] = {CatalogueFormat::gcvs51,  CatalogueFormat::gcvsIii,
                                          CatalogueFormat::vsxCsv,  CatalogueFormat::vsxDat,
                                          CatalogueFormat::vsxJson, CatalogueFormat::delimited};
  if (choice > 0) settings.read.format = kFormats[choice - 1];
  settings.read.columns = {"name", "ra", "dec", "epoch", "period", "type"};
  const auto report = importCatalogue(in, settings, [](const ImportedRow& row) {
    if (row.outcome != StarOutcome::imported) {
      require(row.record == nullptr);
      return;
    }
    require(row.record != nullptr && row.star.skip == SkipReason::none);
    require(!checkStarRecord(*row.record));
    const MemoTokens tokens = readMemoTokens(row.record->memo);
    require(tokens.usable());
    require(tokens.type.text == classifyVariableType(memoTypeToken(row.star.type)).text);
    require(tokens.periodUncertain == row.star.period.uncertain());
    require(tokens.epochUncertain == row.star.epoch.uncertain());
  });
  if (report) require(report->imported + report->skippedTotal() + report->filteredTotal() == report->read);
  return 0;
}
