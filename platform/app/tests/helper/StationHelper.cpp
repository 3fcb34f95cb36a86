// A peer process for the window station tests. Usage: platform_app_station_helper [uid]
// With a uid it first becomes that user. It runs the application's loop and reads tab-separated commands
// from standard input, one per line, answering each on standard output:
//   window CLASS CAPTION      -> window HWND
//   find CLASS CAPTION        -> found HWND (0: none)
//   findmany CLASS CAPTION N  -> missed K (how many of N finds found nothing)
//   register NAME             -> number N
//   post HWND NAME WPARAM     -> posted 1|0
//   postnumber HWND MSG WPARAM -> posted 1|0 (the message by its number)
//   broadcast NAME WPARAM     -> broadcast 1|0
//   quit
// Every registered message that reaches one of its windows is reported as: got HWND NUMBER WPARAM
#include <grp.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "platform/app/Application.h"
#include "platform/app/MessageQueue.h"
#include "platform/app/Window.h"

using namespace platform;

namespace {

std::vector<std::string> Fields(const std::string& line) {
  std::vector<std::string> fields;
  std::stringstream in(line);
  for (std::string field; std::getline(in, field, '\t');) fields.push_back(field);
  return fields;
}

std::string Hex(HWND hwnd) {
  char text[32];
  std::snprintf(text, sizeof text, "%llx", static_cast<unsigned long long>(hwnd));
  return text;
}

HWND ParseHwnd(const std::string& text) { return HWND{std::strtoull(text.c_str(), nullptr, 16)}; }

void Answer(const std::string& line) {
  std::printf("%s\n", line.c_str());
  std::fflush(stdout);
}

std::vector<WindowHandle> windows;

void Execute(const std::vector<std::string>& f) {
  if (f.empty()) return;
  if (f[0] == "window" && f.size() == 3) {
    windows.emplace_back(f[1], f[2], WindowKind::TopLevel, nullptr);
    Answer("window " + Hex(windows.back().Handle()));
  } else if (f[0] == "find" && f.size() == 3) {
    Answer("found " + Hex(FindWindow(f[1].c_str(), f[2].c_str())));
  } else if (f[0] == "findmany" && f.size() == 4) {
    int missed = 0;
    for (int i = std::stoi(f[3]); i > 0; --i)
      if (FindWindow(f[1].c_str(), f[2].c_str()) == HWND{}) ++missed;
    Answer("missed " + std::to_string(missed));
  } else if (f[0] == "register" && f.size() == 2) {
    Answer("number " + std::to_string(RegisterWindowMessage(f[1])));
  } else if (f[0] == "post" && f.size() == 4) {
    bool ok = PostMessage(ParseHwnd(f[1]), RegisterWindowMessage(f[2]), std::stoull(f[3]), 0);
    Answer(std::string("posted ") + (ok ? "1" : "0"));
  } else if (f[0] == "postnumber" && f.size() == 4) {
    bool ok = PostMessage(ParseHwnd(f[1]), static_cast<UINT>(std::stoul(f[2])), std::stoull(f[3]), 0);
    Answer(std::string("posted ") + (ok ? "1" : "0"));
  } else if (f[0] == "broadcast" && f.size() == 3) {
    bool ok = PostMessage(HWND_BROADCAST, RegisterWindowMessage(f[1]), std::stoull(f[2]), 0);
    Answer(std::string("broadcast ") + (ok ? "1" : "0"));
  } else if (f[0] == "quit") {
    Application().Terminate();
  } else {
    Answer("error unknown command");
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1) {
    uid_t uid = static_cast<uid_t>(std::atoi(argv[1]));
    if (::setgroups(0, nullptr) != 0 || ::setgid(uid) != 0 || ::setuid(uid) != 0) {
      std::perror("helper: cannot change user");
      return 2;
    }
  }
  Application().OnMessage = [](MSG& msg, bool&) {
    if (msg.message >= kFirstRegisteredMessage)
      Answer("got " + Hex(msg.hwnd) + " " + std::to_string(msg.message) + " " + std::to_string(msg.wParam));
  };
  Application().Initialize();
  std::string pending;
  WaitRegistration input = MessageQueue::Current().RegisterWaitHandle(0, kWaitReadable, [&](unsigned) {
    char buffer[4096];
    ssize_t n = ::read(0, buffer, sizeof buffer);
    if (n <= 0) {
      Application().Terminate();
      return;
    }
    pending.append(buffer, static_cast<size_t>(n));
    for (size_t end; (end = pending.find('\n')) != std::string::npos;) {
      std::string line = pending.substr(0, end);
      pending.erase(0, end + 1);
      Execute(Fields(line));
    }
  });
  Answer("ready " + Hex(Application().Handle()));
  Application().Run();
  input.Reset();
  windows.clear();
  return 0;
}
