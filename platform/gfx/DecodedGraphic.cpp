#include "platform/gfx/DecodedGraphic.h"

#include "platform/gfx/Canvas.h"

namespace platform {

void TDecodedGraphic::Draw(TCanvas& canvas, const TRect& rect) { canvas.StretchDraw(rect, bitmap_); }

}  // namespace platform
