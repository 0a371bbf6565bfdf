#pragma once
// One star as a catalogue line gives it, before it becomes a catalogue record.
//
// Every value keeps the text it was written with and its flags beside the
// number: a catalogue's ':' (uncertain), '<' '>' (a limit), '(' ')' (an
// amplitude, or a mean cycle instead of a period) and its notes stay readable.
// A value the line leaves blank is missing (no number), never zero.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tenmirel::importer {

struct FlaggedNumber {
  std::optional<double> value;  // none when blank or unreadable
  std::string digits;           // the number as written ("0.6289216", "08247.950")
  std::string flags;            // the other characters of the field, blanks removed (":", "(", ">", ":/N")
  bool has(char flag) const { return flags.find(flag) != std::string::npos; }
  bool uncertain() const { return has(':'); }
  bool blank() const { return digits.empty() && flags.empty(); }
};

// Why a star cannot be predicted from its elements; none when it can.
enum class SkipReason {
  none,
  synonym,           // a cross-reference line ("=V Vel") without data
  noName,            // no name to list the star by
  noPosition,        // no right ascension or declination
  noPeriod,          // no period, or none above zero
  meanCycle,         // a mean cycle in parentheses, not a period
  periodLimit,       // a period given only as a limit ("> 150.")
  noEpoch,           // no epoch
  epochOutOfRange,   // an epoch before 1800 or more than five years ahead
  badElements,       // epoch or period written so that no number can be read
  nameNotEncodable,  // a name the catalogue file's code page cannot hold
};
inline constexpr int kSkipReasonCount = 11;

// The reason in a few Japanese words ("周期なし"); empty for none.
const char* skipReasonWords(SkipReason reason);
// A stable English key for the JSON report ("no_period"); "none" for none.
const char* skipReasonKey(SkipReason reason);

struct ImportedStar {
  std::uint64_t line = 0;            // 1-based line of the source (the record's first line)
  std::string name;                  // blanks inside collapsed to one ("R And", "EQ PegA")
  std::optional<double> raDegrees;   // J2000
  std::optional<double> decDegrees;  // J2000
  bool positionUncertain = false;
  std::string type;  // as written ("EA/SD", "NA+XM:"); may be empty
  FlaggedNumber maxMagnitude;
  FlaggedNumber minMagnitude;             // flag '(' marks an amplitude instead of a magnitude
  std::string band;                       // photometric band ("V", "p")
  FlaggedNumber epoch;                    // value: the full Julian day; digits: that day as written in full
  FlaggedNumber period;                   // days
  std::optional<double> durationPercent;  // the eclipse's duration, % of the period
  bool durationUncertain = false;
  std::string synonymOf;  // "V Vel" for a cross-reference line
  // Values the line writes but that do not read (a malformed minimum): the star
  // is kept, the value is missing, the words say which.
  std::vector<std::string> problems;
  SkipReason skip = SkipReason::none;
};

}  // namespace tenmirel::importer
