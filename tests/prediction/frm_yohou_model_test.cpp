#include "prediction/frm_yohou_model.h"

#include <gtest/gtest.h>

#include <array>
#include <chrono>

#include "prediction/prediction_uncertainty.h"
#include "support/recording_ports.h"

namespace tenmirel {
namespace {

using testing::RecordingCheckWindow;
using testing::RecordingMessages;
using testing::ScriptedChooser;

class FrmYohouModelTest : public ::testing::Test {
 protected:
  FrmYohouModelTest() : form(messages, checkWindow, chooser) {
    form.Form_Load(std::chrono::system_clock::time_point{});
  }

  void reference(const char* year, const char* month, const char* day, const char* hour, const char* minute) {
    form.typeReference({year, month, day, hour, minute});
  }

  void manualElements(const char* epoch, const char* period) {
    form.setCombo1ListIndex(form.starCount);
    form.txtGanki = epoch;
    form.txtSyuki = period;
  }

  // Puts one star into the table and the selector, as a load would.
  void catalogueOf(const StarRecord& star) { form.useCatalogue({star}); }

  std::array<std::string, 10> outputs() const {
    return {form.txtOutputYear,  form.txtOutputMonth, form.txtOutputDay, form.txtOutputHour, form.txtOutputMin,
            form.txtOutputKoudo, form.txtOutputKaiki, form.lblJulKijun,  form.lblJulKekka,   form.calc.lblH};
  }

  std::array<std::string, 5> shownTime() const {
    return {form.txtOutputYear, form.txtOutputMonth, form.txtOutputDay, form.txtOutputHour, form.txtOutputMin};
  }

  RecordingMessages messages;
  RecordingCheckWindow checkWindow;
  ScriptedChooser chooser;
  FrmYohouModel form;
};

using Time = std::array<std::string, 5>;

TEST_F(FrmYohouModelTest, StartsWithOnlyTheManualEntryAndNothingSelected) {
  EXPECT_EQ(form.combo1Items, std::vector<std::string>{"手動入力"});
  EXPECT_EQ(form.combo1ListIndex(), -1);
  EXPECT_EQ(form.starCount, 0);
  EXPECT_EQ(form.caption, "Tenmirel");
  EXPECT_FALSE(form.Command2_Click());
  EXPECT_EQ(messages.shown, std::vector<std::string>{"変光星を選択してください"});
}

TEST(FormLoad, FillsTheReferenceWithTheSitesLocalTime) {
  using namespace std::chrono;
  struct Case {
    sys_days day;
    minutes time;
    std::array<const char*, 5> expected;
  };
  const Case cases[] = {
      {2026y / December / 7, hours(4) + minutes(47), {"2026", "12", "7", "13", "47"}},
      {2026y / December / 31, hours(15) + minutes(30), {"2027", "1", "1", "0", "30"}},  // UT evening is tomorrow
      {2024y / February / 28, hours(23) + minutes(5), {"2024", "2", "29", "8", "5"}},
      {2000y / January / 1, minutes(0), {"2000", "1", "1", "9", "0"}},
  };
  for (const Case& c : cases) {
    RecordingMessages messages;
    RecordingCheckWindow checkWindow;
    ScriptedChooser chooser;
    FrmYohouModel form(messages, checkWindow, chooser);
    form.Form_Load(c.day + c.time + seconds(59));
    EXPECT_EQ(form.txtInputYear, c.expected[0]);
    EXPECT_EQ(form.txtInputMonth, c.expected[1]);
    EXPECT_EQ(form.txtInputDay, c.expected[2]);
    EXPECT_EQ(form.txtInputHour, c.expected[3]);
    EXPECT_EQ(form.txtInputMin, c.expected[4]);
  }
}

TEST_F(FrmYohouModelTest, WorkedExampleOfThePredictionStart) {
  manualElements("2451545.0", "1.5");
  reference("2000", "1", "2", "9", "0");
  ASSERT_TRUE(form.Command2_Click());
  EXPECT_EQ(form.lblJulKijun, "2451545.5");
  EXPECT_EQ(form.txtOutputKaiki, "1");
  EXPECT_EQ(form.lblJulKekka, "2451546.5");
  EXPECT_EQ(shownTime(), (Time{"2000", "1", "3", "9", "0"}));
  EXPECT_EQ(form.txtOutputKoudo, "？？？");
  EXPECT_TRUE(messages.shown.empty());

  // A reference exactly on an extremum gives the next one.
  reference("2000", "1", "3", "9", "0");
  ASSERT_TRUE(form.Command2_Click());
  EXPECT_EQ(form.txtOutputKaiki, "2");
  EXPECT_EQ(form.lblJulKekka, "2451548");
  EXPECT_EQ(shownTime(), (Time{"2000", "1", "4", "21", "0"}));
}

TEST_F(FrmYohouModelTest, WorkedExampleOfTheNextCycle) {
  manualElements("2451545.0", "1.5");
  reference("2000", "1", "2", "9", "0");
  ASSERT_TRUE(form.Command2_Click());
  ASSERT_TRUE(form.Command3_Click());
  EXPECT_EQ(form.txtOutputKaiki, "2");
  EXPECT_EQ(form.lblJulKekka, "2451548");
  EXPECT_EQ(shownTime(), (Time{"2000", "1", "4", "21", "0"}));
  EXPECT_EQ(form.lblJulKijun, "2451545.5");
  EXPECT_EQ(form.kaiki, 2);
  EXPECT_EQ(form.julKekka, 2451548);
}

TEST_F(FrmYohouModelTest, ReferenceBeforeTheEpochGivesANegativeCycle) {
  manualElements("2451545.5", "1");
  reference("1999", "12", "30", "21", "0");  // 2.5 periods before the epoch
  ASSERT_TRUE(form.Command2_Click());
  EXPECT_EQ(form.lblJulKijun, "2451543");
  EXPECT_EQ(form.txtOutputKaiki, "-2");
  EXPECT_EQ(form.lblJulKekka, "2451543.5");
}

TEST_F(FrmYohouModelTest, EarlyLocalHoursFallOnThePreviousUtDay) {
  manualElements("2451545.0", "1.5");
  reference("2000", "1", "2", "5", "0");
  ASSERT_TRUE(form.Command2_Click());
  EXPECT_EQ(form.lblJulKijun, "2451545.33333333");
  EXPECT_EQ(form.txtOutputKaiki, "1");
}

TEST_F(FrmYohouModelTest, InputsAreParsedLenientlyWithoutRangeChecks) {
  manualElements(" 2451545 .0", "1.5 days");
  reference("2000", "1", "1", "33", "0");  // hour 33 is 09:00 the next day
  ASSERT_TRUE(form.Command2_Click());
  EXPECT_EQ(form.lblJulKijun, "2451545.5");
  EXPECT_EQ(form.lblJulKekka, "2451546.5");
}

TEST_F(FrmYohouModelTest, RefusalsShowOneMessageAndChangeNothing) {
  struct Case {
    const char* name;
    int selection;  // -1 none, 0 the manual entry
    const char* epoch;
    const char* period;
    const char* message;
  };
  const Case cases[] = {
      {"no entry, even with empty elements", -1, "", "", "変光星を選択してください"},
      {"period empty", 0, "2451545", "", "元期と周期を入力してください"},
      {"epoch empty", 0, "", "1.5", "元期と周期を入力してください"},
      {"period of blanks parses as zero", 0, "2451545", "   ", kZeroPeriodMessage},
      {"period of letters parses as zero", 0, "2451545", "abc", kZeroPeriodMessage},
      {"period zero", 0, "2451545", "0.000", kZeroPeriodMessage},
      {"epoch beyond the double range", 0, "1E999", "1.5", kNotFiniteMessage},
      {"period beyond the double range", 0, "2451545", "-1E999", kNotFiniteMessage},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    manualElements("2451545.0", "1.5");
    reference("2000", "1", "2", "9", "0");
    ASSERT_TRUE(form.Command2_Click());
    const auto before = outputs();
    messages.shown.clear();
    form.setCombo1ListIndex(c.selection);
    form.txtGanki = c.epoch;
    form.txtSyuki = c.period;
    EXPECT_FALSE(form.Command2_Click());
    EXPECT_EQ(messages.shown, std::vector<std::string>{c.message});
    EXPECT_EQ(outputs(), before);
  }
}

TEST_F(FrmYohouModelTest, AReferenceTooFarAwayIsRefusedNotShownAsGarbage) {
  manualElements("2451545", "1e-310");
  reference("2000", "1", "2", "9", "0");
  EXPECT_FALSE(form.Command2_Click());  // the cycle number overflows
  EXPECT_EQ(messages.shown, std::vector<std::string>{kNotFiniteMessage});
  EXPECT_EQ(form.txtOutputKaiki, "");
}

TEST_F(FrmYohouModelTest, ATypedCycleThatOverflowsIsRefusedByTheNextCycle) {
  manualElements("2451545.0", "10");
  form.txtOutputKaiki = "1.7E+308";
  EXPECT_FALSE(form.Command3_Click());
  EXPECT_EQ(messages.shown, std::vector<std::string>{kNotFiniteMessage});
  EXPECT_EQ(form.txtOutputKaiki, "1.7E+308");
  EXPECT_EQ(form.lblJulKekka, "");
}

TEST_F(FrmYohouModelTest, HugeJulianDaysOfACatalogedStarAreRefusedBeforeTheSiderealTermsOverflow) {
  catalogueOf({"Big", "1E200", "1E190", "0", "0", "", "0", "0", ""});
  reference("2000", "1", "2", "9", "0");
  EXPECT_FALSE(form.Command2_Click());
  EXPECT_EQ(messages.shown, std::vector<std::string>{kNotFiniteMessage});
  EXPECT_EQ(form.txtOutputKoudo, "");
  EXPECT_EQ(form.calc.lblTu[0], "");
}

TEST_F(FrmYohouModelTest, PlainlyWrongAnswersAreRefusedAndChangeNothing) {
  struct Case {
    const char* name;
    const char* epoch;
    const char* period;
    std::array<const char*, 5> reference;  // local year, month, day, hour, minute
    const char* message;
    PredictionRefusal why;
  };
  const Case cases[] = {
      {"negative period",
       "2451545",
       "-1.5",
       {"2000", "1", "2", "9", "0"},
       kNegativePeriodMessage,
       PredictionRefusal::kNegativePeriod},
      {"reference in 3001",
       "2451545",
       "1.5",
       {"3001", "1", "1", "9", "0"},
       kOutsideCalendarMessage,
       PredictionRefusal::kOutsideCalendar},
      {"reference in 9999",
       "2451545",
       "1.5",
       {"9999", "6", "1", "9", "0"},
       kOutsideCalendarMessage,
       PredictionRefusal::kOutsideCalendar},
      {"reference in year 0",
       "2451545",
       "1.5",
       {"0", "6", "1", "9", "0"},
       kOutsideCalendarMessage,
       PredictionRefusal::kOutsideCalendar},
      {"extremum at local 3001-01-01 00:00",
       "2817152.125",
       "1000",
       {"3000", "12", "31", "23", "0"},
       kOutsideCalendarMessage,
       PredictionRefusal::kOutsideCalendar},
      {"epoch of 1e20 cancels every digit",
       "1e20",
       "1.5",
       {"2000", "1", "2", "9", "0"},
       kNotFiniteMessage,
       PredictionRefusal::kTooLarge},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    manualElements("2451545.0", "1.5");
    reference("2000", "1", "2", "9", "0");
    ASSERT_TRUE(form.Command2_Click());
    const auto before = outputs();
    messages.shown.clear();
    form.txtGanki = c.epoch;
    form.txtSyuki = c.period;
    reference(c.reference[0], c.reference[1], c.reference[2], c.reference[3], c.reference[4]);
    EXPECT_FALSE(form.Command2_Click());
    EXPECT_EQ(messages.shown, std::vector<std::string>{c.message});
    EXPECT_EQ(form.lastRefusal(), c.why);
    EXPECT_EQ(outputs(), before);
  }
}

TEST_F(FrmYohouModelTest, TheEdgesOfTheCalendarAreStillAnswered) {
  // The last whole minute of 3000 and the first of 1600, both local time.
  manualElements("2817152.12", "1000");  // 7.2 minutes before local 3001-01-01 00:00
  reference("3000", "12", "31", "23", "0");
  ASSERT_TRUE(form.Command2_Click()) << (messages.shown.empty() ? "" : messages.shown[0]);
  EXPECT_EQ(shownTime(), (Time{"3000", "12", "31", "23", "52"}));
  form.txtGanki = "2305447.125";  // local 1600-01-01 00:00
  reference("1599", "12", "31", "23", "0");
  ASSERT_TRUE(form.Command2_Click()) << (messages.shown.empty() ? "" : messages.shown[0]);
  EXPECT_EQ(shownTime(), (Time{"1600", "1", "1", "0", "0"}));
  EXPECT_EQ(form.lastRefusal(), PredictionRefusal::kNone);
}

TEST_F(FrmYohouModelTest, RoundingOntoTheReferenceItselfIsNotRefused) {
  // (reference - epoch) / period comes out just under 1: cycle 1 falls on the reference.
  manualElements("2451544.825", "0.3");
  reference("2000", "1", "2", "0", "0");
  ASSERT_TRUE(form.Command2_Click()) << (messages.shown.empty() ? "" : messages.shown[0]);
  EXPECT_EQ(form.lblJulKekka, form.lblJulKijun);
  EXPECT_EQ(shownTime(), (Time{"2000", "1", "2", "0", "0"}));
}

TEST_F(FrmYohouModelTest, NextCycleRefusesANegativePeriodAndTheEndOfTheCalendar) {
  manualElements("2451545", "-2");
  form.txtOutputKaiki = "3";
  EXPECT_FALSE(form.Command3_Click());
  form.txtSyuki = "100000";
  EXPECT_FALSE(form.Command3_Click());  // cycle 4: JD 2851545, in the year 3094
  EXPECT_EQ(messages.shown, (std::vector<std::string>{kNegativePeriodMessage, kOutsideCalendarMessage}));
  EXPECT_EQ(form.txtOutputKaiki, "3");
  EXPECT_EQ(form.lblJulKekka, "");
}

TEST_F(FrmYohouModelTest, NextCycleStepsTheNumberOnDisplay) {
  struct Case {
    const char* cycleText;
    const char* nextCycle;
    const char* julianDay;  // epoch 2451545, period 2
  };
  const Case cases[] = {
      {"abc", "1", "2451547"},    // not a number counts as 0
      {"2.5", "3.5", "2451552"},  // a fractional cycle is stepped by exactly 1
      {"-10", "-9", "2451527"},   // a typed cycle is honoured
      {" 7 ", "8", "2451561"},
  };
  for (const Case& c : cases) {
    manualElements("2451545", "2");
    form.txtOutputKaiki = c.cycleText;
    ASSERT_TRUE(form.Command3_Click());
    EXPECT_EQ(form.txtOutputKaiki, c.nextCycle);
    EXPECT_EQ(form.lblJulKekka, c.julianDay);
    EXPECT_EQ(form.lblJulKijun, "");  // the reference is left alone
  }
}

TEST_F(FrmYohouModelTest, NextCycleWithAnEmptyCycleBoxIsAPredictionStart) {
  manualElements("2451545.0", "1.5");
  reference("2000", "1", "2", "9", "0");
  ASSERT_TRUE(form.Command3_Click());
  EXPECT_EQ(form.lblJulKijun, "2451545.5");
  EXPECT_EQ(form.txtOutputKaiki, "1");
  EXPECT_EQ(form.lblJulKekka, "2451546.5");
}

TEST_F(FrmYohouModelTest, NextCycleChecksSelectionThenElements) {
  EXPECT_FALSE(form.Command3_Click());
  manualElements("2451545", "");
  form.txtOutputKaiki = "3";
  EXPECT_FALSE(form.Command3_Click());
  EXPECT_EQ(messages.shown, (std::vector<std::string>{"変光星を選択してください", "元期と周期を入力してください"}));
  EXPECT_EQ(form.txtOutputKaiki, "3");
}

TEST_F(FrmYohouModelTest, NextCycleWithAZeroPeriodGivesTheEpochItself) {
  manualElements("2451545.25", "0");
  form.txtOutputKaiki = "5";
  ASSERT_TRUE(form.Command3_Click());
  EXPECT_EQ(form.txtOutputKaiki, "6");
  EXPECT_EQ(form.lblJulKekka, "2451545.25");
}

TEST_F(FrmYohouModelTest, EditedPeriodCountsFromTheNextStep) {
  manualElements("2451545", "1");
  form.txtOutputKaiki = "1";
  ASSERT_TRUE(form.Command3_Click());
  EXPECT_EQ(form.lblJulKekka, "2451547");
  form.txtSyuki = "3";
  ASSERT_TRUE(form.Command3_Click());
  EXPECT_EQ(form.lblJulKekka, "2451554");
}

TEST_F(FrmYohouModelTest, CatalogedStarCarriesCoordinatesAndTheExactAltitude) {
  // 5h 55m, +7° 24′ and an extremum at JD 2451545.2: the altitude worked example.
  catalogueOf({"Example", "2451545.2", "1", "5", "55", "True", "7", "24", "memo"});
  EXPECT_EQ(form.txtGanki, "2451545.2");
  EXPECT_EQ(form.lblMemo, "memo");
  reference("2000", "1", "1", "9", "0");
  ASSERT_TRUE(form.Command2_Click());
  EXPECT_EQ(form.alpha, 88.75);
  EXPECT_EQ(form.delta, 7.4);
  EXPECT_EQ(form.txtOutputKaiki, "0");
  EXPECT_EQ(form.lblJulKekka, "2451545.2");
  EXPECT_EQ(form.calc.lblS[4], "31597.7874733396");
  EXPECT_EQ(form.calc.lblSinh[5], "0.668868412421965");
  EXPECT_EQ(form.txtOutputKoudo, "41.9797883471278");
}

TEST_F(FrmYohouModelTest, DeclinationSignIsSouthOnlyForExactlyFalse) {
  struct Case {
    const char* sign;
    double delta;
  };
  for (const Case& c : {Case{"False", -0.5}, Case{"false", 0.5}, Case{"FALSE", 0.5}, Case{"", 0.5}, Case{"True", 0.5},
                        Case{"False ", 0.5}}) {
    catalogueOf({"Star", "2451545", "1", "5", "30", c.sign, "0", "30", ""});
    ASSERT_TRUE(form.Command2_Click());
    EXPECT_EQ(form.alpha, 82.5);
    EXPECT_EQ(form.delta, c.delta) << '"' << c.sign << '"';
  }
}

TEST_F(FrmYohouModelTest, ManualEntryHasNoCoordinates) {
  catalogueOf({"Star", "2451545", "1", "5", "30", "True", "10", "0", ""});
  ASSERT_TRUE(form.Command2_Click());
  EXPECT_EQ(form.alpha, 82.5);
  form.setCombo1ListIndex(1);
  form.txtGanki = "2451545";
  form.txtSyuki = "1";
  ASSERT_TRUE(form.Command2_Click());
  EXPECT_EQ(form.alpha, 0);
  EXPECT_EQ(form.delta, 0);
  EXPECT_EQ(form.txtOutputKoudo, "？？？");
}

TEST_F(FrmYohouModelTest, ChoosingAStarCopiesItsTextsAndKeepsTheResults) {
  form.starTable[1] = {"Second", "2450000.5", "2.25", "18", "2", "False", "0", "30", "period uncertain"};
  catalogueOf({"First", "2451545.1234", "0.7654321", "5", "30.5", "True", "12", "15", "EA, min. 11.2"});
  form.combo1Items = {"First", "Second", kManualInputEntry};
  form.starCount = 2;
  ASSERT_TRUE(form.Command2_Click());
  const auto before = outputs();
  const double alphaBefore = form.alpha;
  form.setCombo1ListIndex(1);
  EXPECT_EQ(form.txtGanki, "2450000.5");
  EXPECT_EQ(form.txtSyuki, "2.25");
  EXPECT_EQ(form.lblMemo, "period uncertain");
  EXPECT_EQ(outputs(), before);
  EXPECT_EQ(form.alpha, alphaBefore);

  // The next cycle now uses the new elements but the old coordinates.
  ASSERT_TRUE(form.Command3_Click());
  EXPECT_EQ(form.alpha, alphaBefore);
  EXPECT_NE(form.txtOutputKoudo, "？？？");
  // And after switching to the manual entry the altitude is unknown.
  form.setCombo1ListIndex(2);
  form.txtGanki = "2450000.5";
  form.txtSyuki = "2.25";
  ASSERT_TRUE(form.Command3_Click());
  EXPECT_EQ(form.txtOutputKoudo, "？？？");
}

TEST_F(FrmYohouModelTest, ManualEntryRightAfterStartLeavesTheFieldsEmpty) {
  form.setCombo1ListIndex(0);
  EXPECT_EQ(form.txtGanki, "");
  EXPECT_EQ(form.txtSyuki, "");
  EXPECT_EQ(form.lblMemo, "");
  EXPECT_EQ(form.combo1Text(), "手動入力");
}

TEST_F(FrmYohouModelTest, ManualEntryAfterAFullCatalogueClearsTheFields) {
  form.starCount = kStarTableRows;
  form.combo1Items.assign(kStarTableRows, "star");
  form.combo1Items.emplace_back(kManualInputEntry);
  form.starTable[1000] = {"Last", "2451545", "1", "0", "0", "", "0", "0", "last memo"};
  form.setCombo1ListIndex(1000);
  EXPECT_EQ(form.lblMemo, "last memo");
  form.setCombo1ListIndex(1001);
  EXPECT_EQ(form.txtGanki, "");
  EXPECT_EQ(form.txtSyuki, "");
  EXPECT_EQ(form.lblMemo, "");
  form.txtGanki = "2451545";
  form.txtSyuki = "1";
  ASSERT_TRUE(form.Command2_Click());
  EXPECT_EQ(form.txtOutputKoudo, "？？？");
}

TEST_F(FrmYohouModelTest, CheckWindowTriggerOnTheCycleBox) {
  struct Case {
    const char* cycleText;
    bool opens;
  };
  for (const Case& c : {Case{"4.61", true}, Case{"  4.610", true}, Case{"4.61abc", true}, Case{"", false},
                        Case{"4.6", false}, Case{"4.611", false}, Case{"461E-2", true}}) {
    manualElements("2451545.0", "1.5");
    checkWindow.timesShown = 0;
    form.txtOutputKaiki = c.cycleText;
    ASSERT_TRUE(form.Command2_Click());
    EXPECT_EQ(checkWindow.timesShown, c.opens ? 1 : 0) << '"' << c.cycleText << '"';
    EXPECT_NE(form.txtOutputKaiki, c.cycleText);  // the prediction went on and replaced it
  }
}

TEST_F(FrmYohouModelTest, CheckWindowOpensEvenWithoutASelectionAndTheMessageFollows) {
  form.txtOutputKaiki = "4.61";
  EXPECT_FALSE(form.Command2_Click());
  EXPECT_EQ(checkWindow.timesShown, 1);
  EXPECT_EQ(messages.shown, std::vector<std::string>{"変光星を選択してください"});
}

TEST_F(FrmYohouModelTest, NextCycleNeverTriggersTheCheckWindow) {
  manualElements("2451545.0", "1.5");
  form.txtOutputKaiki = "4.61";
  ASSERT_TRUE(form.Command3_Click());
  EXPECT_EQ(checkWindow.timesShown, 0);
  EXPECT_EQ(form.txtOutputKaiki, "5.61");
}

TEST_F(FrmYohouModelTest, ResultsOutsideTheSearchedYearsAreRefusedNotShownWithAnEmptyYear) {
  manualElements("2000000", "1");
  reference("1500", "1", "1", "9", "0");
  EXPECT_FALSE(form.Command2_Click());
  EXPECT_EQ(messages.shown, std::vector<std::string>{kOutsideCalendarMessage});
  EXPECT_EQ(form.txtOutputYear, "");
  EXPECT_EQ(form.txtOutputMonth, "");
}

}  // namespace
}  // namespace tenmirel

namespace tenmirel {
namespace {

TEST(PredictionUncertainty, FromTheDigitsTheFlagsOrTheFit) {
  struct Case {
    const char* name;
    const char* epoch;
    const char* period;
    double cycle;
    const char* memo;
    const char* expected;
  };
  // 15800 × ½·10^-7 + ½·10^-4 days = 1.2096 min; sqrt(1e-8 + 10000² × 1e-16) days = 0.2036 min.
  const Case cases[] = {
      {"digits", "2450000.0000", "0.6289216", 15800, "EA/SD", "予報の不確かさ ±1.2 分（元期・周期の桁から）"},
      {"flagged in the memo", "2450000.0000", "0.6289216", 15800,
       "EA/SD P:", "予報の不確かさ ≥±1.2 分（要素に「:」があり、桁から見たこの値は下限）"},
      {"flagged in the text", "2450000.0000:", "0.6289216", -15800, "",
       "予報の不確かさ ≥±1.2 分（要素に「:」があり、桁から見たこの値は下限）"},
      {"four decimals, 10000 cycles", "2450000.0", "0.6289", 10000, "",
       "予報の不確かさ ±792.0 分（元期・周期の桁から）"},
      {"fitted", "2450000.0000", "0.6289216", 10000,
       "EA σE0=0.0001 σP=1e-8 P:", "予報の不確かさ ±0.2 分（当てはめた要素の誤差から）"},
      {"no number", "1e999", "0.5", 3, "", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(predictionUncertaintyText(c.epoch, c.period, c.cycle, c.memo), c.expected) << c.name;
  }
}

TEST_F(FrmYohouModelTest, TheResultsMinuteCarriesItsUncertaintyForTheTooltip) {
  catalogueOf({"RZ Cas", "2443200.3063", "1.1952499", "2", "48.9", "True", "69", "38.2", "EA/SD P:"});
  reference("2026", "12", "7", "18", "0");
  ASSERT_TRUE(form.Command2_Click());
  EXPECT_EQ(form.txtOutputMinTip.rfind("予報の不確かさ ≥±", 0), 0u) << form.txtOutputMinTip;
  manualElements("2443200.3063", "1.1952499");
  ASSERT_TRUE(form.Command2_Click());
  EXPECT_EQ(form.txtOutputMinTip.rfind("予報の不確かさ ±", 0), 0u) << form.txtOutputMinTip;
}

}  // namespace
}  // namespace tenmirel
