#pragma once
// The sky layer's name for the value-or-message result of common/checked.h.
#include "common/checked.h"

namespace tenmirel::sky {

template <typename T>
using Checked = tenmirel::Checked<T>;
using tenmirel::Refusal;

}  // namespace tenmirel::sky
