#include "importer/star_reader.h"

#include <chrono>
#include <cstring>
#include <memory>
#include <vector>

#include "catalogue/text_decoding.h"
#include "importer/epoch_rules.h"
#include "importer/field_text.h"
#include "importer/gcvs_layout.h"
#include "importer/line_readers.h"
#include "importer/star_rules.h"

namespace tenmirel::importer {
namespace {

constexpr std::size_t kBlockBytes = 1u << 20;
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// Lines of a stream in blocks; LF or CR LF ends a line.
class LineStream {
 public:
  explicit LineStream(std::istream& in) : in_(in), block_(kBlockBytes) {}

  enum class Status { line, end, tooLong, readError };

  // The next line without its line end; endedByNewline says whether one followed.
  Status next(std::string& line, bool& endedByNewline) {
    line.clear();
    while (true) {
      if (position_ == size_) {
        if (!fill()) {
          if (failed_) return Status::readError;
          endedByNewline = false;
          return line.empty() && !pending_ ? Status::end : finishLine(line);
        }
      }
      pending_ = true;
      const char* begin = block_.data() + position_;
      const char* end = block_.data() + size_;
      const char* newline = static_cast<const char*>(std::memchr(begin, '\n', static_cast<std::size_t>(end - begin)));
      const char* stop = newline != nullptr ? newline : end;
      if (line.size() + static_cast<std::size_t>(stop - begin) > kMaxImportLineBytes) return Status::tooLong;
      line.append(begin, stop);
      position_ = static_cast<std::size_t>(stop - block_.data());
      if (newline != nullptr) {
        ++position_;
        endedByNewline = true;
        return finishLine(line);
      }
    }
  }

 private:
  Status finishLine(std::string& line) {
    pending_ = false;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return Status::line;
  }

  bool fill() {
    if (!in_) return false;
    in_.read(block_.data(), static_cast<std::streamsize>(block_.size()));
    size_ = static_cast<std::size_t>(in_.gcount());
    position_ = 0;
    if (in_.bad()) failed_ = true;
    return size_ > 0;
  }

  std::istream& in_;
  std::vector<char> block_;
  std::size_t size_ = 0;
  std::size_t position_ = 0;
  bool pending_ = false;
  bool failed_ = false;
};

std::string atLine(std::uint64_t line, const std::string& reason) {
  return std::to_string(line) + "行目: " + reason + "。";
}

std::unique_ptr<LineReader> readerFor(CatalogueFormat format, const ReadOptions& options) {
  switch (format) {
    case CatalogueFormat::gcvs51:
      return makeGcvsReader(gcvs51Layout());
    case CatalogueFormat::gcvsIii:
      return makeGcvsReader(gcvsIiiLayout());
    case CatalogueFormat::vsxCsv:
      return makeVsxCsvReader();
    case CatalogueFormat::vsxDat:
      return makeVsxDatReader(options.datLayout ? *options.datLayout : defaultVsxDatLayout());
    case CatalogueFormat::vsxJson:
      return makeVsxJsonReader();
    case CatalogueFormat::delimited:
      return makeDelimitedReader(options.columns);
  }
  return nullptr;
}

}  // namespace

Checked<DelimitedColumns> parseColumnNames(std::string_view text) {
  using Result = Checked<DelimitedColumns>;
  DelimitedColumns columns;
  std::size_t start = 0;
  while (start <= text.size()) {
    std::size_t end = text.find(',', start);
    if (end == std::string_view::npos) end = text.size();
    const std::string_view item = trimmed(text.substr(start, end - start));
    start = end + 1;
    if (item.empty()) continue;
    const std::size_t equals = item.find('=');
    const std::string_view key = trimmed(item.substr(0, equals));
    const std::string value =
        equals == std::string_view::npos ? std::string() : std::string(trimmed(item.substr(equals + 1)));
    std::string* target = key == "name"     ? &columns.name
                          : key == "ra"     ? &columns.ra
                          : key == "dec"    ? &columns.dec
                          : key == "epoch"  ? &columns.epoch
                          : key == "period" ? &columns.period
                          : key == "type"   ? &columns.type
                                            : nullptr;
    if (target == nullptr || value.empty()) {
      return Result::failure("列名の指定「" + std::string(item) +
                             "」は name=列名 のように書いてください（name, ra, dec, epoch, period, type）");
    }
    *target = value;
  }
  if (columns.name.empty() || columns.ra.empty() || columns.dec.empty() || columns.epoch.empty() ||
      columns.period.empty()) {
    return Result::failure("列名の指定には name, ra, dec, epoch, period の五つが要ります");
  }
  return Result::success(columns);
}

Checked<ReadSummary> readStars(std::istream& in, const ReadOptions& options, const StarSink& sink) {
  using Result = Checked<ReadSummary>;
  const double latest = options.latestTrustedEpoch > 0 ? options.latestTrustedEpoch
                                                       : latestTrustedEpoch(std::chrono::system_clock::now());
  ReadSummary summary;
  std::unique_ptr<LineReader> reader;
  const RawStarSink settled = [&](ImportedStar&& star) {
    settleElements(star, latest);
    ++summary.stars;
    sink(std::move(star));
  };

  LineStream lines(in);
  TextDecoder utf8(TextEncoding::utf8);
  std::string decoded;
  std::string line;
  bool endedByNewline = true;
  while (true) {
    const LineStream::Status status = lines.next(line, endedByNewline);
    if (status == LineStream::Status::end) break;
    const std::uint64_t number = summary.lines + 1;
    if (status == LineStream::Status::readError) return Result::failure(atLine(number, "ファイルを読めません"));
    if (status == LineStream::Status::tooLong) {
      return Result::failure(atLine(number, "行が長すぎます（" + std::to_string(kMaxImportLineBytes / (1024 * 1024)) +
                                                " MiB を超えます）。カタログのファイルではないようです"));
    }
    summary.lines = number;
    std::string_view text = line;
    if (number == 1 && text.substr(0, kByteOrderMark.size()) == kByteOrderMark)
      text.remove_prefix(kByteOrderMark.size());
    if (hasControlBytes(text)) {
      return Result::failure(atLine(number, "文字でないバイトがあります。バイナリファイルではありませんか"));
    }
    // Catalogues are ASCII or UTF-8; bytes that are neither become U+FFFD, so
    // every text after this is UTF-8.
    if (!isValidUtf8(text)) {
      if (!reader)
        return Result::failure(atLine(number, "文字でないバイトがあります。バイナリファイルではありませんか"));
      decoded.clear();
      utf8.decode(text, decoded);
      text = decoded;
    }
    if (!reader) {
      if (trimmed(text).empty()) continue;
      std::optional<CatalogueFormat> format = options.format;
      if (!format) format = detectFormat(text);
      if (!format && options.columns.named()) format = CatalogueFormat::delimited;
      if (!format) {
        return Result::failure(
            atLine(number,
                   "どのカタログの形式か分かりません（GCVS 5.1、GCVS 旧形式、VSX の CSV・vsx.dat・JSON、"
                   "列名を指定した表のどれでもありません）"));
      }
      summary.format = *format;
      if (options.formatKnown) options.formatKnown(*format);
      reader = readerFor(*format, options);
    }
    if (!endedByNewline && reader->cutShort(text)) {
      return Result::failure(
          atLine(number, "ファイルが行の途中で終わっています（途中までしかないファイルではありませんか）"));
    }
    if (Refusal refusal = reader->read(text, number, settled)) return Result::failure(atLine(number, *refusal));
  }
  if (!reader) return Result::failure("ファイルに星の行がありません。");
  if (Refusal refusal = reader->finish(settled)) return Result::failure(*refusal + "。");
  return Result::success(summary);
}

}  // namespace tenmirel::importer
