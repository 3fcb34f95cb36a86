#pragma once

#include <memory>

#include "platform/ui/Backend.h"

namespace platform {

// The backend that a program chooses once at its start: the X11 backend when DISPLAY is set and its
// server answers, else null (the headless backend stays). A server that answers but cannot be served
// (its colour depth), or one that takes the connection but does not answer within 5 s, is said on
// standard error as "<program>: <reason>; no window is shown". When the server goes away later, the program
// ends with "<program>: the connection to the X server ... was lost" on standard error and exit code 1.
std::unique_ptr<TBackend> OpenDisplayBackend();

// Installs that backend as the process's backend when there is one; true when it did.
bool ChooseBackend();

}  // namespace platform
