#pragma once

#include <functional>
#include <memory>
#include <string>

#include "platform/ui/Backend.h"

namespace platform {

// Called from the message loop when the connection to the X server breaks; the backend is of no further
// use then. The programs end with a message.
using TServerLostHandler = std::function<void(const std::string& message)>;

// The X11 backend on a display (empty: $DISPLAY): a real X window for every top-level form and pop-up,
// the keyboard through an input method, the mouse, focus, cursors and the clipboard as X selections.
// Its events reach the sinks from the calling thread's message loop, which waits on the connection's
// descriptor. Null, with the reason in `error`, when the server does not answer or offers no 24-bit
// true-colour visual.
std::unique_ptr<TBackend> OpenX11Backend(const std::string& displayName, std::string& error,
                                         TServerLostHandler serverLost);

}  // namespace platform
