// Any delimited table with a header row (CSV, TSV, semicolons), the user naming
// the columns that hold the name, the position, the epoch and the period (and,
// optionally, the type). Lines starting with '#' before the header are notes.
#include <string>
#include <vector>

#include "importer/delimited_fields.h"
#include "importer/field_text.h"
#include "importer/line_readers.h"
#include "importer/star_reader.h"

namespace tenmirel::importer {
namespace {

class DelimitedReader : public LineReader {
 public:
  explicit DelimitedReader(const DelimitedColumns& columns) : names_(columns) {}

  Refusal read(std::string_view line, std::uint64_t lineNumber, const RawStarSink& sink) override {
    if (trimmed(line).empty()) return std::nullopt;
    if (!header_) return readHeader(line);
    if (!splitter_.split(line, delimiter_)) return "引用符「\"」が閉じていません";
    if (splitter_.fields().size() > headerSize_) {
      return "列が見出しより多い（" + std::to_string(splitter_.fields().size()) + "列、見出しは" +
             std::to_string(headerSize_) + "列）";
    }
    splitter_.fields().resize(headerSize_);
    ImportedStar star;
    star.line = lineNumber;
    star.name = collapsedName(splitter_.fields()[name_]);
    readPositionTexts(splitter_.fields()[ra_], splitter_.fields()[dec_], star);
    if (type_ != kMissing) star.type = std::string(trimmed(splitter_.fields()[type_]));
    star.epoch = flaggedNumber(splitter_.fields()[epoch_]);
    star.period = flaggedNumber(splitter_.fields()[period_]);
    sink(std::move(star));
    return std::nullopt;
  }

  bool cutShort(std::string_view line) const override {
    FieldSplitter splitter;
    return header_ && (!splitter.split(line, delimiter_) || splitter.fields().size() < headerSize_);
  }

 private:
  Refusal readHeader(std::string_view line) {
    if (trimmed(line).front() == '#' && !names_.name.empty() &&
        headerKey(line).find(headerKey(names_.name)) == std::string::npos) {
      return std::nullopt;  // a note above the header
    }
    delimiter_ = delimiterOf(line);
    if (!splitter_.split(line, delimiter_)) return "見出し行の引用符「\"」が閉じていません";
    headerSize_ = splitter_.fields().size();
    const auto find = [&](const std::string& wanted, const char* role, std::size_t& index) -> Refusal {
      index = kMissing;
      for (std::size_t i = 0; i < splitter_.fields().size(); ++i) {
        if (headerKey(splitter_.fields()[i]) == headerKey(wanted)) {
          index = i;
          return std::nullopt;
        }
      }
      return std::string("見出しに") + role + "の列「" + wanted + "」がありません";
    };
    for (const auto& [wanted, role, index] :
         {std::tuple{names_.name, "星名", &name_}, std::tuple{names_.ra, "赤経", &ra_},
          std::tuple{names_.dec, "赤緯", &dec_}, std::tuple{names_.epoch, "元期", &epoch_},
          std::tuple{names_.period, "周期", &period_}}) {
      if (wanted.empty()) return std::string(role) + "の列の名前が指定されていません";
      if (Refusal refusal = find(wanted, role, *index)) return refusal;
    }
    if (!names_.type.empty()) {
      if (Refusal refusal = find(names_.type, "型", type_)) return refusal;
    }
    header_ = true;
    return std::nullopt;
  }

  static constexpr std::size_t kMissing = static_cast<std::size_t>(-1);
  DelimitedColumns names_;
  bool header_ = false;
  char delimiter_ = ',';
  std::size_t headerSize_ = 0;
  std::size_t name_ = kMissing, ra_ = kMissing, dec_ = kMissing, epoch_ = kMissing, period_ = kMissing,
              type_ = kMissing;
  FieldSplitter splitter_;
};

}  // namespace

std::unique_ptr<LineReader> makeDelimitedReader(const DelimitedColumns& columns) {
  return std::make_unique<DelimitedReader>(columns);
}

}  // namespace tenmirel::importer
