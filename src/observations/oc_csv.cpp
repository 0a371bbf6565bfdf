#include "observations/oc_csv.h"
#include "timing/day_units.h"

#include "catalogue/memo_tokens.h"
#include "common/number_text.h"
#include "observations/log_csv.h"

namespace tenmirel::observations {
namespace {}  // namespace

std::string ocCsvText(const std::vector<LogEntry>& entries, const timing::OcDiagram& diagram,
                      sky::ElementsTime elementsSystem) {
  std::string text = std::string(kOcCsvHeader) + "\n";
  for (std::size_t i = 0; i < entries.size() && i < diagram.points.size(); ++i) {
    const LogEntry& e = entries[i];
    const timing::OcPoint& p = diagram.points[i];
    text += std::to_string(e.id) + ',' + csvField(e.star) + ',' + shortestNumberText(p.time) + ',' +
            (e.sigmaDays ? shortestNumberText(*e.sigmaDays) : std::string()) + ',' +
            sky::elementsTimeName(elementsSystem) + ',' + timing::extremumKindName(e.kind) + ',' +
            numberToText(p.cycle) + ',' + shortestNumberText(p.oMinusCDays) + ',' +
            shortestNumberText(p.oMinusCDays * timing::kMinutesPerDay) + ',' + (p.outlier ? "1" : "0") + ',' +
            (e.excluded ? "1" : "0") + "\n";
  }
  return text;
}

}  // namespace tenmirel::observations
