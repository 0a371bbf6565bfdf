// The built-in site's clock night gives, for every star and cycle, the same local
// minute and Julian day as the main window's "予報開始" and "次の回帰の予報".
#include <map>
#include <sstream>
#include <tuple>

#include "cli/catalogue_option.h"
#include "common/number_text.h"
#include "night_fixture.h"
#include "sky/site.h"

namespace tenmirel {
namespace {

std::string twoDigits(const std::string& text) { return text.size() == 1 ? "0" + text : text; }

using Extremum = std::tuple<std::string, long long>;  // star, cycle
struct Shown {
  std::string localMinute;  // "2026-12-07T21:34"
  std::string julianDay;    // as the window's result label shows it
  friend bool operator==(const Shown&, const Shown&) = default;
};

// Every extremum of every star from 07:00 of the date to 06:59 of the next day, as
// the main window steps through them.
std::map<Extremum, Shown> throughTheMainWindow(const std::string& catalogue, const cli::DateTimeTexts& date,
                                               const std::string& endKey) {
  std::ostringstream messages;
  cli::FormSession session(messages);
  FrmYohouModel& form = session.form;
  form.Form_Load(std::chrono::system_clock::now());
  std::string error;
  EXPECT_TRUE(cli::loadCatalogue(session, catalogue, error)) << error;
  std::map<Extremum, Shown> found;
  for (int star = 0; star < form.starCount; ++star) {
    form.setCombo1ListIndex(star);
    form.typeReference(date);
    for (bool first = true;; first = false) {
      if (!(first ? form.Command2_Click() : form.Command3_Click())) break;
      const std::string key = form.txtOutputYear + "-" + twoDigits(form.txtOutputMonth) + "-" +
                              twoDigits(form.txtOutputDay) + "T" + twoDigits(form.txtOutputHour) + ":" +
                              twoDigits(form.txtOutputMin);
      if (key >= endKey) break;
      found[{form.combo1Text(), std::stoll(form.txtOutputKaiki)}] = {key, form.lblJulKekka};
    }
  }
  return found;
}

struct AgreementNight {
  const char* date;
  cli::DateTimeTexts reference;
  const char* endKey;
};

class ClockNightAgreement : public testing::NightCommand, public ::testing::WithParamInterface<AgreementNight> {};

TEST_P(ClockNightAgreement, SameCycleSameLocalMinuteAsTheMainWindow) {
  const testing::NightJson night = testing::nightJson(
      {"--catalogue", testing::samplePath(), "--date", GetParam().date, "--window", "clock", "--min-altitude", "-90"});
  ASSERT_EQ(night.run.status, 0) << night.run.err;
  EXPECT_EQ(night.json["night"]["site"]["name"], sky::kBuiltInSiteName);
  EXPECT_EQ(night.json["hidden_events"], 0);
  std::map<Extremum, Shown> planned;
  for (const auto& event : night.json["events"]) {
    const std::string iso = event["local_time"];
    EXPECT_EQ(iso.substr(16), "+09:00");
    planned[{event["star"], event["cycle"]}] = {iso.substr(0, 16), numberToText(event["jd"].get<double>())};
  }
  const std::map<Extremum, Shown> window =
      throughTheMainWindow(testing::samplePath(), GetParam().reference, GetParam().endKey);
  EXPECT_GT(window.size(), 10u);
  EXPECT_EQ(planned.size(), window.size());
  for (const auto& [extremum, shown] : window) {
    const auto found = planned.find(extremum);
    ASSERT_NE(found, planned.end()) << std::get<0>(extremum) << " cycle " << std::get<1>(extremum);
    EXPECT_EQ(found->second, shown) << std::get<0>(extremum) << " cycle " << std::get<1>(extremum) << ": "
                                    << found->second.localMinute << " / " << shown.localMinute;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Night, ClockNightAgreement,
    ::testing::Values(AgreementNight{"2026-12-07", {"2026", "12", "7", "7", "0"}, "2026-12-08T07:00"},
                      AgreementNight{"2027-06-15", {"2027", "6", "15", "7", "0"}, "2027-06-16T07:00"},
                      AgreementNight{"2024-02-29", {"2024", "2", "29", "7", "0"}, "2024-03-01T07:00"}),
    [](const auto& info) {
      std::string name = info.param.date;
      name.erase(std::remove(name.begin(), name.end(), '-'), name.end());
      return "Night" + name;
    });

}  // namespace
}  // namespace tenmirel
