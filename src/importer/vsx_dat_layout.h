#pragma once
// The columns of VizieR's vsx.dat. The layout has changed between releases, so
// the table of the ReadMe that comes with the file is read when given; without
// it the layout below (B/vsx, bytes as its ReadMe numbers them) is used.
//
//    1-  7 OID      9- 38 Name     40 V        42- 50 RAdeg    52- 60 DEdeg
//   62- 91 Type    93 l_max    94-100 max     101 u_max   102-107 n_max
//  109 f_min      110 l_min   111-117 min     118 u_min   119-124 n_min
//  126-137 Epoch  138 u_Epoch 140 l_Period  141-156 Period  157-159 u_Period
#include <istream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/checked.h"

namespace tenmirel::importer {

struct DatColumn {
  std::string label;      // as the ReadMe names it ("RAdeg", "l_Period")
  std::size_t begin = 0;  // 0-based
  std::size_t end = 0;    // exclusive
};

struct VsxDatLayout {
  std::vector<DatColumn> columns;
  // The column of a label, letter case ignored; none when the layout lacks it.
  std::optional<DatColumn> find(std::string_view label) const;
  std::size_t lineLength() const;
};

const VsxDatLayout& defaultVsxDatLayout();

// Reads the byte-by-byte table of vsx.dat from a VizieR ReadMe. Refused when
// the ReadMe has no such table or the table lacks a name, a position, a period
// or an epoch column.
Checked<VsxDatLayout> readVsxDatReadMe(std::istream& readMe);

// Whether a line looks like a vsx.dat record of the default layout: a number
// in the first columns and a decimal right ascension in its column.
bool looksLikeVsxDatLine(std::string_view line);

}  // namespace tenmirel::importer
