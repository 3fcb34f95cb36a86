#include "service/icmp/NxGlobal.h"

#include "platform/core/Clock.h"
#include "platform/net/ProcessId.h"

namespace velmora {

uint32_t Ticks() { return platform::GetTickCount(); }

uint32_t GetTickDiff(uint32_t AOldTickCount, uint32_t ANewTickCount) {
  if (ANewTickCount >= AOldTickCount) return ANewTickCount - AOldTickCount;
  return 0xFFFFFFFFu - AOldTickCount + ANewTickCount;
}

uint32_t CurrentProcessId() { return platform::CurrentProcessId(); }

}  // namespace velmora
