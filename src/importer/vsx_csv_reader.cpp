// The VSX bulk CSV: a header row ("#OID,Name,VarFlag,RAdeg,DEdeg,Type,l_max,
// max,u_max,n_max,f_min,l_min,min,u_min,n_min,Epoch,u_Epoch,l_Period,Period,
// u_Period,..."), then one object a row. An empty field is missing; the type
// "NA" is a nova, never a missing value.
#include <array>
#include <string>
#include <vector>

#include "importer/delimited_fields.h"
#include "importer/field_text.h"
#include "importer/line_readers.h"

namespace tenmirel::importer {
namespace {

enum Field {
  kName,
  kRa,
  kDec,
  kType,
  kLMax,
  kMax,
  kUMax,
  kNMax,
  kFMin,
  kLMin,
  kMin,
  kUMin,
  kNMin,
  kEpoch,
  kUEpoch,
  kLPeriod,
  kPeriod,
  kUPeriod,
  kDuration,
  kFieldCount
};

struct Label {
  Field field;
  const char* names[3];
};

constexpr Label kLabels[] = {
    {kName, {"name", nullptr, nullptr}},
    {kRa, {"radeg", "ra", "ra2000"}},
    {kDec, {"dedeg", "dec", "declination2000"}},
    {kType, {"type", "vartype", "variabilitytype"}},
    {kLMax, {"l_max", nullptr, nullptr}},
    {kMax, {"max", "maxmag", nullptr}},
    {kUMax, {"u_max", nullptr, nullptr}},
    {kNMax, {"n_max", nullptr, nullptr}},
    {kFMin, {"f_min", nullptr, nullptr}},
    {kLMin, {"l_min", nullptr, nullptr}},
    {kMin, {"min", "minmag", nullptr}},
    {kUMin, {"u_min", nullptr, nullptr}},
    {kNMin, {"n_min", nullptr, nullptr}},
    {kEpoch, {"epoch", nullptr, nullptr}},
    {kUEpoch, {"u_epoch", nullptr, nullptr}},
    {kLPeriod, {"l_period", nullptr, nullptr}},
    {kPeriod, {"period", nullptr, nullptr}},
    {kUPeriod, {"u_period", nullptr, nullptr}},
    {kDuration, {"eclipseduration", "d", nullptr}},
};

class VsxCsvReader : public LineReader {
 public:
  Refusal read(std::string_view line, std::uint64_t lineNumber, const RawStarSink& sink) override {
    if (trimmed(line).empty()) return std::nullopt;
    if (!header_) return readHeader(line);
    if (!splitter_.split(line, ',')) return "引用符「\"」が閉じていません";
    if (splitter_.fields().size() > headerSize_) {
      return "列が見出しより多い（" + std::to_string(splitter_.fields().size()) + "列、見出しは" +
             std::to_string(headerSize_) + "列）";
    }
    splitter_.fields().resize(headerSize_);  // fields missing at the end are empty
    ImportedStar star;
    star.line = lineNumber;
    star.name = collapsedName(text(kName));
    readPositionTexts(text(kRa), text(kDec), star);
    star.type = std::string(trimmed(text(kType)));
    star.maxMagnitude = flaggedNumber(text(kMax));
    star.maxMagnitude.flags =
        std::string(trimmed(text(kLMax))) + star.maxMagnitude.flags + std::string(trimmed(text(kUMax)));
    star.minMagnitude = flaggedNumber(text(kMin));
    star.minMagnitude.flags = std::string(trimmed(text(kFMin))) + std::string(trimmed(text(kLMin))) +
                              star.minMagnitude.flags + std::string(trimmed(text(kUMin)));
    star.band = std::string(trimmed(text(kNMax)));
    star.epoch = flaggedNumber(text(kEpoch));
    star.epoch.flags += std::string(trimmed(text(kUEpoch)));
    star.period = flaggedNumber(text(kPeriod));
    star.period.flags = std::string(trimmed(text(kLPeriod))) + star.period.flags + std::string(trimmed(text(kUPeriod)));
    if (const auto duration = flaggedNumber(text(kDuration));
        duration.value && *duration.value > 0 && *duration.value <= 100) {
      star.durationPercent = duration.value;
      star.durationUncertain = duration.uncertain();
    }
    sink(std::move(star));
    return std::nullopt;
  }

  bool cutShort(std::string_view line) const override {
    FieldSplitter splitter;
    return header_ && (!splitter.split(line, ',') || splitter.fields().size() < headerSize_);
  }

 private:
  Refusal readHeader(std::string_view line) {
    if (!splitter_.split(line, ',')) return "見出し行の引用符「\"」が閉じていません";
    headerSize_ = splitter_.fields().size();
    index_.fill(kMissing);
    for (std::size_t i = 0; i < splitter_.fields().size(); ++i) {
      const std::string key = headerKey(splitter_.fields()[i]);
      for (const Label& label : kLabels) {
        for (const char* name : label.names) {
          if (name != nullptr && key == name && index_[label.field] == kMissing) index_[label.field] = i;
        }
      }
    }
    for (const Field needed : {kName, kRa, kDec, kPeriod, kEpoch}) {
      if (index_[needed] == kMissing) {
        return "VSX CSV の見出しに列「" + std::string(kLabels[needed].names[0]) + "」がありません";
      }
    }
    header_ = true;
    return std::nullopt;
  }

  std::string_view text(Field field) const {
    return index_[field] == kMissing ? std::string_view() : std::string_view(splitter_.fields()[index_[field]]);
  }

  static constexpr std::size_t kMissing = static_cast<std::size_t>(-1);
  bool header_ = false;
  std::size_t headerSize_ = 0;
  std::array<std::size_t, kFieldCount> index_{};
  FieldSplitter splitter_;
};

}  // namespace

std::unique_ptr<LineReader> makeVsxCsvReader() { return std::make_unique<VsxCsvReader>(); }

}  // namespace tenmirel::importer
