#pragma once

#include "platform/gfx/Font.h"

namespace controls {

// The least height of a one-line edit in this font, frame aside: the font's text height and a quarter
// of the smaller of it and the system font's (the font a new TFont starts as).
int EditMinHeight(const platform::TFont& font);

}  // namespace controls
