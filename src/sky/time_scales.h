#pragma once
// Time scales of one instant given as a UT Julian day. UT1 is taken equal to UTC
// (no UT1 - UTC table); leap seconds come from ERFA's own table.
namespace tenmirel::sky {

// An ERFA two-part Julian date: whole + fraction keeps the precision.
struct TwoPartDate {
  double whole = 0;
  double part = 0;
  double sum() const { return whole + part; }
};

// Splits at the modified Julian day zero, as ERFA recommends.
TwoPartDate twoPart(double julianDay);

// TT for the UT instant (TAI - UTC from the leap-second table + 32.184 s).
TwoPartDate terrestrialTimeOf(double julianDayUt);
// TDB for the UT instant (TT plus ERFA's TDB - TT at the geocentre).
TwoPartDate barycentricTimeOf(double julianDayUt);

}  // namespace tenmirel::sky
