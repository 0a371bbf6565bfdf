#pragma once
// The catalogue formats the importer reads and how a file's format is told from
// its content.
#include <optional>
#include <string>
#include <string_view>

#include "sky/elements_time.h"

namespace tenmirel::importer {

enum class CatalogueFormat {
  gcvs51,     // gcvs5.txt: 236 characters, '|' at fixed columns
  gcvsIii,    // the earlier GCVS web layout: 163 characters
  vsxCsv,     // VSX bulk CSV, header "#OID,Name,VarFlag,RAdeg,DEdeg,Type,..."
  vsxDat,     // VizieR's fixed-width vsx.dat (right-trimmed lines)
  vsxJson,    // VSX web API answers: {"VSXObject":{...}} or {"VSXObjects":{"VSXObject":[...]}}
  delimited,  // any CSV/TSV with a header row, columns named by the user
};

// "gcvs5", "gcvs-iii", "vsx-csv", "vsx-dat", "vsx-json", "table": the names of
// --format.
const char* formatKey(CatalogueFormat format);
std::optional<CatalogueFormat> parseFormatKey(std::string_view key);
// "GCVS 5.1", "GCVS（旧ウェブ形式）", "VSX CSV", …: the name shown to the user.
const char* formatTitle(CatalogueFormat format);
// The source named in each memo ("GCVS5.1", "VSX").
const char* formatSource(CatalogueFormat format);

// The time system a catalogue's elements are given in: GCVS JD, VSX HJD (its
// label: old GCVS-derived epochs in it may be JD). A delimited table says
// nothing, so JD.
sky::ElementsTime defaultElementsTime(CatalogueFormat format);

// The format of a file from its first line that is not blank: '{' or '[' JSON,
// "#OID," or "OID," the VSX CSV, the GCVS '|' columns, else a line that starts
// with a number and a name in vsx.dat's columns. A line with a tab, comma or
// semicolon is a delimited table only when columns were named (the caller
// knows); none when nothing fits.
std::optional<CatalogueFormat> detectFormat(std::string_view firstLine);

}  // namespace tenmirel::importer
