#pragma once

#include <functional>

#include "platform/app/Application.h"
#include "platform/app/Timer.h"

namespace platform {

// Runs this thread's message loop until done() or timeoutMs, looking at done() at least every 100 ms
// (for what another process changes, such as files); returns done(). For tests on the real clock.
inline bool PumpUntil(const std::function<bool()>& done, int timeoutMs) {
  bool late = false;
  TTimer deadline(nullptr);
  deadline.SetInterval(static_cast<UINT>(timeoutMs));
  deadline.OnTimer = [&](TObject*) { late = true; };
  TTimer look(nullptr);
  look.SetInterval(100);
  look.OnTimer = [](TObject*) {};
  Application().HandleMessagesUntil([&] { return late || done(); });
  return done();
}

}  // namespace platform
