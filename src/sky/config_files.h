#pragma once
// The folder and files of Tenmirel's own settings, shared by the window and the
// command line: $XDG_CONFIG_HOME/Tenmirel (or ~/.config/Tenmirel). Files are
// replaced atomically: written beside the old one under a temporary name, then
// renamed over it.
#include <filesystem>
#include <string>

#include "sky/checked.h"

namespace tenmirel::sky {

std::filesystem::path configFolder();

// Writes the whole text to path through a temporary file in the same folder and
// a rename; creates the folder when needed. A message when anything fails (the old
// file is then untouched).
Refusal writeFileAtomically(const std::filesystem::path& path, const std::string& text);

}  // namespace tenmirel::sky
