#pragma once
// Fitted elements go into the catalogue the way the catalogue editor saves it
// (checked, CP932 kept, NAME.vsd~ left), never by a writer of their own.
#include "timing/elements_writer.h"

namespace tenmirel::ui {

class EditorElementsWriter : public timing::ElementsWriter {
 public:
  Refusal replaceElements(const std::string& catalogueFile, const timing::ElementsReplacement& replacement) override;
};

}  // namespace tenmirel::ui
