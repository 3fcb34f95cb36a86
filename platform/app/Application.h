#pragma once

#include <atomic>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/core/Clock.h"
#include "platform/core/Exception.h"
#include "platform/app/Component.h"
#include "platform/app/Messages.h"
#include "platform/app/Window.h"

namespace platform {

class TApplicationEvents;
class TCustomForm;

// The hint code of the layer above the loop (the control framework installs it, once): the application
// owns it, cancels its hint before it destroys its components (the forms) and destroys it after them, so
// that the controls that go meanwhile can still tell it.
class THintHook {
public:
  virtual ~THintHook() = default;
  virtual void CancelHint() = 0;
};

// What a loop step runs when it finds the queue empty (the control framework paints its dirty windows):
// true when it did something, which then counts as the step's event.
using TIdleHook = bool (*)();

// The application object: the message loop of the program's main thread, the hooks that see its messages
// and its exceptions, and the hidden top-level application window (class "TApplication", caption the
// title), which the window station lists so that broadcasts reach the program.
//
// One loop step (HandleMessage, ProcessMessages, the nested loops) takes the next event of the calling
// thread: the callbacks of ready registered descriptors, else the next posted message, else the WM_TIMER
// of the earliest due timer. A message goes first to OnMessage and then to each TApplicationEvents'
// OnMessage (newest first); unless one of them marks it handled it is dispatched to its window. Every
// exception that escapes a hook, a handler or a callback is caught there and handed to HandleException;
// the loop goes on. WM_QUIT ends the loop (Terminated). Whenever a step finds the queue empty, it runs
// the idle hook first (the control framework's painting of dirty windows).
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
  // (InstallMessageBoxExceptionDisplay in DialogService.h makes it a message box).
  void SetExceptionSink(std::function<void(const std::string& message)> sink);

  // Makes a form owned by the application; the first one made is the main form, whose closing ends the
  // program. Runs the form's AfterConstruction (OnCreate). T derives from TCustomForm
  // (platform/ui/Forms.h).
  template <class T>
  T* CreateForm() {
    T* form = new T(this);
    if (!mainForm_) mainForm_ = form;
    form->AfterConstruction();
    return form;
  }
  TCustomForm* MainForm() const { return mainForm_; }

  // Destroys Component when the loop reaches the message that this posts to the application window, so
  // never while the handler that asks for it runs: the deferred release of forms, menus and pop-ups. A
  // component that is gone by then (destroyed by its owner, or released twice) is skipped; one whose
  // message is never dispatched stays. Application's thread.
  void ReleaseLater(TComponent* Component);

  // A message box through the dialog service; flags (MB_...) and results (ID...) are in DialogService.h.
  int MessageBox(const std::string& Text, const std::string& Caption, unsigned Flags);

  TMessageEvent OnMessage;
  TExceptionEvent OnException;

  // Hands a message to the hooks and then its window at once, as if it had been taken from the queue:
  // the backends' input, which must keep its order with the state it changes (capture, focus).
  void DeliverMessage(MSG& msg) { Dispatch(msg); }

  // The layer above installs these (the control framework, once; see TIdleHook and THintHook).
  void SetIdleHook(TIdleHook hook) { idleHook_ = hook; }
  void SetHintHook(std::unique_ptr<THintHook> hook) { hintHook_ = std::move(hook); }

private:
  friend class TCustomForm;
  // The main form goes.
  void MainFormDestroyed() { mainForm_ = nullptr; }

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
  std::atomic<TIdleHook> idleHook_{nullptr};
  std::unique_ptr<THintHook> hintHook_;
};

// The process-wide application object.
TApplication& Application();

}  // namespace platform
