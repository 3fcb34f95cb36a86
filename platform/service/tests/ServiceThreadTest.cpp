#include "platform/service/ServiceThread.h"

#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <mutex>

#include "platform/core/Clock.h"
#include "platform/core/Exception.h"
#include "platform/service/Service.h"
#include "platform/app/Window.h"

namespace platform {
namespace {

// A service whose handlers record what ran and on which thread ("main" or "service").
class RecordingService : public TService {
public:
  RecordingService() : TService(nullptr) {
    SetName("Test");
    OnStart = [this](TService*, bool& started) {
      Record("start");
      started = acceptStart;
    };
    OnStop = [this](TService*, bool& stopped) {
      Record("stop");
      stopped = acceptStop;
      acceptStop = true;
    };
    OnPause = [this](TService*, bool&) {
      Record("pause");
    };
    OnContinue = [this](TService*, bool&) { Record("continue"); };
  }

  void Record(const std::string& event) {
    std::lock_guard lock(mutex_);
    events_ += (events_.empty() ? "" : " ") + event + "@" + (ServiceThread()->IsCurrentThread() ? "service" : "main");
  }
  std::string Events() {
    std::lock_guard lock(mutex_);
    return events_;
  }

  // Starts the service thread; the returned future is ready when it ended.
  std::future<void> Start() {
    ServiceThread()->Start([this] { ended_.set_value(); });
    return ended_.get_future();
  }

  bool acceptStart = true;
  bool acceptStop = true;

private:
  std::mutex mutex_;
  std::string events_;
  std::promise<void> ended_;
};

// Whether the service thread ended within 20 s, ample for a loaded machine.
bool EndsSoon(std::future<void>& ended) { return ended.wait_for(std::chrono::seconds(20)) == std::future_status::ready; }

TEST(ServiceThreadTest, ControlRequestsAreServedOnTheServiceThreadInOrder) {
  RecordingService service;
  service.OnExecute = [&service](TService* sender) {
    service.Record("execute");
    while (!sender->Terminated()) sender->ServiceThread()->ProcessRequests(true);
  };
  std::future<void> ended = service.Start();
  service.Controller(ServiceControl::Continue);  // not paused: nothing to continue
  service.Controller(ServiceControl::Pause);
  service.Controller(ServiceControl::Pause);     // already paused
  service.Controller(ServiceControl::Continue);
  service.Controller(ServiceControl::Stop);
  service.Controller(ServiceControl::Stop);      // already stopping
  ASSERT_TRUE(EndsSoon(ended));
  EXPECT_EQ(service.Events(), "start@service execute@service pause@service continue@service stop@service");
  EXPECT_EQ(service.Status(), TCurrentStatus::csStopped);
  EXPECT_FALSE(service.ServiceThread()->Failed());
}

TEST(ServiceThreadTest, StatusFollowsTheHandlersAnswers) {
  RecordingService service;
  service.OnPause = [&](TService*, bool& accepted) {
    service.Record("pause");
    accepted = false;
  };
  service.acceptStop = false;
  std::future<void> ended = service.Start();  // no OnExecute: the thread serves requests until terminated
  service.Controller(ServiceControl::Pause);     // refused: the service stays running,
  service.Controller(ServiceControl::Continue);  // so there is nothing to continue
  service.Controller(ServiceControl::Stop);      // refused once, then accepted
  service.Controller(ServiceControl::Stop);
  ASSERT_TRUE(EndsSoon(ended));
  EXPECT_EQ(service.Events(), "start@service pause@service stop@service stop@service");
  EXPECT_EQ(service.Status(), TCurrentStatus::csStopped);
}

TEST(ServiceThreadTest, TheServiceStopsItselfFromEitherThread) {
  // From inside execute: the stop handler runs there, and a stop request queued later is not run again.
  RecordingService inside;
  inside.OnExecute = [&inside](TService* sender) {
    inside.Controller(ServiceControl::Stop);
    EXPECT_TRUE(inside.DoStop());
    while (!sender->Terminated()) sender->ServiceThread()->ProcessRequests(false);
  };
  std::future<void> insideEnded = inside.Start();
  ASSERT_TRUE(EndsSoon(insideEnded));
  EXPECT_EQ(inside.Events(), "start@service stop@service");

  // From the main thread while execute waits for requests: the stop handler runs on the main thread
  // and wakes the waiting service thread.
  RecordingService outside;
  std::promise<void> executing;
  outside.OnExecute = [&](TService* sender) {
    executing.set_value();
    while (!sender->Terminated()) sender->ServiceThread()->ProcessRequests(true);
  };
  std::future<void> outsideEnded = outside.Start();
  executing.get_future().wait();
  EXPECT_TRUE(outside.DoStop());
  ASSERT_TRUE(EndsSoon(outsideEnded));
  EXPECT_EQ(outside.Events(), "start@service stop@main");
}

TEST(ServiceThreadTest, RefusalsFailuresAndFlagsAreKept) {
  RecordingService refused;
  refused.acceptStart = false;
  refused.OnExecute = [&refused](TService*) { refused.Record("execute"); };
  std::future<void> refusedEnded = refused.Start();
  ASSERT_TRUE(EndsSoon(refusedEnded));
  EXPECT_EQ(refused.Events(), "start@service");
  EXPECT_TRUE(refused.ServiceThread()->Failed());

  // Anything raised out of start or execute ends the thread as a failure, never the process.
  RecordingService raising;
  raising.OnExecute = [](TService*) { throw 42; };
  std::future<void> raisingEnded = raising.Start();
  ASSERT_TRUE(EndsSoon(raisingEnded));
  EXPECT_TRUE(raising.ServiceThread()->Failed());

  // A handler that raises (anything) is logged and changes nothing; pause and continue need AllowPause.
  RecordingService service;
  int pauses = 0;
  service.OnPause = [&](TService*, bool&) {
    service.Record("pause");
    if (++pauses == 1) throw Exception("pause failed");
    throw 42;
  };
  std::future<void> ended = service.Start();
  service.Controller(ServiceControl::Pause);
  service.Controller(ServiceControl::Pause);
  service.AllowStop = false;
  service.Controller(ServiceControl::Stop);
  service.AllowStop = true;
  service.AllowPause = false;
  service.Controller(ServiceControl::Pause);
  service.Controller(ServiceControl::Stop);
  ASSERT_TRUE(EndsSoon(ended));
  EXPECT_EQ(service.Events(), "start@service pause@service pause@service stop@service");
  EXPECT_FALSE(service.ServiceThread()->Failed());
}

TEST(ServiceThreadTest, OnAnotherThreadProcessRequestsHandlesThatThreadsMessages) {
  RecordingService service;
  std::promise<void> paused;
  service.OnPause = [&](TService*, bool&) {
    service.Record("pause");
    paused.set_value();
  };
  int seen = 0;
  WindowHandle window("TTestWindow", "", WindowKind::Hidden, [&](TMessage& message) {
    if (message.Msg == WM_USER) ++seen;
  });
  std::future<void> ended = service.Start();
  service.Controller(ServiceControl::Pause);
  PostMessage(window.Handle(), WM_USER, 0, 0);
  service.ServiceThread()->ProcessRequests(false);  // this thread's message, not the service's request
  EXPECT_EQ(seen, 1);
  paused.get_future().wait();
  service.Controller(ServiceControl::Stop);
  ASSERT_TRUE(EndsSoon(ended));
  EXPECT_EQ(service.Events(), "start@service pause@service stop@service");
}

TEST(ServiceThreadTest, WaitingForRequestsLetsVirtualTimeGoOn) {
  UseVirtualClock(0);
  RecordingService service;
  service.OnStart = [](TService*, bool&) { Sleep(10); };  // the service thread now takes part in the clock
  std::future<void> ended = service.Start();               // and then waits for requests
  int64_t before = MonotonicMs();
  Sleep(60000);
  EXPECT_EQ(MonotonicMs() - before, 60000);
  service.Controller(ServiceControl::Stop);
  bool endedInTime;
  {
    OffClock off;
    endedInTime = EndsSoon(ended);
  }
  UseRealClock();
  ASSERT_TRUE(endedInTime);
  EXPECT_EQ(service.Events(), "stop@service");
}

}  // namespace
}  // namespace platform
