// VSX in its three shapes (the web API's JSON on real answers, the bulk CSV,
// VizieR's vsx.dat with and without its ReadMe) and a table with named columns.
#include <gtest/gtest.h>

#include <sstream>

#include "importer/vsx_dat_layout.h"
#include "sample_lines.h"

namespace tenmirel::importer {
namespace {

using testing::catalogueSample;
using testing::fileText;
using testing::readText;
using testing::starNamed;

TEST(VsxJson, RealApiAnswersKeepEveryStarAndItsFlags) {
  const auto reading = readText(fileText(catalogueSample("vsx-api-json.txt")));
  ASSERT_TRUE(reading.ok) << reading.message;
  EXPECT_EQ(reading.format, CatalogueFormat::vsxJson);
  ASSERT_EQ(reading.stars.size(), 9u);  // the empty list holds none

  const ImportedStar* ea = starNamed(reading, "ASASSN-V J185256.94+581259.1");
  ASSERT_NE(ea, nullptr);
  EXPECT_EQ(ea->skip, SkipReason::none);
  EXPECT_EQ(ea->epoch.digits, "2457991.86");
  EXPECT_DOUBLE_EQ(*ea->raDegrees, 283.23724);
  EXPECT_EQ(ea->band, "V");

  const ImportedStar* yCom = starNamed(reading, "Y Com");
  ASSERT_NE(yCom, nullptr);
  EXPECT_TRUE(yCom->period.uncertain());
  EXPECT_EQ(yCom->period.digits, "95");
  EXPECT_EQ(yCom->skip, SkipReason::none);
  EXPECT_EQ(yCom->band, "B");

  const ImportedStar* ew = starNamed(reading, "ASAS J210430+7045.9");
  ASSERT_NE(ew, nullptr);
  EXPECT_EQ(ew->skip, SkipReason::noEpoch);
  EXPECT_TRUE(ew->minMagnitude.has('('));
  EXPECT_DOUBLE_EQ(*ew->minMagnitude.value, 0.20);
}

TEST(VsxJson, PrettyPrintedDocumentsAndBareObjects) {
  const auto reading = readText(
      "{\n \"VSXObject\": {\n  \"Name\": \"RZ Cas\", \"RA2000\": \"42.23\", \"Declination2000\": \"69.63\",\n"
      "  \"VariabilityType\": \"EA/SD\", \"Period\": \"1.1952499\", \"Epoch\": \"2443200.3063\", \"EclipseDuration\": "
      "\"9\"\n }\n}\n");
  ASSERT_TRUE(reading.ok) << reading.message;
  ASSERT_EQ(reading.stars.size(), 1u);
  EXPECT_EQ(reading.stars[0].durationPercent, 9.0);
  EXPECT_EQ(reading.stars[0].skip, SkipReason::none);
}

constexpr const char* kVsxHeader =
    "#OID,Name,VarFlag,RAdeg,DEdeg,Type,l_max,max,u_max,n_max,f_min,l_min,min,u_min,n_min,Epoch,u_Epoch,l_Period,"
    "Period,u_Period\n";

TEST(VsxCsv, EmptyMeansMissingAndNaIsANova) {
  const std::string text = std::string(kVsxHeader) +
                           "7,\"V1500 Cyg\",0,315.0,48.0,NA,,1.69,,V,,,17.5,,V,2442655.5,,,,\n"
                           "8,\"TV Cas, comp\",0,4.8,59.1,EA,,7.22,,V,,,8.22,,V,2452501.7271,:,,1.8125917,\n"
                           "9,Short Row,0,10.0,-0.5,EW,,9.0,,V,(,,0.3,,V,2455000.1,,,0.3:,\n"
                           "10,Limit,0,11.0,5.0,M,,9.0,,V,,,14.0,,V,2455000,,>,300,\n";
  const auto reading = readText(text);
  ASSERT_TRUE(reading.ok) << reading.message;
  EXPECT_EQ(reading.format, CatalogueFormat::vsxCsv);
  ASSERT_EQ(reading.stars.size(), 4u);
  EXPECT_EQ(reading.stars[0].type, "NA");
  EXPECT_EQ(reading.stars[0].skip, SkipReason::noPeriod);
  EXPECT_FALSE(reading.stars[0].period.value);
  EXPECT_EQ(reading.stars[1].name, "TV Cas, comp");
  EXPECT_TRUE(reading.stars[1].epoch.uncertain());
  EXPECT_EQ(reading.stars[1].skip, SkipReason::none);
  EXPECT_TRUE(reading.stars[2].minMagnitude.has('('));
  EXPECT_TRUE(reading.stars[2].period.uncertain());
  EXPECT_NEAR(*reading.stars[2].decDegrees, -0.5, 1e-12);
  EXPECT_EQ(reading.stars[3].skip, SkipReason::periodLimit);
}

TEST(VsxCsv, AHeaderWithoutPeriodIsRefused) {
  const auto reading = readText("#OID,Name,VarFlag,RAdeg,DEdeg,Type\n1,X,0,1,1,EA\n");
  EXPECT_FALSE(reading.ok);
  EXPECT_NE(reading.message.find("1行目"), std::string::npos);
  EXPECT_NE(reading.message.find("period"), std::string::npos);
}

// A vsx.dat line of the default layout, right-trimmed as VizieR serves it.
std::string datLine(const std::string& oid, const std::string& name, const std::string& ra, const std::string& dec,
                    const std::string& type, const std::string& epoch, const std::string& period,
                    const std::string& uPeriod = "") {
  std::string line(160, ' ');
  const auto put = [&](std::size_t begin, std::size_t end, const std::string& text, bool right) {
    const std::size_t width = end - begin;
    const std::string cut = text.substr(0, width);
    line.replace(right ? end - cut.size() : begin, cut.size(), cut);
  };
  put(0, 7, oid, true);
  put(8, 38, name, false);
  put(41, 50, ra, true);
  put(51, 60, dec, true);
  put(61, 91, type, false);
  put(125, 137, epoch, true);
  put(140, 156, period, true);
  put(156, 159, uPeriod, false);
  line.erase(line.find_last_not_of(' ') + 1);
  return line;
}

TEST(VsxDat, RightTrimmedLinesArePaddedNotRejected) {
  const std::string text = datLine("42", "RT And", "347.79208", "53.02583", "EA/RS", "2451421.737", "0.6289216") +
                           "\n" + datLine("43", "Y Com", "196.64292", "18.97247", "SRB", "2452994", "95", ":") + "\n" +
                           datLine("44", "No Period", "1.00000", "-1.00000", "L", "", "") + "\n";
  const auto reading = readText(text);
  ASSERT_TRUE(reading.ok) << reading.message;
  EXPECT_EQ(reading.format, CatalogueFormat::vsxDat);
  ASSERT_EQ(reading.stars.size(), 3u);
  EXPECT_EQ(reading.stars[0].period.digits, "0.6289216");
  EXPECT_EQ(reading.stars[0].skip, SkipReason::none);
  EXPECT_TRUE(reading.stars[1].period.uncertain());
  EXPECT_EQ(reading.stars[2].skip, SkipReason::noPeriod);
}

TEST(VsxDat, TheReadMesTableDecidesTheColumns) {
  std::istringstream readMe(
      "Byte-by-byte Description of file: vsx.dat\n"
      "--------------------------------------------------------------------------------\n"
      "   Bytes Format Units   Label     Explanations\n"
      "--------------------------------------------------------------------------------\n"
      "   1- 10  A10    ---     Name      Name\n"
      "  12- 20  F9.5   deg     RAdeg     Right ascension\n"
      "                                   (continued explanation 12-20)\n"
      "  22- 30  F9.5   deg     DEdeg     Declination\n"
      "  32- 43  F12.4  d       Epoch     Epoch\n"
      "  45- 56  F12.7  d       Period    Period\n"
      "  57      A1     ---     u_Period  [:] Uncertainty flag\n"
      "--------------------------------------------------------------------------------\n");
  const auto layout = readVsxDatReadMe(readMe);
  ASSERT_TRUE(layout.ok()) << layout.message();
  ASSERT_EQ(layout->columns.size(), 6u);
  ASSERT_TRUE(layout->find("radeg"));
  EXPECT_EQ(layout->find("radeg")->begin, 11u);
  EXPECT_EQ(layout->find("u_Period")->end, 57u);

  ReadOptions options;
  options.format = CatalogueFormat::vsxDat;
  options.datLayout = *layout;
  std::string line(57, ' ');
  line.replace(0, 6, "RZ Cas");
  line.replace(12, 8, "42.23000");
  line.replace(22, 8, "69.63000");
  line.replace(32, 11, "2443200.306");
  line.replace(47, 9, "1.1952499");
  line[56] = ':';
  const auto reading = readText(line + "\n", options);
  ASSERT_TRUE(reading.ok) << reading.message;
  ASSERT_EQ(reading.stars.size(), 1u);
  EXPECT_EQ(reading.stars[0].name, "RZ Cas");
  EXPECT_EQ(reading.stars[0].period.digits, "1.1952499");
  EXPECT_TRUE(reading.stars[0].period.uncertain());

  std::istringstream noTable("Title: something else\n");
  EXPECT_FALSE(readVsxDatReadMe(noTable).ok());
}

TEST(DelimitedTable, NamedColumnsWithSexagesimalPositions) {
  ReadOptions options;
  options.columns = {"star", "ra", "dec", "t0", "p", "kind"};
  const auto reading = readText(
      "# my list\n"
      "star\tra\tdec\tt0\tp\tkind\n"
      "del Ori\t05:32:00.40\t-00:17:56.7\t2443872.589\t5.732476\tEA/DM\n"
      "Deg Star\t83.0\t-0.5\t43872.589\t1.5\t\n"
      "Bad\t25:00:00\t+10\t2443872.589\t1.5\tEA\n",
      options);
  ASSERT_TRUE(reading.ok) << reading.message;
  EXPECT_EQ(reading.format, CatalogueFormat::delimited);
  ASSERT_EQ(reading.stars.size(), 3u);
  EXPECT_NEAR(*reading.stars[0].raDegrees, (5 + 32 / 60.0 + 0.4 / 3600) * 15, 1e-9);
  EXPECT_NEAR(*reading.stars[0].decDegrees, -(17 / 60.0 + 56.7 / 3600), 1e-9);
  EXPECT_EQ(reading.stars[0].type, "EA/DM");
  EXPECT_EQ(reading.stars[1].epoch.digits, "2443872.589");
  EXPECT_EQ(reading.stars[2].skip, SkipReason::noPosition);
  EXPECT_FALSE(reading.stars[2].problems.empty());
}

TEST(DelimitedTable, AMissingNamedColumnIsRefused) {
  ReadOptions options;
  options.columns = {"star", "ra", "dec", "t0", "period", ""};
  const auto reading = readText("star,ra,dec,t0,p\nX,1,1,2450000,1\n", options);
  EXPECT_FALSE(reading.ok);
  EXPECT_NE(reading.message.find("「period」"), std::string::npos);
}

}  // namespace
}  // namespace tenmirel::importer
