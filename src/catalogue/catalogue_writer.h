#pragma once
// Star records written as the text of a catalogue file, the reverse of the
// reader: the magic line, the count, then the nine lines of every record.
#include <string>
#include <string_view>
#include <vector>

#include "catalogue/star_table.h"

namespace tenmirel {

inline constexpr const char* kCatalogueLineEnd = "\r\n";

// The nine lines of a record in file order, each ended with lineEnd.
std::string starRecordText(const StarRecord& record, std::string_view lineEnd = kCatalogueLineEnd);

// A whole catalogue of the records, every line ended with lineEnd.
std::string catalogueFileText(const std::vector<StarRecord>& records, std::string_view lineEnd = kCatalogueLineEnd);

}  // namespace tenmirel
