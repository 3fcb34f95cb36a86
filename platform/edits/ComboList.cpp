#include "platform/edits/ComboList.h"

#include <algorithm>

#include "platform/edits/ComboBox.h"
#include "platform/ui/ScrollBars.h"

namespace platform {

TComboListWindow::TComboListWindow(TCustomComboBox& Combo) : combo_(Combo) {}

TSize TComboListWindow::Extent() {
  const int count = combo_.Items().Count();
  const int rows = std::min(count, combo_.DropDownCount());
  int height = 0;
  for (int i = 0; i < rows; ++i) height += combo_.RowHeight(i);
  if (rows == 0) height = combo_.ItemHeight();
  return {std::max(combo_.Width(), combo_.DroppedWidth()), height + 2};
}

int TComboListWindow::VisibleRows() {
  const int count = combo_.Items().Count();
  int rows = 0;
  for (int y = 0, i = top_; i < count; ++i, ++rows) {
    y += combo_.RowHeight(i);
    if (y > ClientHeight()) break;
  }
  return std::max(1, rows);
}

int TComboListWindow::MaxTopRow() {
  const int count = combo_.Items().Count();
  int top = count;
  for (int y = 0; top > 0; --top) {
    y += combo_.RowHeight(top - 1);
    if (y > ClientHeight()) break;
  }
  return std::min(top, std::max(0, count - 1));
}

void TComboListWindow::SetTopRow(int index) {
  index = std::clamp(index, 0, MaxTopRow());
  if (index == top_) return;
  top_ = index;
  UpdateScrollBar();
  Invalidate();
}

void TComboListWindow::UpdateScrollBar() {
  SCROLLINFO info;
  info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
  info.nMin = 0;
  info.nMax = std::max(0, combo_.Items().Count() - 1);
  info.nPage = static_cast<UINT>(VisibleRows());
  info.nPos = top_;
  SetScrollInfo(Handle(), SB_VERT, info, true);
}

void TComboListWindow::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_VSCROLL: {
      const auto code = static_cast<WORD>(Message.WParam & 0xFFFF);
      if (code != SB_ENDSCROLL)
        SetTopRow(static_cast<int>(ScrollCodeTarget(Handle(), SB_VERT, code, top_, 1, std::max(1, VisibleRows() - 1), 0,
                                                    MaxTopRow())));
      return;
    }
    case WM_SIZE:
      TDropDownWindow::Dispatch(Message);
      UpdateScrollBar();
      return;
    default:
      TDropDownWindow::Dispatch(Message);
  }
}

void TComboListWindow::SetHot(int index) {
  if (index >= 0) {
    if (index < top_)
      SetTopRow(index);
    else
      while (index >= top_ + VisibleRows() && top_ < MaxTopRow()) SetTopRow(top_ + 1);
  }
  if (index == hot_) return;
  hot_ = index;
  Invalidate();
}

TRect TComboListWindow::RowRect(int index) {
  if (index < top_) return {};
  int y = 0;
  for (int i = top_; i < index; ++i) y += combo_.RowHeight(i);
  if (y >= ClientHeight() || index >= combo_.Items().Count()) return {};
  return Rect(0, y, ClientWidth(), y + combo_.RowHeight(index));
}

int TComboListWindow::RowAt(TPoint client) {
  if (client.X < 0 || client.X >= ClientWidth() || client.Y < 0) return -1;
  for (int y = 0, i = top_; i < combo_.Items().Count() && y < ClientHeight(); ++i) {
    y += combo_.RowHeight(i);
    if (client.Y < y) return i;
  }
  return -1;
}

void TComboListWindow::Paint() {
  TCanvas& canvas = Canvas();
  canvas.Brush().SetStyle(TBrushStyle::bsSolid);
  canvas.Brush().SetColor(combo_.Color());
  canvas.FillRect(ClientRect());
  for (int i = top_; i < combo_.Items().Count(); ++i) {
    const TRect row = RowRect(i);
    if (row.Height() <= 0) break;
    TOwnerDrawState state;
    if (i == hot_) state = {TOwnerDrawStateFlag::odSelected, TOwnerDrawStateFlag::odFocused};
    combo_.PaintItem(canvas, i, row, state);
  }
}

void TComboListWindow::PopupMouse(UINT Msg, TPoint client) {
  const int row = RowAt(client);
  if (row >= 0) SetHot(row);
  if (Msg == WM_LBUTTONUP && row >= 0) {
    TComponent::TGuard guard(combo_);
    combo_.CloseList(false);
    if (guard.Alive()) combo_.ChooseItem(row);
  }
}

bool TComboListWindow::DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) {
  Wheel(WheelDelta);
  return true;
}

void TComboListWindow::CloseUp() { combo_.ListClosed(); }

}  // namespace platform
