#pragma once

#include <string>

namespace platform {

// The login name of the user the process runs as ("" when the system knows none).
std::string UserName();

}  // namespace platform
