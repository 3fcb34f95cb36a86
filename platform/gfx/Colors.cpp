#include "platform/gfx/Colors.h"

#include <array>
#include <cstddef>

namespace platform {

namespace {

// The classic default scheme, indexed by COLOR_ index.
constexpr std::array<TColor, 31> kSystemColors = {
    RGB(192, 192, 192),  // scroll bar
    RGB(0, 128, 128),    // desktop background
    RGB(0, 0, 128),      // active caption
    RGB(128, 128, 128),  // inactive caption
    RGB(192, 192, 192),  // menu
    RGB(255, 255, 255),  // window
    RGB(0, 0, 0),        // window frame
    RGB(0, 0, 0),        // menu text
    RGB(0, 0, 0),        // window text
    RGB(255, 255, 255),  // caption text
    RGB(192, 192, 192),  // active border
    RGB(192, 192, 192),  // inactive border
    RGB(128, 128, 128),  // application workspace
    RGB(0, 0, 128),      // highlight
    RGB(255, 255, 255),  // highlight text
    RGB(192, 192, 192),  // button face
    RGB(128, 128, 128),  // button shadow
    RGB(128, 128, 128),  // gray text
    RGB(0, 0, 0),        // button text
    RGB(192, 192, 192),  // inactive caption text
    RGB(255, 255, 255),  // button highlight
    RGB(0, 0, 0),        // 3-D dark shadow
    RGB(192, 192, 192),  // 3-D light
    RGB(0, 0, 0),        // info text
    RGB(255, 255, 225),  // info background
    RGB(0, 0, 0),        // (unused index 25)
    RGB(0, 0, 255),      // hot-tracked item
    RGB(16, 132, 208),   // gradient of the active caption
    RGB(181, 181, 181),  // gradient of the inactive caption
    RGB(0, 0, 128),      // highlighted menu item
    RGB(192, 192, 192),  // menu bar
};

}  // namespace

TColor GetSysColor(int index) {
  if (index < 0 || index >= static_cast<int>(kSystemColors.size())) return 0;
  return kSystemColors[static_cast<size_t>(index)];
}

TColor ColorToRGB(TColor color) {
  return IsSystemColor(color) ? GetSysColor(static_cast<int>(color & 0xFF)) : color;
}

}  // namespace platform
