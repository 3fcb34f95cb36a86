#include "platform/ui/ScrollBarLook.h"

#include <algorithm>
#include <cstdint>

#include "platform/gfx/Gdi.h"

namespace platform {

namespace {

// a * b / c rounded to the nearest, in 64 bits (ranges may span the whole of an int); 0 when c is 0.
int64_t Scale(int64_t a, int64_t b, int64_t c) {
  if (c == 0) return 0;
  const int64_t product = a * b;
  return (product + (product >= 0 ? c / 2 : -c / 2)) / c;
}

// The system's track: every other pixel in the highlight colour over the scroll bar colour.
void FillChecked(TCanvas& canvas, const TRect& r) {
  for (int y = r.Top; y < r.Bottom; ++y)
    for (int x = r.Left + ((r.Left + y) & 1); x < r.Right; x += 2) canvas.SetPixels(x, y, clBtnHighlight);
}

}  // namespace

TScrollBarLayout::TScrollBarLayout(const TRect& bar, bool vertical, const TScrollBarInfo& info)
    : bar_(bar), vertical_(vertical), min_(info.Min()), maxPosition_(info.MaxPosition()) {
  const int start = vertical ? bar.Top : bar.Left, end = vertical ? bar.Bottom : bar.Right;
  const int across = vertical ? bar.Width() : bar.Height();
  arrow_ = std::max(0, std::min(across, (end - start) / 2));
  trackStart_ = start + arrow_;
  trackEnd_ = end - arrow_;
  const int track = trackEnd_ - trackStart_;
  if (!info.Scrollable()) return;
  const int64_t rangeSize = int64_t{info.Max()} - info.Min() + 1;
  int length = info.Page() > 0 ? static_cast<int>(Scale(track, info.Page(), rangeSize)) : across;
  length = std::max(length, kMinThumbLength);
  if (length > track) return;
  thumbLength_ = length;
  thumbStart_ = trackStart_ + static_cast<int>(Scale(track - length, int64_t{info.TrackPos()} - min_,
                                                     int64_t{maxPosition_} - min_));
}

TRect TScrollBarLayout::Span(int from, int to) const {
  if (to <= from) return {};
  return vertical_ ? Rect(bar_.Left, from, bar_.Right, to) : Rect(from, bar_.Top, to, bar_.Bottom);
}

TRect TScrollBarLayout::Part(TScrollBarPart part) const {
  const int start = vertical_ ? bar_.Top : bar_.Left, end = vertical_ ? bar_.Bottom : bar_.Right;
  const int thumbEnd = thumbStart_ + thumbLength_;
  switch (part) {
    case TScrollBarPart::ArrowBack: return Span(start, trackStart_);
    case TScrollBarPart::ArrowForward: return Span(trackEnd_, end);
    case TScrollBarPart::Thumb: return HasThumb() ? Span(thumbStart_, thumbEnd) : TRect{};
    case TScrollBarPart::PageBack: return HasThumb() ? Span(trackStart_, thumbStart_) : TRect{};
    case TScrollBarPart::PageForward: return HasThumb() ? Span(thumbEnd, trackEnd_) : TRect{};
    default: return {};
  }
}

TScrollBarPart TScrollBarLayout::PartAt(TPoint p) const {
  for (TScrollBarPart part : {TScrollBarPart::ArrowBack, TScrollBarPart::PageBack, TScrollBarPart::Thumb,
                              TScrollBarPart::PageForward, TScrollBarPart::ArrowForward})
    if (PtInRect(Part(part), p)) return part;
  return TScrollBarPart::None;
}

int TScrollBarLayout::PositionAt(int thumbStart) const {
  const int free = trackEnd_ - trackStart_ - thumbLength_;
  if (!HasThumb() || free <= 0) return min_;
  const int offset = std::clamp(thumbStart - trackStart_, 0, free);
  return static_cast<int>(min_ + Scale(offset, int64_t{maxPosition_} - min_, free));
}

void PaintScrollBar(TCanvas& canvas, const TScrollBarLayout& layout, const TScrollBarInfo& info,
                    const TScrollBarLook& look, bool enabled, TScrollBarPart pressed, TScrollBarPart hot) {
  HDC dc = canvas.Handle();
  const bool active = enabled && info.Scrollable();
  const bool flatLook = look.mode != TScrollBarMode::Regular;
  auto flat = [&](TScrollBarPart part) { return flatLook && (hot != part || !active); };
  auto arrow = [&](TScrollBarPart part, unsigned direction, UINT disabledBit) {
    TRect r = layout.Part(part);
    if (IsRectEmpty(r)) return;
    const bool inactive = !active || (info.DisabledArrows() & disabledBit);
    const unsigned state = direction | (flat(part) ? DFCS_FLAT : 0) | (inactive ? DFCS_INACTIVE : 0) |
                           (pressed == part && !inactive ? DFCS_PUSHED | DFCS_FLAT : 0);
    DrawFrameControl(dc, r, DFC_SCROLL, state);
    if (look.mode == TScrollBarMode::Encarta && flat(part)) {  // the arrow alone on the face
      canvas.Brush().SetStyle(TBrushStyle::bsSolid);
      canvas.Brush().SetColor(clBtnFace);
      canvas.FrameRect(r);
    }
  };
  const bool vertical = layout.Vertical();
  arrow(TScrollBarPart::ArrowBack, vertical ? DFCS_SCROLLUP : DFCS_SCROLLLEFT, ESB_DISABLE_LTUP);
  arrow(TScrollBarPart::ArrowForward, vertical ? DFCS_SCROLLDOWN : DFCS_SCROLLRIGHT, ESB_DISABLE_RTDN);

  const TRect bar = layout.Bar();
  const TRect back = layout.Part(TScrollBarPart::ArrowBack), forward = layout.Part(TScrollBarPart::ArrowForward);
  const TRect track = vertical ? Rect(bar.Left, back.Bottom, bar.Right, forward.Top)
                               : Rect(back.Right, bar.Top, forward.Left, bar.Bottom);
  canvas.Brush().SetStyle(TBrushStyle::bsSolid);
  canvas.Brush().SetColor(look.background == clNone ? clScrollBar : look.background);
  canvas.FillRect(track);
  if (look.background == clNone) FillChecked(canvas, track);
  if (!active || !layout.HasThumb()) return;
  for (TScrollBarPart page : {TScrollBarPart::PageBack, TScrollBarPart::PageForward})
    if (pressed == page) {
      canvas.Brush().SetColor(cl3DDkShadow);
      canvas.FillRect(layout.Part(page));
    }
  TRect thumb = layout.Part(TScrollBarPart::Thumb);
  DrawEdge(dc, thumb, EDGE_RAISED, BF_RECT | BF_MIDDLE | (flat(TScrollBarPart::Thumb) ? BF_FLAT : 0));
}

}  // namespace platform
