#pragma once
// What a number box does with the characters a Japanese input method types.
#include <string>
#include <string_view>

namespace tenmirel {

// Turns the full-width forms of the characters a number can hold into their
// ASCII forms: the digits, "．", "－", "＋", the exponent letters "ｅ", "Ｅ", "ｄ",
// "Ｄ" and the ideographic space. Everything else stays as it is, so a box never
// loses what was typed; the lenient parse then reads "２０２６" as 2026, not 0.
std::string asciiNumberInput(std::string_view utf8);

}  // namespace tenmirel
