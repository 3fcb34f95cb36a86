#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/gfx/Geometry.h"
#include "platform/ui/CursorImage.h"

namespace platform {

class TBitmap;
class IDataObject;

// What shows the program's top-level windows and pop-ups and brings the user's input: the headless
// backend (bitmaps in memory, input injected by tests; the default) or the X11 backend (real windows).
// The control framework draws every top-level window into a back buffer of its own and hands the dirty
// part to Present; nothing above this interface knows which backend runs.
//
// Threads: every call is made on the application's thread, and every event reaches its sink there,
// from the thread's message loop (a backend registers its descriptors with the thread's MessageQueue,
// so the loop waits on them together with its timers; no polling).

// Bounds: every rectangle that places a window (TBackendWindowParams::bounds, SetBounds and
// BackendBoundsChanged) is its client area in screen coordinates, the part that the framework draws. A
// window manager's frame lies outside it and is no business of the framework: a form's Width and Height
// are its client size, and a window placed at a point has its client area's top-left corner there.

// A backend's window; 0 is none.
enum class TBackendWindow : uint64_t {};

enum class TBackendWindowKind {
  Form,   // a top-level window that the window manager decorates
  Popup,  // menus, drop-downs, hint windows: no decoration, above their owner, no focus taken
};

enum class TBackendBorder { Sizeable, Dialog, ToolWindow, None };
enum class TBackendWindowState { Normal, Minimized, Maximized };

// The shapes of the mouse pointer that controls ask for.
enum class TBackendCursor {
  Arrow, IBeam, Wait, Cross, HandPoint, SizeAll, SizeNS, SizeWE, SizeNWSE, SizeNESW, HSplit, VSplit, No,
  UpArrow, Drag,
  DragMove, DragCopy, NoDrop,  // the cursors of a system drag: move, copy, no drop here
};

struct TBackendWindowParams {
  TBackendWindowKind kind = TBackendWindowKind::Form;
  TBackendWindow owner{};  // pop-ups stay above it; a modal form is transient for it
  std::string caption;     // UTF-8
  std::string className;   // the form's class, for the window manager's class hint
  TRect bounds;            // the client area in screen coordinates (see "Bounds" below)
  TBackendBorder border = TBackendBorder::Sizeable;
  bool minimizeBox = true;
  bool maximizeBox = true;
  bool modal = false;
  // The smallest and largest client size that the user may size the window to (a form's
  // Constraints); 0 in a direction is no limit.
  TSize minSize;
  TSize maxSize;
};

// Modifier and button state of an input event.
enum TBackendShift : unsigned {
  bsShift = 1, bsAlt = 2, bsCtrl = 4, bsLeft = 8, bsRight = 16, bsMiddle = 32, bsDouble = 64,
};

enum class TMouseButtonKind { Left, Right, Middle };

// Receives the events of one backend window, in screen order as the user made them. Points are in the
// window's client coordinates. The framework implements it; a sink may destroy its window from within
// any of these calls.
class IBackendWindowSink {
public:
  virtual ~IBackendWindowSink() = default;

  // A key: the virtual key code (VK_...) with the modifiers; `repeat` for auto-repeat.
  virtual void BackendKeyDown(int virtualKey, unsigned shift, bool repeat) = 0;
  virtual void BackendKeyUp(int virtualKey, unsigned shift) = 0;
  // A character that the keyboard (through its input method) produced: one code point, as UTF-8.
  virtual void BackendChar(std::string_view utf8, unsigned shift) = 0;

  virtual void BackendMouseDown(TMouseButtonKind button, TPoint client, unsigned shift) = 0;  // bsDouble for a double click
  virtual void BackendMouseUp(TMouseButtonKind button, TPoint client, unsigned shift) = 0;
  virtual void BackendMouseMove(TPoint client, unsigned shift) = 0;
  virtual void BackendMouseWheel(int delta, TPoint client, unsigned shift) = 0;  // 120 per notch, up positive
  virtual void BackendMouseLeave() = 0;

  // The window manager or the user moved or sized the window (its client area in screen coordinates) or
  // changed its state.
  virtual void BackendBoundsChanged(const TRect& bounds, TBackendWindowState state) = 0;
  // Part of the client area must be shown again (the framework calls Present for it).
  virtual void BackendExpose(const TRect& client) = 0;
  // The window got or lost the keyboard focus.
  virtual void BackendActivate(bool active) = 0;
  // The user asked to close the window (the close box).
  virtual void BackendCloseRequest() = 0;

  // Another program drags over the window (XDND on X11): `keys` are MK_... flags, `allowed` and the
  // answers drop effects (DROPEFFECT_...). Over and Drop return the effect that the window takes there,
  // none to refuse; Leave ends a drag without a drop. The data's bytes are there at the drop only.
  virtual unsigned BackendDragOver(IDataObject& data, TPoint client, unsigned keys, unsigned allowed) { return 0; }
  virtual void BackendDragLeave() {}
  virtual unsigned BackendDrop(IDataObject& data, TPoint client, unsigned keys, unsigned allowed) { return 0; }
};

// A drag of ours while the pointer may be over other programs' windows (XDND on X11): the backend
// speaks to the window under the pointer when it is not one of ours. Made by TBackend::BeginDrag, which
// grabs the pointer; destroying it ends the drag (a foreign target still under the pointer hears that
// the drag left it).
class TBackendDrag {
public:
  virtual ~TBackendDrag() = default;
  // The pointer is at a screen point with the keys (MK_...) and the effect that the source proposes:
  // none when one of the program's own windows lies there (the framework's own targets take it), else
  // the effect that the other program's window there last accepted (none without one).
  virtual std::optional<unsigned> Move(TPoint screen, unsigned keys, unsigned proposed) = 0;
  // Drops on the other program's window under the pointer; Finished tells when it answered (or did
  // not in time): the effect it took, none on failure.
  virtual void Drop() = 0;
  virtual std::optional<unsigned> Finished() = 0;
};

// Clipboard formats by name: "text/plain;charset=utf-8" for text, "text/rtf" for rich text, and the
// names of custom formats that controls register.
inline constexpr std::string_view kClipboardText = "text/plain;charset=utf-8";
inline constexpr std::string_view kClipboardRichText = "text/rtf";

class TBackend {
public:
  virtual ~TBackend() = default;

  virtual std::string_view Name() const = 0;  // "headless", "x11"

  virtual TBackendWindow CreateWindow(const TBackendWindowParams& params, IBackendWindowSink& sink) = 0;
  virtual void DestroyWindow(TBackendWindow window) = 0;
  virtual void ShowWindow(TBackendWindow window, bool visible) = 0;
  virtual void SetCaption(TBackendWindow window, const std::string& caption) = 0;
  virtual void SetBounds(TBackendWindow window, const TRect& bounds) = 0;
  virtual void SetWindowState(TBackendWindow window, TBackendWindowState state) = 0;
  // New size limits for the user's sizing (as TBackendWindowParams::minSize and maxSize).
  virtual void SetSizeLimits(TBackendWindow window, TSize minSize, TSize maxSize) {}
  // Raises the window and gives it the keyboard focus.
  virtual void Activate(TBackendWindow window) = 0;
  // Shows the `dirty` part (client coordinates) of the window's back buffer, which is the size of its
  // client area.
  virtual void Present(TBackendWindow window, const TBitmap& backBuffer, const TRect& dirty) = 0;

  // Shapes the window to the inside of a polygon (client coordinates, winding fill); an empty outline
  // gives it its whole rectangle back. A backend that cannot shape windows shows the rectangle.
  virtual void SetShape(TBackendWindow window, std::span<const TPoint> outline) {}

  virtual void SetCursor(TBackendWindow window, TBackendCursor cursor) = 0;
  // A cursor drawn by the program in place of a shape; the picture lives as long as the program.
  virtual void SetCursorImage(TBackendWindow window, const CursorImage& image) = 0;
  // Mouse capture: all mouse events go to this window until released (a grab on X11).
  virtual void SetCapture(TBackendWindow window) = 0;
  virtual void ReleaseCapture() = 0;

  virtual TRect ScreenRect() const = 0;
  virtual TRect WorkArea() const = 0;
  virtual TPoint CursorPos() const = 0;  // screen coordinates
  // Caps Lock, Num Lock and Scroll Lock (by virtual key code): whether the lock is on.
  virtual bool KeyToggled(int virtualKey) const = 0;
  // The double-click interval in milliseconds.
  virtual unsigned DoubleClickTimeMs() const = 0;

  // The clipboard: setting one format empties the others unless `add` is given (several formats of one copy).
  enum class TClipboardWrite { Replace, Add };
  virtual void SetClipboard(std::string_view format, std::string_view data, TClipboardWrite mode) = 0;
  virtual std::optional<std::string> GetClipboard(std::string_view format) = 0;
  virtual bool HasClipboardFormat(std::string_view format) = 0;
  // Empties the clipboard (gives it up where others share it).
  virtual void ClearClipboard() = 0;

  // The primary selection, where the X window system has one: the text the user last selected, offered
  // to other programs for their middle-click paste while it is set (empty text gives it up), and read
  // for ours. A backend without one keeps nothing.
  virtual void SetPrimarySelection(std::string_view utf8) {}
  virtual std::optional<std::string> GetPrimarySelection() { return std::nullopt; }

  virtual void Beep() = 0;

  // Drag and drop with other programs. SetDropTarget tells whether a window holds targets for drops
  // (announced to other programs); BeginDrag starts a drag of ours from a window with the data's formats
  // (the program's own formats are left out by the caller), or gives none where the backend has no
  // other programs (the drag then stays among the program's own windows).
  virtual void SetDropTarget(TBackendWindow window, bool accepts) {}
  virtual std::unique_ptr<TBackendDrag> BeginDrag(TBackendWindow source,
                                                  std::vector<std::pair<std::string, std::string>> formats,
                                                  unsigned allowed) {
    return nullptr;
  }
};

// The backend of the process: the one installed by SetBackend, else the headless one, made on first use.
TBackend& Backend();
// Installs the backend once at start, before any window exists (the programs choose X11 when DISPLAY
// is set and the server answers); tests install a fresh headless backend.
void SetBackend(std::unique_ptr<TBackend> backend);

}  // namespace platform
