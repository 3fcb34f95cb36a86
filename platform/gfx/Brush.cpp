#include "platform/gfx/Brush.h"

namespace platform {

void TBrush::SetColor(TColor value) {
  color_ = value;
  style_ = TBrushStyle::bsSolid;
  Changed();
}

void TBrush::SetStyle(TBrushStyle value) {
  style_ = value;
  Changed();
}

void TBrush::Assign(const TBrush& source) {
  color_ = source.color_;
  style_ = source.style_;
  Changed();
}

void TBrush::Changed() {
  if (OnChange) OnChange();
}

}  // namespace platform
