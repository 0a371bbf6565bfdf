#include "timing/light_curve.h"

#include <gtest/gtest.h>

#include <cmath>

namespace tenmirel::timing {
namespace {

struct ReadCase {
  const char* name;
  const char* text;
  ColumnChoice columns;
  const char* timeColumn;
  const char* brightnessColumn;
  double firstTime;
  double firstMagnitude;
  double firstSigma;
};

class LightCurveColumns : public testing::TestWithParam<ReadCase> {};

TEST_P(LightCurveColumns, FindsTheColumnsAndFullJulianDays) {
  const ReadCase& c = GetParam();
  const auto curve = readLightCurve(c.text, c.columns);
  ASSERT_TRUE(curve.ok()) << curve.message();
  EXPECT_EQ(curve->timeColumn, c.timeColumn);
  EXPECT_EQ(curve->brightnessColumn, c.brightnessColumn);
  ASSERT_EQ(curve->points.size(), 2u);
  EXPECT_DOUBLE_EQ(curve->points[0].julianDay, c.firstTime);
  EXPECT_NEAR(curve->points[0].magnitude, c.firstMagnitude, 1e-12);
  EXPECT_NEAR(curve->points[0].sigma, c.firstSigma, 1e-12);
}

INSTANTIATE_TEST_SUITE_P(
    Tables, LightCurveColumns,
    testing::Values(
        ReadCase{"CsvWithCommentsAndError",
                 "# AAVSO-like\nJD,Mag,Err\n2460000.5,11.2,0.01\n2460000.6,11.3,0.02\n",
                 {},
                 "JD",
                 "Mag",
                 2460000.5,
                 11.2,
                 0.01},
        ReadCase{"TabsPreferBarycentric",
                 "HJD\tBJD_TDB\tV\n2460000.1\t2460000.2\t9\n2460000.3\t2460000.4\t9.5\n",
                 {},
                 "BJD_TDB",
                 "V",
                 2460000.2,
                 9,
                 0},
        ReadCase{"BlanksWithReducedHeader",
                 "J.D.-2400000   magnitude\n  60000.25   12.5\n60000.30 12.6\n",
                 {},
                 "J.D.-2400000",
                 "magnitude",
                 2460000.25,
                 12.5,
                 0},
        ReadCase{"ModifiedJulianDay", "MJD;mag\n60000;10\n60000.1;10.1\n", {}, "MJD", "mag", 2460000.5, 10, 0},
        ReadCase{
            "SmallValuesAreJdMinus2450000", "Time mag\n9876.5 8\n9876.6 8.1\n", {}, "Time", "mag", 2459876.5, 8, 0},
        ReadCase{"FluxBecomesMagnitude",
                 "BJD_TDB,rel_flux_T1,rel_flux_err_T1\n2460000.5,0.1,0.001\n2460000.6,1,0\n",
                 {},
                 "BJD_TDB",
                 "rel_flux_T1",
                 2460000.5,
                 2.5,
                 2.5 / std::log(10.0) * 0.01},
        ReadCase{"NamedByTheUser",
                 "t,a,b,c\n2460000.5,1,2,0.5\n2460000.6,1,2,0.5\n",
                 {"T", "b", "", "c"},
                 "t",
                 "b",
                 2460000.5,
                 2,
                 0.5},
        ReadCase{"QuotedCsvAndCrLf",
                 "\"JD\",\"mag\"\r\n\"2460000.5\",\"7\"\r\n2460000.6,7\r\n",
                 {},
                 "JD",
                 "mag",
                 2460000.5,
                 7,
                 0}),
    [](const testing::TestParamInfo<ReadCase>& info) { return std::string(info.param.name); });

TEST(LightCurveNotes, SaysWhichOffsetItAssumedAndThatItSorted) {
  const auto curve = readLightCurve("JD mag\n60000.3 1\n60000.1 2\n60000.2 3\n");
  ASSERT_TRUE(curve.ok()) << curve.message();
  EXPECT_EQ(curve->offsetAdded, 2400000);
  ASSERT_EQ(curve->notes.size(), 2u);
  EXPECT_NE(curve->notes[0].find("2400000"), std::string::npos);
  EXPECT_NE(curve->notes[1].find("並べ替え"), std::string::npos);
  EXPECT_EQ(curve->points[0].magnitude, 2);
  EXPECT_EQ(curve->points[2].magnitude, 1);
  // A full Julian day needs no note; a header's own offset is still said.
  EXPECT_TRUE(readLightCurve("JD mag\n2460000.1 1\n")->notes.empty());
  EXPECT_NE(readLightCurve("HJD-2450000 mag\n10000.1 1\n")->notes.at(0).find("HJD-2450000"), std::string::npos);
}

struct BadCase {
  const char* name;
  std::string text;
  ColumnChoice columns;
  const char* saying;  // part of the message
};

class BadLightCurves : public testing::TestWithParam<BadCase> {};

TEST_P(BadLightCurves, AreRefusedWithAMessage) {
  const auto curve = readLightCurve(GetParam().text, GetParam().columns);
  ASSERT_FALSE(curve.ok());
  EXPECT_NE(curve.message().find(GetParam().saying), std::string::npos) << curve.message();
}

INSTANTIATE_TEST_SUITE_P(
    Refusals, BadLightCurves,
    testing::Values(BadCase{"Empty", " \n\n", {}, "空"}, BadCase{"OnlyComments", "# a\n# b\n", {}, "見出し"},
                    BadCase{"Binary", std::string("JD,mag\n\x00\x01\x02", 10), {}, "バイナリ"},
                    BadCase{"HeaderOnly", "JD,mag\n", {}, "数値の行"},
                    BadCase{"NoTimeColumn", "x,mag\n1,2\n", {}, "--time-column"},
                    BadCase{"NoMagnitudeColumn", "JD,x\n2460000,2\n", {}, "--mag-column"},
                    BadCase{"NamedColumnMissing", "JD,mag\n2460000,2\n", {"", "Vmag", "", ""}, "「Vmag」"},
                    BadCase{"NotANumberNamesTheLine", "JD,mag\n2460000,2\n# c\n2460000.1,abc\n", {}, "4行目"},
                    BadCase{"NanIsNotANumber", "JD,mag\n2460000,nan\n", {}, "数ではありません"},
                    BadCase{"ShortLine", "JD,mag\n2460000\n", {}, "列が足りません"},
                    BadCase{"NegativeFlux", "JD,rel_flux_T1\n2460000,-1\n", {}, "正の数でない"},
                    BadCase{"MixedDigits", "JD,mag\n60000,1\n2460000.1,1\n", {}, "桁がそろわない"}),
    [](const testing::TestParamInfo<BadCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tenmirel::timing
