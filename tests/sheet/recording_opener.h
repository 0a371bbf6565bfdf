#pragma once
// Stands in for the user's default spreadsheet application.
#include <string>
#include <vector>

#include "common/ui_ports.h"

namespace tenmirel::testing {

class RecordingOpener : public FileOpener {
 public:
  bool openWithDefaultApplication(const std::string& path) override {
    opened.push_back(path);
    return succeeds;
  }
  bool succeeds = true;
  std::vector<std::string> opened;
};

}  // namespace tenmirel::testing
