#include "platform/ui/AppClasses.h"

#include "platform/ui/ApplicationEvents.h"
#include "platform/ui/PublishedClasses.h"
#include "platform/ui/Timer.h"

namespace platform {

void PublishAppClasses() {
  TClassPublisher<TComponent>("TComponent");
  TClassPublisher<TTimer, TComponent>("TTimer")
      .Property("Enabled", &TTimer::SetEnabled)
      .Property("Interval", &TTimer::SetInterval)
      .Property("OnTimer", &TTimer::OnTimer);
  TClassPublisher<TApplicationEvents, TComponent>("TApplicationEvents")
      .Property("OnException", &TApplicationEvents::OnException)
      .Property("OnMessage", &TApplicationEvents::OnMessage);
}

}  // namespace platform
