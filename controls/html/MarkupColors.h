#pragma once

#include <string_view>

#include "platform/gfx/Colors.h"

namespace controls {

using platform::TColor;

// The colour of a lower-case name of the mini-markup ("clred", "clbtnface", ...); 0 (black) for a name
// it does not know.
TColor ColorFromName(std::string_view name);

// "#RRGGBB" as a colour with red in the low byte. Each pair of digits is read from "0"-"9" and "A"-"F";
// a pair cut short by the end of the text reads 0. The result is always a plain RGB value.
TColor ColorFromHex(std::string_view hex);

}  // namespace controls
