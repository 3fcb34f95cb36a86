#pragma once

#include <deque>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/gfx/Bitmap.h"
#include "platform/ui/Backend.h"
#include "platform/app/Window.h"

namespace platform {

// The backend without a display: every window is a bitmap in memory that shows what the framework
// presented, and input comes from the test. The default backend, and the one of the tests.
//
// Input is queued and delivered by the application's message loop, one event per loop step, in the
// order it was injected, so a test may queue the keys and clicks that a modal form will meet before it
// calls ShowModal; Run queues any step of its own (a check, a change) between them. Keyboard events go
// to the active window; mouse events, at screen points, to the window that holds the mouse capture,
// else the topmost visible window under the point (pop-ups above forms). The screen is 1024 x 768 with
// a work area 40 pixels short at the bottom until a test sets others.
class THeadlessBackend : public TBackend {
public:
  THeadlessBackend();
  ~THeadlessBackend() override;

  std::string_view Name() const override { return "headless"; }
  TBackendWindow CreateWindow(const TBackendWindowParams& params, IBackendWindowSink& sink) override;
  void DestroyWindow(TBackendWindow window) override;
  void ShowWindow(TBackendWindow window, bool visible) override;
  void SetCaption(TBackendWindow window, const std::string& caption) override;
  void SetBounds(TBackendWindow window, const TRect& bounds) override;
  void SetWindowState(TBackendWindow window, TBackendWindowState state) override;
  void Activate(TBackendWindow window) override;
  void Present(TBackendWindow window, const TBitmap& backBuffer, const TRect& dirty) override;
  void SetShape(TBackendWindow window, std::span<const TPoint> outline) override;
  void SetCursor(TBackendWindow window, TBackendCursor cursor) override;
  void SetCursorImage(TBackendWindow window, const CursorImage& image) override;
  void SetCapture(TBackendWindow window) override;
  void ReleaseCapture() override;
  TRect ScreenRect() const override { return screen_; }
  TRect WorkArea() const override { return workArea_; }
  TPoint CursorPos() const override { return cursor_; }
  bool KeyToggled(int virtualKey) const override { return toggled_.count(virtualKey) != 0; }
  unsigned DoubleClickTimeMs() const override { return 500; }
  void SetClipboard(std::string_view format, std::string_view data, TClipboardWrite mode) override;
  std::optional<std::string> GetClipboard(std::string_view format) override;
  bool HasClipboardFormat(std::string_view format) override;
  void ClearClipboard() override;
  void SetPrimarySelection(std::string_view utf8) override { primarySelection_ = std::string(utf8); }
  std::optional<std::string> GetPrimarySelection() override { return primarySelection_; }
  void Beep() override { ++beeps_; }

  // What tests set.
  void SetScreen(const TRect& screen, const TRect& workArea);
  void SetKeyToggled(int virtualKey, bool on);

  // What tests inject (queued; see the class comment). Points are screen coordinates; shift holds
  // TBackendShift bits.
  void KeyDown(int virtualKey, unsigned shift = 0);
  void KeyUp(int virtualKey, unsigned shift = 0);
  void Char(std::string_view utf8, unsigned shift = 0);
  // Key down, the character when one is given, key up.
  void PressKey(int virtualKey, unsigned shift = 0, std::string_view utf8 = {});
  void MouseMove(TPoint screen, unsigned shift = 0);
  void MouseDown(TMouseButtonKind button, TPoint screen, unsigned shift = 0);
  void MouseUp(TMouseButtonKind button, TPoint screen, unsigned shift = 0);
  // Move there, press and release.
  void Click(TPoint screen, TMouseButtonKind button = TMouseButtonKind::Left, unsigned shift = 0);
  // Move there, press, release, press with bsDouble, release.
  void DoubleClick(TPoint screen, unsigned shift = 0);
  void MouseWheel(int delta, TPoint screen, unsigned shift = 0);
  // The user resizes or moves a window, changes its state, or presses its close box.
  void UserSetBounds(TBackendWindow window, const TRect& bounds, TBackendWindowState state);
  void CloseBox(TBackendWindow window);
  // Runs a step of the test's own in the loop, between the injected events.
  void Run(std::function<void()> step);
  // Injected events not yet delivered.
  size_t PendingInput() const { return input_.size(); }

  // What tests look at.
  struct WindowInfo {
    TBackendWindowParams params;
    TRect bounds;
    bool visible = false;
    TBackendWindowState state = TBackendWindowState::Normal;
    TBackendCursor cursor = TBackendCursor::Arrow;
    const CursorImage* cursorImage = nullptr;  // a program cursor, shown in place of `cursor`
    std::vector<TPoint> shape;  // the outline the window is shaped to; empty for its whole rectangle
    TBitmap shown;  // what was presented, the size of the last back buffer
    IBackendWindowSink* sink = nullptr;
  };
  // The live windows, bottom first.
  std::vector<TBackendWindow> Windows() const { return stack_; }
  const WindowInfo& Info(TBackendWindow window) const;
  TBackendWindow ActiveWindow() const { return active_; }
  TBackendWindow CaptureWindow() const { return capture_; }
  int Beeps() const { return beeps_; }
  // The window's content as presented, as a PNG file.
  void SaveScreenshot(TBackendWindow window, const std::string& fileName) const;

private:
  void Queue(std::function<void()> event);
  void DeliverNext();
  WindowInfo* Find(TBackendWindow window);
  TBackendWindow WindowAt(TPoint screen) const;
  TBackendWindow MouseTarget(TPoint screen) const;
  // Updates the pointer, tells the window it left when it moves to another, and returns the target
  // with the point in its client coordinates.
  IBackendWindowSink* PointerTo(TPoint screen, TPoint& client);

  TRect screen_;
  TRect workArea_;
  TPoint cursor_;
  std::set<int> toggled_;
  std::map<uint64_t, WindowInfo> windows_;
  std::vector<TBackendWindow> stack_;
  uint64_t nextWindow_ = 1;
  TBackendWindow active_{};
  TBackendWindow capture_{};
  TBackendWindow underPointer_{};
  std::deque<std::function<void()>> input_;
  WindowHandle pump_;  // its messages deliver the queued input in loop order
  std::map<std::string, std::string, std::less<>> clipboard_;
  std::optional<std::string> primarySelection_;
  int beeps_ = 0;
};

// The headless backend of the process; raises EComponentError when another backend is installed.
THeadlessBackend& HeadlessBackend();

}  // namespace platform
