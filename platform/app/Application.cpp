#include "platform/app/Application.h"

#include <cstdio>
#include <exception>
#include <utility>

#include "platform/core/Paths.h"
#include "platform/app/ApplicationEvents.h"
#include "platform/app/MessageQueue.h"

namespace platform {

namespace {

std::string ProgramName() {
  std::string name = ExeFileName();
  name = name.substr(name.find_last_of('/') + 1);
  size_t dot = name.find_last_of('.');
  return dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
}

void WriteToStandardError(const std::string& message) { std::fprintf(stderr, "%s\n", message.c_str()); }

// The application events newest first, each with its guard: a hook may create or destroy some.
using TGuardedEvents = std::vector<std::pair<TApplicationEvents*, TComponent::TGuard>>;
TGuardedEvents NewestFirst(const std::vector<TApplicationEvents*>& events) {
  TGuardedEvents guarded;
  for (auto it = events.rbegin(); it != events.rend(); ++it) guarded.emplace_back(*it, TComponent::TGuard(**it));
  return guarded;
}

}  // namespace

TApplication::TApplication() : TComponent(nullptr), title_(ProgramName()), sink_(WriteToStandardError) {}

TApplication::~TApplication() {
  // The forms go while the application's own members, the hint hook among them, still stand.
  if (hintHook_) hintHook_->CancelHint();
  DestroyComponents();
}

void TApplication::Initialize() { Handle(); }

HWND TApplication::Handle() {
  if (window_.Handle() == HWND{}) {
    threadId_ = GetCurrentThreadId();
    window_ = WindowHandle("TApplication", title_, WindowKind::TopLevel, [this](TMessage& m) { WndProc(m); });
  }
  return window_.Handle();
}

void TApplication::SetTitle(const std::string& title) {
  title_ = title;
  if (window_.Handle() != HWND{}) SetWindowText(window_.Handle(), title);
}

void TApplication::Run() {
  Handle();
  while (!Terminated()) HandleMessage();
}

void TApplication::ProcessMessages() {
  while (ProcessMessage()) {
  }
}

void TApplication::HandleMessage() {
  while (!ProcessMessage()) MessageQueue::Current().Wait();
}

bool TApplication::HandleMessagesUntil(const std::function<bool()>& done) {
  while (!done() && !Terminated()) HandleMessage();
  return done();
}

void TApplication::Terminate() {
  terminated_ = true;
  if (threadId_ != 0) PostThreadMessage(threadId_, WM_QUIT, 0, 0);
}

bool TApplication::ProcessMessage() {
  MessageQueue& queue = MessageQueue::Current();
  try {
    if (queue.DispatchReadyHandles()) return true;
    MSG msg;
    if (!queue.Peek(msg)) {
      // Idle: the windows are painted first, then the new ones are listed for other processes.
      TIdleHook idle = idleHook_.load();
      return (idle && idle()) || ListWaitingWindows();
    }
    if (msg.message == WM_QUIT) {
      terminated_ = true;
      return true;
    }
    Dispatch(msg);
  } catch (...) {
    HandleCurrentException();
  }
  return true;
}

void TApplication::Dispatch(MSG& msg) {
  bool handled = false;
  if (OnMessage) OnMessage(msg, handled);
  for (auto& [events, guard] : NewestFirst(events_))
    if (guard.Alive() && events->OnMessage) events->OnMessage(msg, handled);
  if (!handled) DispatchMessage(msg);
}

void TApplication::ReleaseLater(TComponent* Component) {
  const WPARAM number = ++releaseNumber_;
  if (PostMessage(Handle(), CM_RELEASE, number, 0))
    releases_.push_back({number, TComponent::TGuard(*Component), Component});
}

void TApplication::WndProc(TMessage& Message) {
  if (Message.Msg != CM_RELEASE) return;
  // Releases whose messages were taken by others before this one stay undone, as their messages say.
  while (!releases_.empty() && releases_.front().number < Message.WParam) releases_.pop_front();
  if (releases_.empty() || releases_.front().number != Message.WParam) return;
  const TPendingRelease release = releases_.front();
  releases_.pop_front();
  if (release.guard.Alive()) delete release.component;
}

void TApplication::HandleException(const Exception& E) {
  try {
    bool hooked = static_cast<bool>(OnException);
    if (OnException) OnException(E);
    for (auto& [events, guard] : NewestFirst(events_)) {
      if (guard.Gone() || !events->OnException) continue;
      hooked = true;
      events->OnException(E);
    }
    if (!hooked) ShowException(E);
  } catch (...) {
    ShowException(E);
  }
}

void TApplication::HandleCurrentException() {
  try {
    throw;
  } catch (const Exception& e) {
    HandleException(e);
  } catch (const std::exception& e) {
    HandleException(Exception(e.what()));
  } catch (...) {
    HandleException(Exception("Unknown exception"));
  }
}

void TApplication::ShowException(const Exception& E) {
  try {
    if (sink_) sink_(E.Message());
  } catch (...) {
    // The sink is the last resort; nothing is left to report its own failure to.
  }
}

void TApplication::SetExceptionSink(std::function<void(const std::string&)> sink) { sink_ = std::move(sink); }

TApplication& Application() {
  static TApplication application;  // destroyed at exit, which takes its window out of the station
  return application;
}

}  // namespace platform
