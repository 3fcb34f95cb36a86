#include "platform/app/AppClasses.h"

#include "platform/app/ApplicationEvents.h"
#include "platform/app/PublishedClasses.h"
#include "platform/app/Timer.h"

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
