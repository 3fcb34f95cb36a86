#pragma once

#include "platform/core/Exception.h"
#include "platform/app/Component.h"

namespace controls {

class EWinXPError : public platform::Exception {
public:
  using Exception::Exception;
};

// Marks its form as drawn in the system's current visual style. The controls of this framework always
// follow the platform's look, so the component only guards that it sits, once, on a form.
class TWinXP : public platform::TComponent {
public:
  // Throws EWinXPError when the owner is not a form or already holds a TWinXP.
  explicit TWinXP(platform::TComponent* AOwner);
};

}  // namespace controls
