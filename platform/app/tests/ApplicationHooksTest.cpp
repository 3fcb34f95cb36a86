#include <memory>
#include <string>
#include <vector>

#include "platform/app/Application.h"
#include "platform/app/Component.h"
#include "platform/app/tests/LoopFixture.h"

namespace platform {
namespace {

// What the hooks saw, in order; the idle hook is a plain function, so the record is the test's global.
std::vector<std::string> g_log;

bool IdleTwice() {
  g_log.push_back("idle");
  return g_log.size() < 4;  // the message, then two idle steps that did something, then one that did not
}

TEST_F(LoopTest, AStepThatFindsTheQueueEmptyRunsTheIdleHookWhichCountsAsAnEventWhileItDidSomething) {
  g_log.clear();
  WindowHandle window("Test", "", WindowKind::Hidden, [](TMessage& m) {
    if (m.Msg == WM_USER) g_log.push_back("message");
  });
  TApplication app;
  app.ProcessMessages();  // no hook: an empty queue ends the step at once
  EXPECT_TRUE(g_log.empty());

  app.SetIdleHook(IdleTwice);
  PostMessage(window.Handle(), WM_USER, 0, 0);
  app.ProcessMessages();
  EXPECT_EQ(g_log, (std::vector<std::string>{"message", "idle", "idle", "idle"}));
}

// A hint hook that records when it is told and when it goes, and a component that tells it as it goes,
// as a control does.
class RecordingHintHook : public THintHook {
public:
  explicit RecordingHintHook(TApplication& app) : app_(app) {}
  ~RecordingHintHook() override { g_log.push_back("hook destroyed"); }
  void CancelHint() override { g_log.push_back("cancel with " + std::to_string(app_.ComponentCount()) + " components"); }
  void ComponentGoes() { g_log.push_back("told of a component that goes"); }

private:
  TApplication& app_;
};

class TellingComponent : public TComponent {
public:
  TellingComponent(TComponent* owner, RecordingHintHook& hook) : TComponent(owner), hook_(hook) {}
  ~TellingComponent() override { hook_.ComponentGoes(); }

private:
  RecordingHintHook& hook_;
};

TEST_F(LoopTest, TheApplicationCancelsItsHintHookBeforeItDestroysItsComponentsAndDestroysTheHookAfterThem) {
  g_log.clear();
  auto app = std::make_unique<TApplication>();
  auto hook = std::make_unique<RecordingHintHook>(*app);
  new TellingComponent(app.get(), *hook);
  new TellingComponent(app.get(), *hook);
  app->SetHintHook(std::move(hook));
  app.reset();
  EXPECT_EQ(g_log, (std::vector<std::string>{"cancel with 2 components", "told of a component that goes",
                                             "told of a component that goes", "hook destroyed"}));
}

}  // namespace
}  // namespace platform
