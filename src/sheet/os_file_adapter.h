#pragma once
// The operating system's file operations behind the spreadsheet files, in one
// place: a temporary file reserved beside its target, the rename that never
// replaces a file, permission bits, a quiet standard error stream, and the
// system's error numbers in words for the user.
#include <filesystem>
#include <string>

namespace tenmirel {

// Why a file operation failed, in words for the user (without a final period);
// the system's own words (in the user's locale) for the rarer failures.
std::string describeFileError(int errorNumber);

// A new, empty file under a unique name in folder, starting with prefix; error
// holds the system's error number when none could be made.
struct ReservedFile {
  std::filesystem::path path;
  int error = 0;
};
ReservedFile reserveTemporaryFile(const std::filesystem::path& folder, const std::string& prefix);

// Moves a file to a name that must not exist yet: 0, or the error number (EEXIST
// when the name is taken). File systems without the no-replace rename get a hard
// link, which fails on an existing name as well.
int moveWithoutReplacing(const std::filesystem::path& from, const std::filesystem::path& to);
// Moves a file to a name, replacing what is there: 0, or the error number.
int moveReplacing(const std::filesystem::path& from, const std::filesystem::path& to);
// Removes a file; an absent one is no failure.
void removeFile(const std::filesystem::path& file);

// What stands at a path, links followed.
enum class PathKind { kAbsent, kRegularFile, kDirectory, kOther };
struct PathStatus {
  PathKind kind = PathKind::kAbsent;
  unsigned permissionBits = 0;
};
PathStatus pathStatus(const std::filesystem::path& path);

// The permission bits a new file gets under the user's umask.
unsigned userFileMode();
// 0, or the error number.
int setPermissionBits(const std::filesystem::path& file, unsigned bits);

// While it lives, the standard error stream goes nowhere: a library that prints
// its own messages stays quiet, its failures reach the user in Japanese.
class QuietStandardError {
 public:
  QuietStandardError();
  ~QuietStandardError();
  QuietStandardError(const QuietStandardError&) = delete;
  QuietStandardError& operator=(const QuietStandardError&) = delete;

 private:
  int saved_ = -1;
};

}  // namespace tenmirel
