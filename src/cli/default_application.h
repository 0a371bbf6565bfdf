#pragma once
// Opens a written file in the desktop's default application through xdg-open,
// for the command line's --open.
#include "common/ui_ports.h"

namespace tenmirel::cli {

class DefaultApplication : public FileOpener {
 public:
  bool openWithDefaultApplication(const std::string& path) override;
};

}  // namespace tenmirel::cli
