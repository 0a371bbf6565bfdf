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

TEST(ZoneRulesAfterTheFile, UtToLocalAgreesWithGlibc) {
  for (const char* name : kZones) {
    const SiteZone zone = SiteZone::fromText(name).value();
    const GlibcZone reference(name);
    std::set<long> offsetsSeen;
    for (const Span& span : kSpans) {
      for (std::int64_t t = yearStart(span.firstYear); t < yearStart(span.lastYear + 1); t += 3600) {
        const long expected = reference.offsetAt(t);
        offsetsSeen.insert(expected);
        const double julianDay = kJulianDayOfUnixEpoch + static_cast<double>(t) / kSecondsPerDay;
        ASSERT_EQ(zone.offsetAtUt(julianDay).seconds, expected) << name << " at " << t;
      }
    }
    EXPECT_EQ(offsetsSeen.size(), 2u) << name << ": the reference should show summer time";
  }
}

TEST(ZoneRulesAfterTheFile, LocalToUtAgreesWithGlibcGapsAndFoldsIncluded) {
  for (const char* name : kZones) {
    const SiteZone zone = SiteZone::fromText(name).value();
    const GlibcZone reference(name);
    int gaps = 0;
    int folds = 0;
    for (const Span& span : kSpans) {
      std::int64_t step = 0;
      for (std::int64_t local = yearStart(span.firstYear); local < yearStart(span.lastYear + 1); local += step) {
        const std::tm parts = calendarOf(local);
        // Every half hour in the months of changes, every three hours between.
        const bool changeMonth = parts.tm_mon + 1 == 3 || parts.tm_mon + 1 == 4 || parts.tm_mon + 1 >= 9;
        step = changeMonth ? 1800 : 10800;
        const Checked<double> ut = zone.localToUt(parts.tm_year + 1900, parts.tm_mon + 1, parts.tm_mday,
                                                  parts.tm_hour, parts.tm_min);
        const std::set<std::int64_t> instants = reference.instantsOf(local);
        if (instants.empty()) {
          ++gaps;
          ASSERT_FALSE(ut.ok()) << name << " local " << local;
          EXPECT_NE(ut.message().find("夏時間への切り替えで存在しない時刻"), std::string::npos) << ut.message();
          continue;
        }
        folds += instants.size() > 1;
        ASSERT_TRUE(ut.ok()) << name << " local " << local << ": " << ut.message();
        ASSERT_EQ(secondsOf(*ut), *instants.begin()) << name << " local " << local;
      }
    }
    EXPECT_GT(gaps, 0) << name;
    EXPECT_GT(folds, 0) << name;
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
