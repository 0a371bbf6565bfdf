// What an import writes: memos that read back through the one memo reader,
// records as the format holds them, files that load and predict as elements
// typed by hand, the filters, names the code page lacks, and numbered parts.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "catalogue/memo_tokens.h"
#include "catalogue/star_file.h"
#include "importer/catalogue_import.h"
#include "importer/import_record.h"
#include "importer/record_checks.h"
#include "importer/vsd_output.h"
#include "prediction/extremum_prediction.h"
#include "prediction/star_place.h"
#include "sample_lines.h"

namespace tenmirel::importer {
namespace {

using testing::catalogueSample;
using testing::fileText;
using testing::readText;

struct Imported {
  bool ok = false;
  std::string message;
  ImportReport report;
  std::vector<ImportedStar> stars;  // imported ones
  std::vector<StarRecord> records;  // theirs, in order
};

Imported importText(const std::string& text, ImportSettings settings = {}) {
  settings.read.latestTrustedEpoch = testing::kTestLatestEpoch;
  std::istringstream in(text);
  Imported result;
  const auto report = importCatalogue(in, settings, [&](const ImportedRow& row) {
    if (row.outcome != StarOutcome::imported) return;
    result.stars.push_back(row.star);
    result.records.push_back(*row.record);
  });
  result.ok = report.ok();
  if (report)
    result.report = *report;
  else
    result.message = report.message();
  return result;
}

TEST(ImportMemo, EveryMemoReadsBackThroughTheMemoReader) {
  for (const char* file :
       {"gcvs5-hipparcos-stars-2019.txt", "gcvs5-awkward-lines.txt", "gcvs-iii-2013.txt", "vsx-api-json.txt"}) {
    SCOPED_TRACE(file);
    const auto imported = importText(fileText(catalogueSample(file)));
    ASSERT_TRUE(imported.ok) << imported.message;
    ASSERT_FALSE(imported.records.empty());
    Cp932Encoder encoder;
    for (std::size_t i = 0; i < imported.records.size(); ++i) {
      const ImportedStar& star = imported.stars[i];
      const StarRecord& record = imported.records[i];
      SCOPED_TRACE(record.starName + " / " + record.memo);
      const MemoTokens tokens = readMemoTokens(record.memo);
      EXPECT_TRUE(tokens.usable());
      EXPECT_EQ(tokens.type.text, classifyVariableType(memoTypeToken(star.type)).text);
      EXPECT_EQ(tokens.type.epochKind, classifyVariableType(star.type).epochKind);
      EXPECT_EQ(tokens.durationPercent, star.durationPercent);
      EXPECT_EQ(tokens.periodUncertain, star.period.uncertain());
      EXPECT_EQ(tokens.epochUncertain, star.epoch.uncertain());
      EXPECT_NE(record.memo.find(epochKindWord(tokens.type.epochKind)), std::string::npos);
      EXPECT_FALSE(checkStarRecord(record)) << *checkStarRecord(record);
    }
  }
}

TEST(ImportMemo, TheMemoOfAnEclipsingStarWithUncertainElements) {
  const auto lines = testing::fileLines(catalogueSample("gcvs5-awkward-lines.txt"));
  const auto imported =
      importText(lines[1] + "\r\n" + lines[18] + "\r\n" + lines[11] + "\r\n");  // RT And, OV Aqr, SS Crt
  ASSERT_TRUE(imported.ok) << imported.message;
  ASSERT_EQ(imported.records.size(), 3u);
  EXPECT_EQ(imported.records[0].memo, "EA/RS D=17 8.97～9.83V 元期:極小 出典:GCVS5.1");
  EXPECT_EQ(imported.records[1].memo, "EA D=2 8.72～8.98V 元期:極小 出典:GCVS5.1");
  EXPECT_EQ(imported.records[2].memo, "SRB E0: 8.54～8.82V 元期:極大 出典:GCVS5.1");
}

TEST(ImportMemo, CatalogueTextThatLooksLikeATokenStaysFreeText) {
  Cp932Encoder encoder;
  for (const std::string& type : {std::string("D=250"), std::string("σP=x"), std::string("P:"), std::string("cov="),
                                  std::string("Q(EA)"), std::string(300, 'E')}) {
    ImportedStar star;
    star.type = type;
    star.maxMagnitude.flags = "E0:";
    star.band = "II=3";
    const std::string memo = importMemo(star, "VSX", encoder);
    SCOPED_TRACE(memo);
    const MemoTokens tokens = readMemoTokens(memo);
    EXPECT_TRUE(tokens.usable());
    EXPECT_TRUE(tokens.type.text.empty());
    EXPECT_FALSE(tokens.epochUncertain || tokens.periodUncertain || tokens.durationPercent || tokens.secondaryPhase);
    EXPECT_LE(encoder.encode(memo)->size(), kMaxMemoBytes);
  }
}

struct PlaceCase {
  const char* caseName;
  double raDegrees, decDegrees;
  const char *hour, *minute, *sign, *degrees, *arcMinutes;
};

const PlaceCase kPlaces[] = {
    {"minutes_to_a_tenth", (2 + 26 / 60.0 + 2.31 / 3600) * 15, -(10 / 60.0 + 41.8 / 3600), "2", "26.0", "False", "0",
     "11"},
    {"carry_into_the_next_hour", (5 + 59 / 60.0 + 59.99 / 3600) * 15, 45.0, "6", "0.0", "True", "45", "0"},
    {"carry_past_24_hours", (23 + 59 / 60.0 + 59.99 / 3600) * 15, 89.99999, "0", "0.0", "True", "90", "0"},
    {"minus_zero_rounding_to_zero_is_north", 10.0, -0.2 / 60, "0", "40.0", "True", "0", "0"},
    {"arc_minutes_carry_into_degrees", 10.0, -(12 + 59.7 / 60), "0", "40.0", "False", "13", "0"},
};

class ImportPlaces : public ::testing::TestWithParam<PlaceCase> {};

TEST_P(ImportPlaces, AsTheFormatHoldsThem) {
  ImportedStar star;
  star.raDegrees = GetParam().raDegrees;
  star.decDegrees = GetParam().decDegrees;
  star.epoch.digits = "2450000";
  star.period.digits = "1";
  const StarRecord record = importRecord(star, "X", "");
  EXPECT_EQ(record.alphaHour, GetParam().hour);
  EXPECT_EQ(record.alphaMin, GetParam().minute);
  EXPECT_EQ(record.deltaSign, GetParam().sign);
  EXPECT_EQ(record.deltaDeg, GetParam().degrees);
  EXPECT_EQ(record.deltaMin, GetParam().arcMinutes);
}

INSTANTIATE_TEST_SUITE_P(, ImportPlaces, ::testing::ValuesIn(kPlaces),
                         [](const auto& info) { return std::string(info.param.caseName); });

class ImportFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = std::filesystem::temp_directory_path() /
              ("tenmirel-import-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    std::filesystem::remove_all(folder_);
    std::filesystem::create_directories(folder_);
  }
  void TearDown() override { std::filesystem::remove_all(folder_); }
  std::filesystem::path folder_;
};

TEST_F(ImportFiles, ImportedStarsPredictAsElementsTypedByHand) {
  const auto imported = importText(fileText(catalogueSample("gcvs5-awkward-lines.txt")));
  ASSERT_TRUE(imported.ok);
  const auto target = folder_ / "awkward.vsd";
  auto output = VsdOutput::open(target, false, Replace::never);
  ASSERT_TRUE(output.ok()) << output.message();
  for (const auto& record : imported.records) ASSERT_FALSE((*output)->add(record));
  ASSERT_TRUE((*output)->commit().ok());

  const StarFileReadResult loaded = readStarFile(target);
  ASSERT_TRUE(loaded.ok());
  ASSERT_EQ(loaded.count, static_cast<int>(imported.records.size()));
  // Typed by hand from the catalogue lines: RT And 51421.737 0.6289216, bet Lyr 08247.950 12.913834, del Ori.
  struct Typed {
    const char* name;
    const char* epoch;
    const char* period;
    double raHours, decDegrees;
  };
  const Typed typed[] = {
      {"RT And", "2451421.737", "0.6289216", 23 + 11 / 60.0 + 10.10 / 3600, 53 + 1 / 60.0 + 33.0 / 3600},
      {"bet Lyr", "2408247.950", "12.913834", 18 + 50 / 60.0 + 4.79 / 3600, 33 + 21 / 60.0 + 45.6 / 3600},
      {"del Ori", "2443872.589", "5.732476", 5 + 32 / 60.0 + 0.40 / 3600, -(17 / 60.0 + 56.7 / 3600)}};
  const ReferenceTexts reference{"2026", "12", "7", "18", "00"};
  for (const Typed& hand : typed) {
    SCOPED_TRACE(hand.name);
    const auto index = findStar(loaded.records, hand.name);
    ASSERT_TRUE(index);
    const StarRecord& star = loaded.records[static_cast<std::size_t>(*index)];
    const StarPlace place = starPlaceOf(star);
    EXPECT_NEAR(place.alphaDegrees, hand.raHours * 15, 0.05 / 60 * 15 + 1e-9);
    EXPECT_NEAR(place.deltaDegrees, hand.decDegrees, 0.5 / 60 + 1e-9);
    PredictionSetting fromFile;
    fromFile.alphaDegrees = place.alphaDegrees;
    fromFile.deltaDegrees = place.deltaDegrees;
    PredictionSetting byHand = fromFile;
    const auto a = predictFirstAfter(reference, star.ganki, star.syuki, fromFile);
    const auto b = predictFirstAfter(reference, hand.epoch, hand.period, byHand);
    ASSERT_TRUE(a.ok() && b.ok());
    EXPECT_EQ(a.extremum.julianDayText, b.extremum.julianDayText);
    EXPECT_EQ(a.extremum.cycleText, b.extremum.cycleText);
  }
}

TEST_F(ImportFiles, SplitPartsOf1001AndNoReplacingWithoutForce) {
  std::vector<StarRecord> records;
  for (int i = 0; i < 2500; ++i) {
    StarRecord record{"S" + std::to_string(i), "2450000.5", "1.25", "1", "2.0", "True", "3", "4", "EA 元期:極小"};
    records.push_back(record);
  }
  const auto target = folder_ / "big.vsd";
  auto output = VsdOutput::open(target, true, Replace::never);
  ASSERT_TRUE(output.ok());
  for (const auto& record : records) ASSERT_FALSE((*output)->add(record));
  const auto written = (*output)->commit();
  ASSERT_TRUE(written.ok()) << written.message();
  ASSERT_EQ(written->size(), 3u);
  EXPECT_EQ((*written)[0].filename(), "big-001.vsd");
  EXPECT_EQ((*written)[2].filename(), "big-003.vsd");
  const int counts[] = {1001, 1001, 498};
  for (std::size_t i = 0; i < 3; ++i) {
    const auto part = readStarFile((*written)[i]);
    ASSERT_TRUE(part.ok());
    EXPECT_EQ(part.count, counts[i]);
  }
  EXPECT_EQ(readStarFile((*written)[2]).records.back().starName, "S2499");

  auto again = VsdOutput::open(target, true, Replace::never);
  EXPECT_FALSE(again.ok());
  // A refused single file leaves the existing one as it was, and no temporary file.
  const std::string before = fileText((*written)[0]);
  auto single = VsdOutput::open((*written)[0], false, Replace::never);
  EXPECT_FALSE(single.ok());
  EXPECT_EQ(fileText((*written)[0]), before);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder_), std::filesystem::directory_iterator()), 3);
}

struct FilterCase {
  const char* caseName;
  ImportFilter filter;
  std::vector<std::string> kept;
};

std::vector<FilterCase> filterCases() {
  ImportFilter types;
  types.types = {"EA", "RR*"};
  ImportFilter bright;
  bright.brighterThan = 3.0;
  ImportFilter south;
  south.decAbove = -10;
  south.decBelow = 0;
  ImportFilter period;
  period.periodBelow = 1.0;
  ImportFilter names;
  names.names = {"*And"};
  ImportFilter visible;
  limitToVisibleFrom(visible, 65.0);  // only stars above -25°
  return {
      {"type_classes_and_patterns", types, {"RT And", "bet Per", "del Ori", "WW And", "OV Aqr", "KX Cnc"}},
      {"brighter_than_3", bright, {"del Ori", "bet Per", "omi Cet"}},
      {"declination_band", south, {"del Ori", "R Cet", "omi Cet"}},
      {"period_below_a_day", period, {"RT And", "GZ And"}},
      {"name_pattern", names, {"R And", "RT And", "WW And", "GZ And"}},
      {"visible_from_65_north",
       visible,
       {"R And", "RT And", "del Ori", "R Cet", "bet Per", "bet Lyr", "WW And", "SS Crt", "KX Cnc", "GZ And", "OV Aqr",
        "omi Cet", "GK Cyg"}},
  };
}

class ImportFilters : public ::testing::TestWithParam<FilterCase> {};

TEST_P(ImportFilters, KeepExactlyTheChosenPredictableStars) {
  ImportSettings settings;
  settings.filter = GetParam().filter;
  const auto imported = importText(fileText(catalogueSample("gcvs5-awkward-lines.txt")), settings);
  ASSERT_TRUE(imported.ok);
  std::vector<std::string> names;
  for (const auto& record : imported.records) names.push_back(record.starName);
  std::vector<std::string> expected = GetParam().kept;
  std::sort(names.begin(), names.end());
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(names, expected);
  EXPECT_EQ(imported.report.imported + imported.report.filteredTotal() + imported.report.skippedTotal(),
            imported.report.read);
}

INSTANTIATE_TEST_SUITE_P(, ImportFilters, ::testing::ValuesIn(filterCases()),
                         [](const auto& info) { return std::string(info.param.caseName); });

TEST(ImportNames, TransliteratedOrRefusedAndSaidWhich) {
  const auto imported = importText(
      "{\"Name\":\"Kohoùtek V1\",\"RA2000\":\"10\",\"Declination2000\":\"10\",\"Period\":\"1\",\"Epoch\":\"2450000\"}\n"
      "{\"Name\":\"Star ☃ 2\",\"RA2000\":\"10\",\"Declination2000\":\"10\",\"Period\":\"1\",\"Epoch\":\"2450000\"}\n"
      "{\"Name\":\"ＶＸ　Ｓｇｒ\",\"RA2000\":\"10\",\"Declination2000\":\"10\",\"Period\":\"1\",\"Epoch\":\"2450000\"}"
      "\n");
  ASSERT_TRUE(imported.ok) << imported.message;
  ASSERT_EQ(imported.records.size(), 2u);
  EXPECT_EQ(imported.records[0].starName, "Kohoutek V1");
  EXPECT_EQ(imported.records[1].starName, "ＶＸ　Ｓｇｒ");  // CP932 holds full-width letters
  ASSERT_EQ(imported.report.names.size(), 2u);
  EXPECT_EQ(imported.report.names[0].written, "Kohoutek V1");
  EXPECT_EQ(imported.report.names[1].name, "Star ☃ 2");
  EXPECT_TRUE(imported.report.names[1].written.empty());
  EXPECT_EQ(imported.report.skipped[static_cast<std::size_t>(SkipReason::nameNotEncodable)], 1u);
  EXPECT_EQ(imported.report.transliterated, 1u);
}

}  // namespace
}  // namespace tenmirel::importer
