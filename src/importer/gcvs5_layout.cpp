// GCVS 5.1 (gcvs5.txt of the Sternberg Institute): 236 characters a line,
// position to 0.01 s and 0.1", the synonym column after the references.
#include "importer/gcvs_layout.h"

namespace tenmirel::importer {

const GcvsLayout& gcvs51Layout() {
  static const GcvsLayout layout{
      "GCVS 5.1",
      236,
      {0, 6},      // number
      {6, 7},      // component letter
      {8, 18},     // designation
      {20, 22},    // RA h
      {22, 24},    // RA m
      {24, 29},    // RA s
      {30, 31},    // Dec sign
      {31, 33},    // Dec °
      {33, 35},    // Dec ′
      {35, 39},    // Dec ″
      {39, 40},    // position ':'
      {41, 51},    // type
      {52, 61},    // maximum
      {62, 74},    // minimum I
      {75, 87},    // minimum II
      {88, 90},    // band
      {91, 103},   // epoch with its ':'
      {110, 130},  // period with its flags
      {131, 134},  // M-m or D
      {134, 136},  // its flags
      {167, 178},  // other designation ("=V Vel")
      {7, 19, 40, 51, 61, 74, 87, 90, 103, 109, 130, 136, 154, 166, 178, 192, 201, 203, 213, 224, 235, 0},
  };
  return layout;
}

}  // namespace tenmirel::importer
