#pragma once
// What makes an imported star predictable, the same for every format.
//
// Predictable = a plain or ':' period above zero and an epoch, with a position.
// Every other star keeps a reason (SkipReason): a synonym line, no position, no
// period, a mean cycle in parentheses, a period that is only a limit, no epoch,
// an epoch outside 1800 ... now + 5 years, elements that do not read.
#include "importer/imported_star.h"

namespace tenmirel::importer {

// Rewrites the star's epoch as a full Julian day (see epoch_rules.h), its
// period as the record will hold it, and sets its skip reason.
void settleElements(ImportedStar& star, double latestTrustedEpoch);

}  // namespace tenmirel::importer
