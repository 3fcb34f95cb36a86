#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/ui/Controls.h"
#include "platform/ui/tests/FormFixture.h"

namespace platform {
namespace {

// A control whose own procedure logs the messages of the user's range.
class Hooked : public TCustomControl {
public:
  explicit Hooked(std::vector<std::string>& log) : TCustomControl(nullptr), log_(log) {}
  ~Hooked() override { log_.push_back("destroyed"); }
  void WndProc(TMessage& Message) override {
    if (Message.Msg >= WM_USER && Message.Msg < CM_BASE) log_.push_back("control");
    TCustomControl::WndProc(Message);
  }

private:
  std::vector<std::string>& log_;
};

// A hook that logs its name and passes every message on.
TControl::TWindowHook Logging(std::vector<std::string>& log, std::string name) {
  return [&log, name](TMessage& Message, const TControl::TWndMethod& Next) {
    if (Message.Msg >= WM_USER && Message.Msg < CM_BASE) log.push_back(name);
    Next(Message);
  };
}

std::vector<std::string> Send(TControl& control, std::vector<std::string>& log) {
  log.clear();
  control.Perform(WM_USER);
  return log;
}

using Log = std::vector<std::string>;

// Two hookers of one control go in either order and each takes only its own hook with it.
TEST(WindowHooksTest, EachHookerRemovesOnlyItsOwnHookInEitherOrder) {
  for (bool firstInFirstOut : {true, false}) {
    SCOPED_TRACE(firstInFirstOut ? "first in, first out" : "last in, first out");
    Log log;
    Hooked control(log);
    const int a = control.AddWindowHook(Logging(log, "a"));
    const int b = control.AddWindowHook(Logging(log, "b"));
    EXPECT_EQ(Send(control, log), (Log{"b", "a", "control"}));
    control.RemoveWindowHook(firstInFirstOut ? a : b);
    EXPECT_EQ(Send(control, log), (Log{firstInFirstOut ? "b" : "a", "control"}));
    control.RemoveWindowHook(firstInFirstOut ? b : a);
    EXPECT_EQ(Send(control, log), (Log{"control"}));
  }
}

// An assigned WindowProc replaces the control's own procedure under the hooks.
TEST(WindowHooksTest, HooksSitAboveAnAssignedWindowProcAndMayTakeAMessage) {
  Log log;
  Hooked control(log);
  control.AddWindowHook([&](TMessage& Message, const TControl::TWndMethod& Next) {
    if (Message.WParam == 1) return;  // taken
    Next(Message);
  });
  control.AddWindowHook(Logging(log, "outer"));
  control.WindowProc = [&](TMessage&) { log.push_back("assigned"); };
  EXPECT_EQ(Send(control, log), (Log{"outer", "assigned"}));
  log.clear();
  control.Perform(WM_USER, 1);
  EXPECT_EQ(log, (Log{"outer"}));
}

// A hook that removes itself, or a message that destroys the control, in the middle of the chain: the
// running link stays whole and the rest of the chain does not touch the control that went.
TEST(WindowHooksTest, AHookMayRemoveItselfOrSeeTheControlGoWhileItRuns) {
  Log log;
  Hooked control(log);
  control.AddWindowHook(Logging(log, "inner"));
  int self = 0;
  self = control.AddWindowHook([&, name = std::string("once")](TMessage& Message, const TControl::TWndMethod& Next) {
    control.RemoveWindowHook(self);
    log.push_back(name);
    Next(Message);
  });
  EXPECT_EQ(Send(control, log), (Log{"once", "inner", "control"}));
  EXPECT_EQ(Send(control, log), (Log{"inner", "control"}));

  auto* doomed = new Hooked(log);
  doomed->AddWindowHook(Logging(log, "below"));
  doomed->AddWindowHook([&](TMessage& Message, const TControl::TWndMethod& Next) {
    delete doomed;
    Next(Message);
    log.push_back("after");
  });
  EXPECT_EQ(Send(*doomed, log), (Log{"destroyed", "after"}));
}

}  // namespace
}  // namespace platform
