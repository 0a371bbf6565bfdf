// The sites and settings files under what users and machines do to them: hostile
// names, links, odd files in their place, huge files, and changes from several
// processes at once.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "sky/config_files.h"
#include "sky/elements_settings.h"
#include "sky/site_store.h"

namespace tenmirel::sky {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

class ConfigFolder : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/tenmirel-config-XXXXXX";
    folder_ = ::mkdtemp(pattern);
    fs::create_directories(folder_ / "Tenmirel");
  }
  void TearDown() override { fs::remove_all(folder_); }

  fs::path sites() const { return folder_ / "Tenmirel" / "sites.toml"; }
  fs::path settings() const { return folder_ / "Tenmirel" / "settings.toml"; }
  static std::string read(const fs::path& path) {
    std::ostringstream text;
    text << std::ifstream(path, std::ios::binary).rdbuf();
    return text.str();
  }
  static void write(const fs::path& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

  fs::path folder_;
};

Site siteNamed(std::string name) { return Site{std::move(name), 14.4167, 50.08, 250, "Europe/Prague"}; }

TEST_F(ConfigFolder, EveryPrintableNameSurvivesAWriteAndARead) {
  const std::vector<std::string> names = {"Mt'''c",
                                          "'''",
                                          "\"\"\"",
                                          "a\"b",
                                          "back\\slash",
                                          "\\n as typed",
                                          "#not a comment",
                                          "[[site]]",
                                          "name = \"x\"",
                                          "日本語の観測地",
                                          "🌌 emoji",
                                          " lead",
                                          "trail ",
                                          "\u00a0nbsp",
                                          "= eq",
                                          "'",
                                          "\"",
                                          "tab\\t text"};
  SiteStore store(sites());
  for (const std::string& name : names) ASSERT_FALSE(store.add(siteNamed(name))) << name;
  const SiteStore reread(sites());
  ASSERT_TRUE(reread.problem().empty()) << reread.problem();
  ASSERT_EQ(reread.sites().size(), names.size() + 1);
  for (std::size_t i = 0; i < names.size(); ++i) EXPECT_EQ(reread.sites()[i + 1].name, names[i]);
  // Every one of them can be removed again.
  for (const std::string& name : names) EXPECT_FALSE(store.remove(name)) << name;
  EXPECT_EQ(SiteStore(sites()).sites().size(), 1u);
}

TEST_F(ConfigFolder, NamesWithControlCharactersAreRefused) {
  SiteStore store(sites());
  ASSERT_FALSE(store.add(siteNamed("Praha")));
  const std::string before = read(sites());
  for (const std::string& name : {"Mt\nb'''c"s, "bell\a"s, "esc\x1b[31m"s, "nul\0x"s, "del\x7f"s, "c1\xc2\x85"s,
                                  "tab\t"s, "not utf-8 \xff"s, "cr\r"s}) {
    const Refusal refused = store.add(siteNamed(name));
    ASSERT_TRUE(refused.has_value()) << name;
    EXPECT_NE(refused->find("制御文字"), std::string::npos) << *refused;
    EXPECT_EQ(refused->find_first_of("\n\a\x1b\x7f\r\t"s + '\0'), std::string::npos) << *refused;
  }
  EXPECT_EQ(read(sites()), before);
}

TEST_F(ConfigFolder, ANameWithControlCharactersAlreadyInTheFileIsStillReadAndKept) {
  write(sites(), "[[site]]\nname = \"Tab\tName\"\nlongitude = 1.0\nlatitude = 2.0\nzone = \"UTC\"\n");
  SiteStore store(sites());
  ASSERT_TRUE(store.problem().empty()) << store.problem();
  ASSERT_FALSE(store.add(siteNamed("Praha")));
  const SiteStore reread(sites());
  ASSERT_EQ(reread.sites().size(), 3u);
  EXPECT_EQ(reread.sites()[1].name, "Tab\tName");
  EXPECT_FALSE(store.remove("Tab\tName"));
}

TEST_F(ConfigFolder, CoordinatesAreWrittenInTheirShortestText) {
  SiteStore store(sites());
  ASSERT_FALSE(store.add(Site{"Praha", 14.4167, 50.08, 0.1 + 0.2, "Europe/Prague"}));
  ASSERT_FALSE(store.add(Site{"Tokyo", 139.0, 35.0, 1e-7, "Asia/Tokyo"}));
  const std::string text = read(sites());
  for (const char* line : {"longitude = 14.4167\n", "latitude = 50.08\n", "height = 0.30000000000000004\n",
                           "longitude = 139.0\n", "height = 1e-07\n"}) {
    EXPECT_NE(text.find(line), std::string::npos) << line << text;
  }
  const SiteStore reread(sites());
  ASSERT_EQ(reread.sites().size(), 3u);
  EXPECT_EQ(reread.sites()[1].heightMetres, 0.1 + 0.2);
  EXPECT_EQ(reread.sites()[2].heightMetres, 1e-7);
}

TEST_F(ConfigFolder, ALinkedFileIsWrittenThroughItsLinkKeepingItsMode) {
  const fs::path dotfiles = folder_ / "dotfiles";
  fs::create_directories(dotfiles);
  for (const auto& [link, target] :
       {std::pair{sites(), dotfiles / "sites.toml"}, std::pair{settings(), dotfiles / "settings.toml"}}) {
    write(target, "# mine\n");
    ASSERT_EQ(::chmod(target.c_str(), 0640), 0);
    fs::create_symlink("../dotfiles/" + target.filename().string(), link);
  }
  SiteStore store(sites());
  ASSERT_FALSE(store.add(siteNamed("Praha")));
  ElementsSettings elements(settings());
  ASSERT_FALSE(elements.setTimeSystem(folder_ / "a.vsd", ElementsTime::hjd));
  for (const fs::path& link : {sites(), settings()}) {
    EXPECT_TRUE(fs::is_symlink(link)) << link;
    const fs::path target = dotfiles / link.filename();
    struct stat info {};
    ASSERT_EQ(::stat(target.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u) << target;
  }
  EXPECT_NE(read(dotfiles / "sites.toml").find("Praha"), std::string::npos);
  EXPECT_NE(read(dotfiles / "settings.toml").find("HJD"), std::string::npos);
  EXPECT_EQ(SiteStore(sites()).sites().size(), 2u);
  // Nothing but the two files is left in either folder.
  EXPECT_EQ(std::distance(fs::directory_iterator(dotfiles), fs::directory_iterator()), 2);
  EXPECT_EQ(std::distance(fs::directory_iterator(sites().parent_path()), fs::directory_iterator()), 2);
}

TEST_F(ConfigFolder, OddFilesAreRefusedWithoutWaitingOnThem) {
  struct Odd {
    const char* label;
    std::function<void(const fs::path&)> make;
  };
  const std::vector<Odd> odds = {
      {"fifo", [](const fs::path& p) { ASSERT_EQ(::mkfifo(p.c_str(), 0600), 0); }},
      {"folder", [](const fs::path& p) { fs::create_directory(p); }},
      {"device", [](const fs::path& p) { fs::create_symlink("/dev/zero", p); }},
  };
  for (const Odd& odd : odds) {
    SCOPED_TRACE(odd.label);
    odd.make(sites());
    odd.make(settings());
    SiteStore store(sites());
    EXPECT_NE(store.problem().find("通常のファイルではありません"), std::string::npos) << store.problem();
    EXPECT_EQ(store.sites().size(), 1u);
    EXPECT_TRUE(store.add(siteNamed("Praha")).has_value());
    ElementsSettings elements(settings());
    EXPECT_NE(elements.problem().find("通常のファイルではありません"), std::string::npos) << elements.problem();
    EXPECT_TRUE(elements.setTimeSystem(folder_ / "a.vsd", ElementsTime::hjd).has_value());
    // Still there, as it was.
    EXPECT_FALSE(fs::is_regular_file(sites()));
    fs::remove(sites());
    fs::remove(settings());
  }
}

TEST_F(ConfigFolder, AFileAboveTheSizeLimitIsRefusedUnread) {
  std::string big = "# " + std::string(kLargestConfigFileBytes, 'x') + "\n";
  write(sites(), big);
  SiteStore store(sites());
  EXPECT_NE(store.problem().find("大きすぎます"), std::string::npos) << store.problem();
  EXPECT_TRUE(store.add(siteNamed("Praha")).has_value());
  EXPECT_EQ(fs::file_size(sites()), big.size());
}

TEST_F(ConfigFolder, TheLastOfManySitesIsStillCheckedForDuplicates) {
  std::string text;
  constexpr int kSites = 20000;
  for (int i = 0; i < kSites; ++i) {
    text += "[[site]]\nname = \"s" + std::to_string(i) + "\"\nlongitude = 1.5\nlatitude = 2.5\nzone = \"UTC\"\n";
  }
  write(sites(), text);
  EXPECT_EQ(SiteStore(sites()).sites().size(), static_cast<std::size_t>(kSites + 1));
  write(sites(), text + "[[site]]\nname = \"s7\"\nlongitude = 1.5\nlatitude = 2.5\nzone = \"UTC\"\n");
  const SiteStore twice(sites());
  EXPECT_NE(twice.problem().find(std::to_string(kSites * 5 + 1) + " 行目: 観測地「s7」が二度"), std::string::npos)
      << twice.problem();
}

TEST_F(ConfigFolder, DamagedFileMessagesAreJapaneseAndHaveNoControlCharacters) {
  struct Damage {
    const char* label;
    std::string text;
    std::string says;
  };
  const std::vector<Damage> damages = {
      {"missing =", "default = \"既定の観測地\"\n[[site]]\nname \"a\"\n",
       " 3 行目が読めません（キーのあとに「=」がありません）"},
      {"unclosed string", "default = \"abc\n", " 1 行目が読めません"},
      {"twice",
       "[[site]]\nname = \"\\u001b[31mX\"\nlongitude = 1.0\nlatitude = 1.0\nzone = \"UTC\"\n"
       "[[site]]\nname = \"\\u001b[31mX\"\nlongitude = 1.0\nlatitude = 1.0\nzone = \"UTC\"\n",
       " 6 行目: 観測地「\xEF\xBF\xBD[31mX」が二度書かれています"},
      {"zone", "[[site]]\nname = \"a\"\nlongitude = 1.0\nlatitude = 1.0\nzone = \"Mars\\u0007\"\n",
       "時間帯「Mars\xEF\xBF\xBD」が分かりません"},
      {"raw control",
       "default = \"a\x1b"
       "b\"\n",
       " 1 行目が読めません（使えない制御文字があります）"},
  };
  for (const Damage& damage : damages) {
    SCOPED_TRACE(damage.label);
    write(sites(), damage.text);
    const SiteStore store(sites());
    EXPECT_NE(store.problem().find(damage.says), std::string::npos) << store.problem();
    // After the file's name, which the test does not choose.
    const std::string words = store.problem().substr(store.problem().find(" の "));
    for (const char* english : {"expected", "Error", "saw", "string"}) {
      EXPECT_EQ(words.find(english), std::string::npos) << store.problem();
    }
    for (const unsigned char byte : store.problem()) EXPECT_FALSE(byte < 0x20 && byte != '\n') << store.problem();
  }
}

// Children that each make one change and end; their exit statuses.
std::vector<int> inChildren(int count, const std::function<bool(int)>& change) {
  std::vector<pid_t> children;
  for (int i = 0; i < count; ++i) {
    const pid_t child = ::fork();
    if (child == 0) ::_exit(change(i) ? 0 : 1);
    children.push_back(child);
  }
  std::vector<int> statuses;
  for (const pid_t child : children) {
    int status = 0;
    ::waitpid(child, &status, 0);
    statuses.push_back(WIFEXITED(status) ? WEXITSTATUS(status) : -1);
  }
  return statuses;
}

TEST_F(ConfigFolder, SettingsChangedByManyProcessesAtOnceAreAllKept) {
  ElementsSettings first(settings());
  ASSERT_FALSE(first.setTimeSystem(folder_ / "old.vsd", ElementsTime::bjdTdb));
  constexpr int kProcesses = 16;
  const std::vector<int> statuses = inChildren(kProcesses, [&](int i) {
    ElementsSettings mine(settings());
    return !mine.setTimeSystem(folder_ / ("c" + std::to_string(i) + ".vsd"), ElementsTime::hjd);
  });
  for (const int status : statuses) EXPECT_EQ(status, 0);
  const ElementsSettings after(settings());
  ASSERT_TRUE(after.problem().empty()) << after.problem();
  EXPECT_EQ(after.timeSystemOf(folder_ / "old.vsd"), ElementsTime::bjdTdb);
  for (int i = 0; i < kProcesses; ++i) {
    EXPECT_EQ(after.timeSystemOf(folder_ / ("c" + std::to_string(i) + ".vsd")), ElementsTime::hjd) << i;
  }
}

}  // namespace
}  // namespace tenmirel::sky
