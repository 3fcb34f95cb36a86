#pragma once

#include <optional>
#include <string>

#include "platform/ui/CursorImage.h"

// X headers last: their macros (None, Bool, Status) would break the declarations above.
#include <X11/Xlib.h>
#include <X11/extensions/Xfixes.h>

namespace platform::test {

// The cursor that the X server shows now, read through XFixes on a connection of its own, as a picture
// of the program's kind: opaque dark pixels '#', opaque light ones '.', the others ' '. None when the
// server cannot tell.
inline std::optional<CursorImage> ShownCursor(const std::string& display) {
  Display* connection = XOpenDisplay(display.c_str());
  if (connection == nullptr) return std::nullopt;
  std::optional<CursorImage> shown;
  int event = 0, error = 0;
  if (XFixesQueryExtension(connection, &event, &error)) {
    if (XFixesCursorImage* image = XFixesGetCursorImage(connection)) {
      shown = CursorImage{image->xhot, image->yhot, {}};
      for (int y = 0; y < image->height; ++y) {
        std::string& row = shown->rows.emplace_back(image->width, ' ');
        for (int x = 0; x < image->width; ++x) {
          const unsigned long p = image->pixels[y * image->width + x];
          if (((p >> 24) & 0xFF) < 128) continue;
          const unsigned long brightness = ((p >> 16) & 0xFF) + ((p >> 8) & 0xFF) + (p & 0xFF);
          row[x] = brightness < 3 * 128 ? '#' : '.';
        }
      }
      XFree(image);
    }
  }
  XCloseDisplay(connection);
  return shown;
}

}  // namespace platform::test
