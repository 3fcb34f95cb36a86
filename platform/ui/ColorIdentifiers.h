#pragma once

#include "platform/app/PublishedClasses.h"

namespace platform {

// The colour names (clBtnFace, clRed, clNone, ...) that published TColor properties take besides numbers:
// .Property("Color", &TControl::SetColor, ColorIdentifiers()).
const TIdentifierTable& ColorIdentifiers();

}  // namespace platform
