#include "catalogue/catalogue_source.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>

namespace tenmirel {
namespace {

constexpr std::size_t kReadChunkBytes = 64 * 1024;

// Reads a file descriptor through read(2); closes it when owned.
class DescriptorBuffer : public std::streambuf {
 public:
  DescriptorBuffer(int descriptor, bool owned) : descriptor_(descriptor), owned_(owned) {}
  ~DescriptorBuffer() override {
    if (owned_) ::close(descriptor_);
  }
  DescriptorBuffer(const DescriptorBuffer&) = delete;
  DescriptorBuffer& operator=(const DescriptorBuffer&) = delete;

 protected:
  int_type underflow() override {
    if (gptr() < egptr()) return traits_type::to_int_type(*gptr());
    ssize_t got = 0;
    do {
      got = ::read(descriptor_, chunk_.data(), chunk_.size());
    } while (got < 0 && errno == EINTR);
    if (got <= 0) return traits_type::eof();
    setg(chunk_.data(), chunk_.data(), chunk_.data() + got);
    return traits_type::to_int_type(*gptr());
  }

 private:
  int descriptor_;
  bool owned_;
  std::array<char, kReadChunkBytes> chunk_{};
};

CatalogueSource failedWith(SourceFailure failure) { return CatalogueSource{nullptr, failure}; }

SourceFailure openFailure(int errorNumber) {
  return errorNumber == ENOENT || errorNumber == ENOTDIR ? SourceFailure::notFound : SourceFailure::cannotOpen;
}

// Waits a bounded time for a pipe's writer; a pipe is opened without waiting for one.
bool writerArrived(int descriptor, std::chrono::milliseconds writerWait) {
  pollfd waiting{descriptor, POLLIN, 0};
  int ready = 0;
  do {
    ready = ::poll(&waiting, 1, static_cast<int>(writerWait.count()));
  } while (ready < 0 && errno == EINTR);
  return ready > 0;
}

}  // namespace

CatalogueSource openCatalogueSource(const std::filesystem::path& file, std::chrono::milliseconds writerWait) {
  // Devices are refused before they are opened: opening some of them does things.
  struct stat status {};
  if (::stat(file.c_str(), &status) != 0) return failedWith(openFailure(errno));
  if (S_ISDIR(status.st_mode)) return failedWith(SourceFailure::cannotOpen);
  if (!S_ISFIFO(status.st_mode) && !S_ISREG(status.st_mode)) return failedWith(SourceFailure::notAFile);
  const int descriptor = ::open(file.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (descriptor < 0) return failedWith(openFailure(errno));
  // The name may have changed hands since it was looked at; what was opened counts.
  if (::fstat(descriptor, &status) != 0 || (!S_ISFIFO(status.st_mode) && !S_ISREG(status.st_mode))) {
    ::close(descriptor);
    return failedWith(SourceFailure::notAFile);
  }
  if (S_ISFIFO(status.st_mode) && !writerArrived(descriptor, writerWait)) {
    ::close(descriptor);
    return failedWith(SourceFailure::noWriter);
  }
  // From here on a read waits for a pipe writer's next bytes, as a pipe should.
  ::fcntl(descriptor, F_SETFL, ::fcntl(descriptor, F_GETFL) & ~O_NONBLOCK);
  return CatalogueSource{std::make_unique<DescriptorBuffer>(descriptor, true), SourceFailure::none};
}

CatalogueSource standardInputSource() {
  return CatalogueSource{std::make_unique<DescriptorBuffer>(STDIN_FILENO, false), SourceFailure::none};
}

}  // namespace tenmirel
