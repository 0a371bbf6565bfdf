// Today's list over 1001 real stars (GCVS elements), checked against a scan of
// every cycle of every star around the observing night.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <optional>

#include "astro/julian_day.h"
#include "common/number_text.h"
#include "lists/list_fixture.h"
#include "lists/list_texts.h"
#include "lists/today_list.h"
#include "sheet/recording_component.h"

namespace tenmirel {
namespace {

struct CalendarDate {
  int year, month, day;
};

// The night of 2026-12-07: from 07:00 on the 7th up to 06:59 on the 8th.
constexpr CalendarDate kReference{2026, 12, 7};
constexpr CalendarDate kNextDay{2026, 12, 8};

double localJulianDay(const CalendarDate& date, double hour) {
  return js(date.year, date.month, date.day, hour - kLocalHoursAheadOfUt, 0);
}

bool on(const LocalMinute& minute, const CalendarDate& date) {
  return minute.year == date.year && minute.month == date.month && minute.day == date.day;
}

bool inTheNight(const LocalMinute& minute) {
  return (on(minute, kReference) && minute.hour >= kFirstNightHour) ||
         (on(minute, kNextDay) && minute.hour <= kLastMorningHour);
}

LocalMinute localMinuteOf(double julianDay) { return sj(julianDay); }

// The row a star's extremum gets, written straight from its local minute.
TimeTexts rowOf(const LocalMinute& minute) {
  const bool late = on(minute, kNextDay);
  return timeTexts(std::to_string(kReference.year), std::to_string(kReference.month), std::to_string(kReference.day),
                   std::to_string(minute.hour + (late ? kHoursPerDay : 0)), std::to_string(minute.minute));
}

// Every cycle from before the night to after it, the earliest inside it.
std::optional<LocalMinute> firstExtremumOfTheNight(double epoch, double period) {
  const double nightStart = localJulianDay(kReference, kFirstNightHour);
  const double nightEnd = localJulianDay(kNextDay, kFirstNightHour);
  for (double cycle = std::floor((nightStart - epoch) / period) - 1; cycle * period + epoch < nightEnd + period;
       ++cycle) {
    const LocalMinute minute = localMinuteOf(cycle * period + epoch);
    if (inTheNight(minute)) return minute;
  }
  return std::nullopt;
}

// The rule the list followed before: only the first extremum after 00:00 counts.
bool firstAfterMidnightIsInTheNight(double epoch, double period) {
  const double midnight = localJulianDay(kReference, 0);
  const double cycle = std::floor((midnight - epoch) / period) + 1;
  return inTheNight(localMinuteOf(cycle * period + epoch));
}

class TodayListCatalogueTest : public ::testing::Test, public testing::ListFixture {
 public:
  void SetUp() override {
    chooser.answers.push_back((testing::sourceDir() / "tests" / "data" / "gcvs-1001.vsd").string());
    form.Command1_Click();
    ASSERT_EQ(form.starCount, kStarTableRows);
    setReference("2026", "12", "7", "21", "0");
  }
  testing::RecordingComponent sheet;
  TodayList list{form, gate, SheetOutput{sheet}};
};

TEST_F(TodayListCatalogueTest, EveryStarWithAnExtremumTonightIsListedAtItsFirstOne) {
  std::vector<std::string> names;
  std::vector<TimeTexts> rows;
  int listedByTheOldRule = 0;
  for (int i = 0; i < form.starCount; ++i) {
    const double epoch = parseLenient(form.starTable[i].ganki);
    const double period = parseLenient(form.starTable[i].syuki);
    if (const auto first = firstExtremumOfTheNight(epoch, period)) {
      names.push_back(form.starTable[i].starName);
      rows.push_back(rowOf(*first));
    }
    if (firstAfterMidnightIsInTheNight(epoch, period)) ++listedByTheOldRule;
  }
  list.mnuExcelToday_Click();

  // The scan finds 549 stars with an extremum tonight; the first extremum after
  // 00:00 alone would have listed 239 of them.
  EXPECT_EQ(names.size(), 549u);
  EXPECT_EQ(listedByTheOldRule, 239);
  ASSERT_EQ(list.buffers.todayCount, static_cast<int>(names.size()));
  for (std::size_t r = 0; r < names.size(); ++r) {
    SCOPED_TRACE(names[r]);
    EXPECT_EQ(list.buffers.todayName[r], names[r]);
    EXPECT_EQ(list.buffers.todayTime[r], rows[r]);
  }
  EXPECT_EQ(boxes.shown, std::vector<std::string>{kTodayListDoneMessage});
}

TEST_F(TodayListCatalogueTest, ShortPeriodStarsTheOldRuleDroppedAreListed) {
  // Real stars whose first extremum after 00:00 falls before 07:00.
  struct Case {
    const char* name;
    TimeTexts row;
  };
  const std::vector<Case> cases = {
      {"RT And", {"2026年", "12月", "  7日", "20時", "14分"}},   // EA/RS, 0.629 d
      {"SW And", {"2026年", "12月", "  7日", "16時", "15分"}},   // RR Lyrae, 0.442 d
      {"AB And", {"2026年", "12月", "  7日", "  8時", "14分"}},  // W UMa, 0.332 d
      {"GP And", {"2026年", "12月", "  7日", "  7時", "15分"}},  // delta Scuti, 0.0787 d: many cycles on
      {"AA And", {"2026年", "12月", "  7日", "27時", "43分"}},   // 0.935 d: after midnight
  };
  list.mnuExcelToday_Click();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const auto at =
        std::find(list.buffers.todayName.begin(), list.buffers.todayName.begin() + list.buffers.todayCount, c.name);
    ASSERT_NE(at, list.buffers.todayName.begin() + list.buffers.todayCount);
    EXPECT_EQ(list.buffers.todayTime[static_cast<std::size_t>(at - list.buffers.todayName.begin())], c.row);
  }
}

}  // namespace
}  // namespace tenmirel
