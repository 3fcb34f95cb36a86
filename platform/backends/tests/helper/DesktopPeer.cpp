// What the desktop does to a program's windows, for the tests that watch its answers:
//   desktop_peer ping WINDOW   sends the window manager's _NET_WM_PING to the window and prints
//                              "answered <ms>" when the answer came within a second (exit 0), else
//                              "no answer" (exit 1);
//   desktop_peer startup       watches the root window for startup notification messages, as a
//                              launcher does: prints "watching", then the first whole message (exit 0),
//                              or "no message" after 20 s (exit 1);
//   desktop_peer silent-owner  takes the clipboard, prints "owner" and never answers a request for it,
//                              as a program that hangs (ends after 30 s);
//   desktop_peer incr-owner BYTES PIECE MS
//                              takes the clipboard, prints "owner" and answers every request for
//                              UTF8_STRING with an incremental transfer of BYTES bytes (0: without end)
//                              in pieces of PIECE bytes, each MS milliseconds after the requestor took
//                              the one before; transfer k sends the letter 'a' + k. As a careless
//                              owner, every transfer into a window's property answers each deletion of
//                              it, stale ones too (ends after 60 s).
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <poll.h>

#include <algorithm>
#include <chrono>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// The next event within the time left until `deadline`; false when none came.
bool NextEvent(Display* display, XEvent& event, Clock::time_point deadline) {
  while (XPending(display) == 0) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    if (left <= 0) return false;
    pollfd fd{ConnectionNumber(display), POLLIN, 0};
    ::poll(&fd, 1, static_cast<int>(left));
  }
  XNextEvent(display, &event);
  return true;
}

int Ping(Display* display, Window window) {
  const Window root = DefaultRootWindow(display);
  const Atom protocols = XInternAtom(display, "WM_PROTOCOLS", False);
  const Atom ping = XInternAtom(display, "_NET_WM_PING", False);
  XSelectInput(display, root, SubstructureNotifyMask);
  constexpr long kStamp = 424242;
  XEvent event{};
  event.xclient.type = ClientMessage;
  event.xclient.window = window;
  event.xclient.message_type = protocols;
  event.xclient.format = 32;
  event.xclient.data.l[0] = static_cast<long>(ping);
  event.xclient.data.l[1] = kStamp;
  event.xclient.data.l[2] = static_cast<long>(window);
  const auto sent = Clock::now();
  XSendEvent(display, window, False, NoEventMask, &event);
  XFlush(display);
  for (XEvent answer; NextEvent(display, answer, sent + std::chrono::seconds(1));) {
    if (answer.type == ClientMessage && answer.xclient.window == root && answer.xclient.message_type == protocols &&
        static_cast<Atom>(answer.xclient.data.l[0]) == ping && answer.xclient.data.l[1] == kStamp &&
        static_cast<Window>(answer.xclient.data.l[2]) == window) {
      const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - sent).count();
      std::printf("answered %lld\n", static_cast<long long>(ms));
      return 0;
    }
  }
  std::puts("no answer");
  return 1;
}

int WatchStartup(Display* display) {
  const Atom begin = XInternAtom(display, "_NET_STARTUP_INFO_BEGIN", False);
  const Atom more = XInternAtom(display, "_NET_STARTUP_INFO", False);
  XSelectInput(display, DefaultRootWindow(display), PropertyChangeMask);
  XSync(display, False);
  std::puts("watching");
  std::fflush(stdout);
  std::string message;
  bool begun = false;
  for (XEvent event; NextEvent(display, event, Clock::now() + std::chrono::seconds(20));) {
    if (event.type != ClientMessage || event.xclient.format != 8) continue;
    if (event.xclient.message_type == begin) {
      begun = true;
      message.clear();
    } else if (event.xclient.message_type != more || !begun) {
      continue;
    }
    const char* bytes = event.xclient.data.b;
    const size_t length = strnlen(bytes, 20);
    message.append(bytes, length);
    if (length < 20) {
      std::printf("%s\n", message.c_str());
      return 0;
    }
  }
  std::puts("no message");
  return 1;
}

int OwnSilently(Display* display) {
  const Window window = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 1, 1, 0, 0, 0);
  XSetSelectionOwner(display, XInternAtom(display, "CLIPBOARD", False), window, CurrentTime);
  XSync(display, False);
  std::puts("owner");
  std::fflush(stdout);
  for (XEvent event; NextEvent(display, event, Clock::now() + std::chrono::seconds(30));) {
  }
  return 0;
}

struct IncrTransfer {
  Window requestor;
  Atom property;
  char letter;
  unsigned long left;  // bytes still to send; ULONG_MAX without end
  Clock::time_point due = Clock::time_point::max();
  bool ended = false;
};

int OwnIncrementally(Display* display, unsigned long bytes, unsigned long piece, int intervalMs) {
  XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });  // a requestor's window that went is no fault
  const Window window = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 1, 1, 0, 0, 0);
  const Atom clipboard = XInternAtom(display, "CLIPBOARD", False);
  const Atom targets = XInternAtom(display, "TARGETS", False);
  const Atom utf8 = XInternAtom(display, "UTF8_STRING", False);
  const Atom incr = XInternAtom(display, "INCR", False);
  XSetSelectionOwner(display, clipboard, window, CurrentTime);
  XSync(display, False);
  std::puts("owner");
  std::fflush(stdout);
  std::vector<IncrTransfer> transfers;
  const auto end = Clock::now() + std::chrono::seconds(60);
  while (Clock::now() < end) {
    Clock::time_point wake = end;
    for (const IncrTransfer& t : transfers) wake = std::min(wake, t.due);
    XEvent event;
    if (!NextEvent(display, event, wake)) {
      for (IncrTransfer& t : transfers) {
        if (t.due > Clock::now()) continue;
        const std::string data(std::min(t.left, piece), t.letter);
        XChangeProperty(display, t.requestor, t.property, utf8, 8, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(data.data()), static_cast<int>(data.size()));
        if (t.left != ULONG_MAX) t.left -= data.size();
        t.ended = data.empty();
        t.due = Clock::time_point::max();
      }
      std::erase_if(transfers, [](const IncrTransfer& t) { return t.ended; });
      XFlush(display);
      continue;
    }
    if (event.type == PropertyNotify && event.xproperty.state == PropertyDelete) {
      for (IncrTransfer& t : transfers)
        if (t.requestor == event.xproperty.window && t.property == event.xproperty.atom)
          t.due = Clock::now() + std::chrono::milliseconds(intervalMs);
      continue;
    }
    if (event.type != SelectionRequest) continue;
    const XSelectionRequestEvent& request = event.xselectionrequest;
    XEvent reply{};
    reply.xselection.type = SelectionNotify;
    reply.xselection.requestor = request.requestor;
    reply.xselection.selection = request.selection;
    reply.xselection.target = request.target;
    reply.xselection.property = request.property;
    reply.xselection.time = request.time;
    if (request.target == targets) {
      const long offered[] = {static_cast<long>(targets), static_cast<long>(utf8)};
      XChangeProperty(display, request.requestor, request.property, XA_ATOM, 32, PropModeReplace,
                      reinterpret_cast<const unsigned char*>(offered), 2);
    } else if (request.target == utf8) {
      XSelectInput(display, request.requestor, PropertyChangeMask);
      const long size = static_cast<long>(bytes);
      XChangeProperty(display, request.requestor, request.property, incr, 32, PropModeReplace,
                      reinterpret_cast<const unsigned char*>(&size), 1);
      const char letter = static_cast<char>('a' + transfers.size() % 26);
      transfers.push_back({request.requestor, request.property, letter, bytes == 0 ? ULONG_MAX : bytes});
    } else {
      reply.xselection.property = None;
    }
    XSendEvent(display, request.requestor, False, NoEventMask, &reply);
    XFlush(display);
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) {
    std::fprintf(stderr, "desktop_peer: no display\n");
    return 2;
  }
  const std::string command = argc > 1 ? argv[1] : "";
  if (command == "ping" && argc == 3) return Ping(display, std::strtoul(argv[2], nullptr, 0));
  if (command == "startup" && argc == 2) return WatchStartup(display);
  if (command == "silent-owner" && argc == 2) return OwnSilently(display);
  if (command == "incr-owner" && argc == 5)
    return OwnIncrementally(display, std::strtoul(argv[2], nullptr, 0), std::strtoul(argv[3], nullptr, 0),
                            std::atoi(argv[4]));
  std::fprintf(stderr, "usage: desktop_peer ping WINDOW | startup | silent-owner | incr-owner BYTES PIECE MS\n");
  return 2;
}
