#include "observations/observation_log.h"

#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <set>

#include "observations/log_folder.h"

namespace tenmirel::observations {
namespace {

LogEntry entry(const std::string& star, double time, std::optional<double> sigma = 0.0001) {
  LogEntry e;
  e.star = star;
  e.time = time;
  e.sigmaDays = sigma;
  e.method = "KvW";
  return e;
}

class Log : public testing::Test {
 protected:
  void SetUp() override { folder = freshFolder("log"); }
  void TearDown() override { std::filesystem::remove_all(folder); }
  std::filesystem::path file() const { return folder / "Tenmirel" / "observations.sqlite"; }
  std::filesystem::path folder;
};

int pragma(const std::filesystem::path& file, const char* sql, std::string* text = nullptr) {
  sqlite3* db = nullptr;
  sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
  sqlite3_stmt* statement = nullptr;
  sqlite3_prepare_v2(db, sql, -1, &statement, nullptr);
  int value = -1;
  if (sqlite3_step(statement) == SQLITE_ROW) {
    value = sqlite3_column_int(statement, 0);
    if (text) *text = reinterpret_cast<const char*>(sqlite3_column_text(statement, 0));
  }
  sqlite3_finalize(statement);
  sqlite3_close(db);
  return value;
}

TEST_F(Log, IsCreatedVersionedAndWriteAhead) {
  auto log = ObservationLog::open(file());
  ASSERT_TRUE(log.ok()) << log.message();
  std::string mode;
  pragma(file(), "PRAGMA journal_mode", &mode);
  EXPECT_EQ(mode, "wal");
  EXPECT_EQ(pragma(file(), "PRAGMA user_version"), kSchemaVersion);
  EXPECT_EQ(pragma(file(), "PRAGMA application_id"), kApplicationId);
  // Opening again migrates nothing and keeps what was written.
  ASSERT_TRUE((*log)->add(entry("Algol", 2460000.1)).ok());
  log = ObservationLog::open(file());
  ASSERT_TRUE(log.ok()) << log.message();
  EXPECT_EQ((*log)->list()->size(), 1u);
}

TEST_F(Log, KeepsEveryFieldAndListsOneStarInTimeOrder) {
  auto log = *ObservationLog::open(file());
  LogEntry full = entry("RZ Cas", 2460123.456789012345, std::nullopt);
  full.system = sky::ElementsTime::bjdTdb;
  full.kind = timing::ExtremumKind::secondary;
  full.observer = "観測者";
  full.band = "V";
  full.source = "rzcas 2026-12-07.csv";
  full.note = "薄雲, \"風\"\n二行目";
  full.recorded = "2026-12-07T18:40:12Z";
  full.excluded = true;
  const auto id = log->add(full);
  ASSERT_TRUE(id.ok()) << id.message();
  ASSERT_TRUE(log->add(entry("Algol", 2460001)).ok());
  ASSERT_TRUE(log->add(entry("RZ Cas", 2460000.5)).ok());

  const auto rz = log->list("RZ Cas");
  ASSERT_TRUE(rz.ok());
  ASSERT_EQ(rz->size(), 2u);
  EXPECT_EQ((*rz)[0].time, 2460000.5);
  const LogEntry& back = (*rz)[1];
  EXPECT_EQ(back.id, *id);
  EXPECT_EQ(back.time, full.time);
  EXPECT_FALSE(back.sigmaDays.has_value());
  EXPECT_EQ(back.system, full.system);
  EXPECT_EQ(back.kind, full.kind);
  EXPECT_EQ(back.observer, full.observer);
  EXPECT_EQ(back.band, full.band);
  EXPECT_EQ(back.source, full.source);
  EXPECT_EQ(back.note, full.note);
  EXPECT_EQ(back.recorded, full.recorded);
  EXPECT_TRUE(back.excluded);
  // A recording time is given when none is.
  EXPECT_EQ((*rz)[0].recorded.size(), std::string("2026-12-07T18:40:12Z").size());
}

TEST_F(Log, RemovesAllOrNothingAndRemembersExclusions) {
  auto log = *ObservationLog::open(file());
  const long long a = *log->add(entry("Algol", 1));
  const long long b = *log->add(entry("Algol", 2));
  const auto refused = log->remove({a, b + 100});
  ASSERT_TRUE(refused.has_value());
  EXPECT_NE(refused->find(std::to_string(b + 100)), std::string::npos);
  EXPECT_EQ(log->list()->size(), 2u);
  EXPECT_EQ(log->setExcluded(b, true), std::nullopt);
  EXPECT_TRUE((*ObservationLog::open(file()))->list()->back().excluded);
  EXPECT_EQ(log->remove({a, a}), std::nullopt);  // named twice, removed once
  EXPECT_EQ(log->list()->size(), 1u);
  EXPECT_TRUE(log->setExcluded(a, true).has_value());
}

struct Stranger {
  const char* name;
  void (*make)(const std::filesystem::path&);
  const char* saying;
};

void writeText(const std::filesystem::path& file) { std::ofstream(file) << "id,star,time\n1,Algol,2460000\n"; }
void writeDamaged(const std::filesystem::path& file) {
  // A real log whose header page is overwritten in the middle.
  { *ObservationLog::open(file); }
  std::fstream out(file, std::ios::in | std::ios::out | std::ios::binary);
  out.seekp(0);
  out << "SQLite format 2\0garbage garbage garbage";
}
void writeForeign(const std::filesystem::path& file) {
  sqlite3* db = nullptr;
  sqlite3_open(file.c_str(), &db);
  sqlite3_exec(db, "CREATE TABLE photos (name TEXT); INSERT INTO photos VALUES ('x');", nullptr, nullptr, nullptr);
  sqlite3_close(db);
}
void writeNewer(const std::filesystem::path& file) {
  { *ObservationLog::open(file); }
  sqlite3* db = nullptr;
  sqlite3_open(file.c_str(), &db);
  sqlite3_exec(db, "PRAGMA user_version=99", nullptr, nullptr, nullptr);
  sqlite3_close(db);
}

class StrangeFiles : public Log, public testing::WithParamInterface<Stranger> {};

TEST_P(StrangeFiles, AreReportedAndLeftAsTheyAre) {
  std::filesystem::create_directories(file().parent_path());
  GetParam().make(file());
  const std::string before = bytesOf(file());
  const auto log = ObservationLog::open(file());
  ASSERT_FALSE(log.ok());
  EXPECT_NE(log.message().find(GetParam().saying), std::string::npos) << log.message();
  EXPECT_EQ(bytesOf(file()), before);
}

INSTANTIATE_TEST_SUITE_P(Files, StrangeFiles,
                         testing::Values(Stranger{"TextFile", writeText, "壊れているか"},
                                         Stranger{"DamagedHeader", writeDamaged, "壊れているか"},
                                         Stranger{"AnotherProgramsDatabase", writeForeign, "観測記録ではない"},
                                         Stranger{"NewerSchema", writeNewer, "新しい版"}),
                         [](const testing::TestParamInfo<Stranger>& info) { return std::string(info.param.name); });

TEST_F(Log, ALockHeldElsewhereIsWaitedForThenRefused) {
  auto log = *ObservationLog::open(file());
  sqlite3* other = nullptr;
  sqlite3_open(file().c_str(), &other);
  ASSERT_EQ(sqlite3_exec(other, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
  const auto added = log->add(entry("Algol", 1));
  sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
  sqlite3_close(other);
  ASSERT_FALSE(added.ok());
  EXPECT_NE(added.message().find("他のプログラム"), std::string::npos) << added.message();
  EXPECT_TRUE(log->add(entry("Algol", 1)).ok());
}

// Ten processes write at once, each opening the log itself; nothing is lost.
TEST_F(Log, TenWriterProcessesLoseNothing) {
  constexpr int kWriters = 10;
  constexpr int kEach = 40;
  std::vector<pid_t> children;
  for (int w = 0; w < kWriters; ++w) {
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      int failures = 0;
      for (int i = 0; i < kEach; ++i) {
        auto log = ObservationLog::open(file());  // as separate commands would
        if (!log) {
          std::fprintf(stderr, "%s\n", log.message().c_str());
          ++failures;
          continue;
        }
        const auto added = (*log)->add(entry("W" + std::to_string(w), 2460000 + i));
        if (!added) std::fprintf(stderr, "%s\n", added.message().c_str()), ++failures;
      }
      std::_Exit(failures == 0 ? 0 : 1);
    }
    children.push_back(child);
  }
  for (pid_t child : children) {
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }
  const auto all = (*ObservationLog::open(file()))->list();
  ASSERT_TRUE(all.ok());
  EXPECT_EQ(all->size(), static_cast<std::size_t>(kWriters * kEach));
  std::set<long long> ids;
  for (const LogEntry& e : *all) ids.insert(e.id);
  EXPECT_EQ(ids.size(), all->size());
}

TEST(LogPath, FollowsXdgDataHomeElseHome) {
  const char* savedData = std::getenv("XDG_DATA_HOME");
  const std::string keep = savedData ? savedData : "";
  setenv("XDG_DATA_HOME", "/srv/data", 1);
  EXPECT_EQ(defaultLogPath(), "/srv/data/Tenmirel/observations.sqlite");
  setenv("XDG_DATA_HOME", "", 1);
  setenv("HOME", "/home/obs", 1);
  EXPECT_EQ(defaultLogPath(), "/home/obs/.local/share/Tenmirel/observations.sqlite");
  if (savedData)
    setenv("XDG_DATA_HOME", keep.c_str(), 1);
  else
    unsetenv("XDG_DATA_HOME");
}

}  // namespace
}  // namespace tenmirel::observations
