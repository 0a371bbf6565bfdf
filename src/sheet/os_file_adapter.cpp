#include "sheet/os_file_adapter.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace tenmirel {
namespace {

constexpr mode_t kNewFileMode = 0666;  // before the user's umask
constexpr mode_t kPermissionBits = 07777;

}  // namespace

std::string describeFileError(int errorNumber) {
  switch (errorNumber) {
    case EACCES:
    case EPERM:
      return "書き込みの権限がありません";
    case ENOSPC:
#ifdef EDQUOT
    case EDQUOT:
#endif
      return "ディスクの空き容量が足りません";
    case EROFS:
      return "読み取り専用の場所には書き込めません";
    case ENOENT:
      return "保存先のフォルダがありません";
    case ENOTDIR:
      return "保存先のパスの途中にフォルダでないものがあります";
    case EEXIST:
      return "同じ名前のファイルがあります";
    case ENAMETOOLONG:
      return "ファイル名が長すぎます";
    case EIO:
      return "読み書きの途中でエラーが起きました";
    case EISDIR:
      return "同じ名前のフォルダがあります";
    case EFBIG:
      return "ファイルが大きすぎます";
    case ENOMEM:
      return "メモリが足りません";
    case EMFILE:
    case ENFILE:
      return "開いているファイルが多すぎます";
    case ELOOP:
      return "シンボリックリンクが循環しています";
    case EBUSY:
    case ETXTBSY:
      return "ファイルが使用中です";
    case EXDEV:
      return "別のファイルシステムへは移せません";
    case EBADF:
      return "書き込み先が開かれていません";
    case EPIPE:
      return "書き込み先が閉じられました";
    case EINVAL:
      return "ファイル名か操作が正しくありません";
    default:
      // A number the system itself does not know keeps the bare number.
      if (::strerrorname_np(errorNumber) == nullptr) return "システムのエラー番号 " + std::to_string(errorNumber);
      return std::string(std::strerror(errorNumber)) + "（エラー番号 " + std::to_string(errorNumber) + "）";
  }
}

ReservedFile reserveTemporaryFile(const std::filesystem::path& folder, const std::string& prefix) {
  std::string pattern = (folder / (prefix + "XXXXXX")).string();
  const int descriptor = ::mkstemp(pattern.data());
  if (descriptor < 0) return {{}, errno};
  ::close(descriptor);
  return {pattern, 0};
}

int moveWithoutReplacing(const std::filesystem::path& from, const std::filesystem::path& to) {
  if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return 0;
  const int renameError = errno;
  if (renameError != EINVAL && renameError != ENOSYS && renameError != ENOTSUP) return renameError;
  if (::link(from.c_str(), to.c_str()) == 0) {
    ::unlink(from.c_str());
    return 0;
  }
  return errno;
}

int moveReplacing(const std::filesystem::path& from, const std::filesystem::path& to) {
  return std::rename(from.c_str(), to.c_str()) == 0 ? 0 : errno;
}

void removeFile(const std::filesystem::path& file) { ::unlink(file.c_str()); }

PathStatus pathStatus(const std::filesystem::path& path) {
  struct stat status {};
  if (::stat(path.c_str(), &status) != 0) return {};
  const unsigned bits = status.st_mode & kPermissionBits;
  if (S_ISDIR(status.st_mode)) return {PathKind::kDirectory, bits};
  if (S_ISREG(status.st_mode)) return {PathKind::kRegularFile, bits};
  return {PathKind::kOther, bits};
}

unsigned userFileMode() {
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return kNewFileMode & ~mask;
}

int setPermissionBits(const std::filesystem::path& file, unsigned bits) {
  return ::chmod(file.c_str(), static_cast<mode_t>(bits)) == 0 ? 0 : errno;
}

QuietStandardError::QuietStandardError() {
  std::fflush(stderr);
  saved_ = ::dup(STDERR_FILENO);
  const int nothing = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
  if (saved_ >= 0 && nothing >= 0) ::dup2(nothing, STDERR_FILENO);
  if (nothing >= 0) ::close(nothing);
}

QuietStandardError::~QuietStandardError() {
  std::fflush(stderr);
  if (saved_ < 0) return;
  ::dup2(saved_, STDERR_FILENO);
  ::close(saved_);
}

}  // namespace tenmirel
