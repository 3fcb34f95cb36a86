// What the desktop does to a program's windows, for the tests that watch its answers:
//   desktop_peer ping WINDOW   sends the window manager's _NET_WM_PING to the window and prints
//                              "answered <ms>" when the answer came within a second (exit 0), else
//                              "no answer" (exit 1);
//   desktop_peer startup       watches the root window for startup notification messages, as a
//                              launcher does: prints "watching", then the first whole message (exit 0),
//                              or "no message" after 20 s (exit 1);
//   desktop_peer silent-owner  takes the clipboard, prints "owner" and never answers a request for it,
//                              as a program that hangs (ends after 30 s).
#include <X11/Xlib.h>
#include <poll.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

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
  std::fprintf(stderr, "usage: desktop_peer ping WINDOW | startup | silent-owner\n");
  return 2;
}
