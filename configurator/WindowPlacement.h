#pragma once

#include "platform/gfx/Geometry.h"

namespace configurator {

// The bounds of the last session brought inside the work area: at least the minimum size, at most the
// work area's size (unless the minimum is larger), and moved so that as much as fits lies inside it.
platform::TRect FitIntoWorkArea(const platform::TRect& bounds, const platform::TRect& workArea, int minWidth,
                                int minHeight);

// The log panel's height kept between its minimum and what the window leaves it (the minimum wins).
int FitLogPanelHeight(int height, int minHeight, int available);

}  // namespace configurator
