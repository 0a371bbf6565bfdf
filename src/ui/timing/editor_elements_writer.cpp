#include "ui/timing/editor_elements_writer.h"

#include "importer/catalogue_editor.h"

namespace tenmirel::ui {

Refusal EditorElementsWriter::replaceElements(const std::string& catalogueFile,
                                              const timing::ElementsReplacement& replacement) {
  return importer::replaceStarElements(catalogueFile, replacement.starName,
                                       {replacement.epoch, replacement.period, replacement.memo});
}

}  // namespace tenmirel::ui
