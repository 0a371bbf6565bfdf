#include "importer/vsd_output.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "catalogue/catalogue_writer.h"
#include "catalogue/star_file.h"
#include "importer/record_checks.h"

namespace tenmirel::importer {
namespace {

constexpr std::uint64_t kRecordsPerPart = kMaxStarRecords;  // 1001, the window's table

std::string headerText(std::uint64_t count) {
  return std::string(kCatalogueMagicLine) + kCatalogueLineEnd + std::to_string(count) + kCatalogueLineEnd;
}

// Appends one file to another, in the kernel where it can (the body of a large
// catalogue is hundreds of megabytes).
bool appendFile(const std::filesystem::path& from, const std::filesystem::path& to) {
  const int in = ::open(from.c_str(), O_RDONLY | O_CLOEXEC);
  if (in < 0) return false;
  const int out = ::open(to.c_str(), O_WRONLY | O_CLOEXEC);
  if (out < 0 || ::lseek(out, 0, SEEK_END) < 0) {
    ::close(in);
    if (out >= 0) ::close(out);
    return false;
  }
  bool ok = true;
  bool kernel = true;
  std::vector<char> buffer;
  while (true) {
    if (kernel) {
      const ssize_t copied = ::copy_file_range(in, nullptr, out, nullptr, std::size_t{1} << 30, 0);
      if (copied > 0) continue;
      if (copied == 0) break;
      if (errno == EINTR) continue;
      if (errno != EXDEV && errno != ENOSYS && errno != EINVAL && errno != EOPNOTSUPP) {
        ok = false;
        break;
      }
      kernel = false;
      buffer.resize(std::size_t{1} << 20);
    }
    const ssize_t got = ::read(in, buffer.data(), buffer.size());
    if (got == 0) break;
    if (got < 0) {
      if (errno == EINTR) continue;
      ok = false;
      break;
    }
    for (ssize_t done = 0; done < got;) {
      const ssize_t put = ::write(out, buffer.data() + done, static_cast<std::size_t>(got - done));
      if (put < 0 && errno == EINTR) continue;
      if (put <= 0) {
        ok = false;
        break;
      }
      done += put;
    }
    if (!ok) break;
  }
  ::close(in);
  if (::close(out) != 0) ok = false;
  return ok;
}

}  // namespace

VsdOutput::VsdOutput(std::filesystem::path target, bool split, Replace replace)
    : target_(std::move(target)), split_(split), replace_(replace) {}

VsdOutput::~VsdOutput() = default;

std::filesystem::path VsdOutput::partPath(const std::filesystem::path& target, std::uint64_t part,
                                          std::uint64_t parts) {
  int width = 3;
  for (std::uint64_t n = parts; n >= 1000; n /= 10) ++width;
  char number[32];
  std::snprintf(number, sizeof number, "-%0*llu", width, static_cast<unsigned long long>(part));
  std::filesystem::path path = target;
  path.replace_filename(target.stem().string() + number + target.extension().string());
  return path;
}

Checked<std::shared_ptr<VsdOutput>> VsdOutput::open(const std::filesystem::path& target, bool split, Replace replace) {
  using Result = Checked<std::shared_ptr<VsdOutput>>;
  if (replace == Replace::never && !split && pathTaken(target)) {
    return Result::failure("「" + target.string() + "」はもうあります。置き換えるには --force を付けてください。");
  }
  if (replace == Replace::never && split && pathTaken(partPath(target, 1, 1))) {
    return Result::failure("「" + partPath(target, 1, 1).string() +
                           "」はもうあります。置き換えるには --force を付けてください。");
  }
  std::shared_ptr<VsdOutput> output(new VsdOutput(target, split, replace));
  if (!split) {
    auto body = AtomicFile::create(target);
    if (!body) return Result::failure(body.message());
    output->body_ = *body;
  }
  return Result::success(std::move(output));
}

Refusal VsdOutput::add(const StarRecord& record) {
  const auto text = cp932RecordText(record, encoder_);
  if (!text) return "「" + record.starName + "」を CP932 で書けません。";
  ++total_;
  if (!split_) {
    body_->stream() << *text;
    if (!body_->stream()) return "「" + target_.string() + "」を書けません（ディスクがいっぱいではありませんか）。";
    return std::nullopt;
  }
  part_ += *text;
  if (++partCount_ == kRecordsPerPart) return closePart();
  return std::nullopt;
}

Refusal VsdOutput::closePart() {
  if (partCount_ == 0) return std::nullopt;
  auto file = AtomicFile::create(target_);
  if (!file) return file.message();
  (*file)->stream() << headerText(partCount_) << part_;
  if (Refusal refusal = (*file)->close()) return refusal;
  parts_.push_back(*file);
  part_.clear();
  partCount_ = 0;
  return std::nullopt;
}

Checked<std::vector<std::filesystem::path>> VsdOutput::commit() {
  using Result = Checked<std::vector<std::filesystem::path>>;
  std::vector<std::filesystem::path> written;
  if (!split_) {
    if (Refusal refusal = body_->close()) return Result::failure(*refusal);
    // The count comes first in the file: the whole file is the header, then the body.
    auto whole = AtomicFile::create(target_);
    if (!whole) return Result::failure(whole.message());
    (*whole)->stream() << headerText(total_) << std::flush;
    if (!(*whole)->stream() || !appendFile(body_->temporaryPath(), (*whole)->temporaryPath())) {
      return Result::failure("「" + target_.string() + "」を書けません（ディスクがいっぱいではありませんか）。");
    }
    if (Refusal refusal = (*whole)->commit(replace_)) return Result::failure(*refusal);
    written.push_back(target_);
    return Result::success(written);
  }
  if (Refusal refusal = closePart()) return Result::failure(*refusal);
  if (parts_.empty()) {
    // No star: one empty part would not load, so nothing is written.
    return Result::success(written);
  }
  const std::uint64_t parts = parts_.size();
  if (replace_ == Replace::never) {
    for (std::uint64_t i = 0; i < parts; ++i) {
      const auto path = partPath(target_, i + 1, parts);
      if (pathTaken(path))
        return Result::failure("「" + path.string() + "」はもうあります。置き換えるには --force を付けてください。");
    }
  }
  for (std::uint64_t i = 0; i < parts; ++i) {
    parts_[i]->retarget(partPath(target_, i + 1, parts));
    if (Refusal refusal = parts_[i]->commit(replace_)) {
      // Parts already in place are taken back, so the output is all or nothing.
      for (const auto& path : written) std::filesystem::remove(path);
      return Result::failure(*refusal);
    }
    written.push_back(parts_[i]->target());
  }
  return Result::success(written);
}

}  // namespace tenmirel::importer
