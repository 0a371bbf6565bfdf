// The program's one site and elements' time systems: kept in the sites file and
// settings.toml, held for the run when a file cannot take a choice.
#include <gtest/gtest.h>

#include <fstream>

#include "sky/observing_choice.h"
#include "support/recording_ports.h"

namespace tenmirel::sky {
namespace {

const Site kPraha{"Praha", 14.42, 50.08, 300, "Europe/Prague"};
const Site kTokyo{"Tokyo", 139.69, 35.69, 40, "Asia/Tokyo"};

std::string contents(const std::filesystem::path& file) {
  std::ifstream in(file);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

struct Files {
  testing::TempDir dir;
  std::filesystem::path sites = dir.path() / "sites.toml";
  std::filesystem::path settings = dir.path() / "settings.toml";
};

TEST(ObservingChoice, AChosenSiteIsTheSitesFilesDefaultForTheNextStart) {
  Files files;
  {
    SiteStore store(files.sites);
    ASSERT_FALSE(store.add(kPraha));
  }
  ObservingChoice choice(files.sites, files.settings);
  EXPECT_EQ(choice.site().name, kBuiltInSiteName);
  EXPECT_FALSE(choice.chooseSite("Praha"));
  EXPECT_EQ(choice.site(), kPraha);
  EXPECT_EQ(ObservingChoice(files.sites, files.settings).site(), kPraha);
  // An unknown name changes nothing.
  EXPECT_TRUE(choice.chooseSite("火星基地"));
  EXPECT_EQ(choice.site(), kPraha);
}

TEST(ObservingChoice, ADamagedSitesFileKeepsTheChoiceForTheRunAndIsLeftAlone) {
  Files files;
  const std::string damaged = "default = \"Praha\"\n[[site]\nname = \n";
  std::ofstream(files.sites) << damaged;
  ObservingChoice choice(files.sites, files.settings);
  EXPECT_FALSE(choice.store().problem().empty());
  EXPECT_EQ(choice.site().name, kBuiltInSiteName);
  EXPECT_FALSE(choice.chooseSite(kBuiltInSiteName));
  EXPECT_EQ(contents(files.sites), damaged);
}

TEST(ObservingChoice, TheCurrentSiteFollowsEditsOfTheSites) {
  Files files;
  ObservingChoice choice(files.sites, files.settings);
  ASSERT_FALSE(choice.store().add(kPraha));
  ASSERT_FALSE(choice.store().add(kTokyo));
  ASSERT_FALSE(choice.chooseSite("Praha"));

  // Its values changed: the current site takes them.
  std::string before = choice.store().defaultSite().name;
  Site higher = kPraha;
  higher.heightMetres = 400;
  ASSERT_FALSE(choice.store().replace("Praha", higher));
  EXPECT_TRUE(choice.storeEdited(before));
  EXPECT_EQ(choice.site().heightMetres, 400);
  // Another chosen in the dialog.
  before = choice.store().defaultSite().name;
  ASSERT_FALSE(choice.store().setDefault("Tokyo"));
  EXPECT_TRUE(choice.storeEdited(before));
  EXPECT_EQ(choice.site(), kTokyo);
  // Nothing changed.
  EXPECT_FALSE(choice.storeEdited(choice.store().defaultSite().name));
  // Removed: the default takes its place.
  before = choice.store().defaultSite().name;
  ASSERT_FALSE(choice.store().remove("Tokyo"));
  EXPECT_TRUE(choice.storeEdited(before));
  EXPECT_EQ(choice.site().name, kBuiltInSiteName);
}

TEST(ObservingChoice, ElementsTimeSystemsByCatalogue) {
  Files files;
  const auto catalogue = files.dir.write("stars.vsd", "Quorrelith 1999\n0\n");
  ObservingChoice choice(files.sites, files.settings);
  EXPECT_EQ(choice.elementsTimeOf(catalogue), ElementsTime::jd);
  EXPECT_FALSE(choice.setElementsTime(catalogue, ElementsTime::hjd));
  EXPECT_EQ(ObservingChoice(files.sites, files.settings).elementsTimeOf(catalogue), ElementsTime::hjd);
  // One catalogue however its path is written.
  EXPECT_TRUE(ObservingChoice::sameCatalogue(catalogue, files.dir.path() / "." / "stars.vsd"));
  EXPECT_FALSE(ObservingChoice::sameCatalogue(catalogue, {}));
  // The catalogue without a file: for this run only.
  EXPECT_FALSE(choice.setElementsTime({}, ElementsTime::bjdTdb));
  EXPECT_EQ(choice.elementsTimeOf({}), ElementsTime::bjdTdb);
  EXPECT_EQ(ObservingChoice(files.sites, files.settings).elementsTimeOf({}), ElementsTime::jd);
}

TEST(ObservingChoice, ADamagedSettingsFileRefusesButTheChoiceHoldsForTheRun) {
  Files files;
  const auto catalogue = files.dir.write("stars.vsd", "Quorrelith 1999\n0\n");
  const std::string damaged = "[elements\n";
  std::ofstream(files.settings) << damaged;
  ObservingChoice choice(files.sites, files.settings);
  EXPECT_TRUE(choice.setElementsTime(catalogue, ElementsTime::hjd));
  EXPECT_EQ(choice.elementsTimeOf(catalogue), ElementsTime::hjd);
  EXPECT_EQ(contents(files.settings), damaged);
}

}  // namespace
}  // namespace tenmirel::sky
