#pragma once

#include <climits>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/core/Set.h"
#include "platform/gfx/Bitmap.h"
#include "platform/gfx/Canvas.h"
#include "platform/gfx/Colors.h"
#include "platform/gfx/Font.h"
#include "platform/gfx/Geometry.h"
#include "platform/ui/Backend.h"
#include "platform/app/Component.h"
#include "platform/ui/Keyboard.h"
#include "platform/app/Messages.h"
#include "platform/app/Window.h"

namespace platform {

class TWinControl;
class TCustomForm;
class TPopupMenu;
class TTopLevelWindow;
class TWindowScrollBars;
class TControl;
TTopLevelWindow* TopLevelOf(const TControl* control);
TPoint WindowOriginInTop(const TControl* control);

enum class TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };
enum class TAnchorKind { akLeft, akTop, akRight, akBottom };
using TAnchors = TSet<TAnchorKind>;
enum class TMouseButton { mbLeft, mbRight, mbMiddle };

// What a control class does by itself (set by its constructor).
enum class TControlStyleFlag {
  csAcceptsControls,  // may be the parent of other controls at design time
  csCaptureMouse,     // a button press captures the mouse until it is released
  csClickEvents,      // a press and release over the control is a Click
  csSetCaption,       // the name is the caption until a caption is set
  csOpaque,           // the control paints all of its area
  csDoubleClicks,     // double clicks arrive as double clicks, not as a second press
  csNoStdEvents,      // mouse and key messages raise no OnMouse.../OnKey... events
};
using TControlStyle = TSet<TControlStyleFlag>;

// What a control is doing at the moment.
enum class TControlStateFlag { csLButtonDown, csClicked, csFocusing, csCreating, csAligning };
using TControlState = TSet<TControlStateFlag>;

// Raised for an operation a control cannot do in its state ("Cannot focus a disabled or invisible window").
class EInvalidOperation : public Exception {
public:
  using Exception::Exception;
};

// Cursor numbers: the shapes the backend knows, negative as in the class library; 0 is the parent's;
// positive numbers are the program's own cursors (TScreen::Cursors).
using TCursor = int;
inline constexpr TCursor crDefault = 0;
inline constexpr TCursor crNone = -1;
inline constexpr TCursor crArrow = -2;
inline constexpr TCursor crCross = -3;
inline constexpr TCursor crIBeam = -4;
inline constexpr TCursor crSizeNESW = -6;
inline constexpr TCursor crSizeNS = -7;
inline constexpr TCursor crSizeNWSE = -8;
inline constexpr TCursor crSizeWE = -9;
inline constexpr TCursor crUpArrow = -10;
inline constexpr TCursor crHourGlass = -11;
inline constexpr TCursor crDrag = -12;
inline constexpr TCursor crNoDrop = -13;
inline constexpr TCursor crHSplit = -14;
inline constexpr TCursor crVSplit = -15;
inline constexpr TCursor crNo = -18;
inline constexpr TCursor crHandPoint = -21;
inline constexpr TCursor crSizeAll = -22;
// The backend's shape for a cursor number (the arrow for numbers it does not know).
TBackendCursor BackendCursorOf(TCursor cursor);

using TMouseEvent = std::function<void(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)>;
using TMouseMoveEvent = std::function<void(TObject* Sender, TShiftState Shift, int X, int Y)>;
using TMouseWheelEvent =
    std::function<void(TObject* Sender, TShiftState Shift, int WheelDelta, TPoint MousePos, bool& Handled)>;
using TMouseWheelUpDownEvent = std::function<void(TObject* Sender, TShiftState Shift, TPoint MousePos, bool& Handled)>;
using TKeyEvent = std::function<void(TObject* Sender, WORD& Key, TShiftState Shift)>;
// Raised before a control's pop-up menu is shown: MousePos in client coordinates, (-1, -1) from the
// keyboard; setting Handled shows no menu.
using TContextPopupEvent = std::function<void(TObject* Sender, TPoint MousePos, bool& Handled)>;
// Key is one code point; setting it to 0 drops the character.
using TKeyPressEvent = std::function<void(TObject* Sender, char32_t& Key)>;

// Minimum and maximum width and height of a control; 0 is no limit.
class TSizeConstraints : public TPersistent {
public:
  int MaxHeight() const { return maxHeight_; }
  int MaxWidth() const { return maxWidth_; }
  int MinHeight() const { return minHeight_; }
  int MinWidth() const { return minWidth_; }
  void SetMaxHeight(int value) { Set(maxHeight_, value); }
  void SetMaxWidth(int value) { Set(maxWidth_, value); }
  void SetMinHeight(int value) { Set(minHeight_, value); }
  void SetMinWidth(int value) { Set(minWidth_, value); }
  // A size within the limits.
  int ConstrainWidth(int width) const;
  int ConstrainHeight(int height) const;
  void Assign(const TPersistent* Source) override;

  std::function<void()> OnChange;

private:
  void Set(int& field, int value);
  int maxHeight_ = 0;
  int maxWidth_ = 0;
  int minHeight_ = 0;
  int minWidth_ = 0;
};

// The canvas of one control. While the control paints, it draws into its window's back buffer at the
// control's place, clipped to the part being painted; at other times it draws into a scratch bitmap of
// its own, so measuring text works at any time and drawing outside painting shows nothing.
class TControlCanvas : public TCanvas {
public:
  TControlCanvas();

private:
  TBitmap scratch_;
};

// The base of all controls: a component with a place on its parent, which shows it.
//
// Messages: Perform hands a message to WndProc, which does the framework's own work for mouse messages
// (capture, click state, hints) and passes it to Dispatch. Dispatch finds the handler by the message's
// number; a class handles a message by overriding Dispatch with a case for it, and reaches the
// inherited handling with Base::Dispatch(Message). A message that no class handles goes to
// DefaultHandler. A handler may destroy the control: the framework touches nothing of a control after
// handing it a message that can run a user's event.
//
// Window hooks: Perform and the window hand a message to the newest window hook, each hook passes it on
// (or takes it) by calling the Next it is handed, and the oldest hands it to WindowProc. Each hooker
// removes only its own hook, in any order; a hook added or removed while a message passes through the
// chain takes effect from the next link on, and Next does nothing once the control is gone.
class TControl : public TComponent {
public:
  using TWndMethod = std::function<void(TMessage& Message)>;
  using TWindowHook = std::function<void(TMessage& Message, const TWndMethod& Next)>;

  explicit TControl(TComponent* AOwner);
  ~TControl() override;

  LRESULT Perform(UINT Msg, WPARAM WParam = 0, LPARAM LParam = 0);
  virtual void WndProc(TMessage& Message);
  virtual void Dispatch(TMessage& Message);
  virtual void DefaultHandler(TMessage& Message);
  // The procedure below the window hooks: WndProc unless assigned.
  TWndMethod WindowProc = [this](TMessage& Message) { WndProc(Message); };
  // Puts Hook in front of the chain; the key it returns removes it.
  int AddWindowHook(TWindowHook Hook);
  void RemoveWindowHook(int Key);
  // Hands a message to the chain: the hooks, newest first, then WindowProc.
  void HandleWindowMessage(TMessage& Message) { PassBelow(kNoHookKey, Message); }

  TWinControl* Parent() const { return parent_; }
  virtual void SetParent(TWinControl* AParent);
  bool HasParent() const { return parent_ != nullptr; }

  int Left() const { return left_; }
  int Top() const { return top_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  void SetLeft(int value) { SetBounds(value, top_, width_, height_); }
  void SetTop(int value) { SetBounds(left_, value, width_, height_); }
  void SetWidth(int value) { SetBounds(left_, top_, value, height_); }
  void SetHeight(int value) { SetBounds(left_, top_, width_, value); }
  // Moves and sizes the control within its parent's client area (a top-level window: on the screen).
  // The size is kept within Constraints; the parent re-aligns its children.
  virtual void SetBounds(int ALeft, int ATop, int AWidth, int AHeight);
  TRect BoundsRect() const { return Bounds(left_, top_, width_, height_); }
  void SetBoundsRect(const TRect& r) { SetBounds(r.Left, r.Top, r.Width(), r.Height()); }
  // The client area in the control's own coordinates: (0, 0) to its size, less a window's frame.
  virtual TRect ClientRect() const;
  int ClientWidth() const { return ClientRect().Width(); }
  int ClientHeight() const { return ClientRect().Height(); }
  void SetClientWidth(int value) { SetWidth(width_ - ClientWidth() + value); }
  void SetClientHeight(int value) { SetHeight(height_ - ClientHeight() + value); }
  // The screen point of the client area's top-left corner.
  virtual TPoint ClientOrigin() const;
  TPoint ClientToScreen(TPoint p) const;
  TPoint ScreenToClient(TPoint p) const;

  TAlign Align() const { return align_; }
  void SetAlign(TAlign value);
  TAnchors Anchors() const { return anchors_; }
  void SetAnchors(TAnchors value);
  TSizeConstraints& Constraints() { return constraints_; }

  bool Visible() const { return visible_; }
  void SetVisible(bool value);
  void Show();
  void Hide();
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool value);

  TFont& Font() { return font_; }
  const TFont& Font() const { return font_; }
  void SetFont(const TFont& value) { font_.Assign(value); }
  bool ParentFont() const { return parentFont_; }
  void SetParentFont(bool value);
  TColor Color() const { return color_; }
  void SetColor(TColor value);
  bool ParentColor() const { return parentColor_; }
  void SetParentColor(bool value);

  TCursor Cursor() const { return cursor_; }
  void SetCursor(TCursor value);
  const std::string& Hint() const { return hint_; }
  void SetHint(const std::string& value) { hint_ = value; }
  bool ShowHint() const { return showHint_; }
  void SetShowHint(bool value);
  bool ParentShowHint() const { return parentShowHint_; }
  void SetParentShowHint(bool value);
  TPopupMenu* PopupMenu() const { return popupMenu_; }
  void SetPopupMenu(TPopupMenu* value);

  // The control's text: a form's or label's caption, an edit's content. Caption and Text are the same.
  const std::string& Caption() const { return text_; }
  void SetCaption(const std::string& value) { SetText(value); }
  const std::string& Text() const { return text_; }
  void SetText(const std::string& value);

  TControlStyle ControlStyle() const { return controlStyle_; }
  void SetControlStyle(TControlStyle value) { controlStyle_ = value; }
  TControlState ControlState() const { return controlState_; }
  void SetControlState(TControlState value) { controlState_ = value; }

  // Marks the control's area to be painted when the loop is idle; Update paints what is marked in its
  // window now; Repaint does both; Refresh is Repaint.
  virtual void Invalidate();
  virtual void Update();
  virtual void Repaint();
  void Refresh() { Repaint(); }

  // Moves the control to the top (drawn last) or bottom of its parent's controls.
  void BringToFront();
  void SendToBack();

  // The mouse capture: while set, every mouse message goes to this control.
  bool MouseCapture() const;
  void SetMouseCapture(bool value);

  // Visible here and in every parent, and (for a control in a top-level window) that window is shown.
  virtual bool IsShowing() const;

  TNotifyEvent OnClick;
  TNotifyEvent OnDblClick;
  TMouseEvent OnMouseDown;
  TMouseEvent OnMouseUp;
  TMouseMoveEvent OnMouseMove;
  TNotifyEvent OnMouseEnter;
  TNotifyEvent OnMouseLeave;
  TMouseWheelEvent OnMouseWheel;
  TMouseWheelUpDownEvent OnMouseWheelDown;
  TMouseWheelUpDownEvent OnMouseWheelUp;
  TNotifyEvent OnResize;
  TContextPopupEvent OnContextPopup;

protected:
  virtual void Click();
  virtual void DblClick();
  virtual void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
  virtual void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y);
  virtual void MouseMove(TShiftState Shift, int X, int Y);
  // The wheel: OnMouseWheel, then OnMouseWheelDown/Up; true when handled. Unhandled wheel messages go
  // on to the parent.
  virtual bool DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos);
  virtual bool DoMouseWheelDown(TShiftState Shift, TPoint MousePos);
  virtual bool DoMouseWheelUp(TShiftState Shift, TPoint MousePos);
  virtual void Resize();
  virtual void DoContextPopup(TPoint MousePos, bool& Handled);
  // May change the size a SetBounds asks for; false refuses the change of size.
  virtual bool CanResize(int& NewWidth, int& NewHeight) { return true; }
  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  // The parent's canvas-less area this control covers, in the top-level window's client coordinates.
  TRect RectInTopLevel() const;
  // Asks the parent to align its children again.
  void RequestAlign();
  // The canvas the framework paints this control with.
  TControlCanvas& ControlCanvas();
  // Replaces `count` bytes of the text at `from` by `with` in place, then CM_TEXTCHANGED as after
  // WM_SETTEXT: for a control that changes its own text, without copying the rest of it.
  void ReplaceOwnText(size_t from, size_t count, std::string_view with);

private:
  friend class TWinControl;
  friend class TTopLevelWindow;
  friend class TApplication;
  friend class TCustomForm;
  friend class THintWindow;

  void HandleMouseButton(TMessage& Message, TMouseButton button, bool down, bool doubleClick);
  void HandleMouseMove(TMessage& Message);
  void HandleMouseWheel(TMessage& Message);
  // A context-menu request: OnContextPopup, then the pop-up menu; false leaves it to the parent.
  bool HandleContextMenu(TMessage& Message);
  void FontChanged();
  void UpdateAnchorRules();
  // For a control aligned to the bottom or the right whose position stays: the position that keeps
  // its bottom or right edge at the new size.
  void KeepAlignedEdge(int& ALeft, int& ATop, int AWidth, int AHeight) const;
  // For a child whose parent's client area now has this size: the bounds its anchors ask for.
  TRect AnchoredBounds(int parentWidth, int parentHeight) const;

  TWinControl* parent_ = nullptr;
  int left_ = 0;
  int top_ = 0;
  int width_ = 0;
  int height_ = 0;
  TAlign align_ = TAlign::alNone;
  TAnchors anchors_{TAnchorKind::akLeft, TAnchorKind::akTop};
  TRect anchorOrigin_;      // the bounds when the rules were taken
  TSize anchorParentSize_;  // the parent's client size then; 0, 0: no rules yet
  TSizeConstraints constraints_;
  bool visible_ = true;
  bool enabled_ = true;
  TFont font_;
  bool parentFont_ = true;
  TColor color_ = clWindow;
  bool parentColor_ = true;
  TCursor cursor_ = crDefault;
  std::string hint_;
  bool showHint_ = false;
  bool parentShowHint_ = true;
  TPopupMenu* popupMenu_ = nullptr;
  std::string text_;
  TControlStyle controlStyle_{TControlStyleFlag::csCaptureMouse, TControlStyleFlag::csClickEvents,
                              TControlStyleFlag::csSetCaption, TControlStyleFlag::csDoubleClicks};
  TControlState controlState_;
  std::unique_ptr<TControlCanvas> canvas_;

  struct TWindowHookLink {
    int key;
    TWindowHook hook;
  };
  static constexpr int kNoHookKey = INT_MAX;
  // Hands a message to the newest hook older than Key, or to WindowProc when none is.
  void PassBelow(int Key, TMessage& Message);
  std::vector<std::shared_ptr<TWindowHookLink>> hooks_;  // oldest first; keys ascending
  int nextHookKey_ = 1;
};

// What CreateParams fills in before a windowed control's handle is made.
struct TCreateParams {
  std::string Caption;
  DWORD Style = 0;
  DWORD ExStyle = 0;
  int X = 0;
  int Y = 0;
  int Width = 0;
  int Height = 0;
  HWND WndParent{};
  struct {
    UINT style = 0;
  } WindowClass;
  std::string WinClassName;
};

// A control with a window: it holds other controls, takes the keyboard focus, and has a handle (created
// when the control first shows or someone asks for it, re-created by RecreateWnd after a change of its
// create-params) to which messages and timers can be posted. A windowed control without a parent is a
// top-level window of the backend (a form, or with WS_POPUP a pop-up such as a hint window), which
// paints into a back buffer of its own. Windowed children always lie above graphic ones and are
// clipped out of their parent's painting.
//
// Keys: the focused control gets WM_KEYDOWN. Tab, the arrows, Enter and Escape are first offered to
// the form as dialog keys (CM_DIALOGKEY: Tab moves the focus), unless the control wants them
// (CM_WANTSPECIALKEY or WM_GETDLGCODE); then the form's OnKeyDown with KeyPreview, then KeyDown.
class TWinControl : public TControl {
public:
  explicit TWinControl(TComponent* AOwner);
  ~TWinControl() override;

  void Dispatch(TMessage& Message) override;
  void WndProc(TMessage& Message) override;
  // A button press gives the focus to a control with a tab stop, as the native controls take it.
  void DefaultHandler(TMessage& Message) override;

  HWND Handle();
  bool HandleAllocated() const { return handle_.Handle() != HWND{}; }
  void HandleNeeded() { Handle(); }
  // Destroys the handle and makes a new one from CreateParams, when there is one.
  void RecreateWnd();
  // The backend window of a top-level control whose handle exists (0 otherwise).
  TBackendWindow BackendWindow() const;

  int ControlCount() const { return static_cast<int>(controls_.size()); }
  // The children in z-order: graphic and windowed, the last drawn last.
  TControl* Controls(int index) const { return controls_.at(static_cast<size_t>(index)); }
  bool ContainsControl(const TControl* control) const;
  // The topmost visible child at a client point (disabled ones too when AllowDisabled).
  TControl* ControlAtPos(TPoint pos, bool AllowDisabled, bool AllowWinControls = false) const;
  void InsertControl(TControl* AControl);
  void RemoveControl(TControl* AControl);

  bool TabStop() const { return tabStop_; }
  void SetTabStop(bool value);
  // The position among the parent's windowed children in tab order; -1 without a parent.
  int TabOrder() const;
  void SetTabOrder(int value);
  // The windowed descendants in tab order, depth first.
  void GetTabOrderList(std::vector<TWinControl*>& list) const;
  // The next (or previous) descendant after CurControl in tab order that can take the focus (and has a
  // tab stop when CheckTabStop); wraps around. Null when there is none.
  TWinControl* FindNextControl(TWinControl* CurControl, bool GoForward, bool CheckTabStop, bool CheckParent) const;
  void SelectNext(TWinControl* CurControl, bool GoForward, bool CheckTabStop);

  virtual bool CanFocus() const;
  bool Focused() const;
  virtual void SetFocus();

  bool Showing() const { return showing_; }
  bool IsShowing() const override { return showing_; }

  void DisableAlign() { ++alignDisabled_; }
  void EnableAlign();
  void Realign();
  // Sends the message to every child; Broadcast stops at the first that sets a non-zero Result.
  void Broadcast(TMessage& Message);
  void NotifyControls(UINT Msg);

  TRect ClientRect() const override;
  TPoint ClientOrigin() const override;
  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
  void Invalidate() override;
  // Marks a rectangle of the client area (client coordinates) to be painted when the loop is idle.
  void InvalidateRect(const TRect& Rect);
  void Update() override;

  TNotifyEvent OnEnter;
  TNotifyEvent OnExit;
  TKeyEvent OnKeyDown;
  TKeyPressEvent OnKeyPress;
  TKeyEvent OnKeyUp;

protected:
  virtual void CreateParams(TCreateParams& Params);
  virtual void CreateWnd();
  virtual void CreateWindowHandle(const TCreateParams& Params);
  virtual void DestroyWnd();
  virtual void DestroyWindowHandle();
  void CreateHandle();
  void DestroyHandle();

  virtual void KeyDown(WORD& Key, TShiftState Shift);
  virtual void KeyUp(WORD& Key, TShiftState Shift);
  virtual void KeyPress(char32_t& Key);
  virtual void DoEnter();
  virtual void DoExit();
  // Paints the control itself (a custom control's Paint) on the given device context.
  virtual void PaintWindow(HDC DC) {}
  // Paints the graphic children over the control.
  void PaintControls(HDC DC);
  // Lays out the children: aligned ones in the order top, bottom, left, right, client, within Rect
  // (the client area, as AdjustClientRect leaves it), then anchored ones.
  virtual void AlignControls(TControl* AControl, TRect& Rect);
  virtual void AdjustClientRect(TRect& Rect) {}
  void Loaded() override;
  // The width of the frame around the client area that the create-params ask for.
  int BorderInset() const;

private:
  friend class TControl;
  friend class TTopLevelWindow;
  friend class TCustomForm;
  friend TTopLevelWindow* TopLevelOf(const TControl* control);
  friend TPoint WindowOriginInTop(const TControl* control);
  friend TWindowScrollBars* ScrollBarsOf(HWND hwnd);
  friend class TWindowScrollBars;

  // Whether the framework paints a frame or scroll bars around the client area.
  bool HasNonClientArea() const;
  bool DoKeyDown(WORD& key, LPARAM keyData);
  bool DoKeyPress(char32_t& key);
  bool DoKeyUp(WORD& key, LPARAM keyData);
  bool HandleDialogKey(TMessage& Message);
  bool RouteMouseToChild(TMessage& Message);
  void UpdateShowing();
  void AlignChildren(TControl* moved);
  void RealignAfterResize(TControl* moved);
  void Unfocus();

  std::vector<TControl*> controls_;
  std::vector<TWinControl*> tabList_;
  WindowHandle handle_;
  std::unique_ptr<TTopLevelWindow> topLevel_;
  std::unique_ptr<TWindowScrollBars> scrollBars_;  // the window's scroll bars, made at first use
  int cachedInset_ = -1;  // the frame width while the handle exists
  bool tabStop_ = false;
  bool showing_ = false;
  int alignDisabled_ = 0;
  bool alignPending_ = false;
  const struct PaintClip* paintClip_ = nullptr;  // while the framework paints this control
};

// A control without a window, painted on its parent (a label, an image).
class TGraphicControl : public TControl {
public:
  explicit TGraphicControl(TComponent* AOwner);
  void Dispatch(TMessage& Message) override;
  TCanvas& Canvas() { return ControlCanvas(); }

protected:
  virtual void Paint() {}
};

// A windowed control that paints itself on a canvas of its own (the base of the standard controls).
class TCustomControl : public TWinControl {
public:
  explicit TCustomControl(TComponent* AOwner);
  TCanvas& Canvas() { return ControlCanvas(); }

protected:
  void PaintWindow(HDC DC) override;
  virtual void Paint() {}
};

// The short hint: the text before the first "|"; the long hint: the text after it (the whole text when
// it holds none).
std::string GetShortHint(const std::string& Hint);
std::string GetLongHint(const std::string& Hint);

// The form that holds the control, or null.
TCustomForm* GetParentForm(const TControl* Control);
// The windowed control that owns a handle of this process, or null.
TWinControl* FindControl(HWND Handle);
// The control that holds the mouse capture, or null.
TControl* GetCaptureControl();
void SetCaptureControl(TControl* Control);
// The deepest visible control under a screen point, disabled ones too when AllowDisabled.
TControl* FindDragTarget(TPoint ScreenPos, bool AllowDisabled);

// Paints every top-level window that has a dirty region; true when one was painted. The first top-level
// window installs it as the application's idle hook, so the loop calls it whenever its queue is empty.
bool PaintDirtyWindows();

// True when `key` (a character code, upper or lower case) is the mnemonic of `caption`: the character
// after its first single "&".
bool IsAccel(WPARAM key, const std::string& caption);

}  // namespace platform
