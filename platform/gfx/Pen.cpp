#include "platform/gfx/Pen.h"

#include <algorithm>

namespace platform {

void TPen::SetColor(TColor value) {
  color_ = value;
  Changed();
}

void TPen::SetWidth(int value) {
  width_ = std::max(1, value);
  Changed();
}

void TPen::SetStyle(TPenStyle value) {
  style_ = value;
  Changed();
}

void TPen::SetMode(TPenMode value) {
  mode_ = value;
  Changed();
}

void TPen::Assign(const TPen& source) {
  color_ = source.color_;
  width_ = source.width_;
  style_ = source.style_;
  mode_ = source.mode_;
  Changed();
}

void TPen::Changed() {
  if (OnChange) OnChange();
}

}  // namespace platform
