#include "timing/star_elements.h"

#include <cmath>

#include "catalogue/memo_tokens.h"
#include "common/number_text.h"
#include "prediction/star_place.h"

namespace tenmirel::timing {
namespace {

bool blank(const std::string& text) { return text.find_first_not_of(" \t") == std::string::npos; }

}  // namespace

Checked<StarElements> starElementsOf(const StarRecord& star, sky::ElementsTime system) {
  using Result = Checked<StarElements>;
  if (blank(star.ganki) || blank(star.syuki)) {
    return Result::failure("星「" + star.starName + "」には元期と周期がありません");
  }
  StarElements elements;
  elements.epoch = parseLenient(star.ganki);
  elements.period = parseLenient(star.syuki);
  if (!std::isfinite(elements.epoch) || !std::isfinite(elements.period) || !(elements.period > 0)) {
    return Result::failure("星「" + star.starName + "」の元期「" + star.ganki + "」・周期「" + star.syuki +
                           "」を要素として使えません");
  }
  elements.system = system;
  const StarPlace place = starPlaceOf(star);
  elements.direction = sky::starDirection(place.alphaDegrees, place.deltaDegrees);
  const MemoTokens tokens = readMemoTokens(star.memo);
  if (tokens.secondaryPhase) elements.secondaryPhase = *tokens.secondaryPhase;
  return Result::success(elements);
}

double convertedTime(double time, sky::ElementsTime from, sky::ElementsTime to, const sky::StarDirection& star) {
  if (from == to) return time;
  return sky::elementsTimeOf(sky::observedUtOf(time, from, star), to, star);
}

}  // namespace tenmirel::timing
