#pragma once

#include <atomic>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <typeinfo>
#include <vector>

#include "platform/core/Clock.h"
#include "platform/core/Exception.h"
#include "platform/gfx/Colors.h"
#include "platform/gfx/Geometry.h"
#include "platform/ui/Component.h"
#include "platform/ui/Messages.h"
#include "platform/ui/Window.h"

namespace platform {

class TApplicationEvents;
class TControl;
class TCustomForm;
class THintWindow;
class TTimer;

// A hint window class: which class of hint window the application makes (HintWindowClassOf<T>()).
struct THintWindowClass {
  const std::type_info* type = nullptr;
  std::function<THintWindow*(TComponent* AOwner)> create;
};
template <class T>
THintWindowClass HintWindowClassOf() {
  return {&typeid(T), [](TComponent* AOwner) -> THintWindow* { return new T(AOwner); }};
}

// What the application tells a control (CM_HINTSHOW, lParam) and OnShowHint about a hint it is about
// to show; both may change it.
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

// The application object: the message loop of the program's main thread, the hooks that see its messages
// and its exceptions, and the hidden top-level application window (class "TApplication", caption the
// title), which the window station lists so that broadcasts reach the program.
//
// One loop step (HandleMessage, ProcessMessages, the nested loops) takes the next event of the calling
// thread: the callbacks of ready registered descriptors, else the next posted message, else the WM_TIMER
// of the earliest due timer. A message goes first to OnMessage and then to each TApplicationEvents'
// OnMessage (newest first); unless one of them marks it handled it is dispatched to its window. Every
// exception that escapes a hook, a handler or a callback is caught there and handed to HandleException;
// the loop goes on. WM_QUIT ends the loop (Terminated). Whenever a step finds the queue empty, the
// windows with dirty regions are painted first.
//
// Hints: a mouse move over a control whose ShowHint is on starts the hint timer (HintPause, or
// HintShortPause while a hint shows); when it fires and the mouse is still over that control, the
// control gets CM_HINTSHOW and then OnShowHint with a THintInfo that both may change; the hint window
// (of HintWindowClass, made anew when the class changes) is sized by CalcHintRect, placed below the
// mouse and shown by ActivateHintData, and hidden after HideTimeout. A button press or key, or leaving
// the control, cancels it.
class TApplication : public TComponent {
public:
  using TMessageEvent = std::function<void(MSG& Msg, bool& Handled)>;
  using TExceptionEvent = std::function<void(const Exception& E)>;

  TApplication();
  ~TApplication() override;
  TApplication(const TApplication&) = delete;
  TApplication& operator=(const TApplication&) = delete;

  // Creates the application window on the calling thread, which becomes the application's thread.
  void Initialize();
  // The application window (created on first use).
  HWND Handle();

  // The title: the executable's name without extension until set; the application window's caption.
  const std::string& Title() const { return title_; }
  void SetTitle(const std::string& title);

  // Runs the loop until Terminated.
  void Run();
  // Handles every event that is pending now, without waiting.
  void ProcessMessages();
  // Handles one event, waiting on the clock until there is one.
  void HandleMessage();
  // The nested loop: handles events (waiting when none is pending) until `done` returns true, checked
  // before every step, or the application is terminated. Returns done().
  bool HandleMessagesUntil(const std::function<bool()>& done);

  // Ends Run and the nested loops: sets Terminated and posts WM_QUIT to the application's thread. Any thread.
  void Terminate();
  bool Terminated() const { return terminated_.load(); }

  // Hands an exception to the hooks: OnException and each TApplicationEvents' OnException; when none is
  // assigned (or a hook throws), ShowException. Never ends the process.
  void HandleException(const Exception& E);
  // Hands the exception being handled (inside a catch block) to HandleException, as an Exception.
  void HandleCurrentException();
  // Passes E's message to the exception sink.
  void ShowException(const Exception& E);

  // Where ShowException's messages go: standard error, one line each, until replaced
  // (InstallMessageBoxExceptionDisplay in Dialogs.h makes it a message box).
  void SetExceptionSink(std::function<void(const std::string& message)> sink);

  // Makes a form owned by the application; the first one made is the main form, whose closing ends the
  // program. Runs the form's AfterConstruction (OnCreate).
  template <class T>
  T* CreateForm() {
    T* form = new T(this);
    FormCreated(form);
    return form;
  }
  TCustomForm* MainForm() const { return mainForm_; }

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
  void CancelHint();
  // Hides the hint window, if it shows.
  void HideHint();
  // Shows the hint of the control under CursorPos (a screen point) now.
  void ActivateHint(TPoint CursorPos);
  // The hint window that shows or last showed a hint, or null.
  THintWindow* HintWindow() const { return hintWindow_; }

  // Destroys Component when the loop reaches the message that this posts to the application window, so
  // never while the handler that asks for it runs: the deferred release of forms, menus and pop-ups. A
  // component that is gone by then (destroyed by its owner, or released twice) is skipped; one whose
  // message is never dispatched stays. Application's thread.
  void ReleaseLater(TComponent* Component);

  // A message box through the dialog service; flags (MB_...) and results (ID...) are in Dialogs.h.
  int MessageBox(const std::string& Text, const std::string& Caption, unsigned Flags);

  TMessageEvent OnMessage;
  TExceptionEvent OnException;
  TShowHintEvent OnShowHint;

  // Hands a message to the hooks and then its window at once, as if it had been taken from the queue:
  // the backends' input, which must keep its order with the state it changes (capture, focus).
  void DeliverMessage(MSG& msg) { Dispatch(msg); }

  // The framework's input tracking: a mouse move at a screen point, the control under the mouse (null
  // when it left the windows), a change of the mouse capture, and a control that goes. The control
  // under the mouse gets CM_MOUSEENTER and CM_MOUSELEAVE; while one holds the capture, only it does.
  void HintMouseMessage(TControl* Control, TPoint ScreenPos);
  void UpdateMouseControl(TControl* Control);
  void MouseCaptureChanged();
  void ControlDestroyed(TControl* Control);

private:
  friend class TCustomForm;
  // The first form made becomes the main form; null: the main form goes.
  void FormCreated(TCustomForm* form);
  enum class HintTimerMode { Show, Hide };
  void StartHintTimer(int ms, HintTimerMode mode);
  void StopHintTimer();

  friend class TApplicationEvents;
  bool ProcessMessage();
  void Dispatch(MSG& msg);
  void WndProc(TMessage& Message);

  std::atomic<bool> terminated_{false};
  std::string title_;
  WindowHandle window_;
  DWORD threadId_ = 0;
  std::vector<TApplicationEvents*> events_;
  struct TPendingRelease {
    WPARAM number;  // the WParam of its CM_RELEASE
    TComponent::TGuard guard;
    TComponent* component;
  };
  std::deque<TPendingRelease> releases_;  // in the order of their messages
  WPARAM releaseNumber_ = 0;
  std::function<void(const std::string&)> sink_;

  TCustomForm* mainForm_ = nullptr;
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

// The process-wide application object.
TApplication& Application();

}  // namespace platform
