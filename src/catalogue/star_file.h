#pragma once
// Reading a catalogue file into the star table.
#include <filesystem>
#include <functional>
#include <istream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "catalogue/catalogue_source.h"
#include "catalogue/star_table.h"
#include "common/ui_ports.h"

namespace tenmirel {

inline constexpr const char* kCatalogueMagicLine = "Quorrelith 1999";
inline constexpr const char* kCatalogueFilterDescription = "変光星ﾃﾞｰﾀﾌｧｲﾙ(*.vsd)";
inline constexpr const char* kCataloguePattern = "*.vsd";
inline constexpr const char* kWrongMagicMessage = "Error!";
inline constexpr int kLinesPerStarRecord = static_cast<int>(kStarRecordFields.size());
inline constexpr int kMaxStarRecords = kStarTableRows;  // 1001
// The most stars a catalogue read without the table's limit may hold (the night
// plan of the command line reads whole survey catalogues).
inline constexpr int kMaxUnlimitedStarRecords = 10'000'000;

// How many records a reading accepts: the window's star table, or any catalogue.
enum class RecordLimit { starTable, none };
// The longest line a catalogue may hold, in bytes (line end not counted).
inline constexpr std::size_t kMaxCatalogueLineBytes = 64 * 1024;

// Why a catalogue file was not read.
enum class StarFileFailure {
  none,
  notFound,        // no such file
  cannotOpen,      // exists but cannot be opened or read (a folder, no permission)
  notAFile,        // a device or a socket
  noWriter,        // a pipe (FIFO) that nobody wrote into
  emptyFile,       // not even line 1
  wrongMagicLine,  // line 1 is not exactly "Quorrelith 1999"
  noCountLine,     // the file ends after line 1
  badCount,        // the count line is not a whole number from 1 up
  endsInsideRecord,
  tooManyRecords,  // the count is above 1001
  lineTooLong,     // a line longer than kMaxCatalogueLineBytes
  outOfMemory,     // the records did not fit in memory
};

struct StarFileReadResult {
  std::vector<StarRecord> records;  // exactly `count` records on success, none on failure
  int count = 0;
  StarFileFailure failure = StarFileFailure::none;
  // For endsInsideRecord: the record (1-based) the file ends in; for lineTooLong:
  // the record holding the line, 0 for the count line.
  int failedRecord = 0;
  std::string countLineText;          // the count line as read, for the description of badCount
  int recordLimit = kMaxStarRecords;  // the most records this reading accepted
  bool ok() const { return failure == StarFileFailure::none; }
};

// Reads a whole catalogue. Line ends may be CR LF, CR or LF; texts are decoded
// from CP932 (or UTF-8, see text_decoding.h) and otherwise kept exactly.
// Never throws.
// Regular files and pipes are read; folders and devices are refused, and a pipe
// without a writer is given up after writerWait (see catalogue_source.h).
StarFileReadResult readStarFile(const std::filesystem::path& file,
                                std::chrono::milliseconds writerWait = kPipeWriterWait,
                                RecordLimit limit = RecordLimit::starTable);
StarFileReadResult readStarStandardInput(RecordLimit limit = RecordLimit::starTable);

// Reads a regular file's records one at a time, for catalogues too large to
// hold twice: a first pass makes every check of readStarFile and judges the
// encoding of the whole file, a second hands each decoded record to `each`, in
// order. The result is readStarFile's without its records: on failure nothing
// was handed. The records are those readStarFile would give. The file must not
// change between the passes (a pipe cannot be read twice: use readStarFile).
using StarRecordSink = std::function<void(StarRecord&&)>;
// `counted`, when given, learns the number of records before the first is handed.
StarFileReadResult streamStarFile(const std::filesystem::path& file, RecordLimit limit, const StarRecordSink& each,
                                  const std::function<void(int)>& counted = {});
StarFileReadResult readStarStream(std::istream& in, RecordLimit limit = RecordLimit::starTable);

// A plain Japanese sentence naming the file and the reason; empty on success.
std::string describeStarFileFailure(const std::filesystem::path& file, const StarFileReadResult& result);

// Finds a star by the text a user typed: its exact name, its list position
// (0-based, as `tenmirel-cli stars` shows it), or, when exactly one star
// matches, its name without a remark in parentheses or the remark itself
// ("Algol" or "bet Per" for "Algol (bet Per)"), letter case ignored.
std::optional<int> findStar(const std::vector<StarRecord>& records, std::string_view nameOrIndex);

// Asks the chooser for a file and reads it. On success rows 0..N-1 of the table
// are replaced and N is returned; on any failure the table is untouched and 0 is
// returned. The only message is "Error!" for a file without the magic line.
// outcome, when given, receives how the reading went (without the records).
int LoadStarFile(FileChooser& chooser, MessageSink& messages, StarTable& table, StarFileReadResult* outcome = nullptr);

}  // namespace tenmirel
