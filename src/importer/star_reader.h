#pragma once
// Reading a catalogue file star by star, whatever its format.
//
// The input is streamed: lines are read in blocks and each star goes to the
// sink as soon as its line is read, so memory stays flat for a file of any
// size. A file that cannot be read as a whole (an unknown format, a binary
// file, a line longer than its layout, a file cut short, a broken header) is
// refused with one Japanese sentence naming the line; stars already given to
// the sink must then be thrown away by the caller. A value that does not read
// costs only that value (ImportedStar::problems), never the file.
#include <cstdint>
#include <functional>
#include <istream>
#include <optional>
#include <string>

#include "common/checked.h"
#include "importer/catalogue_format.h"
#include "importer/imported_star.h"
#include "importer/vsx_dat_layout.h"

namespace tenmirel::importer {

// The header labels of a delimited table's columns, as the user names them.
struct DelimitedColumns {
  std::string name, ra, dec, epoch, period;
  std::string type;  // optional
  bool named() const { return !name.empty() || !ra.empty() || !dec.empty() || !epoch.empty() || !period.empty(); }
};

// "name=Star,ra=RA,dec=Dec,epoch=T0,period=P[,type=Type]" as the columns; the
// Japanese reason when a part is not key=label or one of the five is missing.
Checked<DelimitedColumns> parseColumnNames(std::string_view text);

struct ReadOptions {
  std::optional<CatalogueFormat> format;  // none: told from the content
  DelimitedColumns columns;               // for CatalogueFormat::delimited
  std::optional<VsxDatLayout> datLayout;  // a ReadMe's table; none: the default
  double latestTrustedEpoch = 0;          // see epoch_rules.h; 0 means "from the clock"
  // Told the format once it is known, before the first star.
  std::function<void(CatalogueFormat)> formatKnown;
};

// The longest line read, in bytes: far beyond any catalogue's, short enough that
// a file without line ends cannot fill the memory.
inline constexpr std::size_t kMaxImportLineBytes = 32u * 1024u * 1024u;

struct ReadSummary {
  CatalogueFormat format = CatalogueFormat::gcvs51;
  std::uint64_t lines = 0;
  std::uint64_t stars = 0;
};

// Each star, its elements settled (star_rules.h), in file order.
using StarSink = std::function<void(ImportedStar&&)>;

Checked<ReadSummary> readStars(std::istream& in, const ReadOptions& options, const StarSink& sink);

}  // namespace tenmirel::importer
