#include "platform/ui/WindowScrollBars.h"

#include <algorithm>

#include "platform/ui/Controls.h"
#include "platform/ui/ScrollBars.h"
#include "platform/ui/TopLevelWindow.h"

namespace platform {

TWindowScrollBars::~TWindowScrollBars() {
  if (trackedBar_ >= 0 && control_.MouseCapture()) SetCaptureControl(nullptr);
}

void TWindowScrollBars::SetVisible(int bar, bool visible) {
  if (bar == SB_BOTH) {
    SetVisible(SB_HORZ, visible);
    SetVisible(SB_VERT, visible);
    return;
  }
  if (bar == SB_CTL || visible_[Index(bar)] == visible) return;
  if (!visible && trackedBar_ == bar) EndTracking(true);
  visible_[Index(bar)] = visible;
  ClientSizeChanged();
}

void TWindowScrollBars::MakeControl(bool vertical) {
  controlBar_ = true;
  controlVertical_ = vertical;
  visible_[Index(SB_CTL)] = true;
}

void TWindowScrollBars::ClientSizeChanged() {
  control_.Invalidate();
  TComponent::TGuard guard(control_);
  control_.Perform(WM_SIZE, SIZE_RESTORED, PointToLParam(control_.ClientWidth(), control_.ClientHeight()));
  if (guard.Alive()) control_.Invalidate();
}

int TWindowScrollBars::SetInfo(int bar, const SCROLLINFO& info, bool redraw) {
  TScrollBarInfo& barInfo = Info(bar);
  const int pos = barInfo.Set(info);
  if (info.fMask & (SIF_RANGE | SIF_PAGE | SIF_DISABLENOSCROLL)) {
    if (!barInfo.Scrollable()) {
      if (info.fMask & SIF_DISABLENOSCROLL)
        barInfo.SetDisabledArrows(ESB_DISABLE_BOTH);
      else if (bar != SB_CTL) {
        SetVisible(bar, false);
        return pos;
      }
    } else if (info.fMask != SIF_PAGE) {
      // A change of the page alone neither shows nor enables a bar.
      barInfo.SetDisabledArrows(ESB_ENABLE_BOTH);
      if (bar != SB_CTL && !Visible(bar)) {
        SetVisible(bar, true);
        return pos;
      }
    }
  }
  if (redraw) InvalidateBar(bar);
  return pos;
}

bool TWindowScrollBars::EnableArrows(int bar, UINT arrows) {
  if (bar == SB_BOTH) {
    const bool horizontal = EnableArrows(SB_HORZ, arrows);
    return EnableArrows(SB_VERT, arrows) || horizontal;
  }
  TScrollBarInfo& info = Info(bar);
  if (info.DisabledArrows() == (arrows & ESB_DISABLE_BOTH)) return false;
  info.SetDisabledArrows(arrows);
  InvalidateBar(bar);
  return true;
}

void TWindowScrollBars::SetFlat(bool flat) {
  const int width = ReservedWidth(), height = ReservedHeight();
  flat_ = flat;
  if (!flat) look_[0] = look_[1] = TScrollBarLook{};
  if (width != ReservedWidth() || height != ReservedHeight())
    ClientSizeChanged();
  else
    control_.Invalidate();
}

bool TWindowScrollBars::SetFlatProperty(UINT index, int value, bool redraw) {
  if (!flat_) return false;
  const int width = ReservedWidth(), height = ReservedHeight();
  switch (index) {
    case WSB_PROP_CYHSCROLL: look_[0].thickness = std::max(value, 0); break;
    case WSB_PROP_CXVSCROLL: look_[1].thickness = std::max(value, 0); break;
    case WSB_PROP_HBKGCOLOR: look_[0].background = static_cast<TColor>(value); break;
    case WSB_PROP_VBKGCOLOR: look_[1].background = static_cast<TColor>(value); break;
    case WSB_PROP_HSTYLE:
    case WSB_PROP_VSTYLE:
      if (value < FSB_REGULAR_MODE || value > FSB_FLAT_MODE) return false;
      look_[index == WSB_PROP_HSTYLE ? 0 : 1].mode = static_cast<TScrollBarMode>(value);
      break;
    default: return false;
  }
  if (width != ReservedWidth() || height != ReservedHeight())
    ClientSizeChanged();
  else if (redraw)
    control_.Invalidate();
  return true;
}

int TWindowScrollBars::ReservedWidth() const { return visible_[1] ? look_[1].thickness : 0; }

int TWindowScrollBars::ReservedHeight() const { return visible_[0] ? look_[0].thickness : 0; }

TRect TWindowScrollBars::BarRect(int bar) const {
  const TRect client = control_.ClientRect();
  if (bar == SB_CTL) return controlBar_ ? client : TRect{};
  if (!visible_[Index(bar)]) return {};
  if (bar == SB_VERT) return Rect(client.Right, client.Top, client.Right + ReservedWidth(), client.Bottom);
  return Rect(client.Left, client.Bottom, client.Right, client.Bottom + ReservedHeight());
}

bool TWindowScrollBars::Covers(TPoint p) const {
  if (controlBar_) return PtInRect(BarRect(SB_CTL), p);
  const TRect client = control_.ClientRect();
  const TRect outside = Rect(client.Left, client.Top, client.Right + ReservedWidth(), client.Bottom + ReservedHeight());
  return PtInRect(outside, p) && !PtInRect(client, p);
}

TScrollBarLayout TWindowScrollBars::Layout(int bar) const {
  return TScrollBarLayout(BarRect(bar), IsVertical(bar), info_[Index(bar)]);
}

TScrollBarPart TWindowScrollBars::PressedShown(int bar) const {
  if (trackedBar_ != bar || pressed_ == TScrollBarPart::Thumb) return TScrollBarPart::None;
  return Layout(bar).PartAt(mouse_) == pressed_ ? pressed_ : TScrollBarPart::None;
}

void TWindowScrollBars::TrackHot(TPoint p) {
  for (int bar : {SB_HORZ, SB_VERT, SB_CTL}) {
    if (!Visible(bar) || Look(bar).mode == TScrollBarMode::Regular) continue;
    const TScrollBarPart part = Layout(bar).PartAt(p);
    if (part == TScrollBarPart::Thumb || part == TScrollBarPart::ArrowBack || part == TScrollBarPart::ArrowForward) {
      SetHot(bar, part);
      return;
    }
  }
  SetHot(-1, TScrollBarPart::None);
}

void TWindowScrollBars::SetHot(int bar, TScrollBarPart part) {
  if (bar == hotBar_ && part == hot_) return;
  if (hotBar_ >= 0) InvalidateBar(hotBar_);
  hotBar_ = bar;
  hot_ = part;
  if (bar >= 0) InvalidateBar(bar);
}

void TWindowScrollBars::InvalidateBar(int bar) {
  TTopLevelWindow* top = TopLevelOf(&control_);
  if (!top) return;
  TRect r = BarRect(bar);
  const TPoint origin = WindowOriginInTop(&control_);
  const int inset = control_.BorderInset();
  OffsetRect(r, origin.X + inset, origin.Y + inset);
  top->AddDirty(r);
}

void TWindowScrollBars::PaintNonClient(TCanvas& canvas, int inset) {
  for (int bar : {SB_HORZ, SB_VERT}) {
    if (!Visible(bar)) continue;
    TRect r = BarRect(bar);
    OffsetRect(r, inset, inset);
    PaintScrollBar(canvas, TScrollBarLayout(r, bar == SB_VERT, Info(bar)), Info(bar), Look(bar), control_.Enabled(),
                   PressedShown(bar), HotShown(bar));
  }
  if (Visible(SB_HORZ) && Visible(SB_VERT)) {
    const TRect client = control_.ClientRect();
    TRect corner = Rect(client.Right, client.Bottom, client.Right + ReservedWidth(), client.Bottom + ReservedHeight());
    OffsetRect(corner, inset, inset);
    canvas.Brush().SetStyle(TBrushStyle::bsSolid);
    canvas.Brush().SetColor(clBtnFace);
    canvas.FillRect(corner);
  }
}

void TWindowScrollBars::PaintControl(TCanvas& canvas) {
  PaintScrollBar(canvas, Layout(SB_CTL), Info(SB_CTL), Look(SB_CTL), control_.Enabled(), PressedShown(SB_CTL),
                 HotShown(SB_CTL));
}

TWindowScrollBars* ScrollBarsOf(HWND hwnd) {
  TWinControl* control = FindControl(hwnd);
  if (!control) return nullptr;
  if (!control->scrollBars_) control->scrollBars_ = std::make_unique<TWindowScrollBars>(*control);
  return control->scrollBars_.get();
}

namespace {

bool ValidBar(int bar) { return bar == SB_HORZ || bar == SB_VERT || bar == SB_CTL; }

}  // namespace

int SetScrollInfo(HWND hwnd, int bar, const SCROLLINFO& info, bool redraw) {
  TWindowScrollBars* bars = ScrollBarsOf(hwnd);
  if (!bars || !ValidBar(bar)) return 0;
  return bars->SetInfo(bar, info, redraw);
}

bool GetScrollInfo(HWND hwnd, int bar, SCROLLINFO& info) {
  TWindowScrollBars* bars = ScrollBarsOf(hwnd);
  if (!bars || !ValidBar(bar)) return false;
  bars->Info(bar).Get(info);
  return true;
}

int SetScrollPos(HWND hwnd, int bar, int pos, bool redraw) {
  TWindowScrollBars* bars = ScrollBarsOf(hwnd);
  if (!bars || !ValidBar(bar)) return 0;
  const int before = bars->Info(bar).Pos();
  SCROLLINFO info;
  info.fMask = SIF_POS;
  info.nPos = pos;
  bars->SetInfo(bar, info, redraw);
  return before;
}

int GetScrollPos(HWND hwnd, int bar) {
  TWindowScrollBars* bars = ScrollBarsOf(hwnd);
  return bars && ValidBar(bar) ? bars->Info(bar).Pos() : 0;
}

bool SetScrollRange(HWND hwnd, int bar, int min, int max, bool redraw) {
  TWindowScrollBars* bars = ScrollBarsOf(hwnd);
  if (!bars || !ValidBar(bar)) return false;
  SCROLLINFO info;
  info.fMask = SIF_RANGE;
  info.nMin = min;
  info.nMax = max;
  bars->SetInfo(bar, info, redraw);
  return true;
}

bool GetScrollRange(HWND hwnd, int bar, int& min, int& max) {
  TWindowScrollBars* bars = ScrollBarsOf(hwnd);
  if (!bars || !ValidBar(bar)) return false;
  min = bars->Info(bar).Min();
  max = bars->Info(bar).Max();
  return true;
}

void SetScrollBarRange(HWND hwnd, int bar, int max, int page, int pos) {
  SCROLLINFO info;
  info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
  GetScrollInfo(hwnd, bar, info);
  if (info.nMin == 0 && info.nMax == max && static_cast<int>(info.nPage) == page && info.nPos == pos) return;
  info.fMask |= SIF_DISABLENOSCROLL;
  info.nMin = 0;
  info.nMax = max;
  info.nPage = static_cast<UINT>(page);
  info.nPos = pos;
  SetScrollInfo(hwnd, bar, info, true);
}

int64_t ScrollCodeTarget(HWND hwnd, int bar, WORD code, int pos, int line, int page, int min, int max) {
  switch (code) {
    case SB_LINEUP: return int64_t{pos} - line;
    case SB_LINEDOWN: return int64_t{pos} + line;
    case SB_PAGEUP: return int64_t{pos} - page;
    case SB_PAGEDOWN: return int64_t{pos} + page;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: {
      SCROLLINFO info;
      info.fMask = SIF_TRACKPOS;
      return GetScrollInfo(hwnd, bar, info) ? info.nTrackPos : pos;
    }
    case SB_TOP: return min;
    case SB_BOTTOM: return max;
    default: return pos;
  }
}

bool ShowScrollBar(HWND hwnd, int bar, bool show) {
  TWindowScrollBars* bars = ScrollBarsOf(hwnd);
  if (!bars || (bar != SB_HORZ && bar != SB_VERT && bar != SB_BOTH)) return false;
  bars->SetVisible(bar, show);
  return true;
}

bool EnableScrollBar(HWND hwnd, int bar, UINT arrows) {
  TWindowScrollBars* bars = ScrollBarsOf(hwnd);
  if (!bars || !(ValidBar(bar) || bar == SB_BOTH)) return false;
  return bars->EnableArrows(bar, arrows);
}

bool InitializeFlatSB(HWND hwnd) {
  TWindowScrollBars* bars = ScrollBarsOf(hwnd);
  if (!bars) return false;
  if (!bars->Flat()) bars->SetFlat(true);
  return true;
}

bool UninitializeFlatSB(HWND hwnd) {
  TWindowScrollBars* bars = ScrollBarsOf(hwnd);
  if (!bars) return false;
  if (bars->Flat()) bars->SetFlat(false);
  return true;
}

bool FlatSB_SetScrollProp(HWND hwnd, UINT index, int value, bool redraw) {
  TWindowScrollBars* bars = ScrollBarsOf(hwnd);
  return bars && bars->SetFlatProperty(index, value, redraw);
}

int FlatSB_SetScrollInfo(HWND hwnd, int bar, const SCROLLINFO& info, bool redraw) {
  return SetScrollInfo(hwnd, bar, info, redraw);
}

bool FlatSB_GetScrollInfo(HWND hwnd, int bar, SCROLLINFO& info) { return GetScrollInfo(hwnd, bar, info); }

bool FlatSB_ShowScrollBar(HWND hwnd, int bar, bool show) { return ShowScrollBar(hwnd, bar, show); }

int GetSystemMetrics(int index) {
  switch (index) {
    case SM_CXVSCROLL:
    case SM_CYHSCROLL:
    case SM_CYVSCROLL:
    case SM_CXHSCROLL: return kScrollBarSize;
    default: return 0;
  }
}

}  // namespace platform
