#include "platform/gfx/CanvasStateGuard.h"

#include "platform/gfx/Canvas.h"
#include "platform/gfx/Gdi.h"

namespace platform {

CanvasStateGuard::CanvasStateGuard(TCanvas& canvas)
    : canvas_(canvas),
      savedDC_(SaveDC(&canvas)),
      pen_(canvas.pen_),
      brush_(canvas.brush_),
      font_(canvas.font_),
      penValid_(canvas.penValid_),
      brushValid_(canvas.brushValid_),
      fontValid_(canvas.fontValid_) {
  // The copies are values only: a change to them concerns no canvas.
  pen_.OnChange = nullptr;
  brush_.OnChange = nullptr;
  font_.OnChange = nullptr;
}

CanvasStateGuard::~CanvasStateGuard() {
  RestoreDC(&canvas_, savedDC_);
  // Assigning marks each object as not selected; whether it was comes back after.
  canvas_.pen_.Assign(pen_);
  canvas_.brush_.Assign(brush_);
  canvas_.font_.SetPixelsPerInch(font_.PixelsPerInch());
  canvas_.font_.Assign(font_);
  canvas_.penValid_ = penValid_;
  canvas_.brushValid_ = brushValid_;
  canvas_.fontValid_ = fontValid_;
}

}  // namespace platform
