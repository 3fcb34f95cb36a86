// Setters of how cells show their URLs and of the grid's look, each repainting what it changes.

#include "grid/DovAdiz.h"

namespace velmora {

void VUraRazuduVova::SetURLShow(bool Value) {
  URLShow = Value;
  Invalidate();
}

void VUraRazuduVova::SetURLColor(platform::TColor Value) {
  URLColor = Value;
  if (URLShow) Invalidate();
}

void VUraRazuduVova::SetURLFull(bool Value) {
  URLFull = Value;
  if (URLShow) Invalidate();
}

void VUraRazuduVova::SetLook(TGridLook Value) {
  if (Look == Value) return;
  Look = Value;
  Invalidate();
  UpdateFooter();
}

}  // namespace velmora
