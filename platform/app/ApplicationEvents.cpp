#include "platform/app/ApplicationEvents.h"

#include <algorithm>

namespace platform {

TApplicationEvents::TApplicationEvents(TComponent* AOwner) : TComponent(AOwner) {
  Application().events_.push_back(this);
}

TApplicationEvents::~TApplicationEvents() { std::erase(Application().events_, this); }

}  // namespace platform
