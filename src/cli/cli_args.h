#pragma once
// Option parsing shared by the subcommands of tenmirel-cli.
#include <map>
#include <optional>
#include <ostream>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace tenmirel::cli {

struct ParsedArgs {
  std::map<std::string, std::string> options;  // "--epoch" -> "2451545"
  std::set<std::string> flags;                 // "--help"
  std::vector<std::string> positional;

  bool has(const std::string& name) const { return options.count(name) != 0; }
  std::string get(const std::string& name, const std::string& fallback = {}) const;
};

// Reads "--name value" and "--name=value" for the names in withValue and bare
// "--name" for the names in flags. Anything else is an error, described in words.
std::optional<ParsedArgs> parseArgs(const std::vector<std::string>& args,
                                    const std::set<std::string>& withValue,
                                    const std::set<std::string>& flags, std::string& error);

// "YYYY-MM-DD HH:MM" (or "YYYY-MM-DD", meaning 00:00) as the five texts a user
// would type into the reference fields.
struct DateTimeTexts {
  std::string year, month, day, hour, minute;
};
std::optional<DateTimeTexts> parseDateTime(std::string_view text, bool timeRequired, std::string& error);

// A whole number in [minimum, maximum], or nothing.
std::optional<int> parseCount(std::string_view text, int minimum, int maximum);

// Says what is wrong with the command line and where the help is; returns the
// exit status of a usage mistake.
int usageError(std::ostream& err, const std::string& command, const std::string& text);

}  // namespace tenmirel::cli
