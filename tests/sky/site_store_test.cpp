#include "sky/site_store.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "sky/config_files.h"
#include "sky/elements_settings.h"

namespace tenmirel::sky {
namespace {

class SettingsFolder : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/tenmirel-sky-XXXXXX";
    folder_ = ::mkdtemp(pattern);
  }
  void TearDown() override { std::filesystem::remove_all(folder_); }

  std::filesystem::path file(const char* name) const { return folder_ / "Tenmirel" / name; }

  void write(const std::filesystem::path& path, const std::string& text) const {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path) << text;
  }
  static std::string read(const std::filesystem::path& path) {
    std::ostringstream text;
    text << std::ifstream(path).rdbuf();
    return text.str();
  }

  std::filesystem::path folder_;
};

const Site kPrague{"プラハ", 14.4167, 50.0833, 300, "Europe/Prague"};
const Site kSydney{"Sydney", 151.2093, -33.8688, 20, "Australia/Sydney"};

TEST_F(SettingsFolder, NoFileMeansOnlyTheBuiltInSite) {
  const SiteStore store(file("sites.toml"));
  ASSERT_EQ(store.sites().size(), 1u);
  EXPECT_EQ(store.defaultSite(), builtInSite());
  EXPECT_TRUE(store.problem().empty());
  EXPECT_FALSE(std::filesystem::exists(file("sites.toml")));
}

TEST_F(SettingsFolder, ChangesAreWrittenAndReadBack) {
  SiteStore store(file("sites.toml"));
  EXPECT_FALSE(store.add(kPrague));
  EXPECT_FALSE(store.add(kSydney));
  EXPECT_FALSE(store.setDefault("Sydney"));
  const SiteStore reread(file("sites.toml"));
  ASSERT_EQ(reread.sites().size(), 3u);
  EXPECT_EQ(reread.sites()[0], builtInSite());
  EXPECT_EQ(reread.sites()[1], kPrague);
  EXPECT_EQ(reread.sites()[2], kSydney);
  EXPECT_EQ(reread.defaultSite(), kSydney);

  // Removing the default site falls back to the built-in one.
  EXPECT_FALSE(store.remove("Sydney"));
  EXPECT_EQ(store.defaultSite(), builtInSite());
  const SiteStore after(file("sites.toml"));
  EXPECT_EQ(after.sites().size(), 2u);
  EXPECT_EQ(after.defaultSite(), builtInSite());
  // No temporary file is left beside it.
  int entries = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(file("sites.toml").parent_path())) {
    ++entries;
  }
  EXPECT_EQ(entries, 1);
}

TEST_F(SettingsFolder, RefusedChangesSayWhyAndChangeNothing) {
  SiteStore store(file("sites.toml"));
  ASSERT_FALSE(store.add(kPrague));
  const std::string before = read(file("sites.toml"));
  EXPECT_EQ(store.remove("既定の観測地").value_or(""), "既定の観測地は削除できません。");
  EXPECT_TRUE(store.replace("既定の観測地", kSydney).has_value());
  EXPECT_NE(store.add(kPrague).value_or("").find("すでにあります"), std::string::npos);
  Site builtInName = kSydney;
  builtInName.name = kBuiltInSiteName;
  EXPECT_TRUE(store.add(builtInName).has_value());
  Site badLatitude = kSydney;
  badLatitude.latitudeDegrees = -91;
  EXPECT_NE(store.add(badLatitude).value_or("").find("緯度"), std::string::npos);
  Site badZone = kSydney;
  badZone.zone = "Mars/Olympus";
  EXPECT_NE(store.add(badZone).value_or("").find("Mars/Olympus"), std::string::npos);
  EXPECT_TRUE(store.remove("どこか").has_value());
  EXPECT_TRUE(store.setDefault("どこか").has_value());
  EXPECT_EQ(read(file("sites.toml")), before);
  EXPECT_EQ(store.sites().size(), 2u);
}

TEST_F(SettingsFolder, ReplaceRenamesAndKeepsTheDefault) {
  SiteStore store(file("sites.toml"));
  ASSERT_FALSE(store.add(kPrague));
  ASSERT_FALSE(store.setDefault(kPrague.name));
  Site moved = kPrague;
  moved.name = "オンドジェヨフ";
  moved.latitudeDegrees = 49.91;
  EXPECT_FALSE(store.replace(kPrague.name, moved));
  const SiteStore reread(file("sites.toml"));
  EXPECT_EQ(reread.defaultSite(), moved);
}

struct Damage {
  const char* text;
  long line;
};

class DamagedFile : public SettingsFolder, public ::testing::WithParamInterface<Damage> {};

TEST_P(DamagedFile, NamesTheLineFallsBackAndKeepsTheFile) {
  write(file("sites.toml"), GetParam().text);
  SiteStore store(file("sites.toml"));
  ASSERT_EQ(store.sites().size(), 1u);
  EXPECT_EQ(store.defaultSite(), builtInSite());
  EXPECT_NE(store.problem().find(" " + std::to_string(GetParam().line) + " 行目"), std::string::npos)
      << store.problem();
  EXPECT_NE(store.problem().find("既定の観測地"), std::string::npos);
  EXPECT_TRUE(store.add(kPrague).has_value());
  EXPECT_EQ(read(file("sites.toml")), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Faults, DamagedFile,
    ::testing::Values(
        Damage{"default = \"既定の観測地\"\n[[site]]\nname = \"a\"\nlongitude = 14 x\n", 4},
        Damage{"[[site]]\nname = \"a\"\nlongitude = 14.0\nlatitude = 50.0\nzone = \"Europe/Prague\"\n\n"
               "[[site]]\nname = \"b\"\nlongitude = 14.0\nlatitude = 95.0\nzone = \"Europe/Prague\"\n",
               7},
        Damage{"\n\n[[site]]\nname = \"a\"\nlatitude = 50.0\nzone = \"Europe/Prague\"\n", 3},
        Damage{"[[site]]\nname = \"a\"\nlongitude = 14.0\nlatitude = 50.0\nzone = \"Europe/Nowhere\"\n", 1},
        Damage{"default = \"どこか\"\n", 1},
        Damage{"[[site]]\nname = \"既定の観測地\"\nlongitude = 139.0\nlatitude = 35.0\nzone = \"UTC+09:00\"\n", 1}));

TEST_F(SettingsFolder, FolderFollowsXdgConfigHome) {
  const char* old = std::getenv("XDG_CONFIG_HOME");
  const std::string saved = old != nullptr ? old : "";
  ::setenv("XDG_CONFIG_HOME", folder_.c_str(), 1);
  EXPECT_EQ(SiteStore::defaultFile(), folder_ / "Tenmirel" / "sites.toml");
  EXPECT_EQ(ElementsSettings::defaultFile(), folder_ / "Tenmirel" / "settings.toml");
  ::setenv("XDG_CONFIG_HOME", "relative/is/ignored", 1);
  EXPECT_NE(SiteStore::defaultFile(), std::filesystem::path("relative/is/ignored/Tenmirel/sites.toml"));
  if (old != nullptr) {
    ::setenv("XDG_CONFIG_HOME", saved.c_str(), 1);
  } else {
    ::unsetenv("XDG_CONFIG_HOME");
  }
}

TEST_F(SettingsFolder, ElementsTimeIsRememberedPerCanonicalPath) {
  write(folder_ / "cat" / "kreiner.vsd", "x");
  ElementsSettings settings(file("settings.toml"));
  EXPECT_EQ(settings.timeSystemOf(folder_ / "cat" / "kreiner.vsd"), ElementsTime::jd);
  EXPECT_FALSE(settings.setTimeSystem(folder_ / "cat" / "kreiner.vsd", ElementsTime::hjd));
  EXPECT_FALSE(settings.setTimeSystem(folder_ / "other.vsd", ElementsTime::bjdTdb));
  const ElementsSettings reread(file("settings.toml"));
  EXPECT_EQ(reread.timeSystemOf(folder_ / "cat" / ".." / "cat" / "kreiner.vsd"), ElementsTime::hjd);
  EXPECT_EQ(reread.timeSystemOf(folder_ / "other.vsd"), ElementsTime::bjdTdb);
  EXPECT_FALSE(settings.setTimeSystem(folder_ / "other.vsd", ElementsTime::jd));
  EXPECT_EQ(ElementsSettings(file("settings.toml")).timeSystemOf(folder_ / "other.vsd"), ElementsTime::jd);
}

TEST_F(SettingsFolder, ElementsSettingsKeepOtherTablesAndRefuseADamagedFile) {
  write(file("settings.toml"), "[window]\nwidth = 800\n");
  ElementsSettings settings(file("settings.toml"));
  ASSERT_FALSE(settings.setTimeSystem(folder_ / "a.vsd", ElementsTime::hjd));
  EXPECT_NE(read(file("settings.toml")).find("width = 800"), std::string::npos);

  const std::string damaged = "[elements]\n\"/a.vsd\" = \"HJD\"\n\"/b.vsd\" = \"TT\"\n";
  write(file("settings.toml"), damaged);
  ElementsSettings bad(file("settings.toml"));
  EXPECT_NE(bad.problem().find(" 3 行目"), std::string::npos) << bad.problem();
  EXPECT_EQ(bad.timeSystemOf("/a.vsd"), ElementsTime::jd);
  EXPECT_TRUE(bad.setTimeSystem("/a.vsd", ElementsTime::hjd).has_value());
  EXPECT_EQ(read(file("settings.toml")), damaged);
}

TEST(ElementsTimeNames, ParseAndName) {
  EXPECT_EQ(parseElementsTime("jd"), ElementsTime::jd);
  EXPECT_EQ(parseElementsTime("HJD"), ElementsTime::hjd);
  EXPECT_EQ(parseElementsTime("bjd"), ElementsTime::bjdTdb);
  EXPECT_EQ(parseElementsTime("BJD_TDB"), ElementsTime::bjdTdb);
  EXPECT_FALSE(parseElementsTime("tt").has_value());
  EXPECT_STREQ(elementsTimeName(ElementsTime::bjdTdb), "BJD_TDB");
}

TEST(AtomicWrite, RefusesAnUnwritablePlace) {
  EXPECT_TRUE(writeFileAtomically("/proc/tenmirel-no/sites.toml", "x").has_value());
}

}  // namespace
}  // namespace tenmirel::sky
