#pragma once

#include <functional>

#include "platform/app/Component.h"
#include "platform/app/Messages.h"
#include "platform/app/Window.h"

namespace platform {

// The timer component: while Enabled with a non-zero Interval, OnTimer runs every Interval ms on the
// thread that created the timer, counted from when the timer was last armed. Changing Enabled or
// Interval re-arms it from that moment; setting the value it already has changes nothing. Both setters
// may be called from any thread. An exception that leaves OnTimer goes to the loop's exception hook.
class TTimer : public TComponent {
public:
  explicit TTimer(TComponent* AOwner);
  ~TTimer() override;

  bool Enabled() const { return enabled_; }
  void SetEnabled(bool value);
  UINT Interval() const { return interval_; }
  void SetInterval(UINT value);

  TNotifyEvent OnTimer;

private:
  void UpdateTimer();

  bool enabled_ = true;
  UINT interval_ = 1000;
  WindowHandle window_;
};

}  // namespace platform
