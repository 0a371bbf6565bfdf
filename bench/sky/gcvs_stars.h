#pragma once
// The GCVS extract of data/gcvs-elements.tsv as night-plan stars.
#include <string>
#include <vector>

#include "sky/night_plan.h"

namespace tenmirel::bench {

std::vector<sky::NightStar> readGcvsStars(const std::string& path);

}  // namespace tenmirel::bench
