#pragma once
// Fitted elements written back into a catalogue file, only when the user says so.
// The port is what the O−C window and the command line hold; they fill it with
// the catalogue editor's save, the one way a star's elements are replaced.
#include <string>

#include "common/checked.h"
#include "timing/o_minus_c.h"

namespace tenmirel::timing {

struct ElementsReplacement {
  std::string starName;  // exactly as in the catalogue
  std::string epoch;     // texts as they will stand in the file
  std::string period;
  std::string memo;
};

class ElementsWriter {
 public:
  virtual ~ElementsWriter() = default;
  // Replaces the star's epoch, period and memo in the catalogue file, or says why not.
  virtual Refusal replaceElements(const std::string& catalogueFile, const ElementsReplacement& replacement) = 0;
};

// The texts of the fitted elements for a star: epoch and period rounded two
// digits below their standard errors, the memo with the σE0= σP= cov= tokens of
// the fit (two significant digits each) and a note naming it ("O-C(12点,1998-2026)", replacing an earlier one).
// Every character of it can be written in CP932, as catalogues are.
ElementsReplacement fittedReplacement(const std::string& starName, const std::string& memo, const ElementsFit& fit);

}  // namespace tenmirel::timing
