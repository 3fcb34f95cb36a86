#include "grid/DovAdiz.h"

// The update lock and the paint messages it holds back.

using namespace platform;

namespace velmora {

void VUraRazuduVova::BeginUpdate() { ++updateCount_; }

void VUraRazuduVova::EndUpdate() {
  if (updateCount_ > 0) --updateCount_;
  // The whole window, frame included; the grid never erases its background.
  if (updateCount_ == 0) Invalidate();
}

void VUraRazuduVova::SetLockFlag(bool value) {
  if (value)
    BeginUpdate();
  else
    EndUpdate();
}

void VUraRazuduVova::InvalidateGridRect(const TGridRect& GridRect) {
  // GetCellRect places a corner scrolled out of view too, so the part of the block shown is covered.
  TRect area;
  UnionRect(area, GetCellRect(GridRect.Left, GridRect.Top), GetCellRect(GridRect.Right, GridRect.Bottom));
  if (IntersectRect(area, area, ClientRect())) InvalidateRect(area);
}

void VUraRazuduVova::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_PAINT:
      // Left validated: the EndUpdate that ends the lock invalidates the whole window.
      if (updateCount_ > 0) return;
      break;
    case WM_NCPAINT:
      if (updateCount_ > 0) return;
      TBaseGrid::WndProc(Message);
      if (Message.WParam != 0) DrawSoftFrame(*reinterpret_cast<TCanvas*>(Message.WParam));
      return;
    case WM_ERASEBKGND:
      Message.Result = 1;  // the paint fills every pixel of the client area
      return;
    case WM_HSCROLL:
    case WM_VSCROLL:
      if (Message.LParam != 0) break;  // a scroll bar control's report
      ScrollBarMessage(Message);
      return;
    case WM_SIZE: {
      const TGuard alive(*this);
      TBaseGrid::WndProc(Message);
      if (alive.Alive()) ClientSizeChanged();
      return;
    }
    default:
      if (InputMessage(Message)) return;
      break;
  }
  TBaseGrid::WndProc(Message);
}

}  // namespace velmora
