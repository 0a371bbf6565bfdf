#pragma once
// Local sidereal time of the observer's site and the altitude of a star. Every term
// passes through a text cell, so the check window shows exactly the numbers the
// result was computed from.
#include <array>
#include <concepts>
#include <string>
#include <type_traits>

namespace tenmirel {

// The seventeen text cells of the calculation, named after the check window's labels.
struct CalcLabels {
  std::array<std::string, 2> lblTu;    // days since the 1900 epoch, T in centuries
  std::array<std::string, 3> lblS0;    // terms of the sidereal time at 0h UT
  std::array<std::string, 5> lblS;     // terms of the local sidereal time
  std::array<std::string, 6> lblSinh;  // sines and cosines of the altitude formula
  std::string lblH;                    // the altitude in degrees
};

// Where the calculation stands: the longitude as the seconds-of-time text the
// check window shows ("33360" for 139° 00′ east) and the latitude in degrees.
struct CalcSite {
  std::string longitudeTimeSecondsText;
  double latitudeDegrees = 0;
};

// The built-in site: 139° 00′ east, 35° north.
const CalcSite& builtInCalcSite();
// A site given in degrees, east and north positive; the longitude becomes seconds
// of time (240 s a degree) through the number text, so 139° gives "33360".
CalcSite calcSiteAt(double longitudeDegrees, double latitudeDegrees);

// Whether every cell holds a text: a term that is not a finite number leaves its cell empty.
inline bool allCalcCellsWritten(const CalcLabels& labels) {
  auto filled = [](const auto& cells) {
    for (const auto& cell : cells) {
      if (cell.empty()) return false;
    }
    return true;
  };
  return filled(labels.lblTu) && filled(labels.lblS0) && filled(labels.lblS) && filled(labels.lblSinh) &&
         !labels.lblH.empty();
}

// Visits the seventeen cells in the order of the check window, each with its
// name ("lblTu(0)" .. "lblH"); through a record that is not const the cells
// may be written.
template <typename Labels, typename Visit>
  requires std::same_as<std::remove_const_t<Labels>, CalcLabels>
void forEachCalcCell(Labels& labels, Visit visit) {
  auto row = [&](const char* name, auto& cells) {
    for (std::size_t i = 0; i < cells.size(); ++i) {
      visit(std::string(name) + "(" + std::to_string(i) + ")", cells[i]);
    }
  };
  row("lblTu", labels.lblTu);
  row("lblS0", labels.lblS0);
  row("lblS", labels.lblS);
  row("lblSinh", labels.lblSinh);
  visit(std::string("lblH"), labels.lblH);
}

// Local sidereal time in degrees, 0 <= result < 360, for a Julian day in UT.
// Fills lblTu, lblS0 and lblS.
double CalcSidereal(const double& julianDayUt, CalcLabels& labels, const CalcSite& site = builtInCalcSite());

// Altitude in degrees of the star at right ascension and declination (degrees)
// for the local sidereal time in degrees. Fills lblSinh and lblH. Where the
// rounded terms reach |sin h| >= 1 the result is +90 or -90.
double CalcAltitude(const double& alphaDegrees, const double& deltaDegrees, const double& thetaDegrees,
                    CalcLabels& labels, const CalcSite& site = builtInCalcSite());

}  // namespace tenmirel
