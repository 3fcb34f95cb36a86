#pragma once

#include "platform/ui/Controls.h"

namespace velmora {

// The grid's own cursors, by their numbers in Screen().Cursors (drawn by scripts/draw-cursors.py):
// the way panning goes while the wheel button pans, and what a press on a fixed cell selects.
inline constexpr platform::TCursor crPanNeutral = 8000;
inline constexpr platform::TCursor crPanDown = 8001;
inline constexpr platform::TCursor crPanLeft = 8002;
inline constexpr platform::TCursor crPanRight = 8003;
inline constexpr platform::TCursor crPanUp = 8004;
inline constexpr platform::TCursor crPanUpRight = 8005;
inline constexpr platform::TCursor crPanUpLeft = 8006;
inline constexpr platform::TCursor crPanDownRight = 8007;
inline constexpr platform::TCursor crPanDownLeft = 8008;
inline constexpr platform::TCursor crSelectRow = 8010;
inline constexpr platform::TCursor crSelectColumn = 8011;
inline constexpr platform::TCursor crSelectAll = 8012;

// Registers the cursors from the program's CURSOR resources in Screen().Cursors, once.
void RegisterGridCursors();

}  // namespace velmora
