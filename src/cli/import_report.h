#pragma once
// The report of `tenmirel-cli import`: counts read, imported, skipped by reason
// and left out by filter, names the catalogue file's code page could not hold,
// and the first skipped stars, as text or JSON.
#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

#include "importer/catalogue_import.h"
#include "sky/elements_time.h"

namespace tenmirel::cli {

struct ImportOutcome {
  std::string input;
  importer::ImportReport report;
  sky::ElementsTime elementsTime = sky::ElementsTime::jd;  // as set for the written files
  std::vector<std::filesystem::path> written;
};

void printImportText(const ImportOutcome& outcome, std::ostream& out);
void printImportJson(const ImportOutcome& outcome, std::ostream& out);

}  // namespace tenmirel::cli
