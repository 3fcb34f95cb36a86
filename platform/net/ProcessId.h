#pragma once

#include <cstdint>

namespace platform {

// The id of the running process.
uint32_t CurrentProcessId();

}  // namespace platform
