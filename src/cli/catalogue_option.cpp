#include "cli/catalogue_option.h"

#include <vector>

#include "catalogue/star_file.h"

namespace tenmirel::cli {

StarFileReadResult readCatalogueArgument(const std::string& path, RecordLimit limit) {
  return path == kStandardInputArgument ? readStarStandardInput(limit) : readStarFile(path, kPipeWriterWait, limit);
}

bool loadCatalogue(FormSession& session, const std::string& path, std::string& error) {
  // Read once: a pipe or standard input cannot be read a second time.
  StarFileReadResult reading = readCatalogueArgument(path);
  if (!reading.ok()) {
    error = describeStarFileFailure(path, reading);
    return false;
  }
  session.form.useCatalogue(std::move(reading.records));
  return true;
}

bool selectStar(FrmYohouModel& form, const std::string& nameOrIndex, std::string& error) {
  std::vector<StarRecord> records;
  for (int i = 0; i < form.starCount; ++i) records.push_back(form.starTable[i]);
  const auto index = findStar(records, nameOrIndex);
  if (!index) {
    error = "星「" + nameOrIndex + "」がカタログにありません（tenmirel-cli stars で一覧を確かめてください）";
    return false;
  }
  form.setCombo1ListIndex(*index);
  return true;
}

}  // namespace tenmirel::cli
