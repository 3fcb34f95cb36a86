#include <algorithm>

#include "platform/gfx/Gdi.h"
#include "platform/ui/Edit.h"

// The scroll bars of a multi-line edit (WS_VSCROLL, WS_HSCROLL), drawn inside its client area in the
// classic look: arrow buttons, the track and a thumb sized by the visible part.

namespace platform {

namespace {

constexpr int kBarSize = 16;

// The thumb's place on a track of `length` pixels for `position` of `range` (0 to range inclusive)
// with `page` of `page + range` shown; its size is at least 8 pixels.
void Thumb(int length, int position, int range, int page, int& start, int& size) {
  size = std::min(length, std::max(8, length * page / std::max(1, page + range)));
  start = range > 0 ? (length - size) * position / range : 0;
}

}  // namespace

TRect TCustomEdit::VerticalBar() {
  if (!(EditStyle() & WS_VSCROLL)) return {};
  const TRect r = ClientRect();
  return Rect(std::max(r.Left, r.Right - kBarSize), r.Top, r.Right,
              (EditStyle() & WS_HSCROLL) ? std::max(r.Top, r.Bottom - kBarSize) : r.Bottom);
}

TRect TCustomEdit::HorizontalBar() {
  if (!(EditStyle() & WS_HSCROLL)) return {};
  const TRect r = ClientRect();
  return Rect(r.Left, std::max(r.Top, r.Bottom - kBarSize),
              (EditStyle() & WS_VSCROLL) ? std::max(r.Left, r.Right - kBarSize) : r.Right, r.Bottom);
}

int TCustomEdit::ContentWidth() {
  Layout();
  int widest = 0;
  for (int line = 0; line < static_cast<int>(lines_.size()); ++line)
    widest = std::max(widest, XOf(line, lines_[line].end));
  return widest;
}

void TCustomEdit::PaintScrollBars() {
  HDC dc = Canvas().Handle();
  auto paintBar = [&](TRect bar, bool vertical, int position, int range, int page) {
    if (IsRectEmpty(bar)) return;
    const unsigned inactive = range > 0 && Enabled() ? 0 : DFCS_INACTIVE;
    const int length = vertical ? bar.Height() : bar.Width();
    const int button = std::min(kBarSize, length / 2);
    TRect first = vertical ? Rect(bar.Left, bar.Top, bar.Right, bar.Top + button)
                           : Rect(bar.Left, bar.Top, bar.Left + button, bar.Bottom);
    TRect second = vertical ? Rect(bar.Left, bar.Bottom - button, bar.Right, bar.Bottom)
                            : Rect(bar.Right - button, bar.Top, bar.Right, bar.Bottom);
    DrawFrameControl(dc, first, DFC_SCROLL, (vertical ? DFCS_SCROLLUP : DFCS_SCROLLLEFT) | inactive);
    DrawFrameControl(dc, second, DFC_SCROLL, (vertical ? DFCS_SCROLLDOWN : DFCS_SCROLLRIGHT) | inactive);
    TRect track = vertical ? Rect(bar.Left, bar.Top + button, bar.Right, bar.Bottom - button)
                           : Rect(bar.Left + button, bar.Top, bar.Right - button, bar.Bottom);
    Canvas().Brush().SetStyle(TBrushStyle::bsSolid);
    Canvas().Brush().SetColor(clScrollBar);
    Canvas().FillRect(track);
    if (inactive) return;
    int start = 0, size = 0;
    Thumb(vertical ? track.Height() : track.Width(), position, range, page, start, size);
    TRect thumb = vertical ? Rect(track.Left, track.Top + start, track.Right, track.Top + start + size)
                           : Rect(track.Left + start, track.Top, track.Left + start + size, track.Bottom);
    DrawEdge(dc, thumb, EDGE_RAISED, BF_RECT | BF_MIDDLE);
  };
  paintBar(VerticalBar(), true, topLine_, MaxTopLine(), VisibleLines());
  const int width = FormatRect().Width();
  paintBar(HorizontalBar(), false, scrollX_, std::max(0, ContentWidth() - width), width);
  if (!IsRectEmpty(VerticalBar()) && !IsRectEmpty(HorizontalBar())) {
    Canvas().Brush().SetColor(clBtnFace);
    Canvas().FillRect(Rect(VerticalBar().Left, HorizontalBar().Top, VerticalBar().Right, HorizontalBar().Bottom));
  }
}

bool TCustomEdit::ScrollBarClick(TPoint p) {
  // An arrow scrolls a line (or a character's width), the track beside the thumb a page.
  const TRect vertical = VerticalBar();
  if (PtInRect(vertical, p)) {
    int start = 0, size = 0;
    const int button = std::min(kBarSize, vertical.Height() / 2);
    Thumb(vertical.Height() - 2 * button, topLine_, MaxTopLine(), VisibleLines(), start, size);
    const int y = p.Y - vertical.Top;
    if (y < button) SetTopLine(topLine_ - 1);
    else if (y >= vertical.Height() - button) SetTopLine(topLine_ + 1);
    else if (y < button + start) SetTopLine(topLine_ - VisibleLines());
    else if (y >= button + start + size) SetTopLine(topLine_ + VisibleLines());
    return true;
  }
  const TRect horizontal = HorizontalBar();
  if (PtInRect(horizontal, p)) {
    const int width = FormatRect().Width();
    const int range = std::max(0, ContentWidth() - width);
    int start = 0, size = 0;
    const int button = std::min(kBarSize, horizontal.Width() / 2);
    Thumb(horizontal.Width() - 2 * button, scrollX_, range, width, start, size);
    const int x = p.X - horizontal.Left;
    const int step = x < button || x >= horizontal.Width() - button ? CharWidth("x", 0) : width;
    const bool back = x < button || (x >= button && x < button + start);
    if (x >= button + start && x < button + start + size) return true;
    scrollX_ = std::clamp(scrollX_ + (back ? -step : step), 0, range);
    Invalidate();
    return true;
  }
  return false;
}

}  // namespace platform
