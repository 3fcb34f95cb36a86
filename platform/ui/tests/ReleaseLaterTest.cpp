#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/ui/Controls.h"
#include "platform/ui/tests/FormFixture.h"

namespace platform {
namespace {

// A windowed control that logs the program's own messages (WM_USER and up, below the framework's) and
// its destruction.
class Logged : public TCustomControl {
public:
  Logged(TComponent* owner, TWinControl* parent, std::vector<std::string>& log) : TCustomControl(owner), log_(log) {
    SetParent(parent);
    SetBounds(10, 10, 40, 40);
  }
  ~Logged() override { log_.push_back("destroyed"); }

  void Dispatch(TMessage& Message) override {
    if (Message.Msg >= WM_USER && Message.Msg < CM_BASE)
      log_.push_back("user " + std::to_string(Message.Msg - WM_USER));
    TCustomControl::Dispatch(Message);
  }

private:
  std::vector<std::string>& log_;
};

using ReleaseLaterTest = FormTest;

// The click's handler releases its own control and sends it more messages; the rest of the click's
// dispatch and those messages reach a whole control, and the loop frees it afterwards, once.
TEST_F(ReleaseLaterTest, AControlReleasedByItsOwnHandlerGoesOnceItsDispatchIsOver) {
  std::vector<std::string> log;
  auto form = ShowForm();
  auto* control = new Logged(form.get(), form.get(), log);
  control->OnClick = [&](TObject*) {
    Application().ReleaseLater(control);
    Application().ReleaseLater(control);  // twice: still freed once
    control->Perform(WM_USER + 1);
    PostMessage(control->Handle(), WM_USER + 2, 0, 0);
    log.push_back("click over");
  };
  Input().Click(At(*control, 5, 5));
  Settle();
  // The message posted after the release request finds the control gone: the request came first.
  EXPECT_EQ(log, (std::vector<std::string>{"user 1", "click over", "destroyed"}));
  EXPECT_EQ(form->ControlCount(), 0);
}

TEST_F(ReleaseLaterTest, MessagesQueuedBeforeTheReleaseStillReachTheComponent) {
  std::vector<std::string> log;
  auto form = ShowForm();
  auto* control = new Logged(form.get(), form.get(), log);
  PostMessage(control->Handle(), WM_USER + 1, 0, 0);
  Application().ReleaseLater(control);
  EXPECT_TRUE(log.empty());
  Settle();
  EXPECT_EQ(log, (std::vector<std::string>{"user 1", "destroyed"}));
}

// Its owner destroys it before the loop comes to the release: nothing is freed twice, and a release
// asked for later still works.
TEST_F(ReleaseLaterTest, AComponentDestroyedByItsOwnerFirstIsSkipped) {
  std::vector<std::string> log;
  auto form = ShowForm();
  auto* control = new Logged(form.get(), form.get(), log);
  Application().ReleaseLater(control);
  form.reset();
  EXPECT_EQ(log, (std::vector<std::string>{"destroyed"}));
  Settle();
  EXPECT_EQ(log, (std::vector<std::string>{"destroyed"}));

  auto* later = new TComponent(nullptr);
  const TComponent::TGuard guard(*later);
  Application().ReleaseLater(later);
  Settle();
  EXPECT_TRUE(guard.Gone());
}

}  // namespace
}  // namespace platform
