#pragma once

#include "platform/core/UniqueFd.h"

namespace platform {

// A socket is owned like any other descriptor.
using Socket = UniqueFd;

}  // namespace platform
