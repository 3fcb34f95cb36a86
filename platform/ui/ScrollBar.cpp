#include "platform/ui/ScrollBar.h"

#include <algorithm>
#include <cstdint>

#include "platform/ui/ScrollBars.h"
#include "platform/ui/VirtualKeys.h"
#include "platform/ui/WindowScrollBars.h"

namespace platform {

TScrollBar::TScrollBar(TComponent* AOwner) : TWinControl(AOwner) {
  // The bar holds the mouse itself while a press lasts.
  SetControlStyle({TControlStyleFlag::csDoubleClicks, TControlStyleFlag::csOpaque});
  SetTabStop(true);
  SetBounds(0, 0, 121, GetSystemMetrics(SM_CYHSCROLL));
}

void TScrollBar::SetKind(TScrollBarKind value) {
  if (kind_ == value) return;
  kind_ = value;
  if (!ComponentState().Contains(csLoading)) SetBounds(Left(), Top(), Height(), Width());
  RecreateWnd();
}

void TScrollBar::SetPageSize(int value) {
  if (value == pageSize_) return;
  if (value < 0 || value > int64_t{max_} - min_ + 1) throw EInvalidOperation("Scrollbar property out of range");
  pageSize_ = value;
  SetParams(position_, min_, max_);  // the position may lie past the new last one
}

void TScrollBar::SetParams(int APosition, int AMin, int AMax) {
  if (AMax < AMin || int64_t{AMax} - AMin + 1 < pageSize_) throw EInvalidOperation("Scrollbar property out of range");
  APosition = std::clamp(APosition, AMin, AMax - std::max(pageSize_ - 1, 0));
  min_ = AMin;
  max_ = AMax;
  const bool changed = APosition != position_;
  position_ = APosition;
  UpdateBar();
  if (changed) Change();
}

void TScrollBar::UpdateBar() {
  if (!HandleAllocated()) return;
  SCROLLINFO info;
  info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
  info.nMin = min_;
  info.nMax = max_;
  info.nPage = static_cast<UINT>(pageSize_);
  info.nPos = position_;
  SetScrollInfo(Handle(), SB_CTL, info, true);
}

void TScrollBar::CreateParams(TCreateParams& Params) {
  TWinControl::CreateParams(Params);
  Params.Style |= kind_ == TScrollBarKind::sbVertical ? SBS_VERT : SBS_HORZ;
}

void TScrollBar::CreateWnd() {
  TWinControl::CreateWnd();
  ScrollBarsOf(Handle())->MakeControl(kind_ == TScrollBarKind::sbVertical);
  UpdateBar();
}

void TScrollBar::PaintWindow(HDC DC) { ScrollBarsOf(Handle())->PaintControl(*DC); }

void TScrollBar::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CN_HSCROLL:
    case CN_VSCROLL:
      DoScroll(static_cast<WORD>(Message.WParam & 0xFFFF));
      return;
    case WM_GETDLGCODE:
      Message.Result = DLGC_WANTARROWS;
      return;
    default: TWinControl::Dispatch(Message);
  }
}

void TScrollBar::DefaultHandler(TMessage& Message) {
  if (Message.Msg != WM_KEYDOWN) return TWinControl::DefaultHandler(Message);
  WORD code = 0;
  switch (Message.WParam) {
    case VK_UP:
    case VK_LEFT: code = SB_LINEUP; break;
    case VK_DOWN:
    case VK_RIGHT: code = SB_LINEDOWN; break;
    case VK_PRIOR: code = SB_PAGEUP; break;
    case VK_NEXT: code = SB_PAGEDOWN; break;
    case VK_HOME: code = SB_TOP; break;
    case VK_END: code = SB_BOTTOM; break;
    default: return TWinControl::DefaultHandler(Message);
  }
  TGuard guard(*this);
  DoScroll(code);
  if (guard.Alive()) DoScroll(SB_ENDSCROLL);
}

void TScrollBar::DoScroll(WORD code) {
  if (code > SB_ENDSCROLL) return;
  const int64_t to = ScrollCodeTarget(Handle(), SB_CTL, code, position_, smallChange_, largeChange_, min_, max_);
  int scrollPos = static_cast<int>(std::clamp<int64_t>(to, min_, max_ - std::max(pageSize_ - 1, 0)));
  TGuard guard(*this);
  Scroll(static_cast<TScrollCode>(code), scrollPos);
  if (guard.Alive()) SetPosition(scrollPos);
}

void TScrollBar::Change() {
  if (OnChange) OnChange(this);
}

void TScrollBar::Scroll(TScrollCode ScrollCode, int& ScrollPos) {
  if (OnScroll) OnScroll(this, ScrollCode, ScrollPos);
}

}  // namespace platform
