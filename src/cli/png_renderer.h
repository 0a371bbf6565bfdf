#pragma once
// A picture as PNG without Qt in tenmirel-cli: the SVG goes to tenmirel-render,
// found beside the running program, else in /usr/bin.
#include <string>

#include "common/checked.h"

namespace tenmirel::cli {

inline constexpr const char* kPngRendererName = "tenmirel-render";

// Writes the SVG picture to pngFile as PNG. The file appears whole or not at
// all: the renderer draws into a temporary file beside it, which is then renamed.
Refusal writePngOfSvg(const std::string& svg, const std::string& pngFile);

}  // namespace tenmirel::cli
