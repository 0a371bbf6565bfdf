// The earlier GCVS web layout ("iii", 2012-2013): 163 characters a line,
// position to 0.1 s and 1", no synonym column; after the position every field
// sits four columns left of GCVS 5.1's.
#include "importer/gcvs_layout.h"

namespace tenmirel::importer {

const GcvsLayout& gcvsIiiLayout() {
  static const GcvsLayout layout{
      "GCVS (iii)",
      163,
      {0, 6},      // number
      {6, 7},      // component letter
      {8, 18},     // designation
      {20, 22},    // RA h
      {22, 24},    // RA m
      {24, 28},    // RA s
      {28, 29},    // Dec sign
      {29, 31},    // Dec °
      {31, 33},    // Dec ′
      {33, 35},    // Dec ″
      {35, 36},    // position ':'
      {37, 47},    // type
      {48, 57},    // maximum
      {58, 70},    // minimum I
      {71, 83},    // minimum II
      {84, 86},    // band
      {87, 99},    // epoch with its ':'
      {106, 126},  // period with its flags
      {127, 130},  // M-m or D
      {130, 132},  // its flags
      {0, 0},      // no other designation
      {7, 19, 36, 47, 57, 70, 83, 86, 99, 105, 126, 132, 150, 162, 0},
  };
  return layout;
}

}  // namespace tenmirel::importer
