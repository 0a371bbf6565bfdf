#pragma once
// Where the spreadsheet files of the lists go and how they are named.
#include <chrono>
#include <filesystem>
#include <optional>
#include <string>

namespace tenmirel {

// The folder under the documents folder that receives the lists.
inline constexpr const char* kSheetFolderName = "Tenmirel";
inline constexpr const char* kSheetFileExtension = ".xlsx";

// The user's documents folder, one rule for both programs: $XDG_DOCUMENTS_DIR,
// else the desktop's documents folder (given by the window; empty when the
// desktop names none), else $HOME/Documents; nothing when none can be found.
std::optional<std::filesystem::path> documentsFolder(const std::filesystem::path& desktopFolder = {});
// The same without a desktop.
std::optional<std::filesystem::path> defaultDocumentsFolder();

// "2026-12-07_213000_今日の変光星.xlsx" at the site's local time (UT + 9 h);
// attempt 2 and above add " (2)" and so on, so no file is overwritten.
std::string sheetFileName(std::chrono::system_clock::time_point now, const std::string& listName, int attempt);

}  // namespace tenmirel
