#pragma once

#include <functional>
#include <memory>
#include <string>

#include "platform/ui/Backend.h"

namespace platform {

// Called from the message loop when the connection to the X server breaks; the backend is of no further
// use then. The programs end with a message.
using TServerLostHandler = std::function<void(const std::string& message)>;

// Why OpenX11Backend gave no backend: no server, one that took the connection but did not answer
// within a few seconds, or one that the backend cannot serve (colours other than 24-bit or 16-bit true
// colour, no input method).
enum class TX11Refusal { NoServer, NotAnswering, Unsupported };

// The X11 backend on a display (empty: $DISPLAY): a real X window for every top-level form and pop-up,
// the keyboard through an input method, the mouse, focus, cursors and the clipboard as X selections.
// Its events reach the sinks from the calling thread's message loop, which waits on the connection's
// descriptor. Null, with the reason in `error` (and its kind in `refusal` when given), when there is
// no server or the backend cannot serve it.
std::unique_ptr<TBackend> OpenX11Backend(const std::string& displayName, std::string& error,
                                         TServerLostHandler serverLost, TX11Refusal* refusal = nullptr);

}  // namespace platform
