#pragma once
// Cutting and reading the fields of a catalogue line: by column for the fixed
// layouts, by text for the delimited ones. Nothing here allocates per call
// except the FlaggedNumber it returns.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "importer/imported_star.h"

namespace tenmirel::importer {

// Bytes [begin, end) of the line, 0-based; a line shorter than end gives what it
// holds (a right-trimmed line reads as if padded with blanks).
std::string_view columns(std::string_view line, std::size_t begin, std::size_t end);

std::string_view trimmed(std::string_view text);

// A plain decimal number: optional sign, digits, an optional point and digits
// ("53820.", "-1.4", ".5"); exponents, blanks inside and anything else refused.
std::optional<double> plainDecimal(std::string_view text);

// A field of flags and one number ("(  0.67    )", "> 150.", "120. :/N",
// "40692. :"): the number's characters are its digits, everything else but
// blanks its flags. A field with two numbers or a lone sign keeps all its
// characters as flags and has no value.
FlaggedNumber flaggedNumber(std::string_view field);

// A magnitude as VSX writes it with its band: "14.21 V", "(0.20) V", "<17.5 CV".
struct MagnitudeWithBand {
  FlaggedNumber magnitude;
  std::string band;
};
MagnitudeWithBand magnitudeWithBand(std::string_view text);

// The name with its inner blank runs collapsed ("R     And" -> "R And").
std::string collapsedName(std::string_view text);

// Whether the text is ASCII letters, digits and punctuation only (no control
// bytes): the check for a binary file.
bool hasControlBytes(std::string_view text);

}  // namespace tenmirel::importer
