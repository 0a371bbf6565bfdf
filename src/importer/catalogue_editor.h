#pragma once
// Editing a catalogue file: add, edit, delete and reorder stars with the checks
// of record_checks.h, and save atomically with the old file kept as NAME.vsd~.
// The catalogue editor window and `tenmirel-cli edit` both work through this
// class; replacing a star's elements (an O-C fit's "use these elements")
// is replaceStarElements(), one call.
#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "catalogue/star_table.h"
#include "common/checked.h"

namespace tenmirel::importer {

class CatalogueEditor {
 public:
  // Reads a catalogue of any number of stars; refused with the reader's words.
  static Checked<CatalogueEditor> open(const std::filesystem::path& file);
  // A catalogue already read (the window's loaded stars), saved to file.
  CatalogueEditor(std::vector<StarRecord> stars, std::filesystem::path file);

  const std::vector<StarRecord>& stars() const { return stars_; }
  const std::filesystem::path& file() const { return file_; }
  bool modified() const { return modified_; }

  // The position of a star by its exact name, else as findStar() finds it
  // (list position, name without its remark).
  std::optional<std::size_t> find(std::string_view nameOrIndex) const;

  // Each change is checked first and refused whole; a refused change changes nothing.
  Refusal add(const StarRecord& star, std::optional<std::size_t> at = std::nullopt);
  Refusal replace(std::size_t index, const StarRecord& star);
  Refusal remove(std::size_t index);
  Refusal move(std::size_t from, std::size_t to);

  // Writes the catalogue (CP932, CR LF) atomically; the former file becomes
  // NAME.vsd~. A catalogue without stars cannot be saved (no reader loads it).
  Refusal save();

 private:
  Refusal checkName(const StarRecord& star, std::optional<std::size_t> self) const;
  std::vector<StarRecord> stars_;
  std::filesystem::path file_;
  bool modified_ = false;
};

// New elements for one star; the memo stays as it is unless given.
struct ElementsChange {
  std::string epoch;   // Julian day, as it should be written
  std::string period;  // days
  std::optional<std::string> memo;
};

// Reads the file, replaces the named star's epoch, period (and memo), checks
// and saves as CatalogueEditor::save does. Refused, and the file untouched,
// when the star is not there or the new values do not pass.
Refusal replaceStarElements(const std::filesystem::path& file, std::string_view star, const ElementsChange& change);

}  // namespace tenmirel::importer
