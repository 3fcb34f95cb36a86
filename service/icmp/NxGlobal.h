#pragma once

#include <cstdint>

namespace velmora {

// Helpers of the socket units.

// The system tick count in ms (the platform clock's, so virtual in tests); wraps after about 49.7 days.
uint32_t Ticks();

// Milliseconds from AOldTickCount to ANewTickCount. When the counter wrapped in between the result is
// 2^32 - 1 - old + new, one less than the modular difference.
uint32_t GetTickDiff(uint32_t AOldTickCount, uint32_t ANewTickCount);

// The id of the running process.
uint32_t CurrentProcessId();

}  // namespace velmora
