#pragma once

#include <cstdint>

namespace platform {

// A number that another process, or a later call, cannot predict: from the kernel's random source, which
// does not wait for entropy (a service may start early in boot); should that fail, from the clock and the
// process id, mixed.
uint32_t UnpredictableNumber();

}  // namespace platform
