// The night's calendar against what users and catalogues put in it: rows that share
// a name, names with control characters, and minutes around that round to nothing.
#include <libical/ical.h>

#include <fstream>
#include <map>
#include <set>

#include "night_fixture.h"
#include "sky/event_calendar_texts.h"

namespace tenmirel {
namespace {

using testing::runCli;
using NightCommand = testing::NightCommand;

struct CalendarEvent {
  std::string uid, summary;
  long long start, end;
};

std::vector<CalendarEvent> readCalendar(const std::string& text) {
  std::vector<CalendarEvent> events;
  icalcomponent* calendar = icalparser_parse_string(text.c_str());
  EXPECT_NE(calendar, nullptr);
  if (calendar == nullptr) return events;
  for (icalcomponent* event = icalcomponent_get_first_component(calendar, ICAL_VEVENT_COMPONENT); event != nullptr;
       event = icalcomponent_get_next_component(calendar, ICAL_VEVENT_COMPONENT)) {
    events.push_back({icalcomponent_get_uid(event), icalcomponent_get_summary(event),
                      static_cast<long long>(icaltime_as_timet(icalcomponent_get_dtstart(event))),
                      static_cast<long long>(icaltime_as_timet(icalcomponent_get_dtend(event)))});
  }
  icalcomponent_free(calendar);
  return events;
}

std::string writeCatalogue(const testing::TempDir& dir, const char* name, const std::vector<StarRecord>& rows) {
  const std::string path = (dir.path() / name).string();
  std::ofstream(path, std::ios::binary) << testing::vsdText(rows);
  return path;
}

testing::CliRun calendarOf(const std::string& catalogue, std::vector<std::string> more = {}) {
  std::vector<std::string> args = {"night", "--catalogue", catalogue, "--date",   "2026-12-07", "--min-altitude",
                                   "-90",   "--window",    "clock",   "--format", "ics"};
  args.insert(args.end(), more.begin(), more.end());
  return runCli(args);
}

// A "Min I" and a "Min II" row of one eclipsing binary: one name, epochs half a period apart.
const StarRecord kMinimumOne = testing::elementsStar("EW Dup", "2460000.1", "0.4");
const StarRecord kMinimumTwo = testing::elementsStar("EW Dup", "2460000.3", "0.4");
const StarRecord kOther = testing::elementsStar("Other", "2460000.15", "0.4");

TEST_F(NightCommand, RowsOfOneNameKeepApartUidsThatStayFromPlanToPlan) {
  const std::string both = writeCatalogue(dir, "both.vsd", {kMinimumOne, kMinimumTwo});
  const testing::CliRun run = calendarOf(both);
  ASSERT_EQ(run.status, 0) << run.err;
  const std::vector<CalendarEvent> events = readCalendar(run.out);
  ASSERT_GE(events.size(), 4u);
  std::set<std::string> uids;
  for (const CalendarEvent& event : events) uids.insert(event.uid);
  EXPECT_EQ(uids.size(), events.size());

  // Another catalogue with the same rows among others, and another site: the same UIDs.
  const std::string more = writeCatalogue(dir, "more.vsd", {kOther, kMinimumTwo, kMinimumOne});
  const testing::CliRun again = calendarOf(more, {"--lon", "14.4", "--lat", "50.1", "--tz", "UTC+09:00"});
  ASSERT_EQ(again.status, 0) << again.err;
  std::map<std::string, long long> startByUid;
  for (const CalendarEvent& event : readCalendar(again.out)) startByUid[event.uid] = event.start;
  for (const CalendarEvent& event : events) {
    ASSERT_EQ(startByUid.count(event.uid), 1u) << event.summary;
    EXPECT_EQ(startByUid[event.uid], event.start) << event.summary;
  }
}

TEST(EventUid, RowCycleAndKindEachCount) {
  sky::NightEvent event;
  event.name = "EW Dup";
  event.epochText = "2460000.1";
  event.periodText = "0.4";
  event.cycle = 12;
  event.kind = sky::EventKind::extremum;
  const std::string plain = sky::eventUid(event);
  std::set<std::string> byKind;
  for (const sky::EventKind kind :
       {sky::EventKind::primary, sky::EventKind::secondary, sky::EventKind::maximum, sky::EventKind::extremum}) {
    sky::NightEvent ofKind = event;
    ofKind.kind = kind;
    byKind.insert(sky::eventUid(ofKind));
  }
  EXPECT_EQ(byKind.size(), 4u);
  for (auto change :
       {+[](sky::NightEvent& e) { e.epochText = "2460000.10"; }, +[](sky::NightEvent& e) { e.periodText = "0.40"; },
        +[](sky::NightEvent& e) { e.cycle = 13; }, +[](sky::NightEvent& e) { e.name = "EW Dup "; }}) {
    sky::NightEvent changed = event;
    change(changed);
    EXPECT_NE(sky::eventUid(changed), plain);
  }
}

TEST_F(NightCommand, ControlCharactersNeverReachTheCalendar) {
  using namespace std::string_literals;
  const std::vector<std::string> names = {"\x1b[31mRed\x1b[0m"s, "Bell\a"s, "Vertical\vTab"s, "Nul\0Cut"s,
                                          "C1\xc2\x9b"s};
  std::vector<StarRecord> rows;
  for (const std::string& name : names) rows.push_back(testing::elementsStar(name, "2460000.1", "0.4"));
  const testing::CliRun run = calendarOf(writeCatalogue(dir, "controls.vsd", rows));
  ASSERT_EQ(run.status, 0) << run.err;
  for (std::size_t i = 0; i < run.out.size(); ++i) {
    const auto byte = static_cast<unsigned char>(run.out[i]);
    ASSERT_FALSE((byte < 0x20 && byte != '\r' && byte != '\n') || byte == 0x7f) << "byte " << int(byte) << " at " << i;
  }
  EXPECT_EQ(run.out.find("\xc2\x9b"), std::string::npos);
  std::set<std::string> summaries;
  for (const CalendarEvent& event : readCalendar(run.out))
    summaries.insert(event.summary.substr(0, event.summary.find(" 第")));
  const std::string r = "\xEF\xBF\xBD";
  EXPECT_EQ(summaries, (std::set<std::string>{r + "[31mRed" + r + "[0m", "Bell" + r, "Vertical" + r + "Tab",
                                              "Nul" + r + "Cut", "C1" + r}));
}

TEST_F(NightCommand, EveryCalendarEventLastsAtLeastAMinute) {
  const std::string catalogue = writeCatalogue(dir, "one.vsd", {kMinimumOne});
  for (const char* around : {"0.001", "0.2", "0.49", "0.5", "3"}) {
    const testing::CliRun run = calendarOf(catalogue, {"--around", around});
    ASSERT_EQ(run.status, 0) << run.err;
    const std::vector<CalendarEvent> events = readCalendar(run.out);
    ASSERT_FALSE(events.empty()) << around;
    for (const CalendarEvent& event : events) EXPECT_GE(event.end - event.start, 60) << around;
  }
}

}  // namespace
}  // namespace tenmirel
