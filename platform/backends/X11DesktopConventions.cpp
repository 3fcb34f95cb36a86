#include "platform/backends/X11DesktopConventions.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <utility>

#include "platform/gfx/ImageCodecs.h"
#include "platform/gfx/Resources.h"

// X headers last: their macros (None, Bool, Status) would break the declarations above.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <sys/utsname.h>
#include <unistd.h>

namespace platform {

namespace {

// The program's icon in every size its resource has, as _NET_WM_ICON holds it: per image its width,
// its height and its 0xAARRGGBB pixels, row by row (32-bit values travel as longs in Xlib).
std::vector<long> ProgramIcon() {
  const std::optional<std::string_view> file = FindResource(RT_ICON, "MAINICON");
  if (!file) return {};
  std::vector<long> value;
  try {
    for (const PixelImage& image : DecodeIconImages(*file, "Icon image is not valid")) {
      value.push_back(image.width);
      value.push_back(image.height);
      for (uint32_t pixel : image.pixels) value.push_back(static_cast<long>(image.alpha ? pixel : pixel | 0xFF000000u));
    }
  } catch (const Exception&) {
    return {};  // a broken icon leaves the window manager's own in its place
  }
  return value;
}

// The launch's input time, which a launcher writes into the id as "..._TIME<server time>".
unsigned long StartupTime(const std::string& id) {
  const size_t at = id.rfind("_TIME");
  if (at == std::string::npos) return 0;
  char* end = nullptr;
  const unsigned long time = std::strtoul(id.c_str() + at + 5, &end, 10);
  return end != id.c_str() + at + 5 && *end == '\0' ? time : 0;
}

// A value of a startup notification message: quoted, with quote and backslash escaped.
std::string Quoted(const std::string& value) {
  std::string quoted = "\"";
  for (char c : value) {
    if (c == '"' || c == '\\') quoted += '\\';
    quoted += c;
  }
  return quoted + '"';
}

void SetCardinals(Display* display, Window window, Atom property, const long* values, size_t count) {
  XChangeProperty(display, window, property, XA_CARDINAL, 32, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(values), static_cast<int>(count));
}

}  // namespace

X11DesktopConventions::X11DesktopConventions(const X11Connection& connection)
    : connection_(connection), icon_(ProgramIcon()) {
  std::pair<unsigned long*, const char*> names[] = {
      {&atoms_._NET_WM_PING, "_NET_WM_PING"},
      {&atoms_._NET_WM_PID, "_NET_WM_PID"},
      {&atoms_._NET_WM_ICON, "_NET_WM_ICON"},
      {&atoms_._NET_WM_USER_TIME, "_NET_WM_USER_TIME"},
      {&atoms_._NET_STARTUP_ID, "_NET_STARTUP_ID"},
      {&atoms_._NET_STARTUP_INFO_BEGIN, "_NET_STARTUP_INFO_BEGIN"},
      {&atoms_._NET_STARTUP_INFO, "_NET_STARTUP_INFO"},
  };
  for (auto& [atom, name] : names) *atom = XInternAtom(connection_.Display(), name, False);
  // The node name, as Xlib itself names the client machine.
  utsname node{};
  if (::uname(&node) == 0) hostName_ = node.nodename;
  if (const char* id = std::getenv("DESKTOP_STARTUP_ID"); id != nullptr && *id != '\0') {
    startupId_ = id;
    userTime_ = StartupTime(startupId_);
    ::unsetenv("DESKTOP_STARTUP_ID");
  }
}

void X11DesktopConventions::PrepareWindow(unsigned long window) const {
  Display* display = connection_.Display();
  const long pid = ::getpid();
  SetCardinals(display, window, atoms_._NET_WM_PID, &pid, 1);
  if (!hostName_.empty()) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(hostName_.data());
    XChangeProperty(display, window, XA_WM_CLIENT_MACHINE, XA_STRING, 8, PropModeReplace, bytes,
                    static_cast<int>(hostName_.size()));
  }
  if (!icon_.empty()) SetCardinals(display, window, atoms_._NET_WM_ICON, icon_.data(), icon_.size());
  // The window answers the latest input; without any the window manager decides alone.
  const long userTime = static_cast<long>(userTime_);
  if (userTime != 0) SetCardinals(display, window, atoms_._NET_WM_USER_TIME, &userTime, 1);
  if (!startupId_.empty()) {
    XChangeProperty(display, window, atoms_._NET_STARTUP_ID, connection_.Atoms().UTF8_STRING, 8, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(startupId_.data()), static_cast<int>(startupId_.size()));
  }
}

void X11DesktopConventions::WindowShown(unsigned long window) {
  if (!startupId_.empty()) EndStartup(window);
}

// The "remove" message ends the launch's busy cursor: its text with its terminating zero, in pieces
// of 20 bytes, the first as _NET_STARTUP_INFO_BEGIN, to every client that watches the root window.
void X11DesktopConventions::EndStartup(unsigned long window) {
  const std::string message = "remove: ID=" + Quoted(std::exchange(startupId_, {}));
  const size_t length = message.size() + 1;
  for (size_t at = 0; at < length; at += 20) {
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = at == 0 ? atoms_._NET_STARTUP_INFO_BEGIN : atoms_._NET_STARTUP_INFO;
    event.xclient.format = 8;
    std::memcpy(event.xclient.data.b, message.c_str() + at, std::min<size_t>(20, length - at));
    XSendEvent(connection_.Display(), connection_.Root(), False, PropertyChangeMask, &event);
  }
}

bool X11DesktopConventions::IsPing(const XEvent& event) const {
  return event.type == ClientMessage && event.xclient.message_type == connection_.Atoms().WM_PROTOCOLS &&
         static_cast<unsigned long>(event.xclient.data.l[0]) == atoms_._NET_WM_PING;
}

bool X11DesktopConventions::HandleEvent(const XEvent& event) {
  if (IsPing(event)) {
    // The answer is the ping itself, sent back to the root window, where the window manager waits.
    XEvent pong = event;
    pong.xclient.window = connection_.Root();
    XSendEvent(connection_.Display(), connection_.Root(), False, SubstructureNotifyMask | SubstructureRedirectMask,
               &pong);
    XFlush(connection_.Display());
    return true;
  }
  if (event.type == KeyPress || event.type == ButtonPress) {
    userTime_ = event.type == KeyPress ? event.xkey.time : event.xbutton.time;
    const long time = static_cast<long>(userTime_);
    SetCardinals(connection_.Display(), event.xany.window, atoms_._NET_WM_USER_TIME, &time, 1);
  }
  return false;
}

}  // namespace platform
