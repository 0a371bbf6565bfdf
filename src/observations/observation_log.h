#pragma once
// The observations log: every time of extremum of every star, in one SQLite file
// shared by the windows and the command line.
//
// - Where: $XDG_DATA_HOME/Tenmirel/observations.sqlite, else
//   ~/.local/share/Tenmirel/observations.sqlite (the folder is made when missing).
// - The file says what it is: PRAGMA application_id is kApplicationId and PRAGMA
//   user_version the schema version. Migrations only move forward, one version at
//   a time, each in one transaction; a file of a newer schema is refused.
// - A damaged file, or a database that is not a log, is reported and never
//   written to, "repaired" or replaced.
// - Write-ahead logging; every change is one immediate transaction, so writers in
//   many processes queue up. A writer waits up to 5 s for a lock, then the change
//   is refused with a message.
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "common/checked.h"
#include "observations/log_entry.h"

struct sqlite3;

namespace tenmirel::observations {

inline constexpr int kApplicationId = 0x546d726c;  // "Tmrl"
inline constexpr int kSchemaVersion = 1;
inline constexpr int kBusyWaitMilliseconds = 5000;

// The log's file from the environment's XDG_DATA_HOME and HOME; empty when neither is set.
std::filesystem::path defaultLogPath();

class ObservationLog {
 public:
  // Opens the log, creating or migrating it; refuses a damaged or foreign file.
  static Checked<std::shared_ptr<ObservationLog>> open(const std::filesystem::path& file);
  ~ObservationLog();
  ObservationLog(const ObservationLog&) = delete;
  ObservationLog& operator=(const ObservationLog&) = delete;

  const std::filesystem::path& file() const { return file_; }

  // Records the observation (its id is ignored) and returns its new id.
  Checked<long long> add(const LogEntry& entry);
  // Records them all in one transaction, or none; returns how many.
  Checked<long long> addAll(const std::vector<LogEntry>& entries);
  // Every observation, or those of one star (exact name), in time order.
  Checked<std::vector<LogEntry>> list(const std::optional<std::string>& star = std::nullopt) const;
  // Removes the observations; when one of the ids is not in the log nothing is removed.
  Refusal remove(const std::vector<long long>& ids);
  // Replaces every field of the observation with the entry's id.
  Refusal update(const LogEntry& entry);
  Refusal setExcluded(long long id, bool excluded);

 private:
  ObservationLog(std::filesystem::path file, sqlite3* db) : file_(std::move(file)), db_(db) {}
  std::filesystem::path file_;
  sqlite3* db_ = nullptr;
};

}  // namespace tenmirel::observations
