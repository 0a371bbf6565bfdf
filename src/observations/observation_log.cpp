#include "observations/observation_log.h"

#include <sqlite3.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <system_error>
#include <thread>

namespace tenmirel::observations {
namespace {

// Each migration takes the schema from its index to the next version.
const char* const kMigrations[] = {
    // 0 -> 1
    "CREATE TABLE observations ("
    " id INTEGER PRIMARY KEY AUTOINCREMENT,"
    " star TEXT NOT NULL,"
    " time REAL NOT NULL,"
    " sigma REAL,"
    " time_system TEXT NOT NULL CHECK (time_system IN ('JD', 'HJD', 'BJD_TDB')),"
    " kind TEXT NOT NULL CHECK (kind IN ('primary', 'secondary', 'maximum')),"
    " method TEXT NOT NULL DEFAULT '',"
    " observer TEXT NOT NULL DEFAULT '',"
    " band TEXT NOT NULL DEFAULT '',"
    " source TEXT NOT NULL DEFAULT '',"
    " note TEXT NOT NULL DEFAULT '',"
    " recorded TEXT NOT NULL,"
    " excluded INTEGER NOT NULL DEFAULT 0 CHECK (excluded IN (0, 1)));"
    "CREATE INDEX observations_by_star ON observations (star, time);",
};
static_assert(std::size(kMigrations) == kSchemaVersion);

constexpr auto kRetryPause = std::chrono::milliseconds(20);

constexpr const char* kColumns =
    "id, star, time, sigma, time_system, kind, method, observer, band, source, note, recorded, excluded";

class Statement {
 public:
  Statement(sqlite3* db, const char* sql) { status_ = sqlite3_prepare_v2(db, sql, -1, &statement_, nullptr); }
  ~Statement() { sqlite3_finalize(statement_); }
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;
  int status() const { return status_; }
  sqlite3_stmt* get() { return statement_; }
  void bind(int index, const std::string& text) {
    sqlite3_bind_text(statement_, index, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
  }
  void bind(int index, double value) { sqlite3_bind_double(statement_, index, value); }
  void bind(int index, long long value) { sqlite3_bind_int64(statement_, index, value); }
  void bindNull(int index) { sqlite3_bind_null(statement_, index); }
  int step() { return status_ = sqlite3_step(statement_); }
  void reset() {
    sqlite3_reset(statement_);
    sqlite3_clear_bindings(statement_);
  }
  std::string text(int column) {
    const auto* value = sqlite3_column_text(statement_, column);
    return value ? std::string(reinterpret_cast<const char*>(value),
                               static_cast<std::size_t>(sqlite3_column_bytes(statement_, column)))
                 : std::string();
  }

 private:
  sqlite3_stmt* statement_ = nullptr;
  int status_ = SQLITE_OK;
};

std::string describe(const std::filesystem::path& file, int status) {
  const std::string name = "観測記録「" + file.string() + "」";
  switch (status & 0xff) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
      return name + "を他のプログラムが使っています（5 秒待ちました）。しばらくしてからもう一度試してください";
    case SQLITE_NOTADB:
    case SQLITE_CORRUPT:
      return name + "は壊れているか、観測記録のデータベースではありません。ファイルには手を加えていません";
    case SQLITE_FULL:
      return name + "に書き込めません（ディスクがいっぱいです）";
    case SQLITE_READONLY:
    case SQLITE_PERM:
    case SQLITE_AUTH:
      return name + "に書き込めません（書き込みの許可がありません）";
    case SQLITE_CANTOPEN:
      return name + "を開けません";
    case SQLITE_NOMEM:
      return "メモリが足りません";
    default:
      return name + "を読み書きできませんでした（" + sqlite3_errstr(status) + "）";
  }
}

int execute(sqlite3* db, const char* sql) { return sqlite3_exec(db, sql, nullptr, nullptr, nullptr); }

struct Identity {
  int applicationId = 0;
  int version = 0;
  int objects = 0;
};

// One statement, so the three are read from one snapshot even while another
// process is making the log.
int readIdentity(sqlite3* db, Identity& identity) {
  Statement statement(db,
                      "SELECT (SELECT application_id FROM pragma_application_id), "
                      "(SELECT user_version FROM pragma_user_version), (SELECT count(*) FROM sqlite_master)");
  if (statement.status() != SQLITE_OK) return statement.status();
  if (statement.step() != SQLITE_ROW) return statement.status();
  identity.applicationId = sqlite3_column_int(statement.get(), 0);
  identity.version = sqlite3_column_int(statement.get(), 1);
  identity.objects = sqlite3_column_int(statement.get(), 2);
  return SQLITE_OK;
}

std::optional<std::string> identityProblem(const std::filesystem::path& file, const Identity& identity) {
  const bool empty = identity.applicationId == 0 && identity.version == 0 && identity.objects == 0;
  if (!empty && identity.applicationId != kApplicationId) {
    return "「" + file.string() +
           "」は Tenmirel の観測記録ではない SQLite データベースです。ファイルには手を加えていません";
  }
  if (identity.version > kSchemaVersion) {
    return "観測記録「" + file.string() + "」は新しい版の Tenmirel で作られています（形式 " +
           std::to_string(identity.version) + "）。この版では読めません";
  }
  return std::nullopt;
}

// Runs the body inside BEGIN IMMEDIATE … COMMIT; rolls back when it fails.
template <typename Body>
int inTransaction(sqlite3* db, Body body) {
  int status = execute(db, "BEGIN IMMEDIATE");
  if (status != SQLITE_OK) return status;
  status = body();
  if (status == SQLITE_OK || status == SQLITE_DONE) {
    status = execute(db, "COMMIT");
    if (status == SQLITE_OK) return SQLITE_OK;
  }
  execute(db, "ROLLBACK");
  return status;
}

int bindEntry(Statement& statement, const LogEntry& entry) {
  statement.bind(1, entry.star);
  statement.bind(2, entry.time);
  if (entry.sigmaDays)
    statement.bind(3, *entry.sigmaDays);
  else
    statement.bindNull(3);
  statement.bind(4, std::string(sky::elementsTimeName(entry.system)));
  statement.bind(5, std::string(timing::extremumKindName(entry.kind)));
  statement.bind(6, entry.method);
  statement.bind(7, entry.observer);
  statement.bind(8, entry.band);
  statement.bind(9, entry.source);
  statement.bind(10, entry.note);
  statement.bind(11, entry.recorded.empty() ? recordedNow() : entry.recorded);
  statement.bind(12, static_cast<long long>(entry.excluded ? 1 : 0));
  return 12;
}

}  // namespace

std::filesystem::path defaultLogPath() {
  const char* data = std::getenv("XDG_DATA_HOME");
  std::filesystem::path folder;
  if (data != nullptr && *data != '\0' && std::filesystem::path(data).is_absolute()) {
    folder = data;
  } else if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0') {
    folder = std::filesystem::path(home) / ".local" / "share";
  } else {
    return {};
  }
  return folder / "Tenmirel" / "observations.sqlite";
}

Checked<std::shared_ptr<ObservationLog>> ObservationLog::open(const std::filesystem::path& file) {
  using Result = Checked<std::shared_ptr<ObservationLog>>;
  if (file.empty()) return Result::failure("観測記録の置き場所が分かりません（XDG_DATA_HOME も HOME もありません）");
  std::error_code code;
  if (file.has_parent_path()) std::filesystem::create_directories(file.parent_path(), code);
  if (code) {
    return Result::failure("観測記録のフォルダ「" + file.parent_path().string() + "」を作れません（" + code.message() +
                           "）");
  }
  if (std::filesystem::is_directory(file, code)) return Result::failure(describe(file, SQLITE_CANTOPEN));
  sqlite3* db = nullptr;
  int status = sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
  std::shared_ptr<ObservationLog> log(new ObservationLog(file, db));
  if (status != SQLITE_OK) return Result::failure(describe(file, status));
  sqlite3_extended_result_codes(db, 0);
  sqlite3_busy_timeout(db, kBusyWaitMilliseconds);

  // Nothing is written before the file is known to be a log or empty.
  std::optional<std::string> problem;
  auto prepare = [&]() -> int {
    Identity identity;
    int inner = readIdentity(db, identity);
    if (inner != SQLITE_OK) return inner;
    if ((problem = identityProblem(file, identity))) return SQLITE_ABORT;
    {
      Statement wal(db, "PRAGMA journal_mode=WAL");
      if (wal.status() != SQLITE_OK) return wal.status();
      if (wal.step() != SQLITE_ROW) return wal.status();
    }
    if (identity.version == kSchemaVersion) return SQLITE_OK;
    return inTransaction(db, [&]() -> int {
      // Another process may have got here first.
      int step = readIdentity(db, identity);
      if (step != SQLITE_OK) return step;
      if ((problem = identityProblem(file, identity))) return SQLITE_ABORT;
      for (int version = identity.version; version < kSchemaVersion; ++version) {
        if ((step = execute(db, kMigrations[version])) != SQLITE_OK) return step;
      }
      const std::string stamp = "PRAGMA application_id=" + std::to_string(kApplicationId) +
                                "; PRAGMA user_version=" + std::to_string(kSchemaVersion);
      return execute(db, stamp.c_str());
    });
  };
  // Some locks of a log being made or checkpointed by another process are not
  // waited for by SQLite itself (the change of journal mode, the recovery of the
  // write-ahead index): those are tried again within the same five seconds.
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kBusyWaitMilliseconds);
  while (true) {
    status = prepare();
    if (problem) return Result::failure(*problem);
    const bool busy = (status & 0xff) == SQLITE_BUSY || (status & 0xff) == SQLITE_LOCKED;
    if (!busy || std::chrono::steady_clock::now() >= deadline) break;
    std::this_thread::sleep_for(kRetryPause);
  }
  if (status != SQLITE_OK) return Result::failure(describe(file, status));
  return Result::success(log);
}

ObservationLog::~ObservationLog() { sqlite3_close_v2(db_); }

Checked<long long> ObservationLog::add(const LogEntry& entry) {
  const auto added = addAll({entry});
  if (!added) return added;
  return Checked<long long>::success(sqlite3_last_insert_rowid(db_));
}

Checked<long long> ObservationLog::addAll(const std::vector<LogEntry>& entries) {
  const std::string sql = std::string("INSERT INTO observations (") + (kColumns + 4) +
                          ") VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12)";
  const int status = inTransaction(db_, [&]() -> int {
    Statement insert(db_, sql.c_str());
    if (insert.status() != SQLITE_OK) return insert.status();
    for (const LogEntry& entry : entries) {
      bindEntry(insert, entry);
      if (insert.step() != SQLITE_DONE) return insert.status();
      insert.reset();
    }
    return SQLITE_OK;
  });
  if (status != SQLITE_OK) return Checked<long long>::failure(describe(file_, status));
  return Checked<long long>::success(static_cast<long long>(entries.size()));
}

Checked<std::vector<LogEntry>> ObservationLog::list(const std::optional<std::string>& star) const {
  using Result = Checked<std::vector<LogEntry>>;
  const std::string sql = std::string("SELECT ") + kColumns + " FROM observations" + (star ? " WHERE star = ?1" : "") +
                          " ORDER BY time, id";
  Statement select(db_, sql.c_str());
  if (select.status() != SQLITE_OK) return Result::failure(describe(file_, select.status()));
  if (star) select.bind(1, *star);
  std::vector<LogEntry> entries;
  while (select.step() == SQLITE_ROW) {
    sqlite3_stmt* row = select.get();
    LogEntry entry;
    entry.id = sqlite3_column_int64(row, 0);
    entry.star = select.text(1);
    entry.time = sqlite3_column_double(row, 2);
    if (sqlite3_column_type(row, 3) != SQLITE_NULL) entry.sigmaDays = sqlite3_column_double(row, 3);
    entry.system = sky::parseElementsTime(select.text(4)).value_or(sky::ElementsTime::jd);
    entry.kind = timing::parseExtremumKind(select.text(5)).value_or(timing::ExtremumKind::primary);
    entry.method = select.text(6);
    entry.observer = select.text(7);
    entry.band = select.text(8);
    entry.source = select.text(9);
    entry.note = select.text(10);
    entry.recorded = select.text(11);
    entry.excluded = sqlite3_column_int(row, 12) != 0;
    entries.push_back(std::move(entry));
  }
  if (select.status() != SQLITE_DONE) return Result::failure(describe(file_, select.status()));
  return Result::success(std::move(entries));
}

Refusal ObservationLog::remove(const std::vector<long long>& given) {
  // An id named twice is removed once.
  std::vector<long long> ids = given;
  std::sort(ids.begin(), ids.end());
  ids.erase(std::unique(ids.begin(), ids.end()), ids.end());
  std::optional<long long> missing;
  const int status = inTransaction(db_, [&]() -> int {
    Statement erase(db_, "DELETE FROM observations WHERE id = ?1");
    if (erase.status() != SQLITE_OK) return erase.status();
    for (long long id : ids) {
      erase.bind(1, id);
      if (erase.step() != SQLITE_DONE) return erase.status();
      if (sqlite3_changes(db_) == 0) {
        missing = id;
        return SQLITE_ABORT;
      }
      erase.reset();
    }
    return SQLITE_OK;
  });
  if (missing) return "番号 " + std::to_string(*missing) + " の観測は記録にありません（何も削除していません）";
  if (status != SQLITE_OK) return describe(file_, status);
  return std::nullopt;
}

Refusal ObservationLog::update(const LogEntry& entry) {
  bool found = true;
  const int status = inTransaction(db_, [&]() -> int {
    Statement change(db_,
                     "UPDATE observations SET star = ?1, time = ?2, sigma = ?3, time_system = ?4, kind = ?5, "
                     "method = ?6, observer = ?7, band = ?8, source = ?9, note = ?10, recorded = ?11, "
                     "excluded = ?12 WHERE id = ?13");
    if (change.status() != SQLITE_OK) return change.status();
    bindEntry(change, entry);
    change.bind(13, entry.id);
    if (change.step() != SQLITE_DONE) return change.status();
    found = sqlite3_changes(db_) == 1;
    return found ? SQLITE_OK : SQLITE_ABORT;
  });
  if (!found) return "番号 " + std::to_string(entry.id) + " の観測は記録にありません";
  if (status != SQLITE_OK) return describe(file_, status);
  return std::nullopt;
}

Refusal ObservationLog::setExcluded(long long id, bool excluded) {
  bool found = true;
  const int status = inTransaction(db_, [&]() -> int {
    Statement change(db_, "UPDATE observations SET excluded = ?1 WHERE id = ?2");
    if (change.status() != SQLITE_OK) return change.status();
    change.bind(1, static_cast<long long>(excluded ? 1 : 0));
    change.bind(2, id);
    if (change.step() != SQLITE_DONE) return change.status();
    found = sqlite3_changes(db_) == 1;
    return found ? SQLITE_OK : SQLITE_ABORT;
  });
  if (!found) return "番号 " + std::to_string(id) + " の観測は記録にありません";
  if (status != SQLITE_OK) return describe(file_, status);
  return std::nullopt;
}

}  // namespace tenmirel::observations
