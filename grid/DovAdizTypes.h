#pragma once

#include <string>

#include "platform/core/Exception.h"

namespace velmora {

// The grid's own errors (values that are not what a view asks for, files and exchange); the message
// is the fixed English text of each case.
class EDovAdizError : public platform::Exception {
public:
  using Exception::Exception;
};

}  // namespace velmora
