#pragma once
// An observer's light curve as their photometry software writes it: a delimited
// text table with a header line, read into full Julian days and magnitudes.
//
// - Lines whose first non-blank character is '#' and blank lines are skipped; the
//   first other line is the header. Fields are split at tabs when the header has
//   one, else at commas, else at semicolons, else at runs of blanks; a field may be
//   quoted with '"'.
// - The time column is the one named by the caller, else the first header found of
//   BJD_TDB, BJD, HJD, JD, MJD, JD-2400000, J.D.-2400000, HJD-2400000, BJD-2400000,
//   JD-2450000 …, Time (letter case ignored).
// - The brightness is the named magnitude column or the named flux column, else the
//   first of mag, Magnitude, V, then a column whose name starts with rel_flux (not
//   an error column). Flux is turned into magnitudes, -2.5 log10(flux).
// - The error column is the named one, else err, error, mag_err, magerr, e_mag,
//   sigma, or rel_flux_err… beside a flux; it may be missing.
// - Times below 2,000,000 are reduced Julian days. A header naming its offset
//   (JD-2400000, MJD = JD - 2400000.5) is believed; otherwise values from 30,000 up
//   are taken as JD - 2,400,000 and smaller ones as JD - 2,450,000; a note says
//   which offset was added either way.
// - Lines out of time order are sorted, with a note.
// Refused with a Japanese message: an empty or binary file, no header, a column not
// found, a field that is not a number (its line named), a flux that is not positive.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "common/checked.h"

namespace tenmirel::timing {

struct LightPoint {
  double julianDay = 0;  // full Julian day, in the time system the user names
  double magnitude = 0;
  double sigma = 0;  // magnitudes; 0 when the table has no error column
};

struct ColumnChoice {
  std::string time;  // empty: found by name
  std::string magnitude;
  std::string flux;  // a flux column instead of a magnitude column
  std::string error;
};

struct LightCurve {
  std::vector<LightPoint> points;  // in time order
  std::string timeColumn;
  std::string brightnessColumn;
  std::string errorColumn;  // empty when none
  bool fromFlux = false;
  double offsetAdded = 0;          // days added to every time read
  std::vector<std::string> notes;  // the assumed offset, the sorting: for standard error
};

// The most bytes a light-curve file may hold.
inline constexpr std::size_t kMaxLightCurveBytes = 256u * 1024u * 1024u;

Checked<LightCurve> readLightCurve(std::string_view text, const ColumnChoice& columns = {});

// Reads the file (a regular file up to kMaxLightCurveBytes) and then its text.
Checked<LightCurve> readLightCurveFile(const std::string& path, const ColumnChoice& columns = {});

}  // namespace tenmirel::timing
