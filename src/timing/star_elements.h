#pragma once
// A catalogued star's light elements as the O−C diagram uses them: epoch and
// period read as the night plan reads them, the time system they are given in,
// the star's direction for the light-time corrections, and the phase of the
// secondary minimum from the memo (II=, else 0.5).
#include "catalogue/star_table.h"
#include "common/checked.h"
#include "sky/elements_time.h"
#include "sky/time_system.h"

namespace tenmirel::timing {

struct StarElements {
  double epoch = 0;   // Julian day in `system`
  double period = 0;  // days
  sky::ElementsTime system = sky::ElementsTime::jd;
  sky::StarDirection direction;
  double secondaryPhase = 0.5;
};

// Refuses a star without an epoch or a period, or a period that is not positive.
Checked<StarElements> starElementsOf(const StarRecord& star, sky::ElementsTime system);

// The time in `to` of an instant given in `from` (through UT at the geocentre).
double convertedTime(double time, sky::ElementsTime from, sky::ElementsTime to, const sky::StarDirection& star);

}  // namespace tenmirel::timing
