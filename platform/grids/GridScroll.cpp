#include <algorithm>

#include "platform/grids/Grids.h"
#include "platform/ui/ScrollBars.h"

// The grid's scroll bars. Each bar's positions run from 0 to 127 whatever the number of rows or
// columns: position p stands for the first scrolling item FixedRows + p * (MaxTopRow - FixedRows) / 127
// (rounded), where MaxTopRow is the top row that shows the last row at the bottom, and TopRow for the
// position (TopRow - FixedRows) * 127 / (MaxTopRow - FixedRows). A bar with nothing to scroll has the
// range 0..0 and hides.

namespace platform {

namespace {

constexpr int kMaxScrollPos = 127;

bool HasBar(TScrollStyle style, int bar) {
  return style == TScrollStyle::ssBoth ||
         style == (bar == SB_HORZ ? TScrollStyle::ssHorizontal : TScrollStyle::ssVertical);
}

}  // namespace

void TCustomGrid::SetScrollBars(TScrollStyle value) {
  if (scrollBars_ == value) return;
  scrollBars_ = value;
  RecreateWnd();
  UpdateScrollRange();
}

void TCustomGrid::SetBorderStyle(TBorderStyle value) {
  if (borderStyle_ == value) return;
  borderStyle_ = value;
  RecreateWnd();
  UpdateScrollRange();
}

void TCustomGrid::CreateParams(TCreateParams& Params) {
  TCustomControl::CreateParams(Params);
  if (borderStyle_ == TBorderStyle::bsSingle) Params.ExStyle |= WS_EX_CLIENTEDGE;
  if (HasBar(scrollBars_, SB_HORZ)) Params.Style |= WS_HSCROLL;
  if (HasBar(scrollBars_, SB_VERT)) Params.Style |= WS_VSCROLL;
}

const GridAxis& TCustomGrid::Axis(int bar) const { return bar == SB_HORZ ? cols_ : rows_; }

int TCustomGrid::Extent(int bar) const { return bar == SB_HORZ ? ClientWidth() : RowsExtent(); }

void TCustomGrid::UpdateScrollRange() {
  if (scrollBars_ == TScrollStyle::ssNone || !HandleAllocated() || !Showing() || updatingScrollRange_) return;
  TGuard guard(*this);
  updatingScrollRange_ = true;
  // A bar that shows or hides changes the room of the other one, so a second pass may be needed.
  for (int pass = 0; pass < 2 && guard.Alive(); ++pass) {
    const TRect before = ClientRect();
    for (int bar : {SB_HORZ, SB_VERT}) {
      if (!HasBar(scrollBars_, bar) || guard.Gone()) continue;
      const GridAxis& axis = Axis(bar);
      SetScrollRange(Handle(), bar, 0, axis.MaxFirst(Extent(bar)) > axis.Fixed() ? kMaxScrollPos : 0, true);
    }
    if (guard.Gone() || ClientRect() == before) break;
  }
  if (guard.Gone()) return;
  updatingScrollRange_ = false;
  // A smaller client area or fewer items may leave room below the last row: the view moves up.
  const int left = std::min(LeftCol(), std::max(cols_.MaxFirst(ClientWidth()), FixedCols()));
  const int top = std::min(TopRow(), std::max(rows_.MaxFirst(RowsExtent()), FixedRows()));
  if (left != LeftCol() || top != TopRow())
    MoveTopLeft(left, top);
  else
    UpdateScrollPos();
}

void TCustomGrid::UpdateScrollPos() {
  if (scrollBars_ == TScrollStyle::ssNone || !HandleAllocated()) return;
  for (int bar : {SB_HORZ, SB_VERT}) {
    if (!HasBar(scrollBars_, bar)) continue;
    const GridAxis& axis = Axis(bar);
    const int span = axis.MaxFirst(Extent(bar)) - axis.Fixed();
    if (span <= 0) continue;
    const int pos = std::clamp(MulDiv(axis.First() - axis.Fixed(), kMaxScrollPos, span), 0, kMaxScrollPos);
    if (GetScrollPos(Handle(), bar) != pos) SetScrollPos(Handle(), bar, pos, true);
  }
}

void TCustomGrid::ModifyScrollBar(int ScrollBar, WORD ScrollCode, int Pos) {
  if (Visible() && TabStop() && CanFocus() && !Focused() && !ComponentState().Contains(csDesigning)) {
    TGuard guard(*this);
    SetFocus();
    if (guard.Gone()) return;
  }
  const GridAxis& axis = Axis(ScrollBar);
  const int extent = Extent(ScrollBar);
  const int min = axis.Fixed(), max = std::max(axis.MaxFirst(extent), min);
  const int from = axis.First();
  int first = from;
  switch (ScrollCode) {
    case SB_LINEUP: first = from - 1; break;
    case SB_LINEDOWN: first = from + 1; break;
    // A page up makes the top item the last one shown; a page down makes the last whole one the top.
    case SB_PAGEUP: first = std::min(from - 1, axis.FirstEndingAt(from, extent)); break;
    case SB_PAGEDOWN: first = from + std::max(1, axis.VisibleCount(extent) - 1); break;
    case SB_THUMBTRACK:
      if (!Options().Contains(TGridOption::goThumbTracking)) return;
      [[fallthrough]];
    case SB_THUMBPOSITION: first = min + MulDiv(Pos, max - min, kMaxScrollPos); break;
    case SB_TOP: first = min; break;
    case SB_BOTTOM: first = max; break;
    default: return;
  }
  // A line or page step passes over items of size 0.
  if (ScrollCode <= SB_PAGEDOWN)
    while (first > min && first < max && axis.Size(first) == 0) first += first < from ? -1 : 1;
  first = std::clamp(first, min, max);
  if (ScrollBar == SB_HORZ)
    MoveTopLeft(first, TopRow());
  else
    MoveTopLeft(LeftCol(), first);
}

}  // namespace platform
