#pragma once
// Checks a finished .xlsx before it is named as written: a zip archive whose
// central directory lists every part a workbook needs, none of them empty.
// (libxlsxwriter does not notice when writing a part's temporary file fails,
// and then packs empty parts into an archive it reports as written.)
#include <filesystem>
#include <string>

namespace tenmirel {

// Empty when the file is a complete workbook; else why not, in Japanese.
std::string checkWorkbookFile(const std::filesystem::path& file);

}  // namespace tenmirel
