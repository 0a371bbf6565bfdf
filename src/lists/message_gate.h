#pragma once
// Sits between the main window's form model and the message boxes. A list that
// drives the prediction for every star opens a scope in which each distinct
// message passes only once, so a message the prediction repeats per star is
// shown once per run.
#include <set>
#include <string>

#include "common/ui_ports.h"

namespace tenmirel {

class MessageGate : public MessageSink {
 public:
  explicit MessageGate(MessageSink& boxes) : boxes_(boxes) {}
  void showMessage(const std::string& text) override;

  class OncePerText {
   public:
    explicit OncePerText(MessageGate& gate) : gate_(gate) {
      gate_.filtering_ = true;
      gate_.seen_.clear();
    }
    ~OncePerText() { gate_.filtering_ = false; }
    OncePerText(const OncePerText&) = delete;
    OncePerText& operator=(const OncePerText&) = delete;

   private:
    MessageGate& gate_;
  };

 private:
  MessageSink& boxes_;
  bool filtering_ = false;
  std::set<std::string> seen_;
};

}  // namespace tenmirel
