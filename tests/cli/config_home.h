#pragma once
// Points $XDG_CONFIG_HOME at a fresh folder for one test, so the sites and
// settings files the commands read and write are the test's own.
#include <cstdlib>
#include <optional>
#include <string>

#include "support/recording_ports.h"

namespace tenmirel::testing {

class ConfigHome {
 public:
  ConfigHome() {
    if (const char* old = std::getenv("XDG_CONFIG_HOME")) saved_ = old;
    ::setenv("XDG_CONFIG_HOME", dir_.path().c_str(), 1);
  }
  ~ConfigHome() {
    if (saved_) {
      ::setenv("XDG_CONFIG_HOME", saved_->c_str(), 1);
    } else {
      ::unsetenv("XDG_CONFIG_HOME");
    }
  }
  ConfigHome(const ConfigHome&) = delete;
  ConfigHome& operator=(const ConfigHome&) = delete;

  std::filesystem::path sitesFile() const { return dir_.path() / "Tenmirel" / "sites.toml"; }
  const TempDir& dir() const { return dir_; }

 private:
  TempDir dir_;
  std::optional<std::string> saved_;
};

}  // namespace tenmirel::testing
