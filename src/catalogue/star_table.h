#pragma once
// The star table: nine text columns of 1001 rows, filled from a catalogue file.
// Values stay the exact texts of their file lines until they are used.
#include <array>
#include <string>
#include <vector>

namespace tenmirel {

inline constexpr int kStarTableRows = 1001;  // rows 0..1000

// The text that makes a declination south; any other sign text means north.
inline constexpr const char* kSouthSignText = "False";

struct StarRecord {
  std::string starName;
  std::string ganki;      // epoch, Julian day (UT)
  std::string syuki;      // period, days
  std::string alphaHour;  // right ascension, hours part
  std::string alphaMin;   // right ascension, minutes part
  std::string deltaSign;  // exactly "False" means south
  std::string deltaDeg;   // declination, unsigned degrees part
  std::string deltaMin;   // declination, arc-minutes part
  std::string memo;
};

// The fields in the order of a record's lines in a catalogue file.
inline constexpr std::array<std::string StarRecord::*, 9> kStarRecordFields = {
    &StarRecord::starName,  &StarRecord::ganki,    &StarRecord::syuki,    &StarRecord::alphaHour, &StarRecord::alphaMin,
    &StarRecord::deltaSign, &StarRecord::deltaDeg, &StarRecord::deltaMin, &StarRecord::memo,
};

class StarTable {
 public:
  StarTable() : rows_(kStarTableRows) {}
  StarRecord& operator[](int index) { return rows_.at(static_cast<std::size_t>(index)); }
  const StarRecord& operator[](int index) const { return rows_.at(static_cast<std::size_t>(index)); }
  static constexpr bool hasRow(int index) { return index >= 0 && index < kStarTableRows; }

 private:
  std::vector<StarRecord> rows_;
};

}  // namespace tenmirel
