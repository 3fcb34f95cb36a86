#include "platform/gfx/CanvasDevice.h"

namespace platform {

namespace {

using Device = TCanvas::Device;

// One ring of an edge: top and left lines in `topLeft`, then bottom and right lines in `bottomRight`
// (which so own the top-right and bottom-left corners); shrinks r on the sides drawn.
void Ring(Device& d, TRect& r, TColor topLeft, TColor bottomRight, unsigned sides) {
  if (IsRectEmpty(r)) return;
  if (sides & BF_TOP) d.FillSolid(Rect(r.Left, r.Top, r.Right, r.Top + 1), topLeft);
  if (sides & BF_LEFT) d.FillSolid(Rect(r.Left, r.Top, r.Left + 1, r.Bottom), topLeft);
  if (sides & BF_BOTTOM) d.FillSolid(Rect(r.Left, r.Bottom - 1, r.Right, r.Bottom), bottomRight);
  if (sides & BF_RIGHT) d.FillSolid(Rect(r.Right - 1, r.Top, r.Right, r.Bottom), bottomRight);
  if (sides & BF_TOP) ++r.Top;
  if (sides & BF_LEFT) ++r.Left;
  if (sides & BF_BOTTOM) --r.Bottom;
  if (sides & BF_RIGHT) --r.Right;
}

}  // namespace

bool DrawEdge(HDC dc, TRect& rect, unsigned edge, unsigned flags) {
  if (!dc) return false;
  Device& d = CanvasAccess::Of(*dc);
  const bool soft = flags & BF_SOFT, mono = flags & BF_MONO, flat = (flags & BF_FLAT) && !mono;
  const unsigned sides = flags & BF_RECT;
  TRect r = d.ToLogical(d.ToDevice(rect));  // within the device's range, so the rings cannot overflow
  const bool outer = edge & (BDR_RAISEDOUTER | BDR_SUNKENOUTER), inner = edge & (BDR_RAISEDINNER | BDR_SUNKENINNER);
  if (outer) {
    if (mono) Ring(d, r, clWindowFrame, clWindowFrame, sides);
    else if (flat) Ring(d, r, clBtnShadow, clBtnShadow, sides);
    else if (edge & BDR_RAISEDOUTER) Ring(d, r, soft ? clBtnHighlight : cl3DLight, cl3DDkShadow, sides);
    else Ring(d, r, soft ? cl3DDkShadow : clBtnShadow, clBtnHighlight, sides);
  }
  if (inner) {
    if (mono) Ring(d, r, clWindow, clWindow, sides);
    else if (flat) Ring(d, r, clBtnFace, clBtnFace, sides);
    else if (edge & BDR_RAISEDINNER) Ring(d, r, soft ? cl3DLight : clBtnHighlight, clBtnShadow, sides);
    else Ring(d, r, soft ? clBtnShadow : cl3DDkShadow, cl3DLight, sides);
  }
  if ((flags & BF_MIDDLE) && !IsRectEmpty(r)) d.FillSolid(r, mono ? clWindow : clBtnFace);
  if (flags & BF_ADJUST) rect = r;
  return true;
}

}  // namespace platform
