#pragma once
// One reader per format, fed a line at a time by the streaming driver
// (star_reader.h). Internal to the importer.
#include <cstdint>
#include <functional>
#include <memory>
#include <string_view>

#include "common/checked.h"
#include "importer/gcvs_layout.h"
#include "importer/imported_star.h"
#include "importer/vsx_dat_layout.h"

namespace tenmirel::importer {

struct DelimitedColumns;

using RawStarSink = std::function<void(ImportedStar&&)>;

class LineReader {
 public:
  virtual ~LineReader() = default;
  // Reads one line (its line end removed); the stars it holds go to the sink.
  // A refusal is the reason the whole file cannot be read, without the line's
  // number (the driver adds it).
  virtual Refusal read(std::string_view line, std::uint64_t lineNumber, const RawStarSink& sink) = 0;
  // After the last line, for a document that spans lines.
  virtual Refusal finish(const RawStarSink&) { return std::nullopt; }
  // Whether a last line that ends without a line end was cut short.
  virtual bool cutShort(std::string_view line) const = 0;
};

std::unique_ptr<LineReader> makeGcvsReader(const GcvsLayout& layout);
std::unique_ptr<LineReader> makeVsxCsvReader();
std::unique_ptr<LineReader> makeVsxDatReader(const VsxDatLayout& layout);
std::unique_ptr<LineReader> makeVsxJsonReader();
std::unique_ptr<LineReader> makeDelimitedReader(const DelimitedColumns& columns);

// A position in degrees from texts, with its range checked; a problem noted on
// the star when it does not read. Right ascension in degrees, or in hours when
// sexagesimal ("05 32 00.4", "05:32:00.4"); declination in degrees, decimal or
// sexagesimal.
void readPositionTexts(std::string_view ra, std::string_view dec, ImportedStar& star);

}  // namespace tenmirel::importer
