#pragma once
// An imported star as a catalogue record, and the memo that carries what later
// planning needs.
//
// The memo's tokens, read back by catalogue/memo_tokens.h:
//
//   EA/RS D=17 P: E0: 8.97～9.83V 元期:極小 出典:GCVS5.1
//
// - the catalogue's type as the first token ("型不明" when it gives none);
// - D=  the eclipse's duration in % of the period, for eclipsing stars that have one;
// - P:  / E0:  the catalogue flags the period / the epoch as uncertain (':');
// - the magnitude range and band as written, limits ('<', '>') and ':' kept; an
//   amplitude reads "振幅0.67" after the maximum;
// - 元期:極小 / 元期:極大 / 元期:極  which extremum the epoch names;
// - 出典:  the catalogue, and its release when given.
// Nothing is written in parentheses, so the type can only come from the first token.
#include <optional>
#include <string>
#include <string_view>

#include "catalogue/star_table.h"
#include "catalogue/text_encoding.h"
#include "importer/imported_star.h"

namespace tenmirel::importer {

// The memo of an imported star (UTF-8), within kMaxMemoBytes in CP932: the
// trailing free text is cut first, never the tokens before it.
std::string importMemo(const ImportedStar& star, std::string_view source, Cp932Encoder& encoder);

// The type as the memo's first token: the catalogue's text with blanks removed
// and parentheses made square, so that no later text is taken for the type;
// "型不明" for none.
std::string memoTypeToken(std::string_view type);

// The name the catalogue file can hold: as written, or transliterated to ASCII
// ("Kohoutek" for "Kohoùtek"); none when neither can be written in CP932.
struct WrittenName {
  std::string text;
  bool transliterated = false;
};
std::optional<WrittenName> writableName(std::string_view name, Cp932Encoder& encoder);

// The record of a predictable star (UTF-8 texts): the epoch and period as
// written, right ascension to 0.1 minute and declination to whole arc-minutes
// as the format holds them, the sign in its own line ("False" for south).
StarRecord importRecord(const ImportedStar& star, const std::string& name, const std::string& memo);

}  // namespace tenmirel::importer
