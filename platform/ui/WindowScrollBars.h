#pragma once

#include "platform/gfx/Canvas.h"
#include "platform/ui/ScrollBarLook.h"
#include "platform/ui/ScrollInfo.h"

namespace platform {

class TWinControl;

// The scroll bars of one windowed control's window (internal to the framework; ScrollBars.h is the
// interface): the horizontal and vertical bar, which take their room from the client area, or the one
// bar of a scroll bar control, which fills it. It lays the bars out, paints them with the non-client
// area, and turns presses, drags and the repeat timer into WM_HSCROLL and WM_VSCROLL.
//
// Coordinates are the control's client coordinates: a window's own bars lie beyond the client area's
// right and bottom edges.
class TWindowScrollBars {
public:
  explicit TWindowScrollBars(TWinControl& control) : control_(control) {}
  // Lets go of a press that is still held.
  ~TWindowScrollBars();

  TScrollBarInfo& Info(int bar) { return info_[Index(bar)]; }
  bool Visible(int bar) const { return visible_[Index(bar)]; }
  // Shows or hides a window's bar; the client area changes its size (WM_SIZE).
  void SetVisible(int bar, bool visible);
  // The bars a new window shows (its WS_HSCROLL and WS_VSCROLL), without WM_SIZE.
  void ShowInitially(bool horizontal, bool vertical) {
    visible_[0] = horizontal;
    visible_[1] = vertical;
  }
  // Makes the window a scroll bar control along the given direction.
  void MakeControl(bool vertical);
  bool IsControl() const { return controlBar_; }

  // Applies info (see ScrollBars.h for when a window's bar shows and hides); returns the position.
  int SetInfo(int bar, const SCROLLINFO& info, bool redraw);
  bool EnableArrows(int bar, UINT arrows);

  bool Flat() const { return flat_; }
  void SetFlat(bool flat);
  bool SetFlatProperty(UINT index, int value, bool redraw);

  // The room the window's bars take from the frame's inside: the vertical bar's width and the
  // horizontal bar's height, 0 for a hidden bar.
  int ReservedWidth() const;
  int ReservedHeight() const;
  TRect BarRect(int bar) const;
  // Whether a client point lies on a bar (or the corner between two).
  bool Covers(TPoint p) const;

  // Draws the window's own bars, on a canvas whose origin is the control's outer corner.
  void PaintNonClient(TCanvas& canvas, int inset);
  // Draws the bar of a scroll bar control on its client canvas.
  void PaintControl(TCanvas& canvas);

  // A mouse message, WM_TIMER, WM_CAPTURECHANGED or WM_CANCELMODE for the bars: true when they took it.
  // The control may be gone when it returns.
  bool HandleMessage(TMessage& Message);

private:
  static int Index(int bar) { return bar == SB_HORZ ? 0 : bar == SB_VERT ? 1 : 2; }
  bool IsVertical(int bar) const { return bar == SB_VERT || (bar == SB_CTL && controlVertical_); }
  TScrollBarLook& Look(int bar) { return look_[IsVertical(bar) ? 1 : 0]; }
  TScrollBarLayout Layout(int bar) const;
  // The part drawn pressed: the one held, while the mouse is on it.
  TScrollBarPart PressedShown(int bar) const;
  // The part of a flat bar under the mouse, drawn raised.
  TScrollBarPart HotShown(int bar) const { return hotBar_ == bar ? hot_ : TScrollBarPart::None; }
  void TrackHot(TPoint p);
  void SetHot(int bar, TScrollBarPart part);
  void InvalidateBar(int bar);
  void ClientSizeChanged();

  // Tracking a press (ScrollBarTracking.cpp).
  bool Press(TPoint p);
  void Move(TPoint p);
  void Release();
  void Repeat();
  void Send(int bar, WORD code, int pos);
  void EndTracking(bool notify);

  TWinControl& control_;
  TScrollBarInfo info_[3];
  bool visible_[3] = {false, false, false};
  bool controlBar_ = false;
  bool controlVertical_ = false;
  TScrollBarLook look_[2];  // the horizontal and the vertical look
  bool flat_ = false;

  int trackedBar_ = -1;  // the bar a press is held on, -1 when none
  TScrollBarPart pressed_ = TScrollBarPart::None;
  TPoint mouse_;          // the last mouse point while a press is held
  int grip_ = 0;          // where the thumb was taken, from its leading edge
  bool repeating_ = false;
  int hotBar_ = -1;  // the flat bar the mouse is over, -1 when none
  TScrollBarPart hot_ = TScrollBarPart::None;
};

// The bars of a control of this process (made at first use), or null for a handle that is no control.
TWindowScrollBars* ScrollBarsOf(HWND hwnd);

}  // namespace platform
