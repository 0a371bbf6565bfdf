#pragma once
// The fixed columns of the GCVS line layouts: GCVS 5.1 (gcvs5.txt, 236
// characters) and the earlier web layout ("iii", 163 characters). A line is cut
// by these columns, never split on '|': a few real lines carry '|' inside the
// new-type field. Columns are 0-based, [begin, end).
#include <cstddef>
#include <optional>
#include <string_view>

#include "common/checked.h"
#include "importer/imported_star.h"

namespace tenmirel::importer {

struct Span {
  std::size_t begin = 0;
  std::size_t end = 0;
};

struct GcvsLayout {
  const char* name;        // for messages ("GCVS 5.1")
  std::size_t lineLength;  // line end not counted
  Span number, component, designation;
  // right ascension hours, minutes, seconds; the declination's sign (its own
  // column: it applies to the whole value, -00° included), degrees, arc-minutes,
  // arc-seconds; the position's ':' flag
  Span raHours, raMinutes, raSeconds, decSign, decDegrees, decMinutes, decSeconds, positionFlag;
  Span type, maxMagnitude, minMagnitude, secondMinimum, band;
  Span epoch;
  Span period;
  Span durationValue, durationFlags;  // M-m or, for eclipsing stars, D, in % of the period
  Span synonym;                       // {0, 0} when the layout has no such column
  std::size_t separators[24];         // columns that hold '|' in every line; 0 ends the list
};

const GcvsLayout& gcvs51Layout();
const GcvsLayout& gcvsIiiLayout();

// Whether the line carries the layout's '|' columns (the test format
// detection makes).
bool matchesGcvsLayout(std::string_view line, const GcvsLayout& layout);

// Reads one line (its line end removed) into star. A line shorter than the
// layout is read as if padded with blanks; a longer one is refused. A blank
// line leaves star empty.
Refusal readGcvsLine(std::string_view line, const GcvsLayout& layout, std::optional<ImportedStar>& star);

}  // namespace tenmirel::importer
