#include "sky/config_files.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <system_error>
#include <thread>

#include "common/control_text.h"

namespace tenmirel::sky {
namespace {

namespace fs = std::filesystem;

// Symbolic links followed before a file is taken as looping (as the kernel does).
constexpr int kLargestLinkChain = 40;
// How long a change waits for another holding the lock, and how often it looks.
constexpr auto kLockPatience = std::chrono::seconds(20);
constexpr auto kLockRetry = std::chrono::milliseconds(5);
constexpr mode_t kLockFileMode = 0600;

std::string reason(int error) { return std::error_code(error, std::generic_category()).message(); }

// A descriptor closed when it goes out of scope.
class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  ~Descriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int get() const { return fd_; }
  int release() {
    const int fd = fd_;
    fd_ = -1;
    return fd;
  }

 private:
  int fd_;
};

// The file a path names after its symbolic links; the path itself when it is not a
// link. A link whose target does not exist yet names that target.
fs::path resolvedFile(const fs::path& file) {
  fs::path path = file;
  for (int hop = 0; hop < kLargestLinkChain; ++hop) {
    std::error_code error;
    if (!fs::is_symlink(fs::symlink_status(path, error))) return path;
    const fs::path target = fs::read_symlink(path, error);
    if (error) return path;
    path = target.is_absolute() ? target : path.parent_path() / target;
  }
  return path;
}

// The exclusive lock of a settings file, held while this lives. The lock file is
// removed again by its holder; whoever locked a removed one tries again.
class FileLock {
 public:
  static Checked<FileLock> take(const fs::path& file, const std::string& what) {
    const fs::path lockPath = file.parent_path() / ("." + file.filename().string() + ".lock");
    const auto giveUp = std::chrono::steady_clock::now() + kLockPatience;
    while (true) {
      Descriptor fd(::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, kLockFileMode));
      if (fd.get() < 0) {
        return Checked<FileLock>::failure(what + " " + shownPath(file) + " の鍵ファイルを作れませんでした（" +
                                          reason(errno) + "）。");
      }
      if (::flock(fd.get(), LOCK_EX | LOCK_NB) == 0) {
        struct stat locked {};
        struct stat named {};
        if (::fstat(fd.get(), &locked) == 0 && ::stat(lockPath.c_str(), &named) == 0 && locked.st_dev == named.st_dev &&
            locked.st_ino == named.st_ino) {
          return Checked<FileLock>::success(FileLock(lockPath, fd.release()));
        }
      } else if (errno != EWOULDBLOCK && errno != EINTR) {
        return Checked<FileLock>::failure(what + " " + shownPath(file) + " に鍵をかけられませんでした（" +
                                          reason(errno) + "）。");
      }
      if (std::chrono::steady_clock::now() > giveUp) {
        return Checked<FileLock>::failure(what + " " + shownPath(file) +
                                          " はほかのプログラムが変更中です。しばらくしてからやり直してください。");
      }
      std::this_thread::sleep_for(kLockRetry);
    }
  }
  FileLock(FileLock&& other) noexcept : path_(std::move(other.path_)), fd_(other.fd_) { other.fd_ = -1; }
  FileLock& operator=(FileLock&&) = delete;
  ~FileLock() {
    if (fd_ < 0) return;
    ::unlink(path_.c_str());
    ::close(fd_);
  }

 private:
  FileLock(fs::path path, int fd) : path_(std::move(path)), fd_(fd) {}
  fs::path path_;
  int fd_;
};

}  // namespace

std::filesystem::path configFolder() {
  const char* xdg = std::getenv("XDG_CONFIG_HOME");
  std::filesystem::path base;
  if (xdg != nullptr && *xdg != '\0' && std::filesystem::path(xdg).is_absolute()) {
    base = xdg;
  } else {
    const char* home = std::getenv("HOME");
    base = std::filesystem::path(home != nullptr && *home != '\0' ? home : ".") / ".config";
  }
  return base / "Tenmirel";
}

std::string shownPath(const std::filesystem::path& file) { return withControlsReplaced(file.string()); }

Checked<ConfigText> readConfigFile(const std::filesystem::path& file, const std::string& what) {
  // Without O_NONBLOCK, opening a FIFO would wait for a writer forever.
  Descriptor fd(::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
  if (fd.get() < 0) {
    if (errno == ENOENT) return Checked<ConfigText>::success(ConfigText{});
    return Checked<ConfigText>::failure(what + " " + shownPath(file) + " を開けません（" + reason(errno) + "）");
  }
  struct stat info {};
  if (::fstat(fd.get(), &info) != 0) {
    return Checked<ConfigText>::failure(what + " " + shownPath(file) + " を調べられません（" + reason(errno) + "）");
  }
  if (!S_ISREG(info.st_mode)) {
    return Checked<ConfigText>::failure(what + " " + shownPath(file) +
                                        " は通常のファイルではありません（フォルダ、FIFO、デバイスなどは読みません）");
  }
  if (static_cast<std::uintmax_t>(info.st_size) > kLargestConfigFileBytes) {
    return Checked<ConfigText>::failure(what + " " + shownPath(file) + " は大きすぎます（" +
                                        std::to_string(kLargestConfigFileBytes / (1024 * 1024)) + " MB まで）");
  }
  ConfigText read;
  read.exists = true;
  char buffer[65536];
  while (true) {
    const ssize_t count = ::read(fd.get(), buffer, sizeof buffer);
    if (count < 0 && errno == EINTR) continue;
    if (count < 0) {
      return Checked<ConfigText>::failure(what + " " + shownPath(file) + " を読めません（" + reason(errno) + "）");
    }
    if (count == 0) break;
    read.text.append(buffer, static_cast<std::size_t>(count));
    // The file may have grown since it was looked at.
    if (read.text.size() > kLargestConfigFileBytes) {
      return Checked<ConfigText>::failure(what + " " + shownPath(file) + " は大きすぎます（" +
                                          std::to_string(kLargestConfigFileBytes / (1024 * 1024)) + " MB まで）");
    }
  }
  return Checked<ConfigText>::success(std::move(read));
}

Refusal changeConfigFile(const std::filesystem::path& file, const std::string& what, const ConfigChange& change) {
  const fs::path target = resolvedFile(file);
  std::error_code error;
  fs::create_directories(target.parent_path(), error);
  if (error) return what + " " + shownPath(file) + " のフォルダを作れませんでした（" + error.message() + "）。";
  const Checked<FileLock> lock = FileLock::take(target, what);
  if (!lock) return lock.message();
  const Checked<ConfigText> current = readConfigFile(target, what);
  if (!current) return current.message() + "。";
  const Checked<std::string> text = change(*current);
  if (!text) return text.message();
  return writeFileAtomically(target, *text);
}

Refusal writeFileAtomically(const std::filesystem::path& path, const std::string& text) {
  const fs::path target = resolvedFile(path);
  const std::string failed = "設定ファイル " + shownPath(path) + " を書き込めませんでした";
  std::error_code error;
  fs::create_directories(target.parent_path(), error);
  if (error) return failed + "（" + error.message() + "）。";
  struct stat old {};
  const bool replacing = ::stat(target.c_str(), &old) == 0;
  if (replacing && !S_ISREG(old.st_mode)) return failed + "（通常のファイルではありません）。";
  std::string pattern = (target.parent_path() / ("." + target.filename().string() + ".XXXXXX")).string();
  const int descriptor = ::mkostemp(pattern.data(), O_CLOEXEC);
  if (descriptor < 0) return failed + "（" + reason(errno) + "）。";
  const fs::path temporary = pattern;
  bool written = !replacing || ::fchmod(descriptor, old.st_mode & 07777) == 0;
  std::size_t done = 0;
  while (written && done < text.size()) {
    const ssize_t count = ::write(descriptor, text.data() + done, text.size() - done);
    if (count < 0 && errno == EINTR) continue;
    if (count <= 0) {
      written = false;
    } else {
      done += static_cast<std::size_t>(count);
    }
  }
  written = written && ::fsync(descriptor) == 0;
  written = ::close(descriptor) == 0 && written;
  if (written) {
    fs::rename(temporary, target, error);
    written = !error;
  }
  if (!written) {
    fs::remove(temporary, error);
    return failed + "。";
  }
  return std::nullopt;
}

}  // namespace tenmirel::sky
