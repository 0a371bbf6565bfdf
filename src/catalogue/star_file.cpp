#include "catalogue/star_file.h"

namespace tenmirel {

// Placeholder until the reader lands: every load fails quietly.
int LoadStarFile(FileChooser& chooser, MessageSink&, StarTable&) {
  (void)chooser.chooseFileToOpen(kCatalogueFilterDescription, kCataloguePattern);
  return 0;
}

}  // namespace tenmirel
