#pragma once
// The folder and files of Tenmirel's own settings, shared by the window and the
// command line: $XDG_CONFIG_HOME/Tenmirel (or ~/.config/Tenmirel).
//
// Files are read without blocking and only when they are regular files of sane
// size, so a FIFO, a device or a folder in their place is refused, never waited on.
// Every change is a read-modify-write under an exclusive lock (flock on a lock file
// beside the file), so changes made at once by several windows and commands are each
// kept or refused, never lost. Files are replaced atomically: written beside the
// old one under a temporary name, then renamed over it; a symbolic link is written
// through (its target is replaced in the target's folder, keeping its mode).
#include <cstddef>
#include <filesystem>
#include <functional>
#include <string>

#include "sky/checked.h"

namespace tenmirel::sky {

std::filesystem::path configFolder();

// Larger settings files are refused unread.
inline constexpr std::size_t kLargestConfigFileBytes = 4 * 1024 * 1024;

// What a settings file holds now.
struct ConfigText {
  bool exists = false;
  std::string text;
};

// Reads a settings file; what names the file in messages ("観測地ファイル"). A file
// that does not exist is an empty ConfigText; a message for anything that is not a
// regular file, is too large or cannot be read.
Checked<ConfigText> readConfigFile(const std::filesystem::path& file, const std::string& what);

// Changes a settings file under its lock: change gets the text as it is now and
// gives the new text, or a message that refuses the change (nothing is written then).
using ConfigChange = std::function<Checked<std::string>(const ConfigText& current)>;
Refusal changeConfigFile(const std::filesystem::path& file, const std::string& what, const ConfigChange& change);

// Writes the whole text to path through a temporary file in the same folder and
// a rename; creates the folder when needed. A message when anything fails (the old
// file is then untouched).
Refusal writeFileAtomically(const std::filesystem::path& path, const std::string& text);

// A file's path as shown in a message: control characters as U+FFFD.
std::string shownPath(const std::filesystem::path& file);

}  // namespace tenmirel::sky
