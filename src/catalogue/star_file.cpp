#include "catalogue/star_file.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <exception>
#include <new>
#include <system_error>

#include "catalogue/text_decoding.h"
#include "common/number_text.h"

namespace tenmirel {
namespace {

// How many characters of a bad count line a message quotes.
constexpr std::size_t kQuotedCountCharacters = 40;

enum class LineRead { line, endOfFile, tooLong };

// Splits a stream into lines. CR LF, CR and LF all end a line; the last line
// may end at the end of the file. A line end is never part of a line. The
// bytes are taken from the stream in blocks (a survey's catalogue has millions
// of lines), so the stream may be read beyond the last line returned.
class LineReader {
 public:
  explicit LineReader(std::istream& in) : buffer_(in.rdbuf()), block_(kBlockBytes) {}

  // Reads the next line into `line`. With a limit, stops as soon as the line
  // is longer, so a file that is not a catalogue is never read whole.
  LineRead next(std::string& line, std::size_t limit = std::string::npos) {
    line.clear();
    if (buffer_ == nullptr) return LineRead::endOfFile;
    if (skipLineFeed_) {
      // The line before ended with CR: an LF right after it belongs to that end.
      skipLineFeed_ = false;
      if (available() && block_[position_] == '\n') ++position_;
    }
    if (!available()) return LineRead::endOfFile;
    while (available()) {
      const char* begin = block_.data() + position_;
      const char* end = block_.data() + size_;
      const char* stop = begin;
      while (stop != end && *stop != '\n' && *stop != '\r') ++stop;
      const auto length = static_cast<std::size_t>(stop - begin);
      if (limit != std::string::npos && line.size() + length > limit) return LineRead::tooLong;
      line.append(begin, length);
      position_ += length;
      if (stop != end) {
        ++position_;
        skipLineFeed_ = *stop == '\r';
        return LineRead::line;
      }
    }
    return LineRead::line;  // the last line, ended by the end of the file
  }

 private:
  static constexpr std::size_t kBlockBytes = 64 * 1024;

  // Whether a byte is ready, taking the next block when the last is used up.
  bool available() {
    if (position_ < size_) return true;
    if (ended_) return false;
    const std::streamsize got = buffer_->sgetn(block_.data(), static_cast<std::streamsize>(block_.size()));
    position_ = 0;
    size_ = got > 0 ? static_cast<std::size_t>(got) : 0;
    if (size_ == 0) ended_ = true;
    return size_ > 0;
  }

  std::streambuf* buffer_;
  std::vector<char> block_;
  std::size_t position_ = 0;
  std::size_t size_ = 0;
  bool ended_ = false;
  bool skipLineFeed_ = false;
};

StarFileReadResult failed(StarFileFailure why) {
  StarFileReadResult result;
  result.failure = why;
  return result;
}

// The count must be a whole number from 1 up; blanks around it are allowed.
std::optional<double> wholePositiveCount(std::string_view text) {
  const std::optional<double> value = parseStrict(text);
  if (!value || *value < 1 || std::floor(*value) != *value) return std::nullopt;
  return value;
}

std::string quoteShortened(const std::string& text) {
  std::string quoted;
  std::size_t characters = 0;
  for (char c : text) {
    const bool startsCharacter = (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    if (startsCharacter && ++characters > kQuotedCountCharacters) {
      quoted += "…";
      break;
    }
    quoted.push_back(c);
  }
  return quoted;
}

// Reads the raw lines of records 0 to lastIndex (inclusive), nine each. Returns
// 0, or the record (1-based) in which the file ends.
// A line over the bound stops the reading there and is reported as too long.
struct RecordsRead {
  int failedRecord = 0;
  bool lineTooLong = false;
};

RecordsRead subDataLoad(LineReader& reader, int lastIndex, std::vector<std::string>& lines) {
  // The lines are taken as they come, so a count far above the file's contents
  // costs no memory of its own.
  const std::size_t wanted = static_cast<std::size_t>(lastIndex + 1) * kLinesPerStarRecord;
  lines.clear();
  lines.reserve(std::min<std::size_t>(wanted, static_cast<std::size_t>(kMaxStarRecords) * kLinesPerStarRecord));
  std::string line;
  for (std::size_t i = 0; i < wanted; ++i) {
    const LineRead read = reader.next(line, kMaxCatalogueLineBytes);
    if (read != LineRead::line) {
      return {static_cast<int>(i / kLinesPerStarRecord) + 1, read == LineRead::tooLong};
    }
    lines.push_back(line);
  }
  return {};
}

// Reads and checks the magic line and the count line. On success gives the
// count; otherwise `result` holds the failure.
std::optional<int> readHeader(LineReader& reader, RecordLimit limit, StarFileReadResult& result, bool& byteOrderMark) {
  const int maxRecords = limit == RecordLimit::none ? kMaxUnlimitedStarRecords : kMaxStarRecords;
  std::string line;
  const std::size_t magicLimit = kUtf8ByteOrderMark.size() + std::string_view(kCatalogueMagicLine).size();
  const LineRead first = reader.next(line, magicLimit);
  if (first == LineRead::endOfFile) {
    result = failed(StarFileFailure::emptyFile);
    return std::nullopt;
  }
  byteOrderMark = std::string_view(line).substr(0, kUtf8ByteOrderMark.size()) == kUtf8ByteOrderMark;
  if (byteOrderMark) line.erase(0, kUtf8ByteOrderMark.size());
  if (first == LineRead::tooLong || line != kCatalogueMagicLine) {
    result = failed(StarFileFailure::wrongMagicLine);
    return std::nullopt;
  }

  const LineRead countRead = reader.next(line, kMaxCatalogueLineBytes);
  if (countRead != LineRead::line) {
    result = failed(countRead == LineRead::endOfFile ? StarFileFailure::noCountLine : StarFileFailure::lineTooLong);
    return std::nullopt;
  }
  const std::optional<double> count = wholePositiveCount(line);
  if (!count || *count > maxRecords) {
    result = failed(count ? StarFileFailure::tooManyRecords : StarFileFailure::badCount);
    result.recordLimit = maxRecords;
    result.countLineText = decodeLine(line, isValidUtf8(line) ? TextEncoding::utf8 : TextEncoding::cp932);
    return std::nullopt;
  }
  return static_cast<int>(*count);
}

StarFileReadResult readLines(std::istream& in, RecordLimit limit) {
  LineReader reader(in);
  StarFileReadResult header;
  bool byteOrderMark = false;
  const std::optional<int> count = readHeader(reader, limit, header, byteOrderMark);
  if (!count) return header;
  const int records = *count;

  // Whole file first, so that a file cut short changes nothing and the encoding
  // is judged on everything that will be stored.
  std::vector<std::string> lines;
  if (const RecordsRead read = subDataLoad(reader, records - 1, lines); read.failedRecord != 0) {
    StarFileReadResult result =
        failed(read.lineTooLong ? StarFileFailure::lineTooLong : StarFileFailure::endsInsideRecord);
    result.failedRecord = read.failedRecord;
    result.count = records;
    return result;
  }

  StarFileReadResult result;
  result.count = records;
  result.records.resize(static_cast<std::size_t>(records));
  TextDecoder decoder(detectEncoding(lines, byteOrderMark));
  std::size_t next = 0;
  for (StarRecord& record : result.records) {
    for (auto field : kStarRecordFields) decoder.decode(lines[next++], record.*field);
  }
  return result;
}

// The first of the two passes of a streamed reading: every check of readLines
// and the encoding the whole file would be judged to have, without keeping a line.
StarFileReadResult scanLines(std::istream& in, RecordLimit limit, TextEncoding& encoding) {
  LineReader reader(in);
  StarFileReadResult result;
  bool byteOrderMark = false;
  const std::optional<int> count = readHeader(reader, limit, result, byteOrderMark);
  if (!count) return result;
  // As detectEncoding: UTF-8 with a byte-order mark, or when every line is
  // well-formed UTF-8 and one at least is not ASCII.
  TextDecoder utf8(TextEncoding::utf8);
  bool multibyte = false;
  bool allUtf8 = true;
  std::string line;
  std::string scratch;
  const std::size_t wanted = static_cast<std::size_t>(*count) * kLinesPerStarRecord;
  for (std::size_t i = 0; i < wanted; ++i) {
    const LineRead read = reader.next(line, kMaxCatalogueLineBytes);
    if (read != LineRead::line) {
      result = failed(read == LineRead::tooLong ? StarFileFailure::lineTooLong : StarFileFailure::endsInsideRecord);
      result.failedRecord = static_cast<int>(i / kLinesPerStarRecord) + 1;
      result.count = *count;
      return result;
    }
    if (!allUtf8 ||
        std::all_of(line.begin(), line.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; })) {
      continue;
    }
    multibyte = true;
    scratch.clear();
    if (utf8.decode(line, scratch) != 0) allUtf8 = false;
  }
  encoding = byteOrderMark || (allUtf8 && multibyte) ? TextEncoding::utf8 : TextEncoding::cp932;
  result.count = *count;
  return result;
}

// The second pass: the records, decoded, one at a time.
void handRecords(std::istream& in, int count, TextEncoding encoding, const StarRecordSink& each) {
  LineReader reader(in);
  std::string line;
  reader.next(line);  // the magic line and the count, checked by the first pass
  reader.next(line);
  TextDecoder decoder(encoding);
  StarRecord record;
  for (int i = 0; i < count; ++i) {
    for (auto field : kStarRecordFields) {
      reader.next(line, kMaxCatalogueLineBytes);
      (record.*field).clear();
      decoder.decode(line, record.*field);
    }
    each(std::move(record));
    record = StarRecord();
  }
}

}  // namespace

StarFileReadResult readStarStream(std::istream& in, RecordLimit limit) {
  try {
    return readLines(in, limit);
  } catch (const std::bad_alloc&) {
    return failed(StarFileFailure::outOfMemory);
  } catch (const std::exception&) {
    // A failure of the stream itself (its buffer may throw) is a file we cannot read.
    return failed(StarFileFailure::cannotOpen);
  }
}

StarFileReadResult readStarFile(const std::filesystem::path& file, std::chrono::milliseconds writerWait,
                                RecordLimit limit) {
  const CatalogueSource source = openCatalogueSource(file, writerWait);
  switch (source.failure) {
    case SourceFailure::none:
      break;
    case SourceFailure::notFound:
      return failed(StarFileFailure::notFound);
    case SourceFailure::cannotOpen:
      return failed(StarFileFailure::cannotOpen);
    case SourceFailure::notAFile:
      return failed(StarFileFailure::notAFile);
    case SourceFailure::noWriter:
      return failed(StarFileFailure::noWriter);
  }
  std::istream in(source.bytes.get());
  return readStarStream(in, limit);  // the source closes the file on every path
}

StarFileReadResult streamStarFile(const std::filesystem::path& file, RecordLimit limit, const StarRecordSink& each,
                                  const std::function<void(int)>& counted) {
  const auto open = [&](StarFileReadResult& failure) -> std::unique_ptr<std::streambuf> {
    CatalogueSource source = openCatalogueSource(file, kPipeWriterWait);
    switch (source.failure) {
      case SourceFailure::none:
        return std::move(source.bytes);
      case SourceFailure::notFound:
        failure = failed(StarFileFailure::notFound);
        break;
      case SourceFailure::cannotOpen:
        failure = failed(StarFileFailure::cannotOpen);
        break;
      case SourceFailure::notAFile:
        failure = failed(StarFileFailure::notAFile);
        break;
      case SourceFailure::noWriter:
        failure = failed(StarFileFailure::noWriter);
        break;
    }
    return nullptr;
  };
  try {
    StarFileReadResult result;
    TextEncoding encoding = TextEncoding::cp932;
    {
      auto bytes = open(result);
      if (!bytes) return result;
      std::istream in(bytes.get());
      result = scanLines(in, limit, encoding);
      if (!result.ok()) return result;
    }
    auto bytes = open(result);
    if (!bytes) return result;
    if (counted) counted(result.count);
    std::istream in(bytes.get());
    handRecords(in, result.count, encoding, each);
    return result;
  } catch (const std::bad_alloc&) {
    return failed(StarFileFailure::outOfMemory);
  } catch (const std::exception&) {
    return failed(StarFileFailure::cannotOpen);
  }
}

StarFileReadResult readStarStandardInput(RecordLimit limit) {
  const CatalogueSource source = standardInputSource();
  std::istream in(source.bytes.get());
  return readStarStream(in, limit);
}

std::string describeStarFileFailure(const std::filesystem::path& file, const StarFileReadResult& result) {
  const std::string name = "ファイル「" + file.string() + "」";
  switch (result.failure) {
    case StarFileFailure::none:
      return {};
    case StarFileFailure::notFound:
      return name + "が見つかりません。";
    case StarFileFailure::cannotOpen:
      return name + "を開けません（読み取りが許されていないか、ファイルではありません）。";
    case StarFileFailure::notAFile:
      return name + "はデバイスです。読み込めるのはファイルかパイプだけです。";
    case StarFileFailure::noWriter:
      return name + "はパイプですが、書き込むものがありません。";
    case StarFileFailure::outOfMemory:
      return name + "を読み込むにはメモリが足りません。";
    case StarFileFailure::lineTooLong:
      return name +
             (result.failedRecord == 0 ? std::string("の2行目")
                                       : "の" + std::to_string(result.failedRecord) + "件目の星のデータ") +
             "に長すぎる行があります（1行 " + std::to_string(kMaxCatalogueLineBytes) + " バイトまで）。";
    case StarFileFailure::emptyFile:
      return name + "は空です。変光星データファイルではありません。";
    case StarFileFailure::wrongMagicLine:
      return name + "は変光星データファイルではありません（1行目が「" + kCatalogueMagicLine + "」ではありません）。";
    case StarFileFailure::noCountLine:
      return name + "には星の数を書いた2行目がありません。";
    case StarFileFailure::badCount:
      return name + "の2行目「" + quoteShortened(result.countLineText) +
             "」は星の数ではありません（1以上の整数を書きます）。";
    case StarFileFailure::endsInsideRecord:
      return name + "は" + std::to_string(result.failedRecord) +
             "件目の星のデータの途中で終わっています（2行目の星の数は" + std::to_string(result.count) + "件）。";
    case StarFileFailure::tooManyRecords:
      return name + "の星の数「" + quoteShortened(result.countLineText) + "」は多すぎます（" +
             std::to_string(result.recordLimit) + "件まで読み込めます）。";
  }
  return name + "を読み込めません。";
}

int LoadStarFile(FileChooser& chooser, MessageSink& messages, StarTable& table, StarFileReadResult* outcome) {
  if (outcome != nullptr) *outcome = StarFileReadResult{};
  const std::optional<std::string> chosen = chooser.chooseFileToOpen(kCatalogueFilterDescription, kCataloguePattern);
  if (!chosen) return 0;  // a cancel ends the load like any failure
  StarFileReadResult result = readStarFile(*chosen);
  if (outcome != nullptr) {
    outcome->count = result.count;
    outcome->failure = result.failure;
    outcome->failedRecord = result.failedRecord;
    outcome->countLineText = result.countLineText;
    outcome->recordLimit = result.recordLimit;
  }
  if (result.failure == StarFileFailure::wrongMagicLine) messages.showMessage(kWrongMagicMessage);
  if (!result.ok()) return 0;
  // Only a whole file replaces rows; the rows above N keep what they held.
  for (int i = 0; i < result.count; ++i) table[i] = std::move(result.records[static_cast<std::size_t>(i)]);
  return result.count;
}

}  // namespace tenmirel
