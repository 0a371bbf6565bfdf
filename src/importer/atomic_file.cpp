#include "importer/atomic_file.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace tenmirel::importer {
namespace {

constexpr mode_t kNewFileMode = 0666;
constexpr std::size_t kStreamBufferBytes = std::size_t{1} << 20;

mode_t currentUmask() {
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return mask;
}

std::string quoted(const std::filesystem::path& path) { return "「" + path.string() + "」"; }

}  // namespace

std::string fileErrorWords(int errorNumber) {
  switch (errorNumber) {
    case EACCES:
    case EPERM:
      return "書き込む権限がありません";
    case ENOENT:
      return "フォルダがありません";
    case ENOSPC:
      return "ディスクがいっぱいです";
    case EROFS:
      return "読み取り専用のファイルシステムです";
    case EEXIST:
      return "同じ名前のファイルがあります";
    case EISDIR:
      return "フォルダです";
    case ENOTDIR:
      return "途中の名前がフォルダではありません";
    case ENAMETOOLONG:
      return "名前が長すぎます";
    default:
      break;
  }
  return std::strerror(errorNumber);
}

std::filesystem::path backupPath(const std::filesystem::path& file) {
  std::filesystem::path backup = file;
  backup += "~";
  return backup;
}

bool pathTaken(const std::filesystem::path& path) {
  struct stat info {};
  return ::lstat(path.c_str(), &info) == 0;
}

AtomicFile::AtomicFile(std::filesystem::path target, std::filesystem::path temporary)
    : target_(std::move(target)), temporary_(std::move(temporary)), buffer_(kStreamBufferBytes) {
  // A large buffer: a catalogue of millions of stars is written in few system calls.
  out_.rdbuf()->pubsetbuf(buffer_.data(), static_cast<std::streamsize>(buffer_.size()));
  out_.open(temporary_, std::ios::binary | std::ios::trunc);
}

AtomicFile::~AtomicFile() {
  if (!committed_) {
    out_.close();
    ::unlink(temporary_.c_str());
  }
}

Checked<std::shared_ptr<AtomicFile>> AtomicFile::create(const std::filesystem::path& target) {
  using Result = Checked<std::shared_ptr<AtomicFile>>;
  const std::filesystem::path folder = target.has_parent_path() ? target.parent_path() : std::filesystem::path(".");
  std::string pattern = (folder / ("." + target.filename().string() + ".XXXXXX")).string();
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  const int fd = ::mkstemp(name.data());
  if (fd < 0) {
    const int error = errno;
    return Result::failure(quoted(target) + "を書けません（" + fileErrorWords(error) + "）。");
  }
  ::close(fd);
  std::shared_ptr<AtomicFile> file(new AtomicFile(target, std::filesystem::path(name.data())));
  if (!file->out_) return Result::failure(quoted(target) + "を書けません。");
  return Result::success(std::move(file));
}

Refusal AtomicFile::close() {
  if (closed_) return std::nullopt;
  closed_ = true;
  out_.flush();
  const bool written = static_cast<bool>(out_);
  out_.close();
  if (!written || out_.fail()) {
    return quoted(target_) + "を書き終えられませんでした（ディスクがいっぱいではありませんか）。";
  }
  return std::nullopt;
}

Refusal AtomicFile::commit(Replace replace) {
  if (Refusal refusal = close()) return refusal;
  struct stat existing {};
  const bool exists = ::stat(target_.c_str(), &existing) == 0;
  const mode_t mode = exists ? (existing.st_mode & 07777) : (kNewFileMode & ~currentUmask());
  ::chmod(temporary_.c_str(), mode);
  if (pathTaken(target_) && !exists) return quoted(target_) + "は壊れたリンクなどで、置き換えません。";
  if (exists && S_ISDIR(existing.st_mode)) return quoted(target_) + "はフォルダです。";
  if (!exists || replace == Replace::never) {
    // link() refuses an existing name, so two writers never replace each other.
    if (::link(temporary_.c_str(), target_.c_str()) != 0) {
      const int error = errno;
      if (error == EEXIST) return quoted(target_) + "はもうあります。置き換えるには --force を付けてください。";
      return quoted(target_) + "を書けません（" + fileErrorWords(error) + "）。";
    }
    ::unlink(temporary_.c_str());
    committed_ = true;
    return std::nullopt;
  }
  if (replace == Replace::keepBackup) {
    const std::filesystem::path backup = backupPath(target_);
    ::unlink(backup.c_str());
    if (::link(target_.c_str(), backup.c_str()) != 0) {
      const int error = errno;
      return quoted(backup) + "（控え）を作れません（" + fileErrorWords(error) + "）。元のファイルはそのままです。";
    }
  }
  if (::rename(temporary_.c_str(), target_.c_str()) != 0) {
    const int error = errno;
    return quoted(target_) + "を置き換えられません（" + fileErrorWords(error) + "）。";
  }
  committed_ = true;
  return std::nullopt;
}

}  // namespace tenmirel::importer
