#pragma once

#include "platform/gfx/Brush.h"
#include "platform/gfx/Font.h"
#include "platform/gfx/Pen.h"

namespace platform {

class TCanvas;

// Saves a canvas's pen, brush, font, viewport origin and clip region, and puts all five back when it
// goes out of scope, however the scope is left. SaveDC and RestoreDC alone keep only the device
// context's half: the canvas's Pen, Brush and Font objects would keep what was set in between, and
// the canvas, taking them for selected, would go on drawing with the restored device state while
// they report another. The guard restores both halves as they stood (with the rest of the device
// context's state: text and background colour, background mode, current position), and pops any
// save made inside its scope. Guards nest; the canvas must outlive its guard.
class CanvasStateGuard {
public:
  explicit CanvasStateGuard(TCanvas& canvas);
  ~CanvasStateGuard();
  CanvasStateGuard(const CanvasStateGuard&) = delete;
  CanvasStateGuard& operator=(const CanvasStateGuard&) = delete;

private:
  TCanvas& canvas_;
  int savedDC_;
  TPen pen_;
  TBrush brush_;
  TFont font_;
  bool penValid_;
  bool brushValid_;
  bool fontValid_;
};

}  // namespace platform
