#include "sheet/sheet_files.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

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

std::string sheetFileName(std::chrono::system_clock::time_point now, const std::string& listName,
                          int attempt) {
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

}  // namespace tenmirel
