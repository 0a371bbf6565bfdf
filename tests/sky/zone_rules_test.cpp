// Zones past the last transition of their zone files, against glibc's own reading of
// the same files (localtime_r with TZ set), which is not the code under test.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "astro/julian_day.h"
#include "sky/site_zone.h"
#include "sky/zone_file_tail.h"

namespace tenmirel::sky {
namespace {

constexpr double kJulianDayOfUnixEpoch = 2440587.5;
constexpr std::int64_t kSecondsPerDay = 86400;

const char* const kZones[] = {"America/New_York", "Europe/Prague",    "Australia/Sydney", "Australia/Adelaide",
                              "Pacific/Auckland", "America/Santiago", "Europe/London"};

// glibc with TZ set to the zone: the offset in force at an instant.
class GlibcZone {
 public:
  explicit GlibcZone(const char* zone) {
    const char* old = std::getenv("TZ");
    if (old != nullptr) saved_ = old;
    hadOld_ = old != nullptr;
    ::setenv("TZ", zone, 1);
    ::tzset();
  }
  ~GlibcZone() {
    if (hadOld_) {
      ::setenv("TZ", saved_.c_str(), 1);
    } else {
      ::unsetenv("TZ");
    }
    ::tzset();
  }
  long offsetAt(std::int64_t seconds) const {
    const std::time_t t = static_cast<std::time_t>(seconds);
    std::tm local{};
    ::localtime_r(&t, &local);
    return local.tm_gmtoff;
  }
  // The instants whose local reading is the given local seconds: none in a gap,
  // two at a fall-back; the earlier is the answer.
  std::set<std::int64_t> instantsOf(std::int64_t local) const {
    std::set<std::int64_t> found;
    for (std::int64_t probe : {local - kSecondsPerDay, local + kSecondsPerDay}) {
      const long offset = offsetAt(probe);
      if (offsetAt(local - offset) == offset) found.insert(local - offset);
    }
    return found;
  }

 private:
  std::string saved_;
  bool hadOld_ = false;
};

std::int64_t secondsOf(double julianDay) {
  return static_cast<std::int64_t>(std::llround((julianDay - kJulianDayOfUnixEpoch) * kSecondsPerDay));
}

std::tm calendarOf(std::int64_t seconds) {
  const std::time_t t = static_cast<std::time_t>(seconds);
  std::tm parts{};
  ::gmtime_r(&t, &parts);
  return parts;
}

std::int64_t yearStart(int year) { return secondsOf(js(year, 1, 1, 0, 0)); }

struct Span {
  int firstYear, lastYear;
};
const Span kSpans[] = {{2035, 2045}, {2999, 2999}};

// Every hour of the spans: the offset in force agrees with glibc's. The offsets seen.
std::set<long> compareUtToLocal(const char* name, const std::vector<Span>& spans) {
  const SiteZone zone = SiteZone::fromText(name).value();
  const GlibcZone reference(name);
  std::set<long> offsetsSeen;
  for (const Span& span : spans) {
    for (std::int64_t t = yearStart(span.firstYear); t < yearStart(span.lastYear + 1); t += 3600) {
      const long expected = reference.offsetAt(t);
      offsetsSeen.insert(expected);
      const double julianDay = kJulianDayOfUnixEpoch + static_cast<double>(t) / kSecondsPerDay;
      EXPECT_EQ(zone.offsetAtUt(julianDay).seconds, expected) << name << " at " << t;
      if (zone.offsetAtUt(julianDay).seconds != expected) return offsetsSeen;
    }
  }
  return offsetsSeen;
}

struct LocalCounts {
  int gaps = 0;
  int folds = 0;
};

// Local times of the spans (every half hour in the months of changes, every three
// hours between, or every half hour throughout): refused exactly where glibc finds
// no instant, else the earliest instant glibc finds.
LocalCounts compareLocalToUt(const char* name, const std::vector<Span>& spans, bool everyHalfHour,
                             const char* gapWords) {
  const SiteZone zone = SiteZone::fromText(name).value();
  const GlibcZone reference(name);
  LocalCounts counts;
  for (const Span& span : spans) {
    std::int64_t step = 0;
    for (std::int64_t local = yearStart(span.firstYear); local < yearStart(span.lastYear + 1); local += step) {
      const std::tm parts = calendarOf(local);
      const bool changeMonth = parts.tm_mon + 1 == 3 || parts.tm_mon + 1 == 4 || parts.tm_mon + 1 >= 9;
      step = everyHalfHour || changeMonth ? 1800 : 10800;
      const Checked<double> ut =
          zone.localToUt(parts.tm_year + 1900, parts.tm_mon + 1, parts.tm_mday, parts.tm_hour, parts.tm_min);
      const std::set<std::int64_t> instants = reference.instantsOf(local);
      if (instants.empty()) {
        ++counts.gaps;
        EXPECT_FALSE(ut.ok()) << name << " local " << local;
        if (ut.ok()) return counts;
        EXPECT_NE(ut.message().find(gapWords), std::string::npos) << ut.message();
        continue;
      }
      counts.folds += instants.size() > 1;
      EXPECT_TRUE(ut.ok()) << name << " local " << local << ": " << ut.message();
      if (!ut.ok()) return counts;
      EXPECT_EQ(secondsOf(*ut), *instants.begin()) << name << " local " << local;
      if (secondsOf(*ut) != *instants.begin()) return counts;
    }
  }
  return counts;
}

TEST(ZoneRulesAfterTheFile, UtToLocalAgreesWithGlibc) {
  for (const char* name : kZones) {
    const std::set<long> offsets = compareUtToLocal(name, {std::begin(kSpans), std::end(kSpans)});
    EXPECT_EQ(offsets.size(), 2u) << name << ": the reference should show summer time";
  }
}

TEST(ZoneRulesAfterTheFile, LocalToUtAgreesWithGlibcGapsAndFoldsIncluded) {
  for (const char* name : kZones) {
    const LocalCounts counts =
        compareLocalToUt(name, {std::begin(kSpans), std::end(kSpans)}, false, "夏時間への切り替えで存在しない時刻");
    EXPECT_GT(counts.gaps, 0) << name;
    EXPECT_GT(counts.folds, 0) << name;
  }
}

// Zones whose last listed change left summer time for good: the gap or fold of that
// change still belongs to the listed transitions, the years after to the footer.
TEST(ZoneRulesAfterTheFile, ZonesThatLeftSummerTimeAgreeAroundTheirLastChange) {
  for (const char* name : {"America/Whitehorse", "Asia/Amman", "Asia/Damascus", "America/Mexico_City"}) {
    const std::vector<Span> spans = {{2019, 2023}, {2040, 2040}};
    const LocalCounts counts = compareLocalToUt(name, spans, true, "存在しない時刻");
    EXPECT_GT(counts.gaps + counts.folds, 0) << name;
    EXPECT_FALSE(compareUtToLocal(name, spans).empty());
  }
}

TEST(ZoneFileTail, ReadsTheFooterAndTheLastTransition) {
  std::ifstream file("/usr/share/zoneinfo/America/New_York", std::ios::binary);
  const std::string bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
  const std::optional<ZoneFileTail> tail = readZoneFileTail(bytes);
  ASSERT_TRUE(tail.has_value());
  EXPECT_EQ(tail->rule, "EST5EDT,M3.2.0,M11.1.0");
  // The last transition glibc reports is the same instant: the offset changes there.
  const GlibcZone reference("America/New_York");
  EXPECT_NE(reference.offsetAt(tail->lastTransition - 1), reference.offsetAt(tail->lastTransition));
  EXPECT_GE(calendarOf(tail->lastTransition).tm_year + 1900, 2007);

  for (std::size_t cut : {std::size_t{0}, std::size_t{4}, std::size_t{44}, std::size_t{100}, bytes.size() - 1}) {
    EXPECT_FALSE(readZoneFileTail(bytes.substr(0, cut)).has_value()) << cut;
  }
  std::string versionOne = bytes;
  versionOne[4] = '\0';
  EXPECT_FALSE(readZoneFileTail(versionOne).has_value());
}

}  // namespace
}  // namespace tenmirel::sky
