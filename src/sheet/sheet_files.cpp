#include "sheet/sheet_files.h"

#include <cstdio>
#include <cstdlib>

#include "astro/site_clock.h"

namespace tenmirel {

std::optional<std::filesystem::path> documentsFolder(const std::filesystem::path& desktopFolder) {
  if (const char* documents = std::getenv("XDG_DOCUMENTS_DIR"); documents != nullptr && *documents != '\0') {
    return std::filesystem::path(documents);
  }
  if (!desktopFolder.empty()) return desktopFolder;
  if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0') {
    return std::filesystem::path(home) / "Documents";
  }
  return std::nullopt;
}

std::optional<std::filesystem::path> defaultDocumentsFolder() { return documentsFolder(); }

std::string sheetFileName(std::chrono::system_clock::time_point now, const std::string& listName, int attempt) {
  const SiteClockReading local = siteLocalTime(now);
  const auto& date = local.date;
  const auto& clock = local.time;
  char stamp[32];
  std::snprintf(stamp, sizeof stamp, "%04d-%02u-%02u_%02d%02d%02d", static_cast<int>(date.year()),
                static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()),
                static_cast<int>(clock.hours().count()), static_cast<int>(clock.minutes().count()),
                static_cast<int>(clock.seconds().count()));
  std::string name = std::string(stamp) + "_" + listName;
  if (attempt > 1) name += " (" + std::to_string(attempt) + ")";
  return name + kSheetFileExtension;
}

}  // namespace tenmirel
