#include "cli/png_renderer.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <optional>
#include <vector>

extern char** environ;

namespace tenmirel::cli {
namespace {

constexpr const char* kInstalledFolder = "/usr/bin";

std::optional<std::filesystem::path> rendererProgram() {
  std::vector<std::filesystem::path> places;
  std::error_code code;
  const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", code);
  if (!code) places.push_back(self.parent_path() / kPngRendererName);
  places.push_back(std::filesystem::path(kInstalledFolder) / kPngRendererName);
  for (const auto& place : places) {
    if (::access(place.c_str(), X_OK) == 0 && std::filesystem::is_regular_file(place, code)) return place;
  }
  return std::nullopt;
}

// The renderer's exit status, or -1 when it could not be started or did not end normally.
int run(const std::filesystem::path& program, const std::string& in, const std::string& out) {
  std::string name = program.string();
  std::string inArg = in;
  std::string outArg = out;
  char* argv[] = {name.data(), inArg.data(), outArg.data(), nullptr};
  pid_t child = 0;
  if (::posix_spawn(&child, name.c_str(), nullptr, nullptr, argv, environ) != 0) return -1;
  int status = 0;
  while (::waitpid(child, &status, 0) < 0) {
    if (errno != EINTR) return -1;
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Removes the temporary files however the function leaves.
class TemporaryFiles {
 public:
  explicit TemporaryFiles(std::vector<std::filesystem::path> files) : files_(std::move(files)) {}
  ~TemporaryFiles() {
    std::error_code ignored;
    for (const auto& file : files_) std::filesystem::remove(file, ignored);
  }
  TemporaryFiles(const TemporaryFiles&) = delete;
  TemporaryFiles& operator=(const TemporaryFiles&) = delete;

 private:
  std::vector<std::filesystem::path> files_;
};

}  // namespace

Refusal writePngOfSvg(const std::string& svg, const std::string& pngFile) {
  const auto program = rendererProgram();
  if (!program) {
    return std::string("PNG を描くプログラム ") + kPngRendererName +
           " が見つかりません（tenmirel-cli と同じフォルダにも " + kInstalledFolder +
           " にもありません）。--svg なら書き出せます";
  }
  const std::string stem = pngFile + ".tmp" + std::to_string(::getpid());
  const std::filesystem::path svgFile = stem + ".svg";
  const std::filesystem::path drawn = stem + ".png";
  const TemporaryFiles temporaries({svgFile, drawn});
  const std::string cannotWrite = "「" + pngFile + "」に書き出せませんでした";
  {
    std::ofstream out(svgFile, std::ios::binary | std::ios::trunc);
    if (!(out << svg) || !out.flush()) return cannotWrite;
  }
  const int status = run(*program, svgFile.string(), drawn.string());
  std::error_code code;
  if (status != 0 || !std::filesystem::is_regular_file(drawn, code)) {
    return program->string() + " が PNG を描けませんでした（「" + pngFile + "」は書き出していません）";
  }
  std::filesystem::rename(drawn, pngFile, code);
  if (code) return cannotWrite;
  return std::nullopt;
}

}  // namespace tenmirel::cli
