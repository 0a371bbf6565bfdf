#pragma once
// Writing imported records to catalogue files as they come: one file of any
// number of stars (the night command reads them all; the window's table shows
// the first 1001), or numbered files of 1001 ("OUT-001.vsd", "OUT-002.vsd", …).
// Nothing is in place until commit(); a failure leaves no file behind and
// every existing file untouched.
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "catalogue/star_table.h"
#include "catalogue/text_encoding.h"
#include "common/checked.h"
#include "importer/atomic_file.h"

namespace tenmirel::importer {

class VsdOutput {
 public:
  // Refused when a target is taken and replace is Replace::never, or the folder
  // cannot take a file.
  static Checked<std::shared_ptr<VsdOutput>> open(const std::filesystem::path& target, bool split, Replace replace);
  ~VsdOutput();
  VsdOutput(const VsdOutput&) = delete;
  VsdOutput& operator=(const VsdOutput&) = delete;

  // Adds a record (UTF-8 texts, checked to encode); a refusal ends the output.
  Refusal add(const StarRecord& record);
  // Writes the files in place; their paths in order.
  Checked<std::vector<std::filesystem::path>> commit();

  std::uint64_t count() const { return total_; }

  // "OUT-001.vsd" for part 1 of "OUT.vsd" (three digits, more when needed).
  static std::filesystem::path partPath(const std::filesystem::path& target, std::uint64_t part, std::uint64_t parts);

 private:
  VsdOutput(std::filesystem::path target, bool split, Replace replace);
  Refusal closePart();

  std::filesystem::path target_;
  bool split_;
  Replace replace_;
  Cp932Encoder encoder_;
  std::uint64_t total_ = 0;
  // One file: the records go to a body file, the header is written before it at commit.
  std::shared_ptr<AtomicFile> body_;
  // Split: the records of the part being filled, and the finished parts (closed, not yet in place).
  std::string part_;
  std::uint64_t partCount_ = 0;
  std::vector<std::shared_ptr<AtomicFile>> parts_;
};

}  // namespace tenmirel::importer
