#include "platform/backends/X11WindowHints.h"

#include <algorithm>
#include <vector>

#include "platform/core/Paths.h"

// X headers last: their macros (None, Bool, Status) would break the declarations above.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#undef None  // this file means TBackendBorder::None, never the X resource "none"

namespace platform {

namespace {

// The window manager's decoration and function hints, as the Motif convention lays them out.
struct MotifHints {
  long flags;
  long functions;
  long decorations;
  long inputMode;
  long status;
};
constexpr long kMotifFunctions = 1, kMotifDecorations = 2;
constexpr long kFunctionResize = 2, kFunctionMove = 4, kFunctionMinimize = 8, kFunctionMaximize = 16,
               kFunctionClose = 32;
constexpr long kDecorBorder = 2, kDecorResizeH = 4, kDecorTitle = 8, kDecorMenu = 16, kDecorMinimize = 32,
               kDecorMaximize = 64;

MotifHints MotifHintsFor(const TBackendWindowParams& params) {
  const bool sizeable = params.border == TBackendBorder::Sizeable || params.border == TBackendBorder::ToolWindow;
  // Dialog and tool-window frames carry no minimise or maximise box.
  const bool boxes = params.border == TBackendBorder::Sizeable;
  MotifHints hints{kMotifFunctions | kMotifDecorations, kFunctionMove | kFunctionClose, 0, 0, 0};
  if (params.border != TBackendBorder::None) hints.decorations = kDecorBorder | kDecorTitle | kDecorMenu;
  if (sizeable) {
    hints.functions |= kFunctionResize;
    hints.decorations |= kDecorResizeH;
  }
  if (boxes && params.minimizeBox) {
    hints.functions |= kFunctionMinimize;
    hints.decorations |= kDecorMinimize;
  }
  if (boxes && params.maximizeBox) {
    hints.functions |= kFunctionMaximize;
    hints.decorations |= kDecorMaximize;
  }
  return hints;
}

void SetAtoms(Display* display, Window window, Atom property, const std::vector<Atom>& values) {
  XChangeProperty(display, window, property, XA_ATOM, 32, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(values.data()), static_cast<int>(values.size()));
}

}  // namespace

void SetWindowTitle(const X11Connection& connection, unsigned long window, const std::string& caption) {
  Display* display = connection.Display();
  const auto* bytes = reinterpret_cast<const unsigned char*>(caption.data());
  const int length = static_cast<int>(caption.size());
  for (Atom property : {connection.Atoms()._NET_WM_NAME, static_cast<Atom>(XA_WM_NAME)})
    XChangeProperty(display, window, property, connection.Atoms().UTF8_STRING, 8, PropModeReplace, bytes, length);
}

void SetSizeHints(const X11Connection& connection, unsigned long window, TBackendBorder border,
                  const TSize& clientSize, const X11SizeLimits& limits) {
  constexpr int kUnlimited = 32767;  // the largest size of an X window
  XSizeHints* size = XAllocSizeHints();
  // Static gravity: a window manager puts its frame around the client area where it was placed, and a
  // move by the program places the client area, not the frame.
  size->flags = PPosition | PSize | PWinGravity;
  size->win_gravity = StaticGravity;
  if (border == TBackendBorder::Dialog || border == TBackendBorder::None) {
    size->flags |= PMinSize | PMaxSize;
    size->min_width = size->max_width = clientSize.cx;
    size->min_height = size->max_height = clientSize.cy;
  } else {
    const auto limit = [](int value, int none) { return value > 0 ? value : none; };
    if (limits.minSize.cx > 0 || limits.minSize.cy > 0) {
      size->flags |= PMinSize;
      size->min_width = limit(limits.minSize.cx, 1);
      size->min_height = limit(limits.minSize.cy, 1);
    }
    if (limits.maxSize.cx > 0 || limits.maxSize.cy > 0) {
      size->flags |= PMaxSize;
      size->max_width = std::max(limit(limits.maxSize.cx, kUnlimited), size->min_width);
      size->max_height = std::max(limit(limits.maxSize.cy, kUnlimited), size->min_height);
    }
  }
  XSetWMNormalHints(connection.Display(), window, size);
  XFree(size);
}

void SetWindowHints(const X11Connection& connection, unsigned long window, const TBackendWindowParams& params,
                    const TSize& clientSize, TBackendWindowState initialState) {
  Display* display = connection.Display();
  const X11Atoms& atoms = connection.Atoms();
  SetWindowTitle(connection, window, params.caption);

  std::string program = ExeFileName();
  program = program.substr(program.find_last_of('/') + 1);
  XClassHint classHint{program.data(), const_cast<char*>(params.className.c_str())};
  XSetClassHint(display, window, &classHint);

  if (params.owner != TBackendWindow{})
    XSetTransientForHint(display, window, static_cast<Window>(params.owner));

  if (params.kind == TBackendWindowKind::Popup) {
    SetAtoms(display, window, atoms._NET_WM_WINDOW_TYPE, {atoms._NET_WM_WINDOW_TYPE_POPUP_MENU});
    return;
  }

  Atom protocols[] = {atoms.WM_DELETE_WINDOW, XInternAtom(display, "_NET_WM_PING", False)};
  XSetWMProtocols(display, window, protocols, 2);

  const Atom type = params.border == TBackendBorder::ToolWindow ? atoms._NET_WM_WINDOW_TYPE_UTILITY
                    : params.border == TBackendBorder::Dialog || params.modal ? atoms._NET_WM_WINDOW_TYPE_DIALOG
                                                                              : atoms._NET_WM_WINDOW_TYPE_NORMAL;
  SetAtoms(display, window, atoms._NET_WM_WINDOW_TYPE, {type});

  const MotifHints motif = MotifHintsFor(params);
  XChangeProperty(display, window, atoms._MOTIF_WM_HINTS, atoms._MOTIF_WM_HINTS, 32, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(&motif), 5);

  SetSizeHints(connection, window, params.border, clientSize, {params.minSize, params.maxSize});

  SetInitialState(connection, window, params.modal, initialState);
}

void SetInitialState(const X11Connection& connection, unsigned long window, bool modal, TBackendWindowState state) {
  Display* display = connection.Display();
  const X11Atoms& atoms = connection.Atoms();
  std::vector<Atom> states;
  if (modal) states.push_back(atoms._NET_WM_STATE_MODAL);
  if (state == TBackendWindowState::Maximized) {
    states.push_back(atoms._NET_WM_STATE_MAXIMIZED_VERT);
    states.push_back(atoms._NET_WM_STATE_MAXIMIZED_HORZ);
  }
  SetAtoms(display, window, atoms._NET_WM_STATE, states);

  XWMHints* wmHints = XAllocWMHints();
  wmHints->flags = InputHint | StateHint;
  wmHints->input = True;
  wmHints->initial_state = state == TBackendWindowState::Minimized ? IconicState : NormalState;
  XSetWMHints(display, window, wmHints);
  XFree(wmHints);
}

}  // namespace platform
