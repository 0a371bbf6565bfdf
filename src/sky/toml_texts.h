#pragma once
// TOML as the settings files need it, beside toml++: its parse errors in Japanese
// words, and values written so that they read back exactly (toml++ 3.3 writes a
// string holding a newline and ''' as a literal string it cannot read back, and
// floats with seventeen digits).
#include <string>
#include <string_view>

namespace tenmirel::sky {

// What a toml++ parse error's description says, in Japanese ("「=」がありません").
std::string tomlFaultWords(std::string_view description);

// A TOML basic string, quoted, with quotes, backslashes and control characters escaped.
std::string tomlString(std::string_view text);

// The shortest decimal text that reads back to the same double, always as a TOML
// float ("50.08", "139.0", "1e-07"). The value must be finite.
std::string tomlFloat(double value);

}  // namespace tenmirel::sky
