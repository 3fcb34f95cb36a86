#include <unistd.h>

#include <atomic>
#include <stdexcept>
#include <thread>
#include <utility>
#include <vector>

#include "platform/app/Application.h"
#include "platform/app/ApplicationEvents.h"
#include "platform/app/MessageQueue.h"
#include "platform/app/Timer.h"
#include "platform/app/tests/LoopFixture.h"

namespace platform {
namespace {

using Fired = std::vector<std::pair<UINT_PTR, int64_t>>;  // timer id, virtual time

TEST_F(LoopTest, WindowTimersFireInTimeOrder) {
  Fired fired;
  WindowHandle window("Test", "", WindowKind::Hidden, [&](TMessage& m) {
    if (m.Msg == WM_TIMER) fired.push_back({m.WParam, MonotonicMs()});
  });
  SetTimer(window.Handle(), 3, 700);
  SetTimer(window.Handle(), 1, 300);
  SetTimer(window.Handle(), 2, 500);
  TApplication app;
  app.HandleMessagesUntil([&] { return MonotonicMs() >= 1400; });
  EXPECT_EQ(fired, (Fired{{1, 300}, {2, 500}, {1, 600}, {3, 700}, {1, 900}, {2, 1000}, {1, 1200}, {3, 1400}}));

  EXPECT_TRUE(KillTimer(window.Handle(), 1));
  EXPECT_FALSE(KillTimer(window.Handle(), 1));
  fired.clear();
  app.HandleMessagesUntil([&] { return MonotonicMs() >= 2100; });
  EXPECT_EQ(fired, (Fired{{2, 1500}, {2, 2000}, {3, 2100}}));
}

TEST_F(LoopTest, TimerIntervalCountsFromWhenItIsArmed) {
  std::vector<int64_t> ticks;
  TTimer timer(nullptr);
  timer.OnTimer = [&](TObject*) { ticks.push_back(MonotonicMs()); };
  TApplication app;
  auto tickCount = [&](size_t n) { return [&ticks, n] { return ticks.size() >= n; }; };

  app.HandleMessagesUntil(tickCount(1));  // default: enabled, 1000 ms
  Sleep(400);
  timer.SetInterval(1000);  // the same value: no re-arm, the next tick stays at 2000
  app.HandleMessagesUntil(tickCount(2));
  Sleep(300);
  timer.SetInterval(500);  // re-armed at 2300
  app.HandleMessagesUntil(tickCount(3));
  timer.SetEnabled(false);
  Sleep(5000);  // 7800
  timer.SetEnabled(true);
  app.HandleMessagesUntil(tickCount(4));
  EXPECT_EQ(ticks, (std::vector<int64_t>{1000, 2000, 2800, 8300}));

  timer.SetInterval(0);  // an interval of 0 stops the timer
  MSG msg;
  Sleep(60'000);
  EXPECT_FALSE(PeekMessage(msg));
}

TEST_F(LoopTest, OnMessageSeesEveryQueuedMessageFirstAndCanMarkItHandled) {
  UINT reset = RegisterWindowMessage("77846BBD-1D2A-4322-8E8D-749718755CB7");
  EXPECT_GE(reset, kFirstRegisteredMessage);
  EXPECT_EQ(RegisterWindowMessage("77846bbd-1d2a-4322-8e8d-749718755cb7"), reset);
  EXPECT_NE(RegisterWindowMessage("4E0D112F-5444-4876-AD3C-6BA23D58CA70"), reset);

  HWND appWindow = Application().Handle();  // older than the form, so the broadcast reaches it first
  std::vector<std::string> seen;
  WindowHandle form("TForm1", "Velmora - Configurator", WindowKind::TopLevel, [&](TMessage& m) {
    seen.push_back("form " + std::to_string(m.Msg));
  });
  Application().Handle();
  Application().OnMessage = [&](MSG& msg, bool& handled) {
    seen.push_back("app " + std::to_string(msg.message));
    handled = msg.message == reset && msg.hwnd == appWindow;
  };
  {
    TApplicationEvents events(nullptr);
    events.OnMessage = [&](MSG& msg, bool& handled) {
      seen.push_back("events " + std::to_string(msg.message) + (handled ? " handled" : ""));
    };
    ASSERT_TRUE(PostMessage(form.Handle(), WM_USER + 1, 0, 0));
    ASSERT_TRUE(PostMessage(HWND_BROADCAST, reset, 0, 0));
    Application().ProcessMessages();
  }
  Application().OnMessage = nullptr;
  std::string r = std::to_string(reset), u = std::to_string(WM_USER + 1);
  // The broadcast reaches the application window (handled there, so not dispatched) and the form.
  EXPECT_EQ(seen, (std::vector<std::string>{"app " + u, "events " + u, "form " + u, "app " + r,
                                            "events " + r + " handled", "app " + r, "events " + r, "form " + r}));
  EXPECT_EQ(MonotonicMs(), 0);  // ProcessMessages never waits
}

TEST_F(LoopTest, NestedLoopReturnsWhenItsConditionHolds) {
  // The configurator's wait for the service: the answer arrives 3 s later, while the loop runs.
  UINT status = RegisterWindowMessage("4E0D112F-5444-4876-AD3C-6BA23D58CA70");
  bool waiting = true;
  TApplication app;
  app.OnMessage = [&](MSG& msg, bool& handled) {
    if (msg.message == status) waiting = false, handled = true;
  };
  WindowHandle service("TApplication", "velmora", WindowKind::TopLevel, [&](TMessage& m) {
    if (m.Msg == WM_TIMER) PostMessage(FindWindow("TForm1", nullptr), status, 0, 0);
  });
  WindowHandle form("TForm1", "Velmora - Konfigurator", WindowKind::TopLevel, nullptr);
  SetTimer(service.Handle(), 1, 3000);
  EXPECT_TRUE(app.HandleMessagesUntil([&] { return !waiting; }));
  EXPECT_EQ(MonotonicMs(), 3000);

  // The same wait written as polling once a second ends at the first poll after the answer.
  waiting = true;
  int counter = 0;
  while (waiting && counter <= 10) {
    app.ProcessMessages();
    Sleep(1000);
    ++counter;
  }
  EXPECT_EQ(counter, 4);
  EXPECT_EQ(MonotonicMs(), 7000);
}

TEST_F(LoopTest, ExceptionsOfHandlersReachTheHookAndTheLoopGoesOn) {
  std::vector<std::string> caught, sunk;
  int handled = 0;
  TApplication app;
  app.SetExceptionSink([&](const std::string& message) { sunk.push_back(message); });
  WindowHandle window("Test", "", WindowKind::Hidden, [&](TMessage& m) {
    ++handled;
    if (m.Msg == WM_USER) throw Exception("Datei x kann nicht geöffnet werden");
    if (m.Msg == WM_USER + 1) throw std::runtime_error("bad");
    if (m.Msg == WM_USER + 2) throw 42;
  });
  for (UINT msg : {WM_USER, WM_USER + 1, WM_USER + 2, WM_USER + 3}) PostMessage(window.Handle(), msg, 0, 0);
  app.ProcessMessages();  // no hook: the sink gets the messages
  EXPECT_EQ(handled, 4);
  EXPECT_EQ(sunk, (std::vector<std::string>{"Datei x kann nicht geöffnet werden", "bad", "Unknown exception"}));

  app.OnException = [&](const Exception& e) {
    caught.push_back(e.Message());
    throw Exception("hook failed");
  };
  sunk.clear();
  TTimer timer(nullptr);
  timer.OnTimer = [&](TObject*) { throw Exception("tick"); };
  app.HandleMessage();
  app.HandleMessage();
  EXPECT_EQ(caught, (std::vector<std::string>{"tick", "tick"}));
  EXPECT_EQ(sunk, (std::vector<std::string>{"tick", "tick"}));  // a failing hook falls back to the sink
  EXPECT_EQ(MonotonicMs(), 2000);
}

TEST_F(LoopTest, RunEndsAtTerminateFromAnotherThread) {
  TApplication app;
  app.Initialize();
  std::thread other([&] {
    Sleep(5000);
    app.Terminate();
  });
  app.Run();
  {
    OffClock off;
    other.join();
  }
  EXPECT_TRUE(app.Terminated());
  EXPECT_EQ(MonotonicMs(), 5000);
}

TEST_F(LoopTest, RegisteredDescriptorsRunTheirCallbacksInTheLoop) {
  int pipeFds[2];
  ASSERT_EQ(::pipe(pipeFds), 0);
  std::string received;
  WaitRegistration registration =
      MessageQueue::Current().RegisterWaitHandle(pipeFds[0], kWaitReadable, [&](unsigned revents) {
        char buffer[16];
        ssize_t n = ::read(pipeFds[0], buffer, sizeof buffer);
        if (n > 0) received.append(buffer, static_cast<size_t>(n));
      });
  TApplication app;
  std::thread writer([&] { EXPECT_EQ(::write(pipeFds[1], "ping", 4), 4); });
  app.HandleMessagesUntil([&] { return received == "ping"; });
  writer.join();
  EXPECT_EQ(MonotonicMs(), 0);  // the descriptor held virtual time while data was on its way

  // With nothing to read, time jumps to the next timer after the I/O grace.
  SetVirtualClockIoGraceMs(5);
  bool fired = false;
  WindowHandle window("Test", "", WindowKind::Hidden, [&](TMessage&) { fired = true; });
  SetTimer(window.Handle(), 1, 60'000);
  app.HandleMessagesUntil([&] { return fired; });
  EXPECT_EQ(MonotonicMs(), 60'000);
  SetVirtualClockIoGraceMs(100);

  registration.Reset();
  EXPECT_EQ(::write(pipeFds[1], "x", 1), 1);
  app.ProcessMessages();
  EXPECT_EQ(received, "ping");
  ::close(pipeFds[0]);
  ::close(pipeFds[1]);
}

TEST_F(LoopTest, SendMessageFromAnotherThreadRunsOnTheWindowsThread) {
  DWORD mainThread = GetCurrentThreadId();
  DWORD handlerThread = 0;
  WindowHandle window("Test", "", WindowKind::Hidden, [&](TMessage& m) {
    handlerThread = GetCurrentThreadId();
    m.Result = static_cast<LRESULT>(m.WParam * 2);
  });
  EXPECT_EQ(SendMessage(window.Handle(), WM_USER, 4, 0), 8);
  LRESULT result = 0;
  std::atomic<bool> done{false};
  std::thread other([&] {
    result = SendMessage(window.Handle(), WM_USER, 21, 0);
    done = true;
    PostThreadMessage(mainThread, WM_NULL, 0, 0);
  });
  TApplication app;
  app.HandleMessagesUntil([&] { return done.load(); });
  other.join();
  EXPECT_EQ(result, 42);
  EXPECT_EQ(handlerThread, mainThread);
}

TEST_F(LoopTest, MessagesToADestroyedWindowAreDropped) {
  int handled = 0;
  HWND hwnd = CreateWindow("Test", "", WindowKind::Hidden, [&](TMessage&) { ++handled; });
  PostMessage(hwnd, WM_USER, 0, 0);
  SetTimer(hwnd, 1, 10);
  EXPECT_TRUE(DestroyWindow(hwnd));
  EXPECT_FALSE(IsWindow(hwnd));
  EXPECT_FALSE(PostMessage(hwnd, WM_USER, 0, 0));
  EXPECT_FALSE(DestroyWindow(hwnd));
  Sleep(100);
  TApplication app;
  app.ProcessMessages();
  EXPECT_EQ(handled, 0);
}

}  // namespace
}  // namespace platform
