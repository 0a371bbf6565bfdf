#include "lists/message_gate.h"

namespace tenmirel {

void MessageGate::showMessage(const std::string& text) {
  if (filtering_ && !seen_.insert(text).second) return;
  boxes_.showMessage(text);
}

}  // namespace tenmirel
