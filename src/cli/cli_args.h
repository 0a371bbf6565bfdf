#pragma once
// Option parsing shared by the subcommands of tenmirel-cli.
#include <map>
#include <optional>
#include <ostream>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "prediction/extremum_prediction.h"

namespace tenmirel::cli {

// The longest option value taken, in bytes; paths may be as long as the system allows.
inline constexpr std::size_t kMaxOptionValueBytes = 256;
inline constexpr std::size_t kMaxPathBytes = 4096;

struct ParsedArgs {
  std::map<std::string, std::string> options;  // "--epoch" -> "2451545"
  std::set<std::string> flags;                 // "--help"
  std::vector<std::string> positional;

  bool has(const std::string& name) const { return options.count(name) != 0; }
  std::string get(const std::string& name, const std::string& fallback = {}) const;
};

// Reads "--name value" and "--name=value" for the names in withValue and bare
// "--name" for the names in flags (the last of a repeated option counts). Names
// in paths take values up to kMaxPathBytes, the others up to kMaxOptionValueBytes,
// and so do positional arguments and paths respectively. Anything else is an
// error, described in words.
std::optional<ParsedArgs> parseArgs(const std::vector<std::string>& args, const std::set<std::string>& withValue,
                                    const std::set<std::string>& flags, std::string& error,
                                    const std::set<std::string>& paths = {"--catalogue", "--xlsx"});

// "YYYY-MM-DD HH:MM" (or "YYYY-MM-DD", meaning 00:00) as the five texts a user
// would type into the reference fields. A day its month does not have, an hour
// above 23 or a minute above 59 is refused with the value named.
using DateTimeTexts = ReferenceTexts;
enum class TimePart { required, optional, forbidden };
std::optional<DateTimeTexts> parseDateTime(std::string_view text, TimePart time, std::string& error);

// A whole number in [minimum, maximum], or nothing.
std::optional<int> parseCount(std::string_view text, int minimum, int maximum);

// The number an option was given, when it lies within [lowest, highest]; else
// nothing and, in error, a message naming the option and the range.
std::optional<double> numberOption(const ParsedArgs& parsed, const std::string& name, double lowest, double highest,
                                   std::string& error);

// Says what is wrong with the command line and where the help is; returns the
// exit status of a usage mistake.
int usageError(std::ostream& err, const std::string& command, const std::string& text);

}  // namespace tenmirel::cli
