#pragma once
// The O−C diagram drawn as an SVG document, for the command line and the
// window's export alike: cycle E across, O − C in minutes up, error bars,
// primaries as filled circles, secondaries as open circles, maxima as squares,
// excluded observations grey, outliers ringed in red, the zero line of the
// current elements and the fitted curve.
#include <string>

#include "timing/o_minus_c.h"

namespace tenmirel::timing {

inline constexpr int kOcSvgWidth = 800;
inline constexpr int kOcSvgHeight = 500;

std::string ocDiagramSvg(const OcDiagram& diagram, const StarElements& elements, const std::string& title);

}  // namespace tenmirel::timing
