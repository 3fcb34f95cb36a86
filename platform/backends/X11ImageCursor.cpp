#include "platform/backends/X11ImageCursor.h"

#include <string>

// X headers last: their macros (None, Bool, Status) would break the declarations above.
#include <X11/Xlib.h>

namespace platform {

unsigned long CreateImageCursor(X11Connection& connection, const CursorImage& image) {
  if (image.rows.empty() || image.rows.front().empty()) return None;
  Display* display = connection.Display();
  const int height = static_cast<int>(image.rows.size());
  const int width = static_cast<int>(image.rows.front().size());
  const int stride = (width + 7) / 8;
  // Bitmaps of X are rows of bytes, the first pixel in the lowest bit.
  std::string shape(static_cast<size_t>(stride * height), '\0'), mask(shape);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const char c = image.rows[static_cast<size_t>(y)][static_cast<size_t>(x)];
      const auto bit = static_cast<char>(1 << (x % 8));
      const size_t at = static_cast<size_t>(y * stride + x / 8);
      if (c != ' ') mask[at] = static_cast<char>(mask[at] | bit);
      if (c == '#') shape[at] = static_cast<char>(shape[at] | bit);
    }
  const Window root = connection.Root();
  const Pixmap source = XCreateBitmapFromData(display, root, shape.data(), static_cast<unsigned>(width),
                                              static_cast<unsigned>(height));
  const Pixmap maskPixmap = XCreateBitmapFromData(display, root, mask.data(), static_cast<unsigned>(width),
                                                  static_cast<unsigned>(height));
  XColor black{}, white{};
  white.red = white.green = white.blue = 0xFFFF;
  black.flags = white.flags = DoRed | DoGreen | DoBlue;
  const Cursor made = XCreatePixmapCursor(display, source, maskPixmap, &black, &white,
                                          static_cast<unsigned>(image.hotX), static_cast<unsigned>(image.hotY));
  XFreePixmap(display, source);
  XFreePixmap(display, maskPixmap);
  return made;
}

}  // namespace platform
