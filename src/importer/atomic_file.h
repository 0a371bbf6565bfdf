#pragma once
// A file written under a temporary name beside its target and moved into place
// only when whole, so a failure leaves the target as it was and nothing behind.
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "common/checked.h"

namespace tenmirel::importer {

enum class Replace {
  never,       // an existing target is refused
  keepBackup,  // an existing target becomes NAME~ (a former NAME~ goes)
  plainly,     // an existing target is replaced
};

class AtomicFile {
 public:
  // Reserves the temporary file in the target's folder; refused (a Japanese
  // sentence naming the file) when the folder cannot take it.
  static Checked<std::shared_ptr<AtomicFile>> create(const std::filesystem::path& target);
  ~AtomicFile();  // removes the temporary file unless committed
  AtomicFile(const AtomicFile&) = delete;
  AtomicFile& operator=(const AtomicFile&) = delete;

  std::ostream& stream() { return out_; }
  const std::filesystem::path& temporaryPath() const { return temporary_; }
  const std::filesystem::path& target() const { return target_; }
  // Names another target in the same folder (a numbered part named at the end).
  void retarget(std::filesystem::path target) { target_ = std::move(target); }

  // Closes the file, checking that everything reached it; commit() closes too.
  Refusal close();
  // Closes the file and moves it to the target. A new file gets the mode the
  // user's umask allows, a replaced one keeps its mode.
  Refusal commit(Replace replace);

 private:
  AtomicFile(std::filesystem::path target, std::filesystem::path temporary);
  std::filesystem::path target_;
  std::filesystem::path temporary_;
  std::vector<char> buffer_;
  std::ofstream out_;
  bool committed_ = false;
  bool closed_ = false;
};

// The backup name of a catalogue file: "NAME.vsd~".
std::filesystem::path backupPath(const std::filesystem::path& file);

// Whether something stands at the path (a file, a folder, a dangling link).
bool pathTaken(const std::filesystem::path& path);

// The system's reason for an error number, in Japanese where it is a common one.
std::string fileErrorWords(int errorNumber);

}  // namespace tenmirel::importer
