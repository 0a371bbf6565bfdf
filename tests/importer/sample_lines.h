#pragma once
// Real catalogue lines from data/catalogue-samples, and a reading of text
// through the importer that keeps every star.
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "importer/star_reader.h"
#include "support/recording_ports.h"

namespace tenmirel::testing {

inline std::filesystem::path catalogueSample(const std::string& name) {
  return sourceDir() / "data" / "catalogue-samples" / name;
}

inline std::string fileText(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// The file's lines without their line ends (CR LF or LF).
inline std::vector<std::string> fileLines(const std::filesystem::path& path) {
  std::vector<std::string> lines;
  std::istringstream in(fileText(path));
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty()) lines.push_back(line);
  }
  return lines;
}

// 2026-12-07 plus five years, so tests do not depend on the clock.
inline constexpr double kTestLatestEpoch = 2461382.0 + 5 * 365.25;

struct Reading {
  bool ok = false;
  std::string message;
  importer::CatalogueFormat format = importer::CatalogueFormat::gcvs51;
  std::vector<importer::ImportedStar> stars;
};

inline Reading readText(const std::string& text, importer::ReadOptions options = {}) {
  if (options.latestTrustedEpoch == 0) options.latestTrustedEpoch = kTestLatestEpoch;
  std::istringstream in(text);
  Reading reading;
  const auto result = importer::readStars(
      in, options, [&](importer::ImportedStar&& star) { reading.stars.push_back(std::move(star)); });
  reading.ok = result.ok();
  if (result) {
    reading.format = result->format;
  } else {
    reading.message = result.message();
  }
  return reading;
}

inline const importer::ImportedStar* starNamed(const Reading& reading, const std::string& name) {
  for (const auto& star : reading.stars) {
    if (star.name == name) return &star;
  }
  return nullptr;
}

}  // namespace tenmirel::testing
