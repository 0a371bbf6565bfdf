#include "sheet/list_buffers.h"

namespace tenmirel {

void TodayBuffers::ensureRow(std::size_t r) {
  if (r < todayName.size()) return;
  todayName.resize(r + 1);
  todayTime.resize(r + 1);
  todayKoudo.resize(r + 1);
}

}  // namespace tenmirel
