#include "service/icmp/NxException.h"

#include "platform/core/StrUtils.h"
#include "service/icmp/NxSocketErrorText.h"

namespace velmora {

ENxSocketError::ENxSocketError(int AErrorCode)
    : ENxException(platform::Format("Socket Error # %d\r\n%s", AErrorCode, SocketErrorText(AErrorCode))),
      lastError_(AErrorCode) {}

}  // namespace velmora
