#include "platform/ui/StandardClasses.h"

#include "platform/ui/ApplicationEvents.h"
#include "platform/ui/ControlClasses.h"
#include "platform/ui/PublishedClasses.h"
#include "platform/ui/Timer.h"

namespace platform {

void PublishStandardClasses() {
  TClassPublisher<TComponent>("TComponent");
  TClassPublisher<TTimer, TComponent>("TTimer")
      .Property("Enabled", &TTimer::SetEnabled)
      .Property("Interval", &TTimer::SetInterval)
      .Property("OnTimer", &TTimer::OnTimer);
  TClassPublisher<TApplicationEvents, TComponent>("TApplicationEvents")
      .Property("OnException", &TApplicationEvents::OnException)
      .Property("OnMessage", &TApplicationEvents::OnMessage);
  PublishControlClasses();
}

}  // namespace platform
