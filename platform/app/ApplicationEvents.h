#pragma once

#include "platform/app/Application.h"
#include "platform/app/Component.h"

namespace platform {

// A component that chains its OnMessage and OnException into the process-wide application's hooks for
// as long as it exists (see TApplication for the order). Create and destroy it on the main thread.
class TApplicationEvents : public TComponent {
public:
  explicit TApplicationEvents(TComponent* AOwner);
  ~TApplicationEvents() override;

  TApplication::TMessageEvent OnMessage;
  TApplication::TExceptionEvent OnException;
};

}  // namespace platform
