#pragma once

#include <string>

namespace velmora {

// The socket layer's English text for a Winsock error code; "" for a code it has no text for.
std::string SocketErrorText(int AErrorCode);

}  // namespace velmora
