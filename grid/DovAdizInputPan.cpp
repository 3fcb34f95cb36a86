// Panning with the wheel button: the middle button starts it, the pan timer moves the current cell one
// step toward the mouse every tick, and any button or key ends it.

#include <algorithm>

#include "grid/DovAdiz.h"
#include "grid/ExUtil.h"
#include "grid/GridCursors.h"
#include "platform/ui/ApplicationHints.h"
#include "platform/ui/Forms.h"

using namespace platform;

namespace velmora {

namespace {

// The mouse must be this many pixels away from where panning began before the grid moves.
constexpr int kPanDeadZone = 5;

// The marker's square; the bitmaps are no larger.
constexpr int kMarkerSize = 32;

int PanStep(int offset) { return offset > kPanDeadZone ? 1 : offset < -kPanDeadZone ? -1 : 0; }

// The cursor that points the way the grid pans.
TCursor PanCursor(int dx, int dy) {
  if (dx == 0) return dy == 0 ? crPanNeutral : dy > 0 ? crPanDown : crPanUp;
  if (dy == 0) return dx > 0 ? crPanRight : crPanLeft;
  if (dy < 0) return dx > 0 ? crPanUpRight : crPanUpLeft;
  return dx > 0 ? crPanDownRight : crPanDownLeft;
}

const char* MarkerName(TIntelliPan kind) {
  switch (kind) {
    case TIntelliPan::ipHorizontal: return "INTLI2";
    case TIntelliPan::ipVertical: return "INTLI3";
    default: return "INTLI1";
  }
}

}  // namespace

void VUraRazuduVova::DrawIntelliFocusPoint() {
  TBitmap marker;
  marker.LoadFromResourceName(MarkerName(IntelliPan));
  if (marker.Empty()) return;
  DrawBitmapTransp(Canvas(), marker, marker.TransparentColor(),
                   Bounds(panStart_.X, panStart_.Y, marker.Width(), marker.Height()));
}

void VUraRazuduVova::EraseIntelliFocusPoint() {
  if (HandleAllocated()) InvalidateRect(Bounds(panStart_.X, panStart_.Y, kMarkerSize, kMarkerSize));
}

bool VUraRazuduVova::PanMessage(TMessage& Message) {
  switch (Message.Msg) {
    case WM_MBUTTONDOWN:
      if (panning_) {
        StopPanning();
      } else if (IntelliPan != TIntelliPan::ipNone) {
        StartPanning({LParamX(Message.LParam), LParamY(Message.LParam)});
      } else {
        return false;
      }
      return true;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_KEYDOWN:
      if (!panning_) return false;
      StopPanning();
      return true;
    case WM_TIMER:
      if (Message.WParam != kPanTimerId) return false;
      PanTick();
      return true;
    default: return false;
  }
}

void VUraRazuduVova::StartPanning(TPoint At) {
  panning_ = true;
  panStart_ = At;
  panSavedCursor_ = TBaseGrid::Cursor();
  RegisterGridCursors();
  SetOwnCursor(PanCursor(0, 0));
  ApplicationHints().CancelHint();
  SetTimer(Handle(), kPanTimerId, kPanTimerMs);
  SetMouseCapture(true);
  // Paint draws the marker while panning lasts.
  EraseIntelliFocusPoint();
}

void VUraRazuduVova::StopPanning() {
  panning_ = false;
  if (HandleAllocated()) KillTimer(Handle(), kPanTimerId);
  SetMouseCapture(false);
  SetOwnCursor(panSavedCursor_);
  EraseIntelliFocusPoint();
}

void VUraRazuduVova::PanTick() {
  if (!panning_ || IntelliPan == TIntelliPan::ipNone) return;
  const TPoint mouse = ScreenToClient(Screen().CursorPos());
  const int dx = IntelliPan == TIntelliPan::ipVertical ? 0 : PanStep(mouse.X - panStart_.X);
  const int dy = IntelliPan == TIntelliPan::ipHorizontal ? 0 : PanStep(mouse.Y - panStart_.Y);
  if (TBaseGrid::Cursor() != PanCursor(dx, dy)) SetOwnCursor(PanCursor(dx, dy));
  const int firstRow = FixedRows(), lastRow = LastNormalRow();
  const int firstCol = FixedCols(), lastCol = ColCount() - 1 - FixedRightCols();
  // Without a data row or column there is nothing to pan over.
  if (lastRow < firstRow || lastCol < firstCol || (dx == 0 && dy == 0)) return;
  const int row = std::clamp(std::clamp(Row(), firstRow, lastRow) + dy, firstRow, lastRow);
  const int col = std::clamp(std::clamp(Col(), firstCol, lastCol) + dx, firstCol, lastCol);
  if (row == Row() && col == Col()) return;
  const int top = TopRow(), left = LeftCol();
  FocusCell(col, row, true);
  // Scrolling moved the marker's pixels with the cells: it is painted again where it belongs.
  if (TopRow() != top || LeftCol() != left) EraseIntelliFocusPoint();
}

}  // namespace velmora
