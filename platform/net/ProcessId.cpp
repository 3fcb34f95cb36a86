#include "platform/net/ProcessId.h"

#include <unistd.h>

namespace platform {

uint32_t CurrentProcessId() { return static_cast<uint32_t>(::getpid()); }

}  // namespace platform
