#pragma once

#include "platform/ui/Controls.h"

namespace platform {

// Where a drop-down of `size` opens for a control at `owner` (screen rectangles): below the control,
// left edges aligned; above it when it does not fit below but does above (or has more room there),
// cut to the room on that side when it fits neither way; moved left when it would leave the screen at
// the right, never past its left edge.
TRect DropDownBounds(const TRect& owner, TSize size, const TRect& screen);
// A control's outer rectangle on the screen, its frame included.
TRect ScreenBounds(const TControl& control);

// A window that drops down from a control (a combo box's list, a calendar): a pop-up window of the
// backend with a one-pixel frame that holds the mouse capture while it is open, so a press anywhere
// outside it closes it; a press on its own scroll bar goes to the bar, which holds the capture until
// the button is released. The keyboard stays with the owner, which passes on the keys the drop-down
// serves and closes it when it loses the focus.
class TDropDownWindow : public TCustomControl {
public:
  TDropDownWindow();
  ~TDropDownWindow() override;
  void WndProc(TMessage& Message) override;
  void Dispatch(TMessage& Message) override;

  bool IsOpen() const { return open_; }
  // Opens at the screen rectangle (see DropDownBounds).
  void Open(const TRect& bounds);
  // Hides the window and runs CloseUp; nothing when it is not open.
  void Close();

protected:
  void CreateParams(TCreateParams& Params) override;
  // Mouse messages inside the window, in client coordinates (moves also while no button is down).
  virtual void PopupMouse(UINT Msg, TPoint client) {}
  // After the window closed, however that happened.
  virtual void CloseUp() {}

private:
  bool open_ = false;
};

}  // namespace platform
