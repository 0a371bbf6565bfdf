#pragma once
// The picture of a planned night: the time axis from an hour before sunset to an
// hour after sunrise (or the designed 07:00 to 07:00 night), the Sun and the Moon
// through the night, and the altitude curves of the chosen events' stars.
#include <optional>
#include <vector>

#include "sky/night_plan.h"
#include "ui/plan/night_picture_data.h"

namespace tenmirel::ui {

struct PictureChoice {
  // Events whose stars get a curve, every extremum of theirs marked and labelled.
  std::vector<const sky::NightEvent*> selected;
  // Further events to show as dots (those the table shows).
  std::vector<const sky::NightEvent*> shown;
  std::optional<double> nowUt;
};

NightPictureData buildNightPicture(const sky::NightPlan& plan, const PictureChoice& choice);

}  // namespace tenmirel::ui
