#include "platform/app/Timer.h"

namespace platform {

namespace {
constexpr UINT_PTR kTimerId = 1;
}

TTimer::TTimer(TComponent* AOwner) : TComponent(AOwner) {
  window_ = WindowHandle("TTimer", "", WindowKind::Hidden, [this](TMessage& message) {
    if (message.Msg == WM_TIMER && OnTimer) OnTimer(this);
  });
  UpdateTimer();
}

TTimer::~TTimer() { window_.Reset(); }

void TTimer::SetEnabled(bool value) {
  if (value == enabled_) return;
  enabled_ = value;
  UpdateTimer();
}

void TTimer::SetInterval(UINT value) {
  if (value == interval_) return;
  interval_ = value;
  UpdateTimer();
}

void TTimer::UpdateTimer() {
  KillTimer(window_.Handle(), kTimerId);
  if (enabled_ && interval_ != 0) SetTimer(window_.Handle(), kTimerId, interval_);
}

}  // namespace platform
