#pragma once

#include <functional>
#include <string>
#include <utility>

#include "platform/app/Messages.h"

namespace platform {

// Handles the messages of one window; sets message.Result for SendMessage.
using WindowProc = std::function<void(TMessage& message)>;

// A top-level window is listed in the window station of the executables' folder: FindWindow finds it
// from every process there, other processes post to it and broadcasts reach it. A hidden window is a
// message window of its own process (timers, sockets, components' helper windows).
enum class WindowKind { TopLevel, Hidden };

// When a top-level window enters the station's list, where other processes find it: as it is created,
// or once its thread's loop runs out of work (ListWaitingWindows), so that a form's first show and
// paint do not wait for the list's rewrite. Until then the window works within its process only.
enum class StationListing { AtCreation, WhenIdle };

// Creates a window that belongs to the calling thread: its messages are queued on that thread and its
// procedure runs there. A top-level window that cannot be listed in the station (the executables' folder
// is not writable for this user) still works within the process.
HWND CreateWindow(const std::string& className, const std::string& caption, WindowKind kind, WindowProc proc,
                  StationListing listing = StationListing::AtCreation);

// Lists the calling thread's top-level windows that wait to be listed (StationListing::WhenIdle), with
// their captions of now; false when none waited. The application's loop calls it when it is idle.
bool ListWaitingWindows();

// Destroys a window of this process: its timers end, queued messages to it are dropped, the station
// forgets it. Safe from within its own procedure, which keeps running to its end. False for no window.
bool DestroyWindow(HWND hwnd);

// Owns one window for its lifetime. Move-only.
class WindowHandle {
public:
  WindowHandle() = default;
  WindowHandle(const std::string& className, const std::string& caption, WindowKind kind, WindowProc proc,
               StationListing listing = StationListing::AtCreation)
      : hwnd_(CreateWindow(className, caption, kind, std::move(proc), listing)) {}
  WindowHandle(WindowHandle&& other) noexcept : hwnd_(std::exchange(other.hwnd_, HWND{})) {}
  WindowHandle& operator=(WindowHandle&& other) noexcept {
    if (this != &other) {
      Reset();
      hwnd_ = std::exchange(other.hwnd_, HWND{});
    }
    return *this;
  }
  ~WindowHandle() { Reset(); }

  HWND Handle() const { return hwnd_; }
  void Reset() {
    if (hwnd_ != HWND{}) DestroyWindow(std::exchange(hwnd_, HWND{}));
  }

private:
  HWND hwnd_{};
};

// True for a live window of this process, or a listed window of another process whose process lives.
bool IsWindow(HWND hwnd);

// Caption and class of a window of this process ("" for none). A top-level window's new caption is
// what FindWindow matches from then on, in every process.
bool SetWindowText(HWND hwnd, const std::string& caption);
std::string GetWindowText(HWND hwnd);
std::string GetClassName(HWND hwnd);

// The id of the thread that owns a window of this process; 0 for none.
DWORD GetWindowThreadId(HWND hwnd);

// Queues a message for a window, of this process or (top-level) of another process of the station, or
// for every top-level window (HWND_BROADCAST). Never blocks: false when the window does not exist or its
// queue is full. A broadcast is true when every window that lives got it.
bool PostMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

// Posts to every top-level window of the station, this process's own included.
bool BroadcastMessage(UINT msg, WPARAM wParam, LPARAM lParam);

// Calls the window's procedure and returns its Result: directly on the window's own thread; from another
// thread of the process through the owner's queue, waiting until it has run. 0 for a window that is not
// of this process.
LRESULT SendMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

// Window timers: SetTimer (re)arms timer `id` of the window to post WM_TIMER (wParam id) every elapseMs,
// counted from now; KillTimer stops it. Both work from any thread; the timer runs on the window's thread.
bool SetTimer(HWND hwnd, UINT_PTR id, UINT elapseMs);
bool KillTimer(HWND hwnd, UINT_PTR id);

// The first top-level window with this class and caption, compared without regard to ASCII case; a null
// pointer matches any. Windows of this process come first, then those of other processes of the station;
// a window whose process died is never found (its entry is removed). HWND{} when none matches.
HWND FindWindow(const char* className, const char* caption);

// The number of a message registered by name: the same number for the same name (ASCII case ignored) in
// every process of the station, from kFirstRegisteredMessage up. 0 when no number is left.
UINT RegisterWindowMessage(const std::string& name);

// Thread functions for a loop of one's own (TApplication runs the usual one):
// PeekMessage takes the next message without waiting (false when none); GetMessage waits for one, also
// running the callbacks of ready registered descriptors meanwhile, and returns false for WM_QUIT;
// DispatchMessage hands a message to its window's procedure (0 for a message without a live window).
bool PeekMessage(MSG& msg);
bool GetMessage(MSG& msg);
LRESULT DispatchMessage(const MSG& msg);

}  // namespace platform
