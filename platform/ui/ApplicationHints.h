#pragma once

#include <functional>
#include <string>
#include <typeinfo>

#include "platform/gfx/Colors.h"
#include "platform/gfx/Geometry.h"
#include "platform/app/Application.h"

namespace platform {

class TComponent;
class TControl;
class THintWindow;
class TTimer;

// A hint window class: which class of hint window the hints make (HintWindowClassOf<T>()).
struct THintWindowClass {
  const std::type_info* type = nullptr;
  std::function<THintWindow*(TComponent* AOwner)> create;
};
template <class T>
THintWindowClass HintWindowClassOf() {
  return {&typeid(T), [](TComponent* AOwner) -> THintWindow* { return new T(AOwner); }};
}

// What the hints tell a control (CM_HINTSHOW, lParam) and OnShowHint about a hint they are about to
// show; both may change it.
struct THintInfo {
  TControl* HintControl = nullptr;
  THintWindowClass HintWindowClass;
  TPoint HintPos;        // screen point of the window's top-left corner
  int HintMaxWidth = 0;  // the widest the text may be laid out
  TColor HintColor = clInfoBk;
  TRect CursorRect;   // client area of HintControl within which the hint stays
  TPoint CursorPos;   // the mouse in HintControl's client coordinates
  int ReshowTimeout = 0;
  int HideTimeout = 0;  // ms until the hint hides; 0 or less: it stays
  std::string HintStr;
  void* HintData = nullptr;
};
using TShowHintEvent = std::function<void(std::string& HintStr, bool& CanShow, THintInfo& HintInfo)>;

// The control framework's part of the application: the hint system and the mouse tracking that it
// follows. The process-wide object (ApplicationHints()) is installed as the application's hint hook on
// first use, so the application owns it and cancels its hint before it destroys its forms; the hint
// window and the hint timer are owned by the application as well.
//
// Hints: a mouse move over a control whose ShowHint is on starts the hint timer (HintPause, or
// HintShortPause while a hint shows); when it fires and the mouse is still over that control, the
// control gets CM_HINTSHOW and then OnShowHint with a THintInfo that both may change; the hint window
// (of HintWindowClass, made anew when the class changes) is sized by CalcHintRect, placed below the
// mouse and shown by ActivateHintData, and hidden after HideTimeout. A button press or key, or leaving
// the control, cancels it.
class TApplicationHints : public THintHook {
public:
  TApplicationHints() = default;
  ~TApplicationHints() override;
  TApplicationHints(const TApplicationHints&) = delete;
  TApplicationHints& operator=(const TApplicationHints&) = delete;

  bool ShowHint() const { return showHint_; }
  void SetShowHint(bool value);
  int HintPause() const { return hintPause_; }
  void SetHintPause(int value) { hintPause_ = value; }
  int HintShortPause() const { return hintShortPause_; }
  void SetHintShortPause(int value) { hintShortPause_ = value; }
  int HintHidePause() const { return hintHidePause_; }
  void SetHintHidePause(int value) { hintHidePause_ = value; }
  TColor HintColor() const { return hintColor_; }
  void SetHintColor(TColor value) { hintColor_ = value; }
  const THintWindowClass& HintWindowClass() const { return hintWindowClass_; }
  void SetHintWindowClass(THintWindowClass value) { hintWindowClass_ = std::move(value); }
  // Hides the hint and forgets the control it was for.
  void CancelHint() override;
  // Hides the hint window, if it shows.
  void HideHint();
  // Shows the hint of the control under CursorPos (a screen point) now.
  void ActivateHint(TPoint CursorPos);
  // The hint window that shows or last showed a hint, or null.
  THintWindow* HintWindow() const { return hintWindow_; }

  TShowHintEvent OnShowHint;

  // The framework's input tracking: a mouse move at a screen point, the control under the mouse (null
  // when it left the windows), a change of the mouse capture, and a control that goes. The control
  // under the mouse gets CM_MOUSEENTER and CM_MOUSELEAVE; while one holds the capture, only it does.
  void HintMouseMessage(TControl* Control, TPoint ScreenPos);
  void UpdateMouseControl(TControl* Control);
  void MouseCaptureChanged();
  void ControlDestroyed(TControl* Control);

private:
  enum class HintTimerMode { Show, Hide };
  void StartHintTimer(int ms, HintTimerMode mode);
  void StopHintTimer();

  TControl* mouseControl_ = nullptr;
  TControl* enteredControl_ = nullptr;  // the one that last heard CM_MOUSEENTER and no leave since
  TControl* hintControl_ = nullptr;
  THintWindow* hintWindow_ = nullptr;  // owned by the application while it exists
  TTimer* hintTimer_ = nullptr;        // owned by the application
  HintTimerMode hintTimerMode_ = HintTimerMode::Show;
  TRect hintCursorRect_;  // screen
  bool hintActive_ = false;
  bool showHint_ = true;
  int hintPause_ = 500;
  int hintShortPause_ = 50;
  int hintHidePause_ = 2500;
  TColor hintColor_ = clInfoBk;
  THintWindowClass hintWindowClass_;
};

// The process-wide hints, installed into Application() on first use. After the application has
// destroyed them (at its end), a detached set that is never destroyed, for the controls that go later.
TApplicationHints& ApplicationHints();

}  // namespace platform
