// The line reader of both GCVS layouts over readGcvsLine.
#include "importer/line_readers.h"

namespace tenmirel::importer {
namespace {

class GcvsReader : public LineReader {
 public:
  explicit GcvsReader(const GcvsLayout& layout) : layout_(layout) {}

  Refusal read(std::string_view line, std::uint64_t lineNumber, const RawStarSink& sink) override {
    if (Refusal refusal = readGcvsLine(line, layout_, star_)) return refusal;
    if (star_) {
      star_->line = lineNumber;
      sink(std::move(*star_));
    }
    return std::nullopt;
  }

  // Every GCVS line ends with '|' at the layout's last column.
  bool cutShort(std::string_view line) const override {
    return !line.empty() && (line.size() < layout_.lineLength || line[layout_.lineLength - 1] != '|');
  }

 private:
  const GcvsLayout& layout_;
  std::optional<ImportedStar> star_;
};

}  // namespace

std::unique_ptr<LineReader> makeGcvsReader(const GcvsLayout& layout) { return std::make_unique<GcvsReader>(layout); }

}  // namespace tenmirel::importer
