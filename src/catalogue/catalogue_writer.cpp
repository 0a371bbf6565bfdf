#include "catalogue/catalogue_writer.h"

#include "catalogue/star_file.h"

namespace tenmirel {

std::string starRecordText(const StarRecord& record, std::string_view lineEnd) {
  std::string text;
  for (const auto field : kStarRecordFields) {
    text += record.*field;
    text += lineEnd;
  }
  return text;
}

std::string catalogueFileText(const std::vector<StarRecord>& records, std::string_view lineEnd) {
  std::string text = kCatalogueMagicLine;
  text += lineEnd;
  text += std::to_string(records.size());
  text += lineEnd;
  for (const StarRecord& record : records) text += starRecordText(record, lineEnd);
  return text;
}

}  // namespace tenmirel
