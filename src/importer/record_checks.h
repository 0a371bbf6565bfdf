#pragma once
// The checks a star record passes before it is written to a catalogue file, the
// same for the import, the catalogue editor and `tenmirel-cli edit`: a name the
// file's code page (CP932) can hold, elements that are positive numbers, a
// position in range, a memo within its length and no line breaks anywhere.
#include <cstddef>
#include <string>

#include "catalogue/star_table.h"
#include "catalogue/text_encoding.h"
#include "common/checked.h"

namespace tenmirel::importer {

// The longest memo, in CP932 bytes (the sample's longest is 205).
inline constexpr std::size_t kMaxMemoBytes = 255;
// The longest star name, in CP932 bytes.
inline constexpr std::size_t kMaxNameBytes = 64;

// Checks one record whose texts are UTF-8 (as a catalogue reads them). The
// message names the field and the star: "「RZ Cas」の周期「-1」は正の数で書いてください。".
Refusal checkStarRecord(const StarRecord& record);

// The record's nine texts in CP932, each ended with CR LF; none when a text has
// no CP932 form (checkStarRecord says which).
std::optional<std::string> cp932RecordText(const StarRecord& record);
std::optional<std::string> cp932RecordText(const StarRecord& record, Cp932Encoder& encoder);

}  // namespace tenmirel::importer
