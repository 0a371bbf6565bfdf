// Answers of the VSX web API: {"VSXObject":{...}}, {"VSXObjects":{"VSXObject":
// [...]}}, a bare object, or a list of them; one document, or one a line (a
// trailing comma allowed). Every key is optional; numbers come as strings
// ("Period":"95:", "MinMag":"(0.20) V").
#include <nlohmann/json.hpp>
#include <string>

#include "importer/field_text.h"
#include "importer/line_readers.h"

namespace tenmirel::importer {
namespace {

using nlohmann::json;

// A document that spans lines is gathered up to this size.
constexpr std::size_t kMaxDocumentBytes = 256u * 1024u * 1024u;

std::string valueText(const json& object, const char* key) {
  const auto found = object.find(key);
  if (found == object.end() || found->is_null()) return {};
  if (found->is_string()) return found->get<std::string>();
  if (found->is_number()) return found->dump();
  return {};
}

void objectStar(const json& object, std::uint64_t lineNumber, const RawStarSink& sink) {
  if (!object.is_object()) return;
  ImportedStar star;
  star.line = lineNumber;
  star.name = collapsedName(valueText(object, "Name"));
  readPositionTexts(valueText(object, "RA2000"), valueText(object, "Declination2000"), star);
  star.type = std::string(trimmed(valueText(object, "VariabilityType")));
  const MagnitudeWithBand max = magnitudeWithBand(valueText(object, "MaxMag"));
  const MagnitudeWithBand min = magnitudeWithBand(valueText(object, "MinMag"));
  star.maxMagnitude = max.magnitude;
  star.minMagnitude = min.magnitude;
  star.band = max.band.empty() ? min.band : max.band;
  star.epoch = flaggedNumber(valueText(object, "Epoch"));
  star.period = flaggedNumber(valueText(object, "Period"));
  const FlaggedNumber duration = flaggedNumber(valueText(object, "EclipseDuration"));
  if (duration.value && *duration.value > 0 && *duration.value <= 100) {
    star.durationPercent = duration.value;
    star.durationUncertain = duration.uncertain();
  }
  sink(std::move(star));
}

// Every object of a document, in order.
void documentStars(const json& document, std::uint64_t lineNumber, const RawStarSink& sink) {
  if (document.is_array()) {
    for (const json& item : document) documentStars(item, lineNumber, sink);
    return;
  }
  if (!document.is_object()) return;
  if (const auto many = document.find("VSXObjects"); many != document.end()) {
    if (many->is_object()) {
      if (const auto list = many->find("VSXObject"); list != many->end()) documentStars(*list, lineNumber, sink);
    } else {
      documentStars(*many, lineNumber, sink);
    }
    return;
  }
  if (const auto one = document.find("VSXObject"); one != document.end()) {
    documentStars(*one, lineNumber, sink);
    return;
  }
  objectStar(document, lineNumber, sink);
}

class VsxJsonReader : public LineReader {
 public:
  Refusal read(std::string_view line, std::uint64_t lineNumber, const RawStarSink& sink) override {
    if (gathering_) return gather(line);
    std::string_view text = trimmed(line);
    if (text.empty()) return std::nullopt;
    if (text.back() == ',') text.remove_suffix(1);
    json document = json::parse(text.begin(), text.end(), nullptr, false);
    if (!document.is_discarded()) {
      documentStars(document, lineNumber, sink);
      return std::nullopt;
    }
    // Not a whole value on its own line: the document spans lines.
    gathering_ = true;
    firstLine_ = lineNumber;
    return gather(line);
  }

  Refusal finish(const RawStarSink& sink) override {
    if (!gathering_) return std::nullopt;
    json document = json::parse(document_, nullptr, false);
    if (document.is_discarded()) return "JSON として読めません（" + std::to_string(firstLine_) + "行目から）";
    documentStars(document, firstLine_, sink);
    return std::nullopt;
  }

  bool cutShort(std::string_view line) const override {
    if (gathering_) return false;  // finish() tells
    std::string_view text = trimmed(line);
    if (!text.empty() && text.back() == ',') text.remove_suffix(1);
    return !json::accept(text.begin(), text.end());
  }

 private:
  Refusal gather(std::string_view line) {
    if (document_.size() + line.size() > kMaxDocumentBytes) return "JSON の文書が大きすぎます（256 MiB まで）";
    document_.append(line);
    document_ += '\n';
    return std::nullopt;
  }

  bool gathering_ = false;
  std::uint64_t firstLine_ = 0;
  std::string document_;
};

}  // namespace

std::unique_ptr<LineReader> makeVsxJsonReader() { return std::make_unique<VsxJsonReader>(); }

}  // namespace tenmirel::importer
