#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/app/Application.h"
#include "platform/ui/Controls.h"
#include "platform/ui/CursorImage.h"
#include "platform/app/ModalResult.h"

namespace platform {

enum class TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
enum class TBorderIcon { biSystemMenu, biMinimize, biMaximize, biHelp };
using TBorderIcons = TSet<TBorderIcon>;
enum class TPosition { poDesigned, poDefault, poDefaultPosOnly, poDefaultSizeOnly, poScreenCenter, poDesktopCenter,
                       poMainFormCenter, poOwnerFormCenter };
enum class TWindowState { wsNormal, wsMinimized, wsMaximized };
enum class TCloseAction { caNone, caHide, caFree, caMinimize };
enum class TFormStateFlag { fsCreating, fsVisible, fsShowing, fsModal, fsActivated };
using TFormState = TSet<TFormStateFlag>;

using TCloseEvent = std::function<void(TObject* Sender, TCloseAction& Action)>;
using TCloseQueryEvent = std::function<void(TObject* Sender, bool& CanClose)>;

// A top-level window of the program: its caption, border and place, the control that has its focus,
// showing (also modally, with a nested loop that ends when ModalResult is set) and closing.
//
// Closing: Close asks CloseQuery (OnCloseQuery), then OnClose with the close action (caHide by
// default); the main form's closing terminates the application; caFree releases the form, which is
// destroyed by the loop later (Release), so a handler of the form may close it.
//
// Focus: the form keeps its ActiveControl while inactive and gives it the focus when activated. A focus
// change sends WM_KILLFOCUS to the old control and WM_SETFOCUS to the new one, then CM_EXIT to the old
// control and its parents up to the common one and CM_ENTER down to the new control (OnExit, OnEnter);
// a handler that moves the focus elsewhere ends the chain.
//
// The backend shows the client area only (the window manager draws caption and frame), so a form's
// Width and Height are its client size.
class TCustomForm : public TWinControl {
public:
  explicit TCustomForm(TComponent* AOwner);
  ~TCustomForm() override;

  void Dispatch(TMessage& Message) override;

  // Runs OnCreate; CreateForm calls it, and so does the form resource loader after Loaded.
  virtual void AfterConstruction();

  TFormBorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TFormBorderStyle value);
  TBorderIcons BorderIcons() const { return borderIcons_; }
  void SetBorderIcons(TBorderIcons value);
  TPosition Position() const { return position_; }
  void SetPosition(TPosition value) { position_ = value; }
  TWindowState WindowState() const { return windowState_; }
  void SetWindowState(TWindowState value);
  // The bounds of the normal state, kept while the form is maximised or minimised.
  TRect NormalBounds() const { return windowState_ == TWindowState::wsNormal ? BoundsRect() : normalBounds_; }

  bool Active() const { return active_; }
  TWinControl* ActiveControl() const { return activeControl_; }
  void SetActiveControl(TWinControl* Control);
  bool KeyPreview() const { return keyPreview_; }
  void SetKeyPreview(bool value) { keyPreview_ = value; }
  TModalResult ModalResult() const { return modalResult_; }
  void SetModalResult(TModalResult value) { modalResult_ = value; }
  TFormState FormState() const { return formState_; }
  TCanvas& Canvas() { return ControlCanvas(); }

  void Show();
  // Shows the form modally: the other forms are disabled and a nested loop runs until ModalResult is
  // set (and CloseQuery allows), then the form hides and the result is returned. Raises
  // EInvalidOperation "Cannot make a visible window modal" for a visible form.
  virtual TModalResult ShowModal();
  void Close();
  virtual bool CloseQuery();
  // Destroys the form once the loop has handled the messages queued so far.
  void Release();

  // The focus within the form (see the class comment).
  void FocusControl(TWinControl* Control);
  bool SetFocusedControl(TWinControl* Control);
  // Moves the form's focus and active control out of Control, which is going or hiding.
  void DefocusControl(TControl* Control);

  // The window manager placed the form (bounds on the screen) or changed its state.
  void BackendPlaced(const TRect& bounds, TBackendWindowState state);

  TNotifyEvent OnCreate;
  TNotifyEvent OnDestroy;
  TNotifyEvent OnShow;
  TNotifyEvent OnHide;
  TNotifyEvent OnActivate;
  TNotifyEvent OnDeactivate;
  TNotifyEvent OnPaint;
  TCloseEvent OnClose;
  TCloseQueryEvent OnCloseQuery;

protected:
  void CreateParams(TCreateParams& Params) override;
  void PaintWindow(HDC DC) override;
  virtual void Paint();
  virtual void DoClose(TCloseAction& Action);
  virtual void DoShow();
  virtual void DoHide();
  virtual void Activate();
  virtual void Deactivate();
  // A form is at most the screen's size and a sizing frame on each side, so that its back buffer never
  // costs more than what can be seen.
  bool CanResize(int& NewWidth, int& NewHeight) override;

private:
  void SetActive(bool value);
  void SetWindowFocus(TWinControl* control);
  bool DialogKey(TMessage& Message);
  void PlaceOnShow();
  void CloseModal();

  TFormBorderStyle borderStyle_ = TFormBorderStyle::bsSizeable;
  TBorderIcons borderIcons_{TBorderIcon::biSystemMenu, TBorderIcon::biMinimize, TBorderIcon::biMaximize};
  TPosition position_ = TPosition::poDesigned;
  TWindowState windowState_ = TWindowState::wsNormal;
  TRect normalBounds_;
  bool active_ = false;
  bool keyPreview_ = false;
  bool created_ = false;
  TWinControl* activeControl_ = nullptr;
  TWinControl* focusedControl_ = nullptr;  // the end of the entered chain
  int focusCount_ = 0;                     // changes when a handler moves the focus
  TModalResult modalResult_ = mrNone;
  TFormState formState_;
};

class TForm : public TCustomForm {
public:
  explicit TForm(TComponent* AOwner) : TCustomForm(AOwner) {}
};

// The screen: its size and work area, the mouse, the forms and which of them is active.
class TScreen {
public:
  int Width() const;
  int Height() const;
  TRect WorkAreaRect() const;
  int WorkAreaWidth() const { return WorkAreaRect().Width(); }
  int WorkAreaHeight() const { return WorkAreaRect().Height(); }
  TPoint CursorPos() const;

  // A cursor for the whole program (crHourGlass while busy); crDefault leaves each control's own.
  TCursor Cursor() const { return cursor_; }
  void SetCursor(TCursor value);
  // The program's own cursors by number (positive; LoadCursor makes them): a control whose Cursor is
  // such a number shows the picture. Null for a number without one.
  HCURSOR Cursors(TCursor index) const;
  void SetCursors(TCursor index, HCURSOR cursor);

  int FormCount() const { return static_cast<int>(forms_.size()); }
  TCustomForm* Forms(int index) const { return forms_.at(static_cast<size_t>(index)); }
  // The forms, the most recently activated first.
  std::vector<TCustomForm*> FormsInZOrder() const { return zOrder_; }
  TCustomForm* ActiveForm() const { return activeForm_; }
  // The control with the keyboard focus (in the active form), or null.
  TWinControl* ActiveControl() const { return focused_; }
  TWinControl* FocusedControl() const { return focused_; }
  TFont& HintFont() { return hintFont_; }

private:
  friend class TCustomForm;
  TScreen();
  friend TScreen& Screen();

  TCursor cursor_ = crDefault;
  std::map<TCursor, HCURSOR> cursors_;
  std::vector<TCustomForm*> forms_;
  std::vector<TCustomForm*> zOrder_;
  TCustomForm* activeForm_ = nullptr;
  TWinControl* focused_ = nullptr;
  TFont hintFont_;
};

TScreen& Screen();

// Shows the cursor in a backend window: a program cursor (Screen().Cursors) by its picture, any other
// by the backend's shape.
void ShowBackendCursor(TBackendWindow window, TCursor cursor);

// The window that shows a hint: a pop-up with a one-pixel frame, the hint text word-wrapped on the
// hint colour. A replacement class overrides CalcHintRect, ActivateHint and Paint.
class THintWindow : public TCustomControl {
public:
  explicit THintWindow(TComponent* AOwner);

  // The size the hint needs, as a rectangle at (0, 0), laid out at most MaxWidth wide.
  virtual TRect CalcHintRect(int MaxWidth, const std::string& AHint, void* AData);
  // Shows the hint at Rect (screen coordinates), kept on the screen.
  virtual void ActivateHint(TRect Rect, const std::string& AHint);
  virtual void ActivateHintData(TRect Rect, const std::string& AHint, void* AData);
  // Hides the window.
  virtual void ReleaseHandle();

protected:
  void CreateParams(TCreateParams& Params) override;
  void Paint() override;
  // Rect moved onto the screen, `gap` pixels inside its right and bottom edges; a hint larger than the
  // screen keeps its top left corner on it.
  static TRect KeptOnScreen(TRect Rect, int gap);
};

}  // namespace platform
