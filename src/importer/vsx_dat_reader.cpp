// VizieR's vsx.dat: fixed columns (vsx_dat_layout.h). Lines are right-trimmed,
// so a short line is padded, never refused; a line longer than the layout is.
#include <string>

#include "importer/field_text.h"
#include "importer/line_readers.h"

namespace tenmirel::importer {
namespace {

class VsxDatReader : public LineReader {
 public:
  explicit VsxDatReader(VsxDatLayout layout) : layout_(std::move(layout)), length_(layout_.lineLength()) {}

  Refusal read(std::string_view line, std::uint64_t lineNumber, const RawStarSink& sink) override {
    if (trimmed(line).empty()) return std::nullopt;
    if (line.size() > length_ + kSlack && !trimmed(line.substr(length_)).empty()) {
      return "行が vsx.dat の" + std::to_string(length_) + "文字より長い（" + std::to_string(line.size()) + "文字）";
    }
    ImportedStar star;
    star.line = lineNumber;
    star.name = collapsedName(text(line, "Name"));
    readPositionTexts(text(line, "RAdeg"), text(line, "DEdeg"), star);
    star.type = std::string(trimmed(text(line, "Type")));
    star.maxMagnitude = flaggedNumber(text(line, "max"));
    star.maxMagnitude.flags = flags(line, "l_max") + star.maxMagnitude.flags + flags(line, "u_max");
    star.minMagnitude = flaggedNumber(text(line, "min"));
    star.minMagnitude.flags =
        flags(line, "f_min") + flags(line, "l_min") + star.minMagnitude.flags + flags(line, "u_min");
    star.band = flags(line, "n_max");
    star.epoch = flaggedNumber(text(line, "Epoch"));
    star.epoch.flags += flags(line, "u_Epoch");
    star.period = flaggedNumber(text(line, "Period"));
    star.period.flags = flags(line, "l_Period") + star.period.flags + flags(line, "u_Period");
    sink(std::move(star));
    return std::nullopt;
  }

  // Lines are right-trimmed: a short last line is no sign of a cut.
  bool cutShort(std::string_view) const override { return false; }

 private:
  // Some releases end lines with a few blanks beyond the table.
  static constexpr std::size_t kSlack = 0;

  std::string_view text(std::string_view line, std::string_view label) const {
    const auto column = layout_.find(label);
    return column ? columns(line, column->begin, column->end) : std::string_view();
  }
  std::string flags(std::string_view line, std::string_view label) const {
    return std::string(trimmed(text(line, label)));
  }

  VsxDatLayout layout_;
  std::size_t length_;
};

}  // namespace

std::unique_ptr<LineReader> makeVsxDatReader(const VsxDatLayout& layout) {
  return std::make_unique<VsxDatReader>(layout);
}

}  // namespace tenmirel::importer
