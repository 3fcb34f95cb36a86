#include <algorithm>

#include "platform/gfx/CanvasDevice.h"

namespace platform {

namespace {

using Device = TCanvas::Device;

// The largest square centred in r.
TRect CentredSquare(const TRect& r) {
  const int side = std::min(r.Width(), r.Height());
  return Bounds(r.Left + (r.Width() - side) / 2, r.Top + (r.Height() - side) / 2, side, side);
}

TRect Deflated(TRect r, int d) {
  InflateRect(r, -d, -d);
  return r;
}

// Paints logical-coordinate spans.
void PaintSpans(Device& d, std::vector<Region::Span> spans, TColor color) {
  for (Region::Span& s : spans) {
    const TPoint p = d.ToDevice(TPoint{s.X0, s.Y});
    s = {p.Y, p.X, p.X + (s.X1 - s.X0)};
  }
  d.Paint(Region::FromSpans(std::move(spans)), color, R2_COPYPEN);
}

// The classic 7 x 7 check mark, one string per row.
constexpr const char* kCheckMark[7] = {"......#", ".....##", "#...###", "##.###.", "#####..", ".###...", "..#...."};

void CheckBox(HDC dc, Device& d, const TRect& rect, unsigned state) {
  TRect box = CentredSquare(rect);
  if (state & (DFCS_FLAT | DFCS_MONO)) {
    d.FillSolid(box, (state & DFCS_MONO) ? clWindowFrame : clBtnShadow);
    box = Deflated(box, 1);
  } else {
    DrawEdge(dc, box, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
  }
  if (IsRectEmpty(box)) return;
  d.FillSolid(box, (state & (DFCS_INACTIVE | DFCS_PUSHED)) ? clBtnFace : clWindow);
  if (!(state & DFCS_CHECKED)) return;
  const int ox = box.Left + (box.Width() - 7) / 2, oy = box.Top + (box.Height() - 7) / 2;
  std::vector<Region::Span> mark;
  for (int row = 0; row < 7; ++row)
    for (int col = 0; col < 7; ++col)
      if (kCheckMark[row][col] == '#' && PtInRect(box, {ox + col, oy + row}))
        mark.push_back({oy + row, ox + col, ox + col + 1});
  PaintSpans(d, std::move(mark), (state & DFCS_INACTIVE) ? clBtnShadow : clWindowText);
}

// The ellipse filling r, in logical coordinates, as far as it can be seen.
Region EllipseIn(Device& d, const TRect& r) { return RoundedBoxRegion(r, r.Width(), r.Height(), d.ToLogical(d.Visible())); }

// A ring between two ellipses, its upper-left half in one colour and its lower-right half in another.
void EllipseRing(Device& d, const TRect& outer, TColor upperLeft, TColor lowerRight) {
  Region ring = EllipseIn(d, outer);
  ring.Subtract(EllipseIn(d, Deflated(outer, 1)));
  const int cx2 = outer.Left + outer.Right - 1, cy2 = outer.Top + outer.Bottom - 1;  // twice the centre
  std::vector<Region::Span> first, second;
  ring.ForEachSpan([&](int y, int x0, int x1) {
    for (int x = x0; x < x1; ++x) ((2 * x - cx2) + (2 * y - cy2) < 0 ? first : second).push_back({y, x, x + 1});
  });
  PaintSpans(d, std::move(first), upperLeft);
  PaintSpans(d, std::move(second), lowerRight);
}

void RadioButton(Device& d, const TRect& rect, unsigned state) {
  const TRect box = CentredSquare(rect);
  if (IsRectEmpty(box)) return;
  const bool flat = state & (DFCS_FLAT | DFCS_MONO);
  EllipseRing(d, box, clBtnShadow, flat ? clBtnShadow : clBtnHighlight);
  TRect inside = Deflated(box, 1);
  if (!flat) {
    EllipseRing(d, inside, cl3DDkShadow, cl3DLight);
    inside = Deflated(inside, 1);
  }
  auto paint = [&](const TRect& r, TColor color) {
    if (IsRectEmpty(r)) return;
    std::vector<Region::Span> spans;
    EllipseIn(d, r).ForEachSpan([&](int y, int x0, int x1) { spans.push_back({y, x0, x1}); });
    PaintSpans(d, std::move(spans), color);
  };
  paint(inside, (state & (DFCS_INACTIVE | DFCS_PUSHED)) ? clBtnFace : clWindow);
  if (state & DFCS_CHECKED) paint(Deflated(box, box.Width() / 3), (state & DFCS_INACTIVE) ? clBtnShadow : clWindowText);
}

unsigned FaceFlags(unsigned state) {
  return BF_RECT | BF_MIDDLE | BF_SOFT | ((state & DFCS_FLAT) ? BF_FLAT : 0) | ((state & DFCS_MONO) ? BF_MONO : 0);
}

// A triangle of `rows` steps pointing in the scroll direction, centred in r: step k from the start
// runs across the arrow with a half width of k (pointing up or left) or rows - 1 - k. Only the rows
// that can be seen are built.
void Arrow(Device& d, const TRect& r, unsigned direction, int offset, TColor color) {
  const int rows = std::max(2, std::min(r.Width(), r.Height()) / 4);
  const bool vertical = direction == DFCS_SCROLLUP || direction == DFCS_SCROLLDOWN;
  const bool pointsBack = direction == DFCS_SCROLLUP || direction == DFCS_SCROLLLEFT;
  const int length = vertical ? r.Height() : r.Width(), across = vertical ? r.Width() : r.Height();
  const int start = (length - rows) / 2, centre = (across - 1) / 2;
  const TRect visible = d.ToLogical(d.Visible());
  // Row y of the screen is step (vertical) or across position (horizontal) y - top.
  const int top = r.Top + offset + (vertical ? start : centre - (rows - 1));
  const int count = vertical ? rows : 2 * rows - 1;
  std::vector<Region::Span> spans;
  for (int i = std::max(0, visible.Top - top); i < std::min(count, visible.Bottom - top); ++i) {
    int from, to;  // inclusive, across (vertical) or along (horizontal) the arrow
    if (vertical) {
      const int half = pointsBack ? i : rows - 1 - i;
      from = r.Left + centre - half, to = r.Left + centre + half;
    } else {
      const int distance = std::abs(i - (rows - 1));  // from the arrow's middle row
      from = r.Left + start + (pointsBack ? distance : 0), to = r.Left + start + (pointsBack ? rows - 1 : rows - 1 - distance);
    }
    spans.push_back({top + i, from + offset, to + offset + 1});
  }
  PaintSpans(d, std::move(spans), color);
}

}  // namespace

bool DrawFrameControl(HDC dc, TRect& rect, unsigned type, unsigned state) {
  if (!dc) return false;
  Device& d = CanvasAccess::Of(*dc);
  const bool pushed = state & (DFCS_PUSHED | DFCS_CHECKED);
  const TRect area = d.ToLogical(d.ToDevice(rect));  // within the device's range: no overflow below
  if (type == DFC_BUTTON) {
    if ((state & 0xFF) == DFCS_BUTTONPUSH) {
      TRect face = area;
      DrawEdge(dc, face, pushed ? EDGE_SUNKEN : EDGE_RAISED, FaceFlags(state));
      if (state & DFCS_ADJUSTRECT) rect = Deflated(area, 2);
      return true;
    }
    if ((state & 0xFF) == DFCS_BUTTONRADIO) {
      RadioButton(d, area, state);
      return true;
    }
    if ((state & 0xFF) == DFCS_BUTTONCHECK) {
      CheckBox(dc, d, area, state);
      return true;
    }
    return false;
  }
  if (type == DFC_SCROLL) {
    unsigned direction = state & 0xFF;
    if (direction == DFCS_SCROLLCOMBOBOX) direction = DFCS_SCROLLDOWN;
    if (direction > DFCS_SCROLLRIGHT) return false;
    TRect face = area;
    DrawEdge(dc, face, pushed ? EDGE_SUNKEN : EDGE_RAISED, FaceFlags(state));
    const int offset = pushed ? 1 : 0;
    if (state & DFCS_INACTIVE) {
      Arrow(d, area, direction, offset + 1, clBtnHighlight);
      Arrow(d, area, direction, offset, clBtnShadow);
    } else {
      Arrow(d, area, direction, offset, clBtnText);
    }
    return true;
  }
  return false;
}

}  // namespace platform
