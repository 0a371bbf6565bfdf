#pragma once
// How far one predicted extremum can be trusted, as a sentence for the tooltip of
// the main window's result: from the written digits of the epoch and the period,
// or from the fitted errors in the star's memo.
#include <string>

namespace tenmirel {

// "予報の不確かさ ±1.2 分（元期・周期の桁から）"; "≥±…（…この値は下限）" when the
// period or the epoch carries a ':'; empty when the elements are no numbers.
std::string predictionUncertaintyText(const std::string& epochText, const std::string& periodText, double cycle,
                                      const std::string& memo);

}  // namespace tenmirel
