// oc --png through the real programs: tenmirel-cli hands the SVG to
// tenmirel-render beside it and renames the drawn file into place.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "support/recording_ports.h"

namespace tenmirel::testing {
namespace {

namespace fs = std::filesystem;

struct ProgramRun {
  int status;
  std::string err;
};

std::string textOf(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// The program with its log in home, stderr kept in home/err.txt.
ProgramRun run(const fs::path& program, const fs::path& home, const std::string& arguments) {
  const fs::path errFile = home / "err.txt";
  const std::string command = "XDG_DATA_HOME='" + home.string() + "' '" + program.string() + "' " + arguments +
                              " > /dev/null 2> '" + errFile.string() + "'";
  const int raw = std::system(command.c_str());
  return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, textOf(errFile)};
}

class OcPng : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::copy_file(fs::path(TENMIREL_SOURCE_DIR) / "data/sample.vsd", catalogue);
    for (const char* time : {"2452500.5812", "2453695.7326", "2454890.9845", "2456086.2330"}) {
      ASSERT_EQ(run(TENMIREL_CLI_PROGRAM, dir.path(),
                    std::string("obs add --star 'RZ Cas' --time-system hjd --sigma 0.0004 --time ") + time)
                    .status,
                0);
    }
    fs::create_directory(pictures);
  }
  std::string ocPng(const std::string& png) const {
    return "oc --star 'RZ Cas' --catalogue '" + catalogue.string() + "' --elements hjd --png '" + png + "'";
  }
  TempDir dir;
  fs::path catalogue = dir.path() / "sample.vsd";
  fs::path pictures = dir.path() / "pictures";
};

TEST_F(OcPng, IsDrawnByTheRendererBesideTheProgram) {
  ASSERT_EQ(fs::path(TENMIREL_CLI_PROGRAM).parent_path(), fs::path(TENMIREL_RENDER_PROGRAM).parent_path());
  const fs::path png = pictures / "rz-cas-oc.png";
  const ProgramRun oc = run(TENMIREL_CLI_PROGRAM, dir.path(), ocPng(png.string()));
  ASSERT_EQ(oc.status, 0) << oc.err;
  const std::string bytes = textOf(png);
  ASSERT_GE(bytes.size(), 24u);
  EXPECT_EQ(bytes.substr(0, 8), "\x89PNG\r\n\x1a\n");
  EXPECT_EQ(bytes.substr(12, 4), "IHDR");
  auto bigEndian = [&](std::size_t at) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i) value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
    return value;
  };
  EXPECT_EQ(bigEndian(16), 1600u);  // twice the SVG's 800 × 500
  EXPECT_EQ(bigEndian(20), 1000u);
  EXPECT_EQ(std::distance(fs::directory_iterator(pictures), {}), 1);  // no temporary left
}

struct Renderer {
  const char* name;
  const char* script;  // null: none beside the program
  const char* said;
};

class OcPngWithoutRenderer : public OcPng, public ::testing::WithParamInterface<Renderer> {};

TEST_P(OcPngWithoutRenderer, FailsWithStatusOneAndWritesNothing) {
  if (!GetParam().script && fs::exists("/usr/bin/tenmirel-render")) GTEST_SKIP() << "an installed renderer is found";
  const fs::path bin = dir.path() / "bin";
  fs::create_directory(bin);
  fs::copy_file(TENMIREL_CLI_PROGRAM, bin / "tenmirel-cli");
  if (GetParam().script) {
    std::ofstream(bin / "tenmirel-render") << GetParam().script;
    fs::permissions(bin / "tenmirel-render", fs::perms::owner_all);
  }
  const fs::path png = pictures / "rz-cas-oc.png";
  const ProgramRun oc = run(bin / "tenmirel-cli", dir.path(), ocPng(png.string()));
  EXPECT_EQ(oc.status, 1);
  EXPECT_NE(oc.err.find(GetParam().said), std::string::npos) << oc.err;
  EXPECT_EQ(std::distance(fs::directory_iterator(pictures), {}), 0);
}

INSTANTIATE_TEST_SUITE_P(Renderers, OcPngWithoutRenderer,
                         ::testing::Values(Renderer{"Missing", nullptr, "tenmirel-render が見つかりません"},
                                           Renderer{"Failing", "#!/bin/sh\necho broken >&2\nexit 1\n",
                                                    "PNG を描けませんでした"},
                                           // Ends well but draws nothing: still no file.
                                           Renderer{"DrawingNothing", "#!/bin/sh\nexit 0\n", "PNG を描けませんでした"}),
                         [](const ::testing::TestParamInfo<Renderer>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tenmirel::testing
