// The GCVS layouts on real lines: every Hipparcos star of GCVS 5.1 against a
// plain '|' split of the same lines, the awkward cases one by one, and the
// earlier web layout against GCVS 5.1 for the stars both hold.
#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

#include "importer/gcvs_layout.h"
#include "sample_lines.h"

namespace tenmirel::importer {
namespace {

using testing::catalogueSample;
using testing::fileLines;
using testing::fileText;
using testing::readText;
using testing::starNamed;

std::vector<std::string> splitOnBars(const std::string& line) {
  std::vector<std::string> fields;
  std::stringstream in(line);
  for (std::string field; std::getline(in, field, '|');) fields.push_back(field);
  return fields;
}

std::string stripped(const std::string& text, const std::string& drop) {
  std::string out;
  for (const char c : text) {
    if (drop.find(c) == std::string::npos) out += c;
  }
  return out;
}

TEST(GcvsColumns, EveryHipparcosLineAgreesWithAPlainSplitOfItsFields) {
  const auto path = catalogueSample("gcvs5-hipparcos-stars-2019.txt");
  const auto reading = readText(fileText(path));
  ASSERT_TRUE(reading.ok) << reading.message;
  EXPECT_EQ(reading.format, CatalogueFormat::gcvs51);
  const std::vector<std::string> lines = fileLines(path);
  ASSERT_EQ(lines.size(), 6875u);
  ASSERT_EQ(reading.stars.size(), lines.size());

  std::size_t compared = 0;
  std::size_t predictable = 0;
  std::size_t expectedPredictable = 0;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const ImportedStar& star = reading.stars[i];
    EXPECT_EQ(star.line, i + 1);
    const std::vector<std::string> fields = splitOnBars(lines[i]);
    if (fields.size() != 21) continue;  // '|' inside the new-type field: the awkward cases below
    ++compared;
    if (star.skip == SkipReason::none) ++predictable;
    SCOPED_TRACE(lines[i]);
    EXPECT_EQ(star.name, stripped(fields[1].substr(0, 6), " ") + " " + stripped(fields[1].substr(6, 4), " "));
    EXPECT_EQ(star.type, stripped(fields[3], " "));
    const std::string position = fields[2];
    if (stripped(position, " ").empty()) {
      EXPECT_FALSE(star.raDegrees);
    } else {
      ASSERT_TRUE(star.decDegrees);
      const bool south = position[10] == '-';
      const double degrees = std::stod(position.substr(11, 2)) + std::stod(position.substr(13, 2)) / 60;
      if (degrees > 0) {
        EXPECT_EQ(*star.decDegrees < 0, south);
      }
      EXPECT_NEAR(std::fabs(*star.decDegrees), degrees, 1.0 / 60);
    }
    const std::string epoch = stripped(fields[8], " :");
    const std::string period = stripped(fields[10], " :()<>/N*");
    if (!epoch.empty()) {
      ASSERT_TRUE(star.epoch.value);
      const double day = std::stod(epoch);
      EXPECT_NEAR(*star.epoch.value, day < 100000 ? day + 2400000 : day, 1e-6);
    }
    if (!period.empty()) {
      ASSERT_TRUE(star.period.value);
      EXPECT_DOUBLE_EQ(*star.period.value, std::stod(period));
    }
    const bool plainPeriod = !period.empty() && fields[10].find_first_of("(<>") == std::string::npos;
    if (plainPeriod && std::stod(period) > 0 && !epoch.empty() && !stripped(position, " ").empty())
      ++expectedPredictable;
  }
  EXPECT_GT(compared, 6800u);
  EXPECT_EQ(predictable, expectedPredictable);
}

struct AwkwardCase {
  const char* caseName;
  const char* star;
  SkipReason skip;
  void (*check)(const ImportedStar&);
};

const AwkwardCase kAwkward[] = {
    {"minus_zero_declination_is_south", "del Ori", SkipReason::none,
     [](const ImportedStar& s) { EXPECT_NEAR(*s.decDegrees, -(17 / 60.0 + 56.7 / 3600), 1e-9); }},
    {"minus_zero_declination_no_period_needed", "R Cet", SkipReason::none,
     [](const ImportedStar& s) { EXPECT_NEAR(*s.decDegrees, -(10 / 60.0 + 41.8 / 3600), 1e-9); }},
    {"epoch_with_leading_zero_is_1858", "bet Lyr", SkipReason::none,
     [](const ImportedStar& s) {
       EXPECT_EQ(s.epoch.digits, "2408247.950");
       EXPECT_DOUBLE_EQ(*s.epoch.value, 2408247.95);
     }},
    {"mean_cycle_in_parentheses", "T CrB", SkipReason::meanCycle,
     [](const ImportedStar& s) { EXPECT_DOUBLE_EQ(*s.period.value, 29000); }},
    {"uncertain_mean_cycle", "AK Hya", SkipReason::meanCycle,
     [](const ImportedStar& s) { EXPECT_TRUE(s.period.uncertain()); }},
    {"period_limit", "DE Eri", SkipReason::periodLimit, [](const ImportedStar& s) { EXPECT_EQ(s.period.flags, ">"); }},
    {"amplitudes_instead_of_minima", "WW And", SkipReason::none,
     [](const ImportedStar& s) {
       EXPECT_TRUE(s.minMagnitude.has('('));
       EXPECT_DOUBLE_EQ(*s.minMagnitude.value, 0.67);
       EXPECT_EQ(s.durationPercent, 5.0);
     }},
    {"uncertain_period_with_note", "AW Gru", SkipReason::none,
     [](const ImportedStar& s) {
       EXPECT_TRUE(s.period.uncertain());
       EXPECT_EQ(s.period.flags, ":/N");
       EXPECT_EQ(s.band, "p");
     }},
    {"uncertain_epoch", "SS Crt", SkipReason::none,
     [](const ImportedStar& s) {
       EXPECT_TRUE(s.epoch.uncertain());
       EXPECT_EQ(s.epoch.digits, "2440692");
     }},
    {"nova_without_period", "V0603 Aql", SkipReason::noPeriod,
     [](const ImportedStar& s) { EXPECT_DOUBLE_EQ(*s.maxMagnitude.value, -1.4); }},
    {"band_letter_inside_the_amplitude", "KX Cnc", SkipReason::none,
     [](const ImportedStar& s) {
       EXPECT_DOUBLE_EQ(*s.minMagnitude.value, 0.71);
       EXPECT_EQ(s.minMagnitude.flags, "(I)");
     }},
    {"uncertain_position_to_a_tenth_second", "GZ And", SkipReason::none,
     [](const ImportedStar& s) {
       EXPECT_TRUE(s.positionUncertain);
       EXPECT_NEAR(*s.raDegrees, (2 + 12 / 60.0 + 14.1 / 3600) * 15, 1e-9);
     }},
    {"synonym_without_data", "W Car", SkipReason::synonym,
     [](const ImportedStar& s) { EXPECT_EQ(s.synonymOf, "V Vel"); }},
    {"bar_inside_the_new_type_field", "V1427 Aql", SkipReason::noEpoch,
     [](const ImportedStar& s) { EXPECT_EQ(s.type, "SRD:"); }},
    {"component_letter", "EQ PegA", SkipReason::noPeriod,
     [](const ImportedStar& s) { EXPECT_FALSE(s.maxMagnitude.value); }},
    {"uncertain_eclipse_duration", "OV Aqr", SkipReason::none,
     [](const ImportedStar& s) {
       EXPECT_EQ(s.durationPercent, 2.0);
       EXPECT_TRUE(s.durationUncertain);
     }},
    {"rise_time_is_no_eclipse_duration", "GK Cyg", SkipReason::none,
     [](const ImportedStar& s) { EXPECT_FALSE(s.durationPercent); }},
    {"second_bar_inside_a_field_without_epoch", "AW And", SkipReason::noEpoch,
     [](const ImportedStar& s) { EXPECT_TRUE(s.period.uncertain()); }},
};

class GcvsAwkwardLines : public ::testing::TestWithParam<AwkwardCase> {};

TEST_P(GcvsAwkwardLines, ReadAsTheCatalogueMeansThem) {
  static const auto reading = readText(fileText(catalogueSample("gcvs5-awkward-lines.txt")));
  ASSERT_TRUE(reading.ok) << reading.message;
  const ImportedStar* star = starNamed(reading, GetParam().star);
  ASSERT_NE(star, nullptr);
  EXPECT_EQ(star->skip, GetParam().skip) << skipReasonWords(star->skip);
  GetParam().check(*star);
}

INSTANTIATE_TEST_SUITE_P(, GcvsAwkwardLines, ::testing::ValuesIn(kAwkward),
                         [](const auto& info) { return std::string(info.param.caseName); });

TEST(GcvsColumns, TheEarlierWebLayoutAgreesWithGcvs51ForTheSameStars) {
  const auto older = readText(fileText(catalogueSample("gcvs-iii-2013.txt")));
  ASSERT_TRUE(older.ok) << older.message;
  EXPECT_EQ(older.format, CatalogueFormat::gcvsIii);
  ASSERT_EQ(older.stars.size(), 14u);
  const auto newer = readText(fileText(catalogueSample("gcvs5-awkward-lines.txt")));
  int compared = 0;
  for (const ImportedStar& star : older.stars) {
    const ImportedStar* same = starNamed(newer, star.name);
    if (same == nullptr) continue;
    ++compared;
    SCOPED_TRACE(star.name);
    EXPECT_EQ(star.type, same->type);
    EXPECT_EQ(star.epoch.digits, same->epoch.digits);
    EXPECT_EQ(star.period.digits, same->period.digits);
    EXPECT_EQ(star.skip, same->skip);
    EXPECT_NEAR(*star.raDegrees, *same->raDegrees, 0.1 / 3600 * 15);
    EXPECT_NEAR(*star.decDegrees, *same->decDegrees, 1.0 / 3600);
  }
  EXPECT_EQ(compared, 3);  // R And, RT And, WW And
  const ImportedStar* alfVir = starNamed(older, "alf Vir");
  ASSERT_NE(alfVir, nullptr);
  EXPECT_NEAR(*alfVir->decDegrees, -(11 + 9 / 60.0 + 41 / 3600.0), 1e-9);
  EXPECT_EQ(alfVir->epoch.digits, "2419530.49");
}

}  // namespace
}  // namespace tenmirel::importer
